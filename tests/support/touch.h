#pragma once

#include <QPointingDevice>
#include <QTest>
#include <QWidget>

// The test's touch screen. Qt keeps every touch device it is told of until
// the end, so one is made and kept for the whole run.
inline QPointingDevice* touchScreen() {
    static QPointingDevice* const device = QTest::createTouchDevice();
    return device;
}

// Two fingers `from` apart about `centre`, moved in steps until they are `to`
// apart and their middle is at `centre + pan`, then lifted. The fingers stay
// where they are on the screen while the window moves under them.
inline void pinch(QWidget* window, QPointingDevice* device, QPoint centre, int from, int to,
                  QPoint pan = QPoint()) {
    const QPoint middle = window->mapToGlobal(centre);
    auto finger = [&](int apart, int side, int step) {
        return window->mapFromGlobal(middle + pan * step / 4 + QPoint(side * apart / 2, 0));
    };
    QTest::touchEvent(window, device).press(0, finger(from, -1, 0)).press(1, finger(from, 1, 0));
    for (int step = 1; step <= 4; ++step) {
        const int apart = from + (to - from) * step / 4;
        QTest::touchEvent(window, device)
            .move(0, finger(apart, -1, step))
            .move(1, finger(apart, 1, step));
    }
    QTest::touchEvent(window, device).release(0, finger(to, -1, 4)).release(1, finger(to, 1, 4));
}
