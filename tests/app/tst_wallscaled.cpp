#include "app/restorewindow.h"
#include "app/toolglyphs.h"
#include "drawing/picturecanvas.h"
#include "drawing/wallpen.h"
#include "pictures/picturelayer.h"
#include "support/windowfixture.h"

#include <QtTest>

// The whole wall at a device pixel ratio of 2 (QT_SCALE_FACTOR=2).
class TestWallScaled : public QObject {
    Q_OBJECT
private slots:
    void drawnAtDevicePixels();
};

void TestWallScaled::drawnAtDevicePixels() {
    WindowWall wall({});
    QImage photo(640, 360, QImage::Format_RGB32);
    photo.fill(QColor(0, 128, 0));
    QVERIFY(writePicture(photo, wall.data + "bg.bmp"));
    writeFileBytes(wall.data + "wall.ini", "\xEF\xBB\xBF<PANEL=\"bg.bmp\",20260101-000000>\r\n");
    WallWindow& w = wall.open();
    QCOMPARE(w.devicePixelRatioF(), 2.0);

    // The background is made at the screen's pixels, and saved so.
    const QSize wallSize(w.document().NOWX, w.document().NOWY);
    QCOMPARE(w.pen().canvasImage().size(), wallSize * 2);
    QCOMPARE(w.pen().Image1->pixelRatio(), 2.0);

    // Every tool picture is drawn for the screen's pixels, not enlarged.
    const auto crisp = [](const QIcon& icon, const QString& name, QSize size) {
        const QImage shown = icon.pixmap(size, 2.0).toImage();
        const QImage drawn = toolGlyph(name, size.width(), 2.0).toImage();
        return shown.size() == size * 2 && shown == drawn;
    };
    int checked = 0;
    for (QToolButton* b : w.findChildren<QToolButton*>()) {
        if (b->icon().isNull() || !b->objectName().startsWith(QLatin1String("SpeedButton")) ||
            b->window() != &w)
            continue;
        QVERIFY2(crisp(b->icon(), b->objectName(), b->iconSize()), qPrintable(b->objectName()));
        ++checked;
    }
    QVERIFY(checked >= 16);
    auto* strip = w.findChild<QToolButton*>(QStringLiteral("SpeedButton26"));
    QCOMPARE(strip->palette().brush(QPalette::Window).texture().devicePixelRatio(), 2.0);
    RestoreWindow restore;
    auto* back = restore.findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
    QVERIFY(crisp(back->icon(), QStringLiteral("SpeedButton14"), back->iconSize()));
}

QTEST_MAIN(TestWallScaled)
#include "tst_wallscaled.moc"
