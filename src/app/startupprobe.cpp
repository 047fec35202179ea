#include "app/startupprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWebEngineView>
#include <QWidget>
#include <cstdio>
#include <ctime>

qint64 StartupProbe::monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void StartupProbe::watch(QWidget* wall, qint64 mainStartedNs) {
    if (!qEnvironmentVariableIsSet("ZAVIK_STARTUP_PROBE"))
        return;
    const QString value = qEnvironmentVariable("ZAVIK_STARTUP_PROBE");
    const QLatin1String launched("launched=");
    bool isTime = false;
    const qint64 launchedNs =
        value.startsWith(launched) ? value.mid(launched.size()).toLongLong(&isTime) : -1;
    auto* probe = new StartupProbe(wall, isTime ? launchedNs : -1, mainStartedNs);
    // Any widget of the wall may paint first: the background, a card.
    qApp->installEventFilter(probe);
}

StartupProbe::StartupProbe(QWidget* wall, qint64 launchedNs, qint64 mainStartedNs)
    : QObject(wall), wall_(wall), launchedNs_(launchedNs), mainStartedNs_(mainStartedNs) {}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == wall_) {
        painted_ = true;
        // The frame reaches the screen when the paint that is going on ends.
        QTimer::singleShot(0, this, &StartupProbe::report);
    }
    return false;
}

void StartupProbe::report() {
    const qint64 now = monotonicNs();
    std::printf("first wall painted: %.1f ms after main()", (now - mainStartedNs_) / 1e6);
    if (launchedNs_ >= 0)
        std::printf(", %.1f ms after launch", (now - launchedNs_) / 1e6);
    // Looking at a wall without a web window must not start the engine.
    std::printf("; web engine %s\n",
                wall_->findChild<QWebEngineView*>() ? "started" : "not started");
    std::fflush(stdout);
    qApp->removeEventFilter(this);
    QCoreApplication::exit(0);
}
