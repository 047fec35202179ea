#include "model/wallgeometry.h"

#include <QtTest>

class TestWallGeometry : public QObject {
    Q_OBJECT
private slots:
    void wallSize_data();
    void wallSize();
    void windowsFromSettings();
};

void TestWallGeometry::wallSize_data() {
    QTest::addColumn<int>("W");
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("NOWX");
    QTest::addColumn<int>("NOWY");
    QTest::addColumn<int>("laidOutX");
    QTest::addColumn<int>("laidOutY");
    QTest::newRow("1366x768") << 1366 << 768 << 1366 << 768 << 1366 << 768;
    QTest::newRow("1920x1200") << 1920 << 1200 << 1920 << 1080 << 1920 << 1080;
    QTest::newRow("2560x1080") << 2560 << 1080 << 1920 << 1080 << 1920 << 1080;
    QTest::newRow("1024x768") << 1024 << 768 << 1024 << 576 << 1024 << 576;
    QTest::newRow("portrait 768x1024") << 768 << 1024 << 1820 << 1024 << 768 << 1024;
    QTest::newRow("1920x1080") << 1920 << 1080 << 1920 << 1080 << 1920 << 1080;
    // Just above 16:9 still fills the width: 1921 x 1080.
    QTest::newRow("1921x1080") << 1921 << 1080 << 1921 << 1081 << 1921 << 1080;
    QTest::newRow("1922x1080") << 1922 << 1080 << 1920 << 1080 << 1920 << 1080;
    QTest::newRow("square 800") << 800 << 800 << 1422 << 800 << 800 << 800;
}

void TestWallGeometry::wallSize() {
    QFETCH(int, W);
    QFETCH(int, H);
    QFETCH(int, NOWX);
    QFETCH(int, NOWY);
    QFETCH(int, laidOutX);
    QFETCH(int, laidOutY);
    const WallSize first = wallSizeFor(W, H);
    QCOMPARE(first.NOWX, NOWX);
    QCOMPARE(first.NOWY, NOWY);
    const WallSize laidOut = clampWallSize(first, W, H);
    QCOMPARE(laidOut.NOWX, laidOutX);
    QCOMPARE(laidOut.NOWY, laidOutY);
}

void TestWallGeometry::windowsFromSettings() {
    const WindowSettings initial;
    QCOMPARE(webWindowRect(initial, 1920, 1080), QRect(870, 150, 990, 800));
    QCOMPARE(fileWindowRect(initial, 1920, 1080), QRect(870, 800, 970, 240));
    QCOMPARE(webWindowRect(initial, 1366, 768), QRect(619, 107, 704, 569));
    QCOMPARE(ribbonHeight(1080), 41);
    QCOMPARE(ribbonHeight(768), 29);
    QCOMPARE(hintFontSize(768), 14);
    QCOMPARE(hintFontSize(1080), 20);
}

QTEST_APPLESS_MAIN(TestWallGeometry)
#include "tst_wallgeometry.moc"
