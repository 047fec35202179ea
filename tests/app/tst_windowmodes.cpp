#include "app/restorewindow.h"
#include "model/wallgeometry.h"
#include "support/windowfixture.h"

#include <QLabel>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

// How the wall window stands on the desktop: tucked, hidden, restored.
class TestWindowModes : public QObject {
    Q_OBJECT
private slots:
    void tuckAndUntuckTwice();
    void tuckingAfterAHandOff();
    void hideAndRestore();
};

namespace {

QToolButton* button(WallWindow& w, const char* name) {
    return w.findChild<QToolButton*>(QLatin1String(name));
}

} // namespace

void TestWindowModes::tuckAndUntuckTwice() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    QWidget* tab = w.findChild<QWidget*>("Panel6");
    QToolButton* grip = button(w, "SpeedButton11");
    const WallDocument& st = w.document();
    const QSize tabSize = tab->size();
    const WallSize wallBefore{st.NOWX, st.NOWY};
    for (int round = 0; round < 2; ++round) {
        QTest::mousePress(grip, Qt::RightButton);
        QTest::mouseRelease(grip, Qt::RightButton);
        QTRY_COMPARE(w.geometry(),
                     QRect(st.ZETTAIX0 - tabSize.width(), 2, tabSize.width(), tabSize.height()));
        QCOMPARE(tab->pos(), QPoint(0, 0));
        QCOMPARE((WallSize{st.NOWX, st.NOWY}), wallBefore); // the tucked window is not laid out
        QTest::mousePress(grip, Qt::RightButton);
        QTest::mouseRelease(grip, Qt::RightButton);
        QTRY_COMPARE(w.geometry(), QRect(0, 0, st.ZETTAIX0, st.ZETTAIY0));
        QCOMPARE(tab->pos(),
                 QPoint(st.ZETTAIX0 - tabSize.width() - 2, st.ZETTAIY0 - tabSize.height()));
    }
    // The left strip does the same.
    QWidget* strip = button(w, "SpeedButton26");
    QTest::mousePress(strip, Qt::RightButton, {}, QPoint(3, 600));
    QTRY_COMPARE(w.width(), tabSize.width());
}

void TestWindowModes::tuckingAfterAHandOff() {
    QTemporaryDir dir;
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect full = w.geometry();
    // At 0, 0 nothing changes.
    w.modes().TAKO();
    QCOMPARE(w.geometry(), full);
    QVERIFY(!w.flags().TAKOFL);

    w.showNormal();
    w.move(40, 30);
    QCOMPARE(w.pos(), QPoint(40, 30));
    const int nowx = w.document().NOWX;
    w.modes().TAKO();
    auto* tab = w.findChild<QWidget*>(QStringLiteral("Panel6"));
    const WallDocument& st = w.document();
    QTRY_COMPARE(w.geometry(), QRect(st.ZETTAIX0 - tab->width(), st.ZETTAIY0 - tab->height() - 2,
                                     tab->width(), tab->height() + 2));
    QCOMPARE(tab->pos(), QPoint(0, 0));
    QVERIFY(tab->isVisible());
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    // The tucked window's resizes do not lay the wall out anew.
    QCOMPARE(st.NOWX, nowx);
    // Any press on the tab makes it an ordinary window again, still shown.
    QTest::mousePress(w.findChild<QWidget*>("SpeedButton11"), Qt::LeftButton);
    QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!(w.windowHandle()->flags() & Qt::WindowStaysOnTopHint));
    QVERIFY(w.isVisible());
    QTest::mouseRelease(w.findChild<QWidget*>("SpeedButton11"), Qt::LeftButton);
}

void TestWindowModes::hideAndRestore() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    QTest::mouseClick(button(w, "SpeedButton14"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    RestoreWindow* restore = w.TForm20;
    QVERIFY(restore->isVisible());
    QCOMPARE(restore->pos(), QPoint(0, 0));
    QCOMPARE(restore->SpeedButton1->size(), QSize(78, 37));
    // Its title is its own: no window manager buttons to minimise it away.
    QVERIFY(restore->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(restore->findChild<QLabel*>("caption")->text(), QStringLiteral("もどす"));
    QCOMPARE(restore->windowTitle(), QStringLiteral("もどす"));
    QTest::mouseClick(restore->SpeedButton1, Qt::LeftButton);
    QVERIFY(!restore->isVisible());
    QVERIFY(w.isVisible());
    QTRY_COMPARE(w.geometry(), QRect(0, 0, w.document().ZETTAIX0, w.document().ZETTAIY0));
}

QTEST_MAIN(TestWindowModes)
#include "tst_windowmodes.moc"
