#include "document/walldocument.h"
#include "drawing/regionwindow.h"
#include "drawing/screencapture.h"
#include "drawing/wallprinter.h"
#include "platform/beep.h"
#include "support/mouse.h"
#include "support/scriptedprompts.h"

#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

// A screen of four coloured quarters, 800 × 600.
QImage quarters() {
    QImage screen(800, 600, QImage::Format_RGB32);
    screen.fill(Qt::red);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (x >= 400 || y >= 300)
                screen.setPixelColor(x, y,
                                     y >= 300 ? (x >= 400 ? Qt::yellow : Qt::green) : Qt::blue);
    return screen;
}

// Runs `step` once the next modal window is up; the wait ends with `owner`
// where none may come.
void whenModal(std::function<void()> step, QObject* owner = nullptr) {
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        if (!QApplication::activeModalWidget())
            return;
        poll->deleteLater();
        step();
    });
    poll->start(5);
}

} // namespace

class TestCapture : public QObject {
    Q_OBJECT
private slots:
    void selectingARegion();
    void clicksThatSelectNothing();
    void captureFromTheWall();
    void answerThatComesLater();
    void portalPictureOnThePrimaryScreen_data();
    void portalPictureOnThePrimaryScreen();
    void printRectangle_data();
    void printRectangle();
    void printingToPdf();
};

void TestCapture::selectingARegion() {
    QTemporaryDir dir;
    RegionWindow r;
    r.prepare(quarters(), 600);
    r.show();
    // The whole screen is on the clipboard as soon as the window opens.
    QCOMPARE(QApplication::clipboard()->image(), quarters());
    // From bottom right to top left: the same rectangle as the other way.
    ScriptedPrompts user;
    r.setPrompts(&user);
    r.startFolder = dir.path();
    const QString asked = dir.filePath("part.png");
    user.files << QStringList{asked};
    sendMouse(&r, QEvent::MouseButtonPress, QPoint(410, 310), Qt::LeftButton);
    sendMouse(&r, QEvent::MouseMove, QPoint(10, 10), Qt::LeftButton);
    QCOMPARE(r.R, QRect(10, 10, 400, 300));
    QCOMPARE(r.Panel2->text(), QStringLiteral("400"));
    QCOMPARE(r.Panel3->text(), QStringLiteral("300"));
    QCOMPARE(r.Panel4->text(), QLocale().toString(1.33, 'f', 2));
    // A flat selection leaves the ratio as it was.
    sendMouse(&r, QEvent::MouseMove, QPoint(100, 310), Qt::LeftButton);
    QCOMPARE(r.Panel3->text(), QStringLiteral("0"));
    QCOMPARE(r.Panel4->text(), QLocale().toString(1.33, 'f', 2));
    sendMouse(&r, QEvent::MouseMove, QPoint(10, 10), Qt::LeftButton);
    sendMouse(&r, QEvent::MouseButtonRelease, QPoint(10, 10), Qt::LeftButton);
    // The part is on the clipboard; ".png" is not a format it is saved in.
    const QImage part = QApplication::clipboard()->image();
    QCOMPARE(part.size(), QSize(400, 300));
    QCOMPARE(part.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(part.pixelColor(399, 299), QColor(Qt::yellow));
    QCOMPARE(user.requests.size(), 1);
    const FileRequest& request = user.requests.first();
    QCOMPARE(request.mode, FileRequest::Save);
    QCOMPARE(request.title, QStringLiteral("名前を付けて保存"));
    QCOMPARE(request.folder, dir.path());
    QCOMPARE(request.filter, QStringLiteral("JPEG (*.jpg *.jpeg);;BMP (*.bmp);;全て (*.*)"));
    QCOMPARE(request.typed, QStringLiteral("jpg"));
    QVERIFY(!QFileInfo::exists(asked));

    // As JPEG it is written.
    r.prepare(quarters(), 600);
    user.files << QStringList{dir.filePath("part.jpg")};
    sendMouse(&r, QEvent::MouseButtonPress, QPoint(390, 290), Qt::LeftButton);
    sendMouse(&r, QEvent::MouseMove, QPoint(410, 310), Qt::LeftButton);
    sendMouse(&r, QEvent::MouseButtonRelease, QPoint(410, 310), Qt::LeftButton);
    QCOMPARE(QImage(dir.filePath("part.jpg")).size(), QSize(20, 20));
    QVERIFY(user.told.isEmpty());

    // A file that cannot be written is told, naming it; the part stays on
    // the clipboard.
    r.prepare(quarters(), 600);
    const QString nowhere = dir.filePath("none/part.jpg");
    user.files << QStringList{nowhere};
    sendMouse(&r, QEvent::MouseButtonPress, QPoint(390, 290), Qt::LeftButton);
    sendMouse(&r, QEvent::MouseMove, QPoint(410, 310), Qt::LeftButton);
    sendMouse(&r, QEvent::MouseButtonRelease, QPoint(410, 310), Qt::LeftButton);
    QCOMPARE(user.told.size(), 1);
    QVERIFY(user.told.first().contains(QDir::toNativeSeparators(nowhere)));
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(20, 20));
}

void TestCapture::clicksThatSelectNothing() {
    RegionWindow r;
    ScriptedPrompts user;
    r.setPrompts(&user);
    // A bare click and a right click both leave the whole screen on the
    // clipboard, and nothing is offered for saving.
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        r.prepare(quarters(), 600);
        r.show();
        sendMouse(&r, QEvent::MouseButtonPress, QPoint(50, 50), button);
        sendMouse(&r, QEvent::MouseButtonRelease, QPoint(50, 50), button);
        QCOMPARE(QApplication::clipboard()->image(), quarters());
        QVERIFY(!r.isVisible());
    }
    QVERIFY(user.requests.isEmpty());
}

void TestCapture::captureFromTheWall() {
    WallDocument st;
    bool busy = false;
    QWidget wall;
    wall.setGeometry(0, 0, 800, 600);
    wall.show();
    ScreenCapture capture(st, busy, &wall);
    QWidget corner(&wall);
    corner.show();
    capture.handles = {&corner};
    // Offscreen there is no screen to photograph, and the test's session bus
    // has no desktop portal: the user is told once, nothing else happens.
    QString said;
    whenModal([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        said = box ? box->text() : QString();
        QApplication::activeModalWidget()->close();
    });
    capture.Timer7Timer();
    QTRY_VERIFY(!said.isEmpty());
    QVERIFY(said.contains(QStringLiteral("X11")));
    QVERIFY(said.contains(QStringLiteral("org.freedesktop.portal.Screenshot")));
    QVERIFY(!capture.TForm14->isVisible());

    // A delayed capture leaves a wall where it stands; "キャプチャー" puts an
    // aside wall away for the picture and back where it was after.
    bool cornerShownAtGrab = true;
    bool wallShownAtGrab = true;
    capture.grab = [&](GrabDone done) {
        cornerShownAtGrab = corner.isVisible();
        wallShownAtGrab = wall.isVisible();
        done(ScreenGrab{quarters(), QString()});
    };
    capture.wallIsAside = [] { return true; };
    wall.move(300, 200);
    const QPoint aside = wall.pos();
    for (bool putAway : {false, true}) {
        whenModal([&] { capture.TForm14->reject(); });
        capture.captureAfter(10, putAway);
        QTRY_VERIFY(!capture.Timer7->isActive());
        QTRY_VERIFY(!capture.TForm14->isVisible());
        QCOMPARE(wallShownAtGrab, !putAway);
        QVERIFY(!cornerShownAtGrab);
        QVERIFY(corner.isVisible());
        QVERIFY(wall.isVisible());
        QCOMPARE(wall.pos(), aside);
    }
    // Resting on the corner starts a capture; leaving it calls it off.
    capture.watchCorner(&corner);
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(&corner, &enter);
    QCOMPARE(capture.Timer7->remainingTime() > 1000, true);
    QApplication::sendEvent(&corner, &leave);
    QVERIFY(!capture.Timer7->isActive());

    // Resting on the full-screen drawing button for 4 s opens the editor on
    // a fresh screenshot; leaving before calls it off; a click opens it now.
    QToolButton drawing(&wall);
    capture.watchDrawingButton(&drawing);
    QImage edited;
    connect(&capture, &ScreenCapture::editorRequested, this,
            [&](const QImage& shot) { edited = shot; });
    QApplication::sendEvent(&drawing, &enter);
    QVERIFY(capture.T6FLG);
    QCOMPARE(capture.Timer6->interval(), 4000);
    QVERIFY(capture.Timer6->isActive());
    QApplication::sendEvent(&drawing, &leave);
    QVERIFY(!capture.Timer6->isActive() && !capture.T6FLG);
    capture.Timer6Timer();
    QVERIFY(edited.isNull());
    drawing.click();
    QCOMPARE(edited, quarters());

    // When the timer runs out the pointer must still rest on the shown
    // button: one that entered and jumped away without a Leave draws nothing,
    // and a column hidden under the pointer disarms it.
    drawing.move(700, 250);
    drawing.show();
    QPoint pointer = drawing.mapToGlobal(QPoint(5, 5));
    capture.pointer = [&] { return pointer; };
    auto restThenFire = [&] {
        edited = QImage();
        QApplication::sendEvent(&drawing, &enter);
        capture.Timer6Timer();
        return !edited.isNull();
    };
    QVERIFY(restThenFire());
    pointer = wall.mapToGlobal(QPoint(400, 300));
    QVERIFY(!restThenFire());
    pointer = drawing.mapToGlobal(QPoint(5, 5));
    QApplication::sendEvent(&drawing, &enter);
    drawing.hide();
    QVERIFY(!capture.Timer6->isActive() && !capture.T6FLG);
    QVERIFY(!restThenFire());
}

void TestCapture::answerThatComesLater() {
    WallDocument st;
    bool busy = false;
    QWidget wall;
    wall.show();
    ScreenCapture capture(st, busy, &wall);
    QWidget corner(&wall);
    corner.show();
    capture.handles = {&corner};
    QList<GrabDone> asked;
    capture.grab = [&](GrabDone done) { asked << done; };
    // While the desktop has not answered, the handles stay hidden and no
    // second request goes out.
    capture.Timer7Timer();
    capture.Timer7Timer();
    QToolButton drawing(&wall);
    capture.watchDrawingButton(&drawing);
    drawing.click();
    QCOMPARE(asked.size(), 1);
    QVERIFY(!corner.isVisible());
    // The user called it off in the desktop's dialog: nothing is said.
    bool told = false;
    whenModal(
        [&] {
            told = true;
            QApplication::activeModalWidget()->close();
        },
        &wall);
    ScreenGrab cancelled;
    cancelled.cancelled = true;
    asked.takeFirst()(cancelled);
    QVERIFY(corner.isVisible());
    QVERIFY(!capture.TForm14->isVisible());
    QVERIFY(!told);
    drawing.click(); // the next request goes out
    QCOMPARE(asked.size(), 1);
}

void TestCapture::portalPictureOnThePrimaryScreen_data() {
    QTest::addColumn<QSize>("shot");
    QTest::addColumn<QRect>("desktop");
    QTest::addColumn<QRect>("primary");
    QTest::addColumn<qreal>("screenRatio");
    QTest::addColumn<QRect>("part");
    QTest::addColumn<qreal>("ratio");
    const QRect screen(0, 0, 800, 600);
    QTest::newRow("scale 2") << QSize(1600, 1200) << screen << screen << 2.0
                             << QRect(0, 0, 1600, 1200) << 2.0;
    QTest::newRow("compositor at scale 2, Qt at 1")
        << QSize(1600, 1200) << screen << screen << 1.0 << QRect(0, 0, 1600, 1200) << 2.0;
    QTest::newRow("a second screen on the left")
        << QSize(1824, 768) << QRect(-1024, 0, 1824, 768) << screen << 1.0
        << QRect(1024, 0, 800, 600) << 1.0;
    QTest::newRow("an area the user chose")
        << QSize(200, 100) << screen << screen << 1.0 << QRect(0, 0, 200, 100) << 1.0;
}

void TestCapture::portalPictureOnThePrimaryScreen() {
    QFETCH(QSize, shot);
    QFETCH(QRect, desktop);
    QFETCH(QRect, primary);
    QFETCH(qreal, screenRatio);
    QFETCH(QRect, part);
    QFETCH(qreal, ratio);
    const QImage picture = quarters().scaled(shot);
    QImage expected = picture.copy(part);
    expected.setDevicePixelRatio(ratio);
    QCOMPARE(fitToPrimaryScreen(picture, desktop, primary, screenRatio), expected);
}

void TestCapture::printRectangle_data() {
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QRect>("expected");
    // 20 mm = 2000 / 2540 inch; 264 mm = 1200 × 22 / 2540 inch. The picture
    // is 1920 × 1080: H = 1080 × W / 1920.
    QTest::newRow("600 landscape")
        << 600 << QPoint(0, 0) << true << QRect(QPoint(472, 472), QPoint(6707, 3978));
    QTest::newRow("600 offsets") << 600 << QPoint(50, 40) << true
                                 << QRect(QPoint(422, 432), QPoint(6657, 3938));
    QTest::newRow("300 portrait") << 300 << QPoint(0, 0) << false
                                  << QRect(QPoint(236, 236), QPoint(2313, 1404));
    QTest::newRow("1200 landscape")
        << 1200 << QPoint(100, 100) << true << QRect(QPoint(844, 844), QPoint(13315, 7858));
}

void TestCapture::printRectangle() {
    QFETCH(int, dpi);
    QFETCH(QPoint, offset);
    QFETCH(bool, landscape);
    QFETCH(QRect, expected);
    PrintPage page{dpi, dpi, offset.x(), offset.y(), landscape, 100};
    QCOMPARE(::printRectangle(page, QSize(1920, 1080)), expected);
}

void TestCapture::printingToPdf() {
    QTemporaryDir dir;
    WallDocument st;
    bool busy = false;
    st.NOWX = 320;
    st.NOWY = 180;
    QWidget wall;
    wall.setGeometry(0, 0, 320, 180);
    QPalette green;
    green.setColor(QPalette::Window, Qt::green);
    wall.setPalette(green);
    wall.setAutoFillBackground(true);
    wall.show();
    WallPrinter printer(st, busy, &wall);
    // Cancelled: nothing printed, the wall stays on the clipboard.
    printer.setUpPrinter = [](QPrinter&) { return false; };
    QVERIFY(!printer.IPRINT(1));
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(320, 180));
    QCOMPARE(QApplication::clipboard()->image().pixelColor(5, 5), QColor(Qt::green));

    const QString pdf = dir.filePath("wall.pdf");
    QPageLayout::Orientation preset = QPageLayout::Portrait;
    printer.setUpPrinter = [&](QPrinter& p) {
        preset = p.pageLayout().orientation();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    };
    QVERIFY(printer.IPRINT(1));
    QCOMPARE(preset, QPageLayout::Landscape);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1);
    QVERIFY(bytes.contains("/MediaBox [0 0 842.000000 595.000000]")); // A4 across
    // The title, as Qt writes it: UTF-16 with a byte order mark.
    const QByteArray title = QByteArray("\xFE\xFF\0Z\0a\0v\0i\0k", 12);
    QVERIFY(bytes.contains(title) || bytes.contains("(Zavik)"));
}

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
