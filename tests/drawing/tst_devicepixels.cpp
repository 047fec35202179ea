#include "cards/cardwidget.h"
#include "document/undohistory.h"
#include "drawing/picturecanvas.h"
#include "drawing/regionwindow.h"
#include "drawing/wallpen.h"
#include "model/bgrcolor.h"
#include "model/penstate.h"
#include "pictures/picturelayer.h"
#include "platform/screengrab.h"
#include "support/mouse.h"
#include "support/scriptedprompts.h"
#include "support/wallfixture.h"

#include <QClipboard>
#include <QDirIterator>
#include <QScreen>
#include <QtTest>

// Run at a device pixel ratio of 2 (QT_SCALE_FACTOR=2): what the wall shows
// is as sharp as the screen's own pixels.

namespace {

// Every file under `folder` with its size and time: looking writes nothing.
QStringList filesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        files << QStringLiteral("%1 %2 %3")
                     .arg(f.filePath())
                     .arg(f.size())
                     .arg(f.lastModified().toMSecsSinceEpoch());
    }
    files.sort();
    return files;
}

// The mean difference per channel of two pictures of one size.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    qint64 sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum +=
                qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return double(sum) / (3.0 * x.width() * x.height());
}

void drag(QWidget* w, const QList<QPoint>& points) {
    sendMouse(w, QEvent::MouseButtonPress, points.first());
    for (const QPoint& p : points.mid(1))
        sendMouse(w, QEvent::MouseMove, p);
    sendMouse(w, QEvent::MouseButtonRelease, points.last());
}

} // namespace

class TestDevicePixels : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cardPictureIsDecodedForDevicePixels();
    void strokesAreSharpAndTakenBack();
    void captureKeepsDevicePixels();
};

void TestDevicePixels::initTestCase() {
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
}

void TestDevicePixels::cardPictureIsDecodedForDevicePixels() {
    WallFixture w(960, 540);
    // Cells of four pixels: sharp at the card's device size, grey mush in a
    // thumbnail of an eighth of it.
    QImage photo(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, ((x / 4 + y / 4) % 2) ? qRgb(250, 240, 20) : qRgb(20, 30, 200));
    QVERIFY(writePicture(photo, w.path("photo.bmp")));
    QDir().mkpath(w.path("NAIL"));
    const QImage thumb = photo.scaled(200, 150, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(writePicture(thumb, w.path("NAIL/~photo.bmp")));
    const QStringList before = filesUnder(w.st().KIJUNDIR);

    CardEntry e;
    e.rect = QRect(20, 20, 400, 300);
    e.colour = 1;
    e.shape = 1;
    e.POST = QStringLiteral("photo.bmp");
    e.FNAME = QStringLiteral("c.txt");
    e.FTIME = QStringLiteral("20260101-000000");
    QVERIFY(w.st().PanelMake(0, e));
    CardWidget* card = w.board->card(0);
    QVERIFY(card->picture().width() >= 800 && card->picture().height() >= 600);

    const QImage shown = card->grab().toImage();
    QCOMPARE(shown.size(), QSize(800, 600));
    const QRect area(card->pictureRect().topLeft() * 2, card->pictureRect().size() * 2);
    const QImage drawn = shown.copy(area);
    const QImage straight =
        photo.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage stretched =
        thumb.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY2(meanDifference(drawn, straight) < 4,
             qPrintable(QString::number(meanDifference(drawn, straight))));
    QVERIFY(meanDifference(drawn, stretched) > 40);
    QCOMPARE(filesUnder(w.st().KIJUNDIR), before);

    // A card small enough for its thumbnail still shows the thumbnail.
    QImage green(thumb.size(), QImage::Format_RGB32);
    green.fill(Qt::green);
    QVERIFY(writePicture(photo, w.path("small.bmp")));
    QVERIFY(writePicture(green, w.path("NAIL/~small.bmp")));
    e.POST = QStringLiteral("small.bmp");
    e.rect = QRect(500, 20, 60, 40);
    e.FNAME = QStringLiteral("d.txt");
    QVERIFY(w.st().PanelMake(0, e));
    const QImage small = w.board->card(1)->picture();
    QCOMPARE(small.pixelColor(small.rect().center()), QColor(Qt::green));

    // A wall of photos kept at scale 2 takes what it takes at scale 1, each
    // still covering its card's device pixels: read ahead once, then kept.
    QVector<CardPictures::Wanted> wall;
    for (int i = 0; i < 6; ++i) {
        const QString name = QStringLiteral("p%1.bmp").arg(i);
        QVERIFY(writePicture(photo, w.path(name)));
        wall.append({name, QSize(240, 120)});
    }
    CardPictures kept(6 * 480 * 360 * 4 / 1024 + 64);
    const int decodes = decodedPictureCount();
    kept.prefetch(wall, w.st().KIJUNDIR, w.st().KIJUNDIR, 2.0);
    for (const CardPictures::Wanted& card : wall) {
        const QImage p =
            kept.load(card.pictureName, w.st().KIJUNDIR, w.st().KIJUNDIR, card.shownAt, 2.0);
        QVERIFY(p.width() >= 480 && p.height() >= 240 && p.width() * p.height() <= 480 * 360);
    }
    QCOMPARE(decodedPictureCount(), decodes + 6);
}

void TestDevicePixels::strokesAreSharpAndTakenBack() {
    WallFixture w(480, 270);
    PenState state;
    const bool busy = false;
    const bool armed = false;
    WallPen pen(w.st(), state, busy, armed, armed, &w.area);
    pen.clearToNavy();
    QCOMPARE(pen.canvasImage().size(), QSize(960, 540));
    const QImage blank = pen.canvasImage();

    pen.chooseColour(0);
    pen.chooseWidth(kNormalPen);
    drag(pen.Image1, {{100, 100}, {120, 100}, {200, 100}});
    const QImage drawn = pen.canvasImage();
    const QColor red = penColour(0);
    const QColor navy = bgrColor(kNavy);
    // Every pixel is the pen's or the wall's: no edge is smoothed or doubled.
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor c = drawn.pixelColor(x, y);
            QVERIFY(c == red || c == navy);
        }
    // Across the stroke, in the screen's pixels: twice the pen's width.
    QList<int> rows;
    for (int y = 0; y < drawn.height(); ++y)
        if (drawn.pixelColor(320, y) == red)
            rows << y;
    QCOMPARE(rows.size(), 2 * kNormalPen);
    QCOMPARE(rows.last() - rows.first(), 2 * kNormalPen - 1);
    QVERIFY(qAbs(rows.first() + rows.last() - 400) <= 1); // centred on the wall's 100
    QCOMPARE(drawn.pixelColor(320, rows.first() - 1), navy);
    QCOMPARE(drawn.pixelColor(320, rows.last() + 1), navy);

    // Shown on the screen pixel for pixel.
    QImage shown = pen.Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shown.setDevicePixelRatio(1);
    QCOMPARE(shown, drawn.convertToFormat(QImage::Format_RGB32));

    w.st().history().undo();
    QCOMPARE(pen.canvasImage(), blank);
    w.st().history().redo();
    QCOMPARE(pen.canvasImage(), drawn);
}

void TestDevicePixels::captureKeepsDevicePixels() {
    // A selection of the frozen screen is cut from its device pixels.
    QImage screen(1600, 1200, QImage::Format_RGB32);
    screen.fill(Qt::darkGreen);
    screen.setDevicePixelRatio(2);
    RegionWindow region;
    ScriptedPrompts prompts;
    region.setPrompts(&prompts);
    region.prepare(screen, 600);
    QCOMPARE(region.size(), QSize(800, 600));
    region.R = QRect(10, 20, 300, 100);
    region.HCOPY();
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(600, 200));

    if (!screenCanBeGrabbed())
        QSKIP("the screen itself is grabbed only under X11 (run under xvfb-run)");
    const ScreenGrab grab = grabWholeScreen();
    QVERIFY2(!grab.image.isNull(), qPrintable(grab.problem));
    QCOMPARE(grab.image.size(), QGuiApplication::primaryScreen()->size() * 2);
    QCOMPARE(grab.image.devicePixelRatio(), 2.0);
}

QTEST_MAIN(TestDevicePixels)
#include "tst_devicepixels.moc"
