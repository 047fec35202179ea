#include "app/wallgeometry.h"

#include <QtTest>

class TestWallGeometry : public QObject {
    Q_OBJECT
private slots:
    void wallSize_data();
    void wallSize();
    void toolColumn();
    void folderButton();
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

void TestWallGeometry::toolColumn() {
    ToolColumnInput in;
    in.ZETTAIX0 = 1920;
    in.NOWY = 1080;
    in.clientHeight = 1080;
    in.panel6Height = 32;
    const QStringList all =
        QStringList{"SpeedButton1", "SpeedButton7", "SpeedButton8"} + toolColumnOrder();
    for (const QString& n : all)
        in.widths[n] = 50;
    in.widths["SpeedButton7"] = 40; // stands flush by its own width
    const auto at = toolColumnPositions(in);
    QCOMPARE(at["SpeedButton1"], QPoint(1920 - 50 - 2, 8));
    QCOMPARE(at["SpeedButton7"], QPoint(1920 - 40 - 2, 68));
    QCOMPARE(at["SpeedButton8"], QPoint(1868, 148));
    QCOMPARE(at["SpeedButton6"].y(), 208);
    QCOMPARE(at["SpeedButton14"].y(), 148 + 11 * 60);
    QCOMPARE(at["Panel6"], QPoint(1868, 1080 - 32));
    // Each button stands one small step below the one before, in order.
    int previous = at["SpeedButton8"].y();
    for (const QString& n : toolColumnOrder()) {
        QCOMPARE(at[n].y(), previous + 60);
        previous = at[n].y();
    }
    // On a 768-line wall the steps shrink: s = 43, L = 57, first at 6.
    in.NOWY = 768;
    in.ZETTAIX0 = 1366;
    in.clientHeight = 768;
    const auto small = toolColumnPositions(in);
    QCOMPARE(small["SpeedButton1"], QPoint(1366 - 52, 6));
    QCOMPARE(small["SpeedButton7"].y(), 6 + 43);
    QCOMPARE(small["SpeedButton8"].y(), 6 + 43 + 57);
    QCOMPARE(small["SpeedButton14"].y(), 6 + 43 + 57 + 11 * 43);
}

void TestWallGeometry::folderButton() {
    // "sub/" is 4 characters: (25 × 4 + 40) = 140 at 1080 lines.
    const auto g = folderButtonGeometry(4, 1080, 1920, 50);
    QCOMPARE(g.rect, QRect(1920 - 140 - 50 - 2, 0, 140, 42));
    QCOMPARE(g.fontSize, 20);
    const auto root = folderButtonGeometry(0, 768, 1366, 36);
    QCOMPARE(root.rect.width(), 28); // 40 × 768 / 1080 = 28.44
    QCOMPARE(root.rect.height(), 30);
    QCOMPARE(root.fontSize, 14);
    QCOMPARE(hintFontSize(768), 14);
    QCOMPARE(hintFontSize(1080), 20);
}

void TestWallGeometry::windowsFromSettings() {
    const WindowSettings initial;
    QCOMPARE(webWindowRect(initial, 1920, 1080), QRect(870, 150, 990, 800));
    QCOMPARE(fileWindowRect(initial, 1920, 1080), QRect(870, 800, 970, 240));
    QCOMPARE(webWindowRect(initial, 1366, 768), QRect(619, 107, 704, 569));
    QCOMPARE(ribbonHeight(1080), 41);
    QCOMPARE(ribbonHeight(768), 29);
}

QTEST_APPLESS_MAIN(TestWallGeometry)
#include "tst_wallgeometry.moc"
