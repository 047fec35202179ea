#include "document/changedetection.h"

#include "document/wallloader.h"

#include <QTimer>

ChangeDetection::ChangeDetection(WallLoader& loader, QObject* parent)
    : QObject(parent), loader_(loader) {
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2000);
    connect(Timer2, &QTimer::timeout, this, &ChangeDetection::Timer2Timer);
}

void ChangeDetection::start() {
    Timer2->start();
}

void ChangeDetection::stop() {
    Timer2->stop();
}

bool ChangeDetection::isActive() const {
    return Timer2->isActive();
}

void ChangeDetection::Timer2Timer() {
    Timer2->stop();
    loader_.changeDetectionTick();
    Timer2->start();
}
