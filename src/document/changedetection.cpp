#include "document/changedetection.h"

#include "document/wallloader.h"

#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

ChangeDetection::ChangeDetection(WallLoader& loader, QObject* parent)
    : QObject(parent), loader_(loader), watcher_(new QFutureWatcher<FolderLook>(this)) {
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2000);
    connect(Timer2, &QTimer::timeout, this, &ChangeDetection::Timer2Timer);
    connect(watcher_, &QFutureWatcher<FolderLook>::finished, this, &ChangeDetection::lookEnded);
}

void ChangeDetection::start() {
    Timer2->start();
}

void ChangeDetection::stop() {
    Timer2->stop();
    loader_.dropLooksUnderWay();
}

bool ChangeDetection::isActive() const {
    return Timer2->isActive();
}

void ChangeDetection::Timer2Timer() {
    if (looking_)
        return;
    looking_ = true;
    // The look gets copies only: the wall may change, or go, while it runs.
    watcher_->setFuture(
        QtConcurrent::run([request = loader_.lookRequest(), access = loader_.folderAccess()] {
            return lookAtFolder(request, *access);
        }));
}

void ChangeDetection::endLook() {
    if (!looking_)
        return;
    loader_.dropLooksUnderWay();
    watcher_->waitForFinished();
    looking_ = false;
}

void ChangeDetection::lookEnded() {
    if (!looking_)
        return;
    looking_ = false;
    FolderLook look;
    try {
        look = watcher_->result();
    } catch (...) {
        return; // nothing found: the next pass looks again
    }
    if (!loader_.isCurrent(look)) {
        // The wall was written since the look began: look again now, unless
        // change detection was stopped meanwhile.
        if (Timer2->isActive())
            Timer2Timer();
        return;
    }
    // The timer keeps its beat, so that a change is seen within a period
    // and a look; a card made while the look is taken holds it, as making
    // a card always does, and it goes on after.
    loader_.takeLook(look);
    if (!Timer2->isActive())
        Timer2->start();
    emit lookTaken();
}
