#pragma once

// What the wall benchmarks share: the memory the process holds, and a wall
// started as the program starts it.
#include "app/wallwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <memory>

// Offscreen unless asked otherwise (QT_QPA_PLATFORM=xcb under xvfb-run).
inline void offscreenUnlessAsked() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// A field of /proc/self/status ("VmRSS:", "VmHWM:") in KiB; -1 elsewhere.
inline long statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

// The wall window of `executable`, shown, and how long that took with its
// first load.
struct StartedWall {
    std::unique_ptr<WallWindow> window;
    double ms = 0;
};

inline StartedWall startWall(QApplication& app, const QString& executable) {
    QElapsedTimer t;
    t.start();
    StartedWall started{std::make_unique<WallWindow>(executable), 0};
    started.window->showOnScreen();
    app.processEvents();
    started.ms = t.nsecsElapsed() / 1e6;
    return started;
}
