#include "app/wallwindow.h"

#include <QTemporaryDir>
#include <QtTest>

// Runs under a real X server whose screen size the test command chooses; the
// expected wall size comes with it in ZAVIK_EXPECT_WALL ("WxH").
class TestScreens : public QObject {
    Q_OBJECT
private slots:
    void wallFitsTheScreen();
};

void TestScreens::wallFitsTheScreen() {
    const QStringList expected = qEnvironmentVariable("ZAVIK_EXPECT_WALL").split('x');
    QCOMPARE(expected.size(), 2);
    QTemporaryDir dir;
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.document().NOWX, expected[0].toInt());
    QCOMPARE(w.document().NOWY, expected[1].toInt());
    // The window covers the whole screen, and the tool column its right edge.
    QTRY_COMPARE(w.geometry(), w.screen()->geometry());
    auto* menuButton = w.findChild<QWidget*>(QStringLiteral("SpeedButton1"));
    QCOMPARE(menuButton->mapTo(&w, QPoint(menuButton->width(), 0)).x(),
             w.screen()->geometry().width() - 2);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("zavik-data"))).isDir());
}

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
