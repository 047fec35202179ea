#include "app/restorewindow.h"
#include "app/toolglyphs.h"
#include "drawing/wallpen.h"
#include "support/windowfixture.h"

#include <QtTest>

// The wall window at a device pixel ratio of 2 (QT_SCALE_FACTOR=2).
class TestWallScaled : public QObject {
    Q_OBJECT
private slots:
    void drawnAtDevicePixels();
};

void TestWallScaled::drawnAtDevicePixels() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    // The background is made, drawn on and saved at the screen's pixels.
    QCOMPARE(w.pen().canvasImage().size(), QSize(w.document().NOWX, w.document().NOWY) * 2);

    // Every tool picture is drawn for the screen's pixels, not enlarged.
    auto crisp = [](const QToolButton* b, const QString& name) {
        return b->icon().pixmap(b->iconSize(), 2.0).toImage() ==
               toolGlyph(name, b->iconSize().width(), 2.0).toImage();
    };
    int checked = 0;
    for (const QToolButton* b : w.findChildren<QToolButton*>())
        if (b->window() == &w && b->objectName().startsWith("SpeedButton") && !b->icon().isNull() &&
            ++checked)
            QVERIFY2(crisp(b, b->objectName()), qPrintable(b->objectName()));
    QVERIFY(checked >= 16);
    auto* strip = w.findChild<QToolButton*>(QStringLiteral("SpeedButton26"));
    QCOMPARE(strip->palette().brush(QPalette::Window).texture().devicePixelRatio(), 2.0);
    RestoreWindow restore;
    QVERIFY(crisp(restore.findChild<QToolButton*>("SpeedButton1"), "SpeedButton14"));
}

QTEST_MAIN(TestWallScaled)
#include "tst_wallscaled.moc"
