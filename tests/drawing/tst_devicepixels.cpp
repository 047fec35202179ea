#include "cards/cardwidget.h"
#include "document/undohistory.h"
#include "drawing/picturecanvas.h"
#include "drawing/wallpen.h"
#include "model/bgrcolor.h"
#include "model/penstate.h"
#include "pictures/picturelayer.h"
#include "platform/screengrab.h"
#include "support/mouse.h"
#include "support/wallfixture.h"

#include <QDirIterator>
#include <QScreen>
#include <QtTest>

// Run at a device pixel ratio of 2 (QT_SCALE_FACTOR=2).
class TestDevicePixels : public QObject {
    Q_OBJECT
private slots:
    void cardPictures();
    void strokes();
    void capture();
};

void TestDevicePixels::cardPictures() {
    WallFixture w(960, 540);
    const QString dir = w.st().KIJUNDIR;
    // Cells of four pixels: sharp at the card's device size, grey in a
    // thumbnail of an eighth of it.
    QImage photo(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, (x / 4 + y / 4) % 2 ? qRgb(250, 240, 20) : qRgb(20, 30, 200));
    const QImage thumb = photo.scaled(200, 150, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QDir().mkpath(dir + "NAIL");
    QVERIFY(writePicture(photo, dir + "photo.bmp") && writePicture(thumb, dir + "NAIL/~photo.bmp"));
    auto files = [&] {
        QStringList all;
        for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QFileInfo f(it.next());
            all << f.filePath() + QString::number(f.size()) + f.lastModified().toString();
        }
        return all;
    };
    const QStringList before = files();

    CardEntry e;
    e.rect = QRect(20, 20, 400, 300);
    e.shape = 1;
    e.POST = QStringLiteral("photo.bmp");
    e.FNAME = QStringLiteral("c.txt");
    QVERIFY(w.st().PanelMake(0, e));
    CardWidget* card = w.board->card(0);
    const QRect area(card->pictureRect().topLeft() * 2, card->pictureRect().size() * 2);
    const QImage drawn = card->grab().toImage().copy(area).convertToFormat(QImage::Format_RGB32);
    auto differenceFrom = [&](const QImage& source) {
        const QImage to =
            source.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qint64 sum = 0;
        for (int y = 0; y < to.height(); ++y)
            for (int x = 0; x < to.width(); ++x)
                sum += qAbs(qGray(to.pixel(x, y)) - qGray(drawn.pixel(x, y)));
        return double(sum) / (to.width() * to.height());
    };
    QVERIFY2(differenceFrom(photo) < 4, qPrintable(QString::number(differenceFrom(photo))));
    QVERIFY(differenceFrom(thumb) > 40);
    QCOMPARE(files(), before);

    // A wall of photos takes no more memory than at scale 1, each picture
    // still covering its card: read ahead once, then kept.
    CardPictures kept(6 * 480 * 360 * 4 / 1024 + 64);
    QVector<CardPictures::Wanted> wall;
    for (int i = 0; i < 6; ++i) {
        wall.append({QStringLiteral("p%1.bmp").arg(i), QSize(240, 120)});
        QVERIFY(writePicture(photo, dir + wall.last().pictureName));
    }
    const int decodes = decodedPictureCount();
    kept.prefetch(wall, dir, dir, 2.0);
    for (const CardPictures::Wanted& c : wall) {
        const QImage p = kept.load(c.pictureName, dir, dir, c.shownAt, 2.0);
        QVERIFY(p.width() >= 480 && p.height() >= 240 && p.width() * p.height() <= 480 * 360);
    }
    QCOMPARE(decodedPictureCount(), decodes + 6);
}

void TestDevicePixels::strokes() {
    WallFixture w(480, 270);
    PenState state;
    const bool no = false;
    WallPen pen(w.st(), state, no, no, no, &w.area);
    pen.clearToNavy();
    const QImage blank = pen.canvasImage();
    QCOMPARE(blank.size(), QSize(960, 540));
    pen.chooseColour(0);
    pen.chooseWidth(kNormalPen);
    sendMouse(pen.Image1, QEvent::MouseButtonPress, {100, 100});
    for (int x : {120, 200})
        sendMouse(pen.Image1, QEvent::MouseMove, {x, 100});
    sendMouse(pen.Image1, QEvent::MouseButtonRelease, {200, 100});

    // Across the stroke: twice the pen's width in device pixels, centred on
    // the wall's 100, and the rows beside it untouched.
    const QImage drawn = pen.canvasImage();
    QList<int> rows;
    for (int y = 0; y < drawn.height(); ++y)
        if (drawn.pixelColor(320, y) == penColour(0))
            rows << y;
    QCOMPARE(rows.size(), 2 * kNormalPen);
    QCOMPARE(rows.last() - rows.first(), 2 * kNormalPen - 1);
    QVERIFY(qAbs(rows.first() + rows.last() - 400) <= 1);
    QCOMPARE(drawn.pixelColor(320, rows.first() - 1), bgrColor(kNavy));
    QCOMPARE(drawn.pixelColor(320, rows.last() + 1), bgrColor(kNavy));
    // Shown pixel for pixel.
    QImage shown = pen.Image1->grab().toImage().convertToFormat(drawn.format());
    shown.setDevicePixelRatio(1);
    QCOMPARE(shown, drawn);

    w.st().history().undo();
    QCOMPARE(pen.canvasImage(), blank);
    w.st().history().redo();
    QCOMPARE(pen.canvasImage(), drawn);
}

void TestDevicePixels::capture() {
    if (!screenCanBeGrabbed())
        QSKIP("the screen is grabbed only under X11 (tst_devicepixels_x11)");
    const ScreenGrab grab = grabWholeScreen();
    QCOMPARE(grab.image.size(), QGuiApplication::primaryScreen()->size() * 2);
    QCOMPARE(grab.image.devicePixelRatio(), 2.0);
}

QTEST_MAIN(TestDevicePixels)
#include "tst_devicepixels.moc"
