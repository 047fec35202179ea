#include "platform/touchhold.h"
#include "support/touch.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QWidget>
#include <QtTest>

namespace {

// A window that writes down the presses and releases it gets: what, which
// button (1 left, 2 right), where.
class Recorder : public QWidget {
public:
    QStringList seen;

protected:
    void mousePressEvent(QMouseEvent* e) override { note("press", e); }
    void mouseReleaseEvent(QMouseEvent* e) override { note("release", e); }

private:
    void note(const char* what, QMouseEvent* e) {
        seen << QStringLiteral("%1 %2 %3")
                    .arg(QLatin1String(what))
                    .arg(int(e->button()))
                    .arg(e->position().toPoint().x());
    }
};

} // namespace

class TestTouchHold : public QObject {
    Q_OBJECT
private slots:
    void slackAndTiming();
};

void TestTouchHold::slackAndTiming() {
    QPointingDevice* finger = touchScreen();
    Recorder w;
    w.resize(400, 300);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    TouchHold hold(&w);
    const int slack = pixelsForMillimetres(&w, TouchHold::kSlackMm);
    QVERIFY(slack >= 4);

    // Held within the slack: nothing until the lift, then a right click
    // where the finger came down.
    QElapsedTimer clock;
    clock.start();
    QTest::touchEvent(&w, finger).press(0, {100, 100});
    QTest::touchEvent(&w, finger).move(0, {100 + slack - 1, 100});
    QVERIFY(w.seen.isEmpty());
    QTRY_VERIFY(hold.ring()->isVisible());
    QTRY_VERIFY(hold.complete());
    QVERIFY(clock.elapsed() >= TouchHold::kHoldMs);
    QTest::touchEvent(&w, finger).release(0, {100 + slack - 1, 100});
    QCOMPARE(w.seen, QStringList({"press 2 100", "release 2 100"}));
    QVERIFY(!hold.ring()->isVisible());

    // A tap, and a finger beyond the slack, go on as they came.
    w.seen.clear();
    QTest::touchEvent(&w, finger).press(0, {50, 60});
    QTest::touchEvent(&w, finger).release(0, {50, 60});
    QTest::touchEvent(&w, finger).press(0, {100, 100});
    QTest::touchEvent(&w, finger).move(0, {100 + slack + 1, 100});
    QVERIFY(!hold.holding());
    QTest::touchEvent(&w, finger).release(0, {200, 100});
    QCOMPARE(w.seen, QStringList({"press 1 50", "release 1 50", "press 1 100", "release 1 200"}));

    // A pen is held back too.
    QPointingDevice pen("pen", 77, QInputDevice::DeviceType::Stylus,
                        QPointingDevice::PointerType::Pen, QInputDevice::Capability::Position, 1,
                        3);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(40, 40), QPointF(40, 40),
                      w.mapToGlobal(QPointF(40, 40)), Qt::LeftButton, Qt::LeftButton, {}, &pen);
    QCoreApplication::sendEvent(w.windowHandle(), &press);
    QVERIFY(hold.holding());
}

QTEST_MAIN(TestTouchHold)
#include "tst_touchhold.moc"
