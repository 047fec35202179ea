#include "drawing/colourwipe.h"
#include "drawing/picturecanvas.h"
#include "drawing/pictureviewerwindow.h"
#include "drawing/strokerecorder.h"
#include "drawing/strokestep.h"
#include "model/penstate.h"
#include "pictures/picturelayer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>

namespace {

const QSize kWall(800, 800);
const QRect kWallWindow(0, 0, 800, 800);

// A one-colour picture written with Qt's own writers, so the viewer's reader
// is checked against an independent encoder.
QString writePicture(const QTemporaryDir& dir, const QString& name, QSize size,
                     const QColor& colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    const QString path = dir.filePath(name);
    const QByteArray format = QFileInfo(name).suffix().toUpper().toLatin1();
    if (!img.save(path, format == "JPG" ? "JPEG" : format.constData(), 95))
        return QString();
    return path;
}

void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, QPoint global) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, target->mapFromGlobal(global), global,
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

QWidget* panelOf(PictureViewerWindow& v) {
    return v.findChild<QWidget*>(QStringLiteral("Panel1"));
}

void open(PictureViewerWindow& v, const QString& list, const QColor& colour = Qt::red) {
    v.openLink(QStringLiteral("Leaves"), list, colour, 1.0, QPoint(20, 30), kWall, kWallWindow);
}

// Records the pictures a viewer shows and when, until it closes.
struct ShowLog {
    QStringList paths;
    QList<qint64> times;
    QList<int> delays; // the step timer's interval once each picture is up
    qint64 closedAt = -1;
};

void follow(PictureViewerWindow& v, ShowLog& log, const QElapsedTimer& clock) {
    auto* timer = v.findChild<QTimer*>(QStringLiteral("Timer2"));
    QObject::connect(
        &v, &PictureViewerWindow::pictureShown, &v, [&v, &log, &clock, timer](const QString& path) {
            log.paths << QFileInfo(path).fileName();
            log.times << clock.elapsed();
            // The delay is set once the picture is loaded, after this signal.
            QTimer::singleShot(0, &v, [&log, timer] { log.delays << timer->interval(); });
        });
}

} // namespace

class TestPictureViewer : public QObject {
    Q_OBJECT
private slots:
    void geometry_data();
    void geometry();
    void opensAtTheComputedPlace();
    void secondClickClosesOtherListReopens();
    void noCaptionOpensNothing();
    void slideshowRunsThrough();
    void leftClickSkipsTheNextPicture();
    void missingPictureStopsTheSeries();
    void formats_data();
    void formats();
    void otherExtensionsKeepThePicture();
    void greyIsSeeThrough();
    void releases_data();
    void releases();
    void dragMovesTheWindowOrDraws();
    void colourWipe();
    void saveAndRestore();
    void strokeStepsKeepTheChangedPixels();
};

void TestPictureViewer::geometry_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("wall");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("corner");
    QTest::addColumn<QRect>("expected");
    const QSize hd(1920, 1080);
    // 600 × 700 / 800 = 525, and 95 % of that is 498.75.
    QTest::newRow("portrait") << QSize(600, 800) << QSize(1000, 700) << QSize(1000, 700) << 1.0
                              << QPoint(0, 0) << QRect(0, 0, 498, 700);
    // The full height leaves no room below: top falls back to 0 / 2.
    QTest::newRow("portrait at card") << QSize(600, 800) << QSize(1000, 700) << QSize(1000, 700)
                                      << 1.0 << QPoint(100, 100) << QRect(100, 0, 498, 700);
    // 1824 wide; 400 × 1824 / 800 = 912, 95 % is 866.4.
    QTest::newRow("landscape") << QSize(800, 400) << hd << hd << 1.0 << QPoint(50, 60)
                               << QRect(50, 60, 1824, 866);
    // 600 × 1824 / 800 = 1368 → 1299 is taller than 1080: 1824 × 1080 / 1299
    // = 1516 → 1440 wide, the full height.
    QTest::newRow("landscape too tall")
        << QSize(800, 600) << hd << hd << 1.0 << QPoint(10, 10) << QRect(10, 0, 1440, 1080);
    QTest::newRow("square counts as landscape")
        << QSize(500, 500) << QSize(1000, 1000) << QSize(1000, 1000) << 1.0 << QPoint(0, 0)
        << QRect(0, 0, 950, 902);
    // 528 × 700 / 700 = 528 → 501; 501 × 1.5 = 751.5 → 751. The card is
    // right of the free 249 pixels: half of them; too tall: clamped to 0.
    QTest::newRow("zoom truncates") << QSize(528, 700) << QSize(1000, 700) << QSize(1000, 700)
                                    << 1.5 << QPoint(300, 20) << QRect(124, 0, 751, 1050);
    QTest::newRow("card beyond the free room")
        << QSize(800, 400) << hd << hd << 1.0 << QPoint(1000, 900) << QRect(48, 107, 1824, 866);
    QTest::newRow("card just inside")
        << QSize(800, 400) << hd << hd << 1.0 << QPoint(95, 213) << QRect(95, 213, 1824, 866);
    QTest::newRow("card on the edge")
        << QSize(800, 400) << hd << hd << 1.0 << QPoint(96, 214) << QRect(48, 107, 1824, 866);
    QTest::newRow("zoom 2 too big")
        << QSize(800, 600) << hd << hd << 2.0 << QPoint(100, 100) << QRect(0, 0, 2880, 2160);
    // A large zoom stops at four wall windows each way, and at 16384 pixels
    // a side on a large screen.
    QTest::newRow("zoom 50 bounded")
        << QSize(800, 600) << hd << hd << 50.0 << QPoint(0, 0) << QRect(0, 0, 5760, 4320);
    QTest::newRow("zoom 1e20 bounded")
        << QSize(800, 600) << hd << hd << 1e20 << QPoint(0, 0) << QRect(0, 0, 5760, 4320);
    QTest::newRow("zoom not a number")
        << QSize(800, 400) << hd << hd << std::nan("") << QPoint(0, 0) << QRect(0, 0, 1824, 866);
    QTest::newRow("zoom 50 on 8K") << QSize(800, 600) << QSize(7680, 4320) << QSize(7680, 4320)
                                   << 50.0 << QPoint(0, 0) << QRect(0, 0, 16383, 12290);
    QTest::newRow("card left of the screen")
        << QSize(800, 400) << hd << hd << 1.0 << QPoint(-50, -20) << QRect(0, 0, 1824, 866);
    QTest::newRow("no zoom given")
        << QSize(800, 400) << hd << hd << 0.0 << QPoint(0, 0) << QRect(0, 0, 1824, 866);
    // Without a picture the panel is 95 % of the wall itself.
    QTest::newRow("no picture") << QSize() << QSize(1000, 600) << QSize(1200, 700) << 1.0
                                << QPoint(20, 20) << QRect(20, 20, 950, 570);
    // The wall's client area, not the wall, bounds a picture.
    QTest::newRow("client smaller than wall") << QSize(800, 400) << hd << QSize(1000, 500) << 1.0
                                              << QPoint(0, 0) << QRect(0, 0, 950, 451);
}

void TestPictureViewer::geometry() {
    QFETCH(QSize, picture);
    QFETCH(QSize, wall);
    QFETCH(QSize, client);
    QFETCH(double, zoom);
    QFETCH(QPoint, corner);
    QFETCH(QRect, expected);
    QCOMPARE(viewerGeometry(picture, wall, client, zoom, corner), expected);
}

void TestPictureViewer::opensAtTheComputedPlace() {
    QTemporaryDir dir;
    const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(200, 100), Qt::green);
    QVERIFY(!a.isEmpty());
    PictureViewerWindow v;
    v.openLink(QStringLiteral("Leaves"), a, Qt::yellow, 1.0, QPoint(20, 30), kWall, kWallWindow);
    QVERIFY(v.isOpen());
    QVERIFY(v.isVisible());
    QCOMPARE(v.windowTitle(), QStringLiteral("Leaves"));
    QCOMPARE(v.palette().color(QPalette::Window), QColor(Qt::yellow));
    QCOMPARE(v.XXX, 200);
    QCOMPARE(v.YYY, 100);
    QCOMPARE(v.GGG, a);
    QCOMPARE(v.GALL, a);
    QVERIFY(!v.TFLG);
    // 760 wide, 100 × 760 / 200 = 380 → 361 high, at the card.
    QCOMPARE(v.geometry(), QRect(20, 30, 760, 361));
    QWidget* panel = panelOf(v);
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), QRect(0, 0, 760, 361));
    QCOMPARE(panel->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(v.windowFlags() & Qt::WindowStaysOnTopHint);
    // The panel shows the picture stretched over it.
    const QImage shown = panel->grab().toImage();
    QCOMPARE(shown.pixelColor(shown.width() - 3, shown.height() - 3), QColor(Qt::green));
}

void TestPictureViewer::secondClickClosesOtherListReopens() {
    QTemporaryDir dir;
    const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(40, 30), Qt::red);
    const QString b = writePicture(dir, QStringLiteral("b.png"), QSize(30, 60), Qt::blue);
    QVERIFY(!a.isEmpty() && !b.isEmpty());
    PictureViewerWindow v;
    open(v, a);
    QVERIFY(v.isOpen());
    QCOMPARE(v.list(), a);
    open(v, a);
    QVERIFY(!v.isOpen());
    QVERIFY(!v.isVisible());
    open(v, a);
    QVERIFY(v.isOpen());
    open(v, b);
    QVERIFY(v.isOpen());
    QVERIFY(v.isVisible());
    QCOMPARE(v.list(), b);
    QCOMPARE(v.shownPath(), b);
    QCOMPARE(QSize(v.XXX, v.YYY), QSize(30, 60));
    v.closeViewer();
    QVERIFY(!v.isOpen());
    QVERIFY(!v.isVisible());
}

void TestPictureViewer::noCaptionOpensNothing() {
    QTemporaryDir dir;
    const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(40, 30), Qt::red);
    PictureViewerWindow v;
    v.openLink(QString(), a, Qt::red, 1.0, QPoint(), kWall, kWallWindow);
    QVERIFY(!v.isOpen());
    QVERIFY(!v.isVisible());
    QVERIFY(v.shownPath().isEmpty());
}

void TestPictureViewer::slideshowRunsThrough() {
    QTemporaryDir dir;
    const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(40, 30), Qt::red);
    const QString b = writePicture(dir, QStringLiteral("b.png"), QSize(40, 30), Qt::green);
    const QString c = writePicture(dir, QStringLiteral("c.png"), QSize(40, 30), Qt::blue);
    PictureViewerWindow v;
    v.setStepDelays(30, 150);
    QElapsedTimer clock;
    ShowLog log;
    follow(v, log, clock);
    clock.start();
    open(v, a + '&' + b + '&' + c);
    QCOMPARE(v.GGG, a);
    QCOMPARE(v.GALL, b + '&' + c + '&');
    QVERIFY(v.TFLG);
    QCOMPARE(v.list(), a + '&' + b + '&' + c);
    QTRY_VERIFY_WITH_TIMEOUT(!v.isOpen(), 10000);
    const qint64 closedAt = clock.elapsed();
    QCOMPARE(log.paths, QStringList({"a.png", "b.png", "c.png"}));
    QCOMPARE(log.delays, QList<int>({30, 30, 150}));
    QVERIFY(log.times[1] - log.times[0] >= 29);
    QVERIFY(log.times[2] - log.times[1] >= 29);
    QVERIFY(closedAt - log.times[2] >= 149);
    QVERIFY(!v.isVisible());
    QVERIFY(!v.TFLG);
}

void TestPictureViewer::leftClickSkipsTheNextPicture() {
    QTemporaryDir dir;
    const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(40, 30), Qt::red);
    const QString b = writePicture(dir, QStringLiteral("b.png"), QSize(40, 30), Qt::green);
    const QString c = writePicture(dir, QStringLiteral("c.png"), QSize(40, 30), Qt::blue);
    PictureViewerWindow v;
    v.setStepDelays(150, 60);
    QElapsedTimer clock;
    ShowLog log;
    follow(v, log, clock);
    clock.start();
    open(v, a + '&' + b + '&' + c);
    QTest::mouseClick(panelOf(v), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(v.isOpen()); // a click in a series does not close it
    QCOMPARE(v.GALL, c + '&');
    QTRY_VERIFY_WITH_TIMEOUT(!v.isOpen(), 10000);
    QCOMPARE(log.paths, QStringList({"a.png", "c.png"}));
    QCOMPARE(log.delays, QList<int>({150, 60}));
}

void TestPictureViewer::missingPictureStopsTheSeries() {
    QTemporaryDir dir;
    const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(40, 30), Qt::red);
    const QString gone = dir.filePath(QStringLiteral("gone.png"));
    const QString c = writePicture(dir, QStringLiteral("c.png"), QSize(40, 30), Qt::blue);
    PictureViewerWindow v;
    v.setStepDelays(30, 30);
    QElapsedTimer clock;
    ShowLog log;
    follow(v, log, clock);
    clock.start();
    open(v, a + '&' + gone + '&' + c);
    QTRY_VERIFY_WITH_TIMEOUT(!v.TFLG, 10000);
    // Its timer is what steps a series on: stopped, c never comes.
    QVERIFY(!v.findChild<QTimer*>(QStringLiteral("Timer2"))->isActive());
    QVERIFY(v.isOpen());
    QCOMPARE(log.paths, QStringList({"a.png"}));
    QCOMPARE(v.shownPath(), a);
    QCOMPARE(v.GALL, c + '&');
}

void TestPictureViewer::formats_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("png") << "p.png";
    QTest::newRow("jpg") << "j.jpg";
    QTest::newRow("jpeg") << "j.jpeg";
    QTest::newRow("bmp") << "b.bmp";
    QTest::newRow("upper case") << "U.PNG";
    QTest::newRow("mixed case") << "M.JpG";
}

void TestPictureViewer::formats() {
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = writePicture(dir, name, QSize(64, 48), QColor(200, 40, 40));
    QVERIFY(!path.isEmpty());
    PictureViewerWindow v;
    open(v, path);
    QCOMPARE(v.shownPath(), path);
    QCOMPARE(QSize(v.XXX, v.YYY), QSize(64, 48));
    const QColor mid = v.picture().pixelColor(32, 24);
    QVERIFY2(qAbs(mid.red() - 200) < 8 && qAbs(mid.green() - 40) < 8 && qAbs(mid.blue() - 40) < 8,
             qPrintable(mid.name()));
}

void TestPictureViewer::otherExtensionsKeepThePicture() {
    QTemporaryDir dir;
    const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(40, 30), Qt::red);
    const QString b = writePicture(dir, QStringLiteral("b.png"), QSize(20, 20), Qt::blue);
    // PNG bytes under another name are still not the viewer's to show.
    const QString text = dir.filePath(QStringLiteral("b.txt"));
    QVERIFY(QFile::copy(b, text));
    PictureViewerWindow v;
    open(v, a);
    v.GLOAD(text);
    QCOMPARE(v.shownPath(), a);
    QCOMPARE(v.picture().size(), QSize(40, 30));
    v.GLOAD(b);
    QCOMPARE(v.shownPath(), b);
}

void TestPictureViewer::greyIsSeeThrough() {
    QTemporaryDir dir;
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::green);
    for (int y = 20; y < 80; ++y)
        for (int x = 60; x < 140; ++x)
            img.setPixel(x, y, qRgb(128, 128, 128));
    const QString grey = dir.filePath(QStringLiteral("grey.png"));
    QVERIFY(img.save(grey));
    PictureViewerWindow v;
    open(v, grey);
    // 760 × 361 shows the picture 3.8 times: the grey block is a hole.
    const QRegion mask = v.mask();
    QVERIFY(!mask.isEmpty());
    QVERIFY(!mask.contains(QPoint(380, 180)));
    QVERIFY(mask.contains(QPoint(20, 180)));
    QVERIFY(mask.contains(QPoint(380, 20)));
    // A picture without that grey leaves the window whole.
    v.closeViewer();
    open(v, writePicture(dir, QStringLiteral("green.png"), QSize(200, 100), Qt::green));
    QVERIFY(v.mask().isEmpty());
}

void TestPictureViewer::releases_data() {
    QTest::addColumn<bool>("withPicture");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("penOn");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<bool>("asksForMenu");
    QTest::newRow("left closes") << true << int(Qt::LeftButton) << false << false << false;
    QTest::newRow("left with pen") << true << int(Qt::LeftButton) << true << true << false;
    QTest::newRow("right asks for menu") << true << int(Qt::RightButton) << false << true << true;
    // A picture that does not decode opens no viewer to click on.
    QTest::newRow("without picture") << false << int(Qt::LeftButton) << false << false << false;
}

void TestPictureViewer::releases() {
    QFETCH(bool, withPicture);
    QFETCH(int, button);
    QFETCH(bool, penOn);
    QFETCH(bool, staysOpen);
    QFETCH(bool, asksForMenu);
    QTemporaryDir dir;
    const QString path = withPicture
                             ? writePicture(dir, QStringLiteral("a.png"), QSize(40, 30), Qt::red)
                             : dir.filePath(QStringLiteral("nothing.png"));
    PenState pens;
    pens.MSON = penOn;
    PictureViewerWindow v(nullptr, &pens);
    QSignalSpy menu(&v, &PictureViewerWindow::menuRequested);
    const int decodes = decodedPictureCount();
    QCOMPARE(v.openLink(QStringLiteral("Leaves"), path, Qt::red, 1.0, QPoint(20, 30), kWall,
                        kWallWindow),
             withPicture);
    // The picture is read once, whatever it is.
    QCOMPARE(decodedPictureCount(), decodes + (withPicture ? 1 : 0));
    if (!withPicture) {
        QVERIFY(!v.isOpen());
        QVERIFY(!v.isVisible());
        return;
    }
    QVERIFY(v.isOpen());
    QWidget* panel = panelOf(v);
    QTest::mouseClick(panel, Qt::MouseButton(button), {}, QPoint(12, 8));
    QCOMPARE(v.isOpen(), staysOpen);
    QCOMPARE(v.isVisible(), staysOpen);
    QCOMPARE(menu.count(), asksForMenu ? 1 : 0);
    if (asksForMenu)
        QCOMPARE(menu.at(0).at(0).toPoint(), panel->mapToGlobal(QPoint(12, 8)));
}

void TestPictureViewer::dragMovesTheWindowOrDraws() {
    QTemporaryDir dir;
    const QString a = writePicture(dir, QStringLiteral("a.png"), QSize(40, 30), Qt::green);
    PenState pens;
    PictureViewerWindow v(nullptr, &pens);
    open(v, a);
    QWidget* panel = panelOf(v);
    const QPoint before = v.pos();
    const QPoint grab = panel->mapToGlobal(QPoint(10, 10));
    sendMouse(panel, QEvent::MouseButtonPress, Qt::LeftButton, grab);
    sendMouse(panel, QEvent::MouseMove, Qt::LeftButton, grab + QPoint(25, 15));
    QCOMPARE(v.pos() - before, QPoint(25, 15));
    sendMouse(panel, QEvent::MouseButtonRelease, Qt::LeftButton, grab + QPoint(25, 15));
    QVERIFY(!v.isOpen()); // a click with the pen off closes a single picture

    // With the pen on a drag draws on the picture's own pixels and the
    // window stays; closing turns the pen off.
    pens.MSON = true;
    pens.CPEN = 1;
    open(v, a);
    const QPoint at = v.pos();
    const QPoint from = panel->mapToGlobal(QPoint(panel->width() / 4, panel->height() / 2));
    const QPoint to = panel->mapToGlobal(QPoint(panel->width() * 3 / 4, panel->height() / 2));
    sendMouse(panel, QEvent::MouseButtonPress, Qt::LeftButton, from);
    sendMouse(panel, QEvent::MouseMove, Qt::LeftButton, to);
    sendMouse(panel, QEvent::MouseButtonRelease, Qt::LeftButton, to);
    QCOMPARE(v.pos(), at);
    QVERIFY(v.isOpen());
    QCOMPARE(v.picture().size(), QSize(40, 30));
    QCOMPARE(v.picture().pixelColor(20, 15), QColor(Qt::blue));
    QCOMPARE(v.picture().pixelColor(20, 2), QColor(Qt::green));
    QVERIFY(pens.MSON2);
    v.closeViewer();
    QVERIFY(!pens.MSON);
}

void TestPictureViewer::colourWipe() {
    // Just inside and just outside each colour's bounds.
    QVERIFY(isPenColour(qRgb(231, 199, 199), 0));
    QVERIFY(!isPenColour(qRgb(230, 0, 0), 0));
    QVERIFY(isPenColour(qRgb(0, 0, 231), 1) && !isPenColour(qRgb(0, 200, 255), 1));
    QVERIFY(isPenColour(qRgb(101, 101, 99), 2) && !isPenColour(qRgb(101, 101, 100), 2));
    QVERIFY(isPenColour(qRgb(241, 241, 241), 3) && !isPenColour(qRgb(240, 255, 255), 3));
    QVERIFY(isPenColour(qRgb(9, 9, 9), 4) && !isPenColour(qRgb(10, 0, 0), 4));
    // A pen pixel takes the colour kept last in its row; white at its start.
    QImage row(4, 1, QImage::Format_RGB32);
    row.setPixel(0, 0, qRgb(255, 0, 0));
    row.setPixel(1, 0, qRgb(0, 90, 0));
    row.setPixel(2, 0, qRgb(255, 0, 0));
    row.setPixel(3, 0, qRgb(240, 10, 10));
    const QImage wiped = wipePenColour(row, 0);
    QCOMPARE(wiped.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(wiped.pixel(2, 0), qRgb(0, 90, 0));
    QCOMPARE(wiped.pixel(3, 0), qRgb(0, 90, 0));
}

void TestPictureViewer::saveAndRestore() {
    QTemporaryDir dir;
    const QString a = writePicture(dir, QStringLiteral("a.bmp"), QSize(40, 30), Qt::green);
    const QByteArray original = [&] {
        QFile f(a);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    PenState pens;
    pens.MSON = true;
    PictureViewerWindow v(nullptr, &pens);
    open(v, a);
    QWidget* panel = panelOf(v);
    const QPoint p = panel->mapToGlobal(QPoint(panel->width() / 2, panel->height() / 2));
    sendMouse(panel, QEvent::MouseButtonPress, Qt::LeftButton, p);
    sendMouse(panel, QEvent::MouseMove, Qt::LeftButton, p + QPoint(30, 0));
    sendMouse(panel, QEvent::MouseButtonRelease, Qt::LeftButton, p + QPoint(30, 0));
    // Saved over the file, its first original kept beside it.
    QVERIFY(v.saveOver());
    QCOMPARE(readPicture(a).image.pixelColor(21, 15), QColor(Qt::red));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("_a.bmp"))));
    // The wipe takes the red away; reloading brings the saved strokes back,
    // and the original puts the file as it was.
    v.wipeColour();
    QCOMPARE(v.picture().pixelColor(21, 15), QColor(Qt::green));
    v.reloadPicture();
    QCOMPARE(v.picture().pixelColor(21, 15), QColor(Qt::red));
    v.restoreOriginal();
    QCOMPARE(v.picture().pixelColor(21, 15), QColor(Qt::green));
    QFile f(a);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), original);
}

void TestPictureViewer::strokeStepsKeepTheChangedPixels() {
    PictureCanvas canvas;
    QImage white(1200, 300, QImage::Format_RGB32);
    white.fill(Qt::white);
    canvas.setPicture(white);
    StrokeRecorder strokes(canvas);
    PenStroke pen(kViewerStrokes);
    auto line = [&](QPoint from, QPoint to, const QColor& colour) {
        strokes.begin();
        pen.press(from);
        strokes.drew(pen.move(canvas.drawable(), to, true, true, false, colour, 5));
        return strokes.end();
    };
    // White on white changes no pixel: no step.
    QVERIFY(!line({10, 100}, {300, 100}, Qt::white));

    // Only the rectangle under the stroke is kept: a short one in memory,
    // one across the picture in temporary files, read back to undo it.
    std::unique_ptr<StrokeStep> shortLine = line({10, 10}, {30, 10}, Qt::red);
    const QImage afterShort = canvas.picture();
    std::unique_ptr<StrokeStep> longLine = line({0, 150}, {1199, 160}, Qt::blue);
    const QImage afterLong = canvas.picture();
    QVERIFY(shortLine && !shortLine->spilled());
    QVERIFY(longLine && longLine->spilled());
    QString why;
    QVERIFY(longLine->undo(&why));
    QCOMPARE(canvas.picture(), afterShort);
    QVERIFY(longLine->redo(&why));
    QCOMPARE(canvas.picture(), afterLong);
}

QTEST_MAIN(TestPictureViewer)
#include "tst_pictureviewer.moc"
