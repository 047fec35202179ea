#include "platform/touchhold.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QWidget>
#include <QtTest>

namespace {

// A window that writes down the mouse events it gets.
class Recorder : public QWidget {
public:
    QStringList seen;

protected:
    void mousePressEvent(QMouseEvent* e) override { note("press", e); }
    void mouseMoveEvent(QMouseEvent* e) override { note("move", e); }
    void mouseReleaseEvent(QMouseEvent* e) override { note("release", e); }

private:
    void note(const char* what, QMouseEvent* e) {
        const char* button = e->button() == Qt::RightButton  ? " right"
                             : e->button() == Qt::LeftButton ? " left"
                                                             : "";
        seen << QStringLiteral("%1%2 %3,%4")
                    .arg(QLatin1String(what), QLatin1String(button))
                    .arg(e->position().toPoint().x())
                    .arg(e->position().toPoint().y());
    }
};

// A window shown with the recogniser on it.
struct Held {
    Recorder w;
    TouchHold* hold;
    Held() {
        w.resize(400, 300);
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            qWarning("window not exposed");
        hold = new TouchHold(&w);
    }
};

} // namespace

class TestTouchHold : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void holdIsARightClick();
    void tapsDragsAndTheMouseGoThrough();
    void penHold();

private:
    QPointingDevice* touch_ = nullptr;
};

void TestTouchHold::initTestCase() {
    touch_ = QTest::createTouchDevice();
}

void TestTouchHold::holdIsARightClick() {
    Held held;
    Recorder& w = held.w;
    TouchHold& hold = *held.hold;
    const int slack = pixelsForMillimetres(&w, TouchHold::kSlackMm);
    QVERIFY(slack >= 4);
    QCOMPARE(pixelsForMillimetres(&w, 25.4), qRound(w.screen()->physicalDotsPerInch()));

    QElapsedTimer clock;
    clock.start();
    QTest::touchEvent(&w, touch_).press(0, {100, 100});
    QTest::touchEvent(&w, touch_).move(0, {100 + slack - 1, 100});
    QVERIFY(hold.holding());
    QVERIFY(!hold.complete());
    QVERIFY(w.seen.isEmpty()); // nothing yet: it may still be a hold
    QTRY_VERIFY(hold.ring()->isVisible());
    QVERIFY(hold.ring()->geometry().contains(w.mapToGlobal(QPoint(100, 100))));
    QTRY_VERIFY(hold.complete());
    QVERIFY(clock.elapsed() >= TouchHold::kHoldMs);
    QTest::touchEvent(&w, touch_).release(0, {100 + slack - 1, 100});
    QCOMPARE(w.seen, QStringList({"press right 100,100", "release right 100,100"}));
    QVERIFY(!hold.ring()->isVisible());
    QVERIFY(!hold.holding());

    // Lifted before the ring is full, a still finger is a tap.
    w.seen.clear();
    QTest::touchEvent(&w, touch_).press(0, {50, 60});
    QTest::touchEvent(&w, touch_).release(0, {50, 60});
    QCOMPARE(w.seen, QStringList({"press left 50,60", "release left 50,60"}));
}

void TestTouchHold::tapsDragsAndTheMouseGoThrough() {
    Held held;
    Recorder& w = held.w;
    TouchHold& hold = *held.hold;
    const int slack = pixelsForMillimetres(&w, TouchHold::kSlackMm);

    // Beyond the slack the press goes on as it came, and so does the drag,
    // even when the finger then rests longer than a hold.
    QTest::touchEvent(&w, touch_).press(0, {100, 100});
    QTest::touchEvent(&w, touch_).move(0, {100, 100 + slack + 1});
    QCOMPARE(w.seen.mid(0, 2), QStringList({"press left 100,100",
                                            QStringLiteral("move 100,%1").arg(100 + slack + 1)}));
    QVERIFY(!hold.holding());
    QTest::touchEvent(&w, touch_).move(0, {100, 200});
    QTest::touchEvent(&w, touch_).release(0, {100, 200});
    QCOMPARE(w.seen.last(), QStringLiteral("release left 100,200"));
    QVERIFY(!w.seen.join(' ').contains("right"));

    // The mouse is never held back.
    w.seen.clear();
    QTest::mousePress(&w, Qt::LeftButton, {}, {30, 30});
    QCOMPARE(w.seen, QStringList({"press left 30,30"}));
    QVERIFY(!hold.holding());
    QTest::mouseRelease(&w, Qt::LeftButton, {}, {30, 30});
}

void TestTouchHold::penHold() {
    Held held;
    Recorder& w = held.w;
    TouchHold& hold = *held.hold;
    // A pen's stroke comes as mouse events naming the pen.
    QPointingDevice pen("pen", 77, QInputDevice::DeviceType::Stylus,
                        QPointingDevice::PointerType::Pen, QInputDevice::Capability::Position, 1,
                        3);
    auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        const QPointF at(40, 40);
        QMouseEvent e(type, at, at, w.mapToGlobal(at), Qt::LeftButton, held, {}, &pen);
        QCoreApplication::sendEvent(w.windowHandle(), &e);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    QVERIFY(hold.holding());
    QTRY_VERIFY(hold.complete());
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    QCOMPARE(w.seen, QStringList({"press right 40,40", "release right 40,40"}));
}

QTEST_MAIN(TestTouchHold)
#include "tst_touchhold.moc"
