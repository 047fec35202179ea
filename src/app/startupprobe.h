#pragma once

#include <QObject>
#include <QtGlobal>

class QWidget;

// Measures the start-up for its benchmark: once the wall window has painted
// for the first time, prints how long that took and ends the program. It
// watches only when ZAVIK_STARTUP_PROBE is set: to "launched=" and the
// launcher's CLOCK_MONOTONIC time in nanoseconds, so that loading the
// program counts too, or to anything else to count from main().
class StartupProbe : public QObject {
    Q_OBJECT
public:
    // Watches `wall` when the variable is set; `mainStartedNs` is the
    // monotonic time at which main() began.
    static void watch(QWidget* wall, qint64 mainStartedNs);
    static qint64 monotonicNs();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StartupProbe(QWidget* wall, qint64 launchedNs, qint64 mainStartedNs);
    void report();

    QWidget* wall_;
    qint64 launchedNs_;
    qint64 mainStartedNs_;
    bool painted_ = false;
};
