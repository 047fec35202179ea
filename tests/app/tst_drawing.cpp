#include "cards/cardmouse.h"
#include "document/undohistory.h"
#include "drawing/picturecanvas.h"
#include "drawing/pictureviewerwindow.h"
#include "drawing/wallpen.h"
#include "model/bgrcolor.h"
#include "pictures/picturelayer.h"
#include "platform/touchhold.h"
#include "storage/underscorecopy.h"
#include "support/mouse.h"
#include "support/shellrecorder.h"
#include "support/touch.h"
#include "support/windowfixture.h"

#include <QDesktopServices>
#include <QDirIterator>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTabletEvent>
#include <QUrl>
#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

void drag(QWidget* w, const QList<QPoint>& points) {
    sendMouse(w, QEvent::MouseButtonPress, points.first());
    for (const QPoint& p : points.mid(1))
        sendMouse(w, QEvent::MouseMove, p);
    sendMouse(w, QEvent::MouseButtonRelease, points.last());
}

QColor at(WallWindow& w, int x, int y) {
    return w.pen().canvasImage().pixelColor(x, y);
}

// A wall whose background is a green photo.
void withPhoto(WindowWall& wall) {
    QImage photo(640, 360, QImage::Format_RGB32);
    photo.fill(QColor(0, 128, 0));
    QVERIFY(writePicture(photo, wall.data + "bg.bmp"));
    writeFileBytes(wall.data + "wall.ini", "\xEF\xBB\xBF<PANEL=\"bg.bmp\",20260101-000000>\r\n");
}

// The picture viewer opened on a picture of the wall, drawn on with the pen.
QWidget* openViewer(WindowWall& wall, WallWindow& w) {
    QImage leaf(200, 100, QImage::Format_RGB32);
    leaf.fill(Qt::white);
    writePicture(leaf, wall.data + "leaf.bmp");
    w.TForm21->openLink("leaf", wall.data + "leaf.bmp", Qt::yellow, 1.0, QPoint(10, 10),
                        QSize(w.document().NOWX, w.document().NOWY), w.geometry());
    return w.TForm21->findChild<QWidget*>("Panel1");
}

// Every file under `folder` with its size and time, to see that nothing was
// written.
QStringList filesAsTheyAre(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        files << f.filePath() + QString::number(f.size()) +
                     f.lastModified().toString(Qt::ISODateWithMs);
    }
    files.sort();
    return files;
}

// How many pixels of column `x` of `picture` are `colour`.
int heightOf(const QImage& picture, int x, const QColor& colour) {
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        n += picture.pixelColor(x, y) == colour;
    return n;
}

} // namespace

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    void strokesOnTheWall();
    void wipeSaveAndOriginal();
    void emptyWall();
    void failedSaveSaysSo();
    void outsidePrograms();
    void strokesAreTakenBack();
    void strokesStopBeingSteps();
    void severalFingersDrawAtOnce();
    void stylusPressureSetsWidth();
    void pinchZoomsTheViewer();
};

void TestDrawing::strokesOnTheWall() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    WallPen& pen = w.pen();
    QWidget* canvas = pen.Image1;
    const QColor navy = bgrColor(kNavy);
    // Right after start: red, the pen on, width 5 at the first move, which
    // draws nothing.
    pen.chooseColour(0);
    QVERIFY(w.flags().pen.MSON);
    QVERIFY(w.findChild<QToolButton*>("SpeedButton2")->isChecked());
    drag(canvas, {{100, 100}, {200, 100}, {300, 100}});
    QCOMPARE(w.flags().pen.SPENS, 5);
    QCOMPARE(at(w, 150, 100), navy);
    QCOMPARE(at(w, 250, 100), QColor(Qt::red));
    QCOMPARE(at(w, 250, 102), QColor(Qt::red)); // 5 wide
    QCOMPARE(at(w, 250, 104), navy);
    QVERIFY(w.document().canvasDrawn && w.flags().pen.MSON2);

    // Straight lines: A to B draws nothing, C to D draws, a click at E draws
    // on from D.
    pen.toggleStraight();
    QVERIFY(w.flags().pen.PREFLG);
    drag(canvas, {{100, 200}, {150, 200}, {200, 200}});
    QCOMPARE(at(w, 150, 200), navy);
    drag(canvas, {{100, 300}, {200, 300}, {300, 300}});
    QCOMPARE(at(w, 200, 300), QColor(Qt::red));
    sendMouse(canvas, QEvent::MouseMove, {300, 380}, Qt::NoButton);
    drag(canvas, {{300, 380}});
    QCOMPARE(at(w, 300, 340), QColor(Qt::red));

    // The menu's first entry says what it will do.
    QMenu* menu = pen.PopupMenu3;
    sendMouse(canvas, QEvent::MouseButtonPress, {400, 200}, Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(pen.N68->text(), QStringLiteral("OFF"));
    QCOMPARE(pen.N69->text(), QStringLiteral("－－－直線－－－"));
    menu->close();
    pen.togglePen();
    QVERIFY(!w.flags().pen.MSON);
    sendMouse(canvas, QEvent::MouseButtonPress, {400, 200}, Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(pen.N68->text(), QStringLiteral("ON"));
    menu->close();
    // With the pen off nothing is drawn.
    drag(canvas, {{100, 420}, {200, 420}, {300, 420}});
    QCOMPARE(at(w, 250, 420), navy);
}

void TestDrawing::wipeSaveAndOriginal() {
    WindowWall wall({});
    withPhoto(wall);
    WallWindow& w = wall.open();
    WallPen& pen = w.pen();
    QWidget* canvas = pen.Image1;
    const QImage loaded = pen.canvasImage();
    QVERIFY(QFileInfo(w.document().KABEIMAGE).isAbsolute());
    const QColor green = at(w, 150, 100);
    pen.chooseColour(1);
    drag(canvas, {{100, 100}, {120, 100}, {200, 100}});
    QCOMPARE(at(w, 150, 100), QColor(Qt::blue));
    pen.wipe();
    QCOMPARE(pen.canvasImage(), loaded);
    QVERIFY(!w.document().canvasDrawn && !w.flags().pen.MSON);

    // Saved into the picture, its original kept beside it; the wipe still
    // brings back the picture as it was loaded.
    const QByteArray original = readFileBytes(wall.data + "bg.bmp");
    pen.chooseColour(1);
    drag(canvas, {{100, 100}, {120, 100}, {200, 100}});
    pen.save();
    QCOMPARE(readFileBytes(wall.data + "_bg.bmp"), original);
    QVERIFY(readFileBytes(wall.data + "bg.bmp") != original);
    pen.wipe();
    QCOMPARE(pen.canvasImage(), loaded);

    // The original comes back at once, in both layers: strokes and all gone.
    pen.chooseColour(0);
    drag(canvas, {{100, 200}, {120, 200}, {200, 200}});
    pen.restoreOriginal();
    QCOMPARE(readFileBytes(wall.data + "bg.bmp"), original);
    QCOMPARE(at(w, 150, 100), green);
    QCOMPARE(at(w, 150, 200), green);
    QVERIFY(!w.document().canvasDrawn);
    w.OWARI();
    QCOMPARE(readFileBytes(wall.data + "bg.bmp"), original);
}

void TestDrawing::emptyWall() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    WallPen& pen = w.pen();
    const QColor navy = bgrColor(kNavy);
    pen.chooseColour(2);
    drag(pen.Image1, {{100, 100}, {120, 100}, {200, 100}});
    pen.wipe(); // no picture: the plain wall
    QCOMPARE(at(w, 150, 100), navy);
    QCOMPARE(pen.canvasImage().size(), QSize(w.document().NOWX, w.document().NOWY));

    // A drawing saved on an empty wall becomes its background.
    pen.chooseColour(2);
    drag(pen.Image1, {{100, 100}, {120, 100}, {200, 100}});
    pen.save();
    QVERIFY(QFileInfo::exists(wall.data + "wall.ini"));
    QVERIFY(QFileInfo::exists(wall.data + w.document().KABEIMAGE));
    w.SpeedButton12Click();
    QCOMPARE(at(w, 150, 100), QColor(Qt::yellow));
    QVERIFY(w.flags().pen.MSON2);
}

void TestDrawing::failedSaveSaysSo() {
    WindowWall wall({});
    QImage photo(640, 360, QImage::Format_RGB32);
    photo.fill(Qt::white);
    QVERIFY(writePicture(photo, wall.data + "bg.bmp"));
    QVERIFY(QFile::copy(wall.data + "bg.bmp", wall.data + "_bg.bmp"));
    writeFileBytes(wall.data + "wall.ini", "\xEF\xBB\xBF<PANEL=\"bg.bmp\",20260101-000000>\r\n");
    WallWindow& w = wall.open();
    const QByteArray before = readFileBytes(wall.data + "bg.bmp");
    w.pen().chooseColour(4);
    drag(w.pen().Image1, {{100, 100}, {120, 100}, {200, 100}});
    // The disk "fills up" half way through the picture.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = rlim_t(before.size() / 2);
    setrlimit(RLIMIT_FSIZE, &small);
    QString said;
    answerNext(QString(), &said);
    w.pen().save();
    setrlimit(RLIMIT_FSIZE, &old);
    QVERIFY2(said.contains(wall.data + "bg.bmp"), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("大きさの上限")), qPrintable(said));
    QCOMPARE(readFileBytes(wall.data + "bg.bmp"), before);
    QVERIFY(w.document().canvasDrawn); // still there to save
}

void TestDrawing::outsidePrograms() {
    WindowWall wall({});
    QImage photo(64, 36, QImage::Format_RGB32);
    photo.fill(Qt::white);
    QVERIFY(writePicture(photo, wall.data + "bg.jpg"));
    writeFileBytes(wall.data + "wall.ini", "\xEF\xBB\xBF<PANEL=\"bg.jpg\",20260101-000000>\r\n");
    // A paint program of our own on PATH writes down what it was given.
    QTemporaryDir bin;
    const QString record = bin.filePath("given.txt");
    const QString script = bin.filePath("pinta");
    writeFileBytes(script, QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\n").arg(record).toUtf8());
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ":/usr/bin:/bin");
    ShellRecorder shell({"file"});
    WallWindow& w = wall.open();
    w.pen().openOutside(true);
    QTRY_VERIFY(QFileInfo::exists(record));
    QTRY_COMPARE(readFileBytes(record).trimmed(), (wall.data + "bg.jpg").toUtf8());
    w.pen().openOutside(false);
    QCOMPARE(shell.opened, QList<QUrl>{QUrl::fromLocalFile(wall.data + "bg.jpg")});
    qputenv("PATH", path);
}

void TestDrawing::strokesAreTakenBack() {
    WindowWall wall({});
    withPhoto(wall);
    WallWindow& w = wall.open();
    WallPen& pen = w.pen();
    UndoHistory& history = w.document().history();
    const QImage loaded = pen.canvasImage();
    pen.chooseColour(1);
    drag(pen.Image1, {{100, 100}, {120, 100}, {200, 100}});
    const QImage first = pen.canvasImage();
    pen.toggleStraight();
    drag(pen.Image1, {{100, 200}, {150, 200}, {200, 200}}); // moves the pen only: no step
    drag(pen.Image1, {{300, 300}, {320, 300}, {500, 350}});
    const QImage second = pen.canvasImage();
    QCOMPARE(history.undoCount(), 2);
    QCOMPARE(history.undoName(), QStringLiteral("ペンの線"));

    // Newest first, every pixel as it was; the drawn flag with them, so that
    // an undrawn photo is not written back at save.
    history.undo();
    QCOMPARE(pen.canvasImage(), first);
    QVERIFY(w.document().canvasDrawn);
    history.undo();
    QCOMPARE(pen.canvasImage(), loaded);
    QVERIFY(!w.document().canvasDrawn);
    history.redo();
    history.redo();
    QCOMPARE(pen.canvasImage(), second);
    QVERIFY(w.document().canvasDrawn);

    // The viewer's strokes go into the same history, and with the viewer.
    pen.toggleStraight();
    QWidget* panel = openViewer(wall, w);
    const QImage leaf = w.TForm21->picture();
    drag(panel, {{20, 20}, {60, 30}, {120, 40}});
    const QImage drawn = w.TForm21->picture();
    QCOMPARE(history.undoCount(), 3);
    history.undo();
    QCOMPARE(w.TForm21->picture(), leaf);
    history.redo();
    QCOMPARE(w.TForm21->picture(), drawn);
    w.TForm21->closeViewer();
    QCOMPARE(history.undoCount(), 2);
}

void TestDrawing::strokesStopBeingSteps() {
    WindowWall wall({});
    withPhoto(wall);
    WallWindow& w = wall.open();
    WallPen& pen = w.pen();
    UndoHistory& history = w.document().history();
    auto stroke = [&](int y) {
        pen.chooseColour(0);
        drag(pen.Image1, {{100, y}, {120, y}, {200, y}});
    };

    // The picture changed by other means under the stroke: the undo says so
    // and changes nothing.
    stroke(100);
    QPainter(&pen.Image1->drawable()).fillRect(150, 90, 10, 20, Qt::black);
    const QImage painted = pen.canvasImage();
    QSignalSpy refused(&history, &UndoHistory::refused);
    history.undo();
    QCOMPARE(refused.count(), 1);
    QVERIFY(refused.at(0).at(0).toString().contains(QStringLiteral("ほかの操作で変わって")));
    QCOMPARE(pen.canvasImage(), painted);
    QVERIFY(w.document().canvasDrawn);
    QCOMPARE(history.undoCount(), 0);

    // A wipe, a new background, the original back, a save: the strokes
    // before it are no steps.
    QImage white(pen.canvasImage().size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    const QList<std::function<void()>> ends{
        [&] { pen.wipe(); },
        [&] { pen.showBackground(white); },
        [&] { pen.restoreOriginal(); },
        [&] { pen.save(); },
    };
    for (const auto& end : ends) {
        stroke(200);
        QCOMPARE(history.undoCount(), 1);
        end();
        QCOMPARE(history.undoCount(), 0);
    }

    // The viewer's own save likewise.
    QWidget* panel = openViewer(wall, w);
    pen.chooseColour(1);
    drag(panel, {{20, 20}, {60, 30}, {120, 40}});
    QCOMPARE(history.undoCount(), 1);
    QVERIFY(w.TForm21->saveOver());
    QCOMPARE(history.undoCount(), 0);
}

void TestDrawing::severalFingersDrawAtOnce() {
    WindowWall wall({{"a.txt", textCard("a", 900, 500)}});
    WallWindow& w = wall.open();
    WallPen& pen = w.pen();
    QWidget* canvas = pen.Image1;
    UndoHistory& history = w.document().history();
    const QColor navy = bgrColor(kNavy);
    QPointingDevice* fingers = touchScreen();
    auto on = [&](QPoint p) { return canvas->mapTo(&w, p); };
    pen.chooseColour(0);

    // Two fingers side by side, 60 pixels apart, draw two lines and not one
    // zigzag between them.
    QTest::touchEvent(&w, fingers).press(0, on({100, 100})).press(1, on({100, 160}));
    for (int x = 120; x <= 300; x += 20)
        QTest::touchEvent(&w, fingers).move(0, on({x, 100})).move(1, on({x, 160}));
    QTest::touchEvent(&w, fingers).release(0, on({300, 100})).release(1, on({300, 160}));
    QCOMPARE(at(w, 250, 100), QColor(Qt::red));
    QCOMPARE(at(w, 250, 160), QColor(Qt::red));
    for (int y = 105; y <= 155; y += 5)
        QCOMPARE(at(w, 250, y), navy);
    QCOMPARE(history.undoCount(), 2);
    history.undo();
    QCOMPARE(at(w, 250, 160), navy);
    QCOMPARE(at(w, 250, 100), QColor(Qt::red));
    history.undo();
    QCOMPARE(at(w, 250, 100), navy);
    history.redo();
    history.redo();
    QCOMPARE(at(w, 250, 160), QColor(Qt::red));

    // Two strokes that cross, the second ending last, are taken back and made
    // again pixel for pixel.
    const QImage before = pen.canvasImage();
    QTest::touchEvent(&w, fingers).press(0, on({400, 100})).press(1, on({400, 220}));
    for (int x = 420; x <= 560; x += 20)
        QTest::touchEvent(&w, fingers)
            .move(0, on({x, 100 + (x - 400)}))
            .move(1, on({x, 220 - (x - 400)}));
    QTest::touchEvent(&w, fingers).release(0, on({560, 260}));
    QTest::touchEvent(&w, fingers).move(1, on({600, 20}));
    QTest::touchEvent(&w, fingers).release(1, on({600, 20}));
    const QImage crossed = pen.canvasImage();
    QVERIFY(crossed != before);
    QCOMPARE(history.undoCount(), 4);
    history.undo();
    history.undo();
    QCOMPARE(pen.canvasImage(), before);
    history.redo();
    history.redo();
    QCOMPARE(pen.canvasImage(), crossed);

    // One finger drags a card, first or second, while another draws.
    for (const bool cardFirst : {true, false}) {
        CardWidget* card = wall.card(0);
        const QPoint was = card->pos();
        const QPoint grip = card->mapTo(&w, card->rect().center());
        const int y = cardFirst ? 300 : 360;
        QTimer* hold = w.mouse().Timer1;
        if (cardFirst)
            QTest::touchEvent(&w, fingers).press(0, grip);
        QTest::touchEvent(&w, fingers).stationary(0).press(1, on({100, y}));
        if (!cardFirst)
            QTest::touchEvent(&w, fingers).stationary(1).press(0, grip);
        QTRY_VERIFY(!hold->isActive()); // held long enough to drag
        for (int step = 1; step <= 10; ++step)
            QTest::touchEvent(&w, fingers)
                .move(0, grip + QPoint(5 * step, 3 * step))
                .move(1, on({100 + 20 * step, y}));
        QTest::touchEvent(&w, fingers).release(0, grip + QPoint(50, 30)).release(1, on({300, y}));
        QCOMPARE(card->pos(), was + QPoint(50, 30));
        QCOMPARE(at(w, 250, y), QColor(Qt::red));
    }

    // With the pen off a finger is the mouse, as before: it draws nothing.
    pen.togglePen();
    QTest::touchEvent(&w, fingers).press(0, on({100, 600}));
    for (int x = 120; x <= 300; x += 20)
        QTest::touchEvent(&w, fingers).move(0, on({x, 600}));
    QTest::touchEvent(&w, fingers).release(0, on({300, 600}));
    QCOMPARE(at(w, 250, 600), navy);
}

void TestDrawing::stylusPressureSetsWidth() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    WallPen& pen = w.pen();
    QWidget* canvas = pen.Image1;
    pen.chooseColour(0);
    pen.chooseWidth(kThickPen);
    QPointingDevice stylus(QStringLiteral("stylus"), 7, QInputDevice::DeviceType::Stylus,
                           QPointingDevice::PointerType::Pen,
                           QInputDevice::Capability::Position | QInputDevice::Capability::Pressure,
                           1, 2);
    int refused = 0; // events left to become a mouse as well
    auto stroke = [&](int y, double pressure) {
        auto send = [&](QEvent::Type type, int x, Qt::MouseButtons held) {
            const QPointF p(x, y);
            QTabletEvent event(type, &stylus, p, canvas->mapToGlobal(p), pressure, 0, 0, 0, 0, 0,
                               Qt::NoModifier, Qt::LeftButton, held);
            QApplication::sendEvent(canvas, &event);
            refused += !event.isAccepted();
        };
        send(QEvent::TabletPress, 100, Qt::LeftButton);
        for (int x = 120; x <= 400; x += 20)
            send(QEvent::TabletMove, x, Qt::LeftButton);
        send(QEvent::TabletRelease, 400, Qt::NoButton);
    };
    stroke(100, 0.0);
    stroke(300, 1.0);
    stroke(500, 0.5);
    QCOMPARE(refused, 0);
    QImage drawn = pen.canvasImage();
    drawn.setPixelColor(250, 400, Qt::blue); // keeps the columns apart
    const QImage light = drawn.copy(0, 0, drawn.width(), 200);
    const QImage firm = drawn.copy(0, 200, drawn.width(), 200);
    const QImage half = drawn.copy(0, 400, drawn.width(), 200);
    // A third of the width, the width, and halfway between; no pixel of
    // smoothing, so that a colour wipe still finds the pen's colour.
    QVERIFY(qAbs(heightOf(light, 250, Qt::red) - kThickPen / 3) <= 1);
    QVERIFY(qAbs(heightOf(firm, 250, Qt::red) - kThickPen) <= 1);
    QVERIFY(qAbs(heightOf(half, 250, Qt::red) - 2 * kThickPen / 3) <= 1);
    QCOMPARE(heightOf(firm, 250, bgrColor(kNavy)) + heightOf(firm, 250, Qt::red), 200);
    QCOMPARE(w.document().history().undoCount(), 3);

    // The pen held still is the right button: the pen menu, nothing drawn.
    auto* hold = w.findChild<TouchHold*>(QString(), Qt::FindDirectChildrenOnly);
    const QImage before = pen.canvasImage();
    const QPointF p(700, 700);
    QTabletEvent press(QEvent::TabletPress, &stylus, p, canvas->mapToGlobal(p), 1.0, 0, 0, 0, 0, 0,
                       Qt::NoModifier, Qt::LeftButton, Qt::LeftButton);
    QApplication::sendEvent(canvas, &press);
    QTRY_VERIFY(hold->complete());
    QTabletEvent release(QEvent::TabletRelease, &stylus, p, canvas->mapToGlobal(p), 0, 0, 0, 0, 0,
                         0, Qt::NoModifier, Qt::LeftButton, Qt::NoButton);
    QApplication::sendEvent(canvas, &release);
    QTRY_VERIFY(pen.PopupMenu3->isVisible());
    pen.PopupMenu3->close();
    QCOMPARE(pen.canvasImage(), before);
    QCOMPARE(w.document().history().undoCount(), 3);
}

void TestDrawing::pinchZoomsTheViewer() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    QWidget* panel = openViewer(wall, w);
    PictureViewerWindow* viewer = w.TForm21;
    QPointingDevice* fingers = touchScreen();
    const QStringList files = filesAsTheyAre(wall.dir.path());
    QCOMPARE(viewer->zoom(), 1.0);
    const QSize one = viewer->size();
    const QPoint middle = viewer->rect().center();

    // Twice as far apart, twice as large, and moved with the fingers.
    const QPoint held = viewer->mapToGlobal(middle);
    pinch(viewer, fingers, middle, 100, 200, QPoint(30, 20));
    QVERIFY(qAbs(viewer->zoom() - 2.0) < 0.02);
    // The point that was under the fingers' middle is under it still.
    QVERIFY((viewer->mapFromGlobal(held + QPoint(30, 20)) - 2 * middle).manhattanLength() <= 4);
    QVERIFY(viewer->isVisible());
    // Never beyond what a zoom from the card may be: four wall windows.
    pinch(viewer, fingers, viewer->rect().center(), 20, 2000);
    QVERIFY(viewer->width() <= 4 * w.width() && viewer->height() <= 4 * w.height());
    QVERIFY(viewer->zoom() > 2.0);
    const double most = viewer->zoom();
    pinch(viewer, fingers, viewer->rect().center(), 20, 2000);
    QCOMPARE(viewer->zoom(), most);

    // A double tap brings back the size of zoom 1; the first tap does not
    // close the pinched viewer.
    const QPoint tap = viewer->rect().center();
    QTest::touchEvent(viewer, fingers).press(0, tap);
    QTest::touchEvent(viewer, fingers).release(0, tap);
    QVERIFY(viewer->isVisible());
    QTest::touchEvent(viewer, fingers).press(0, tap);
    QTest::touchEvent(viewer, fingers).release(0, tap);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->size(), one);
    QCOMPARE(filesAsTheyAre(wall.dir.path()), files);

    // With the pen on, two fingers that land together pinch and draw
    // nothing; one finger draws.
    w.pen().chooseColour(0);
    const QImage leaf = viewer->picture();
    pinch(viewer, fingers, middle, 100, 150);
    QVERIFY(qAbs(viewer->zoom() - 1.5) < 0.02);
    QCOMPARE(viewer->picture(), leaf);
    QTest::touchEvent(viewer, fingers).press(0, panel->mapTo(viewer, QPoint(20, 20)));
    for (int x = 40; x <= 200; x += 20)
        QTest::touchEvent(viewer, fingers).move(0, panel->mapTo(viewer, QPoint(x, 20)));
    QTest::touchEvent(viewer, fingers).release(0, panel->mapTo(viewer, QPoint(200, 20)));
    QVERIFY(viewer->picture() != leaf);
    QCOMPARE(w.document().history().undoCount(), 1);
}

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
