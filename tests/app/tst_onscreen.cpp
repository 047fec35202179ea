#include "app/wallwindow.h"
#include "app/windowmodes.h"
#include "drawing/pictureeditorwindow.h"
#include "drawing/regionwindow.h"
#include "drawing/screencapture.h"
#include "model/bgrcolor.h"
#include "platform/userprompts.h"
#include "support/countedstep.h"
#include "support/wallfixture.h"
#include "web/webpane.h"

#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QToolButton>
#include <QtTest>

namespace {

// Whether most of `w` as the screen shows it is w's own picture: nothing
// stands in front of it.
bool inFront(QWidget* w) {
    const QImage screen = w->screen()->grabWindow(0).toImage();
    const QImage own = w->grab().toImage();
    int same = 0;
    int looked = 0;
    for (int y = 1; y < 5; ++y) {
        for (int x = 1; x < 5; ++x) {
            const QPoint at(w->width() * x / 5, w->height() * y / 5);
            const QPoint onScreen = w->mapToGlobal(at) - w->screen()->geometry().topLeft();
            ++looked;
            same += screen.pixel(onScreen) == own.pixel(at);
        }
    }
    return same * 10 >= looked * 9;
}

// Runs `open`, which opens a modal window, and says whether that window came
// to stand in front of everything with the keyboard before it was closed
// again (after at most 10 s).
bool opensInFrontWithKeyboard(const std::function<void()>& open) {
    bool seen = false;
    QElapsedTimer clock;
    clock.start();
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, &clock] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        seen = modal->isActiveWindow() && inFront(modal);
        if (!seen && clock.elapsed() < 10000)
            return;
        poll->deleteLater();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    poll->start(20);
    open();
    return seen;
}

// A wall on an empty data folder, full screen.
struct EmptyWall {
    QTemporaryDir dir;
    bool made = QDir().mkpath(dir.filePath(QStringLiteral("zavik-data")));
    WallWindow w{dir.filePath(QStringLiteral("zavik"))};
    bool shown() {
        w.showOnScreen();
        return QTest::qWaitForWindowExposed(&w);
    }
};

} // namespace

// Runs under a real X server, with a window manager when one is installed:
// what the user sees on the screen, not what the widgets say of themselves.
class TestOnScreen : public QObject {
    Q_OBJECT
private slots:
    void noticeStandsAboveTheWallAtStartUp();
    void captureSeesTheScreen();
    void pictureEditorDialogsStandAboveIt();
    void fieldOnTheWallKeepsTheRedoKey();
};

void TestOnScreen::noticeStandsAboveTheWallAtStartUp() {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("zavik-data/"));
    QDir().mkpath(data);
    writeCardFile(data + "a.txt", textCard("a"));
    writeFileBytes(data + "bad.txt",
                   "<POSTER=\"\",1,2,oops,4,5,6,7,8,\"\",\"\",\"\",\"\",\"\",,,>");
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QMessageBox* box = nullptr;
    QTRY_VERIFY((box = w.findChild<QMessageBox*>()) && box->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QTRY_VERIFY(inFront(box)); // once the window manager has stacked it
}

void TestOnScreen::captureSeesTheScreen() {
    EmptyWall wall;
    QVERIFY(wall.shown());
    WallWindow& w = wall.w;
    QTRY_VERIFY(inFront(&w)); // painted on the screen
    ScreenCapture& capture = w.capture();
    QImage seen;
    auto captureAndLook = [&](bool putAway) {
        seen = QImage();
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, &capture, &seen] {
            if (!capture.TForm14->isVisible())
                return;
            poll->deleteLater();
            seen = capture.TForm14->screen();
            capture.TForm14->reject();
        });
        poll->start(10);
        // The picture is taken here, once the window manager has taken an
        // aside wall off the screen, rather than after the capture's delay.
        capture.captureAfter(60000, putAway);
        QCOMPARE(w.isVisible(), !putAway);
        if (putAway) {
            QTRY_VERIFY(!inFront(&w));
            // The server has taken the wall off the screen only once the
            // screen shows what lies under it; on a busy machine that is
            // later than the window's own state says.
            const QPoint middle = w.geometry().center();
            QTRY_VERIFY(w.screen()->grabWindow(0).toImage().pixelColor(middle) != bgrColor(kNavy));
        }
        capture.Timer7->stop();
        capture.Timer7Timer();
        QTRY_VERIFY(!seen.isNull());
    };
    // The plain wall, as the screen shows it.
    captureAndLook(false);
    const QPoint middle(w.width() / 2, w.height() / 2);
    QCOMPARE(seen.pixelColor(middle), bgrColor(kNavy));
    // A tucked wall stays where it is for a delayed capture; "キャプチャー"
    // takes it out of the picture and puts it back where it was.
    w.modes().tuckOrUntuck();
    QTRY_VERIFY(w.geometry().width() < 200 && inFront(&w));
    const QRect tucked = w.geometry();
    captureAndLook(false);
    QCOMPARE(w.geometry(), tucked);
    captureAndLook(true);
    QTRY_VERIFY(w.isVisible());
    QCOMPARE(w.geometry(), tucked);
    QVERIFY(seen.pixelColor(tucked.center()) != bgrColor(kNavy));
}

void TestOnScreen::pictureEditorDialogsStandAboveIt() {
    EmptyWall wall;
    QVERIFY(wall.shown());
    WallWindow& w = wall.w;
    QImage shot(w.screen()->size(), QImage::Format_RGB32);
    shot.fill(Qt::darkGreen);
    PictureEditorWindow* editor = w.TForm25;
    editor->openOn(shot, {w.document().ZETTAIX0, w.document().ZETTAIY0, w.document().NOWX, false});
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    QTRY_VERIFY(editor->isActiveWindow() && inFront(editor));

    // What a capture made over the editor opens: the frozen screen, the
    // notice that the screen cannot be photographed, the region's save dialog
    // and the warning when saving fails. Each stands in front of the editor
    // with the keyboard, and leaves the editor in front when it closes.
    ScreenCapture& capture = w.capture();
    RegionWindow* region = capture.TForm14;
    QImage frozen = shot;
    frozen.fill(Qt::magenta);
    // The real warning, for a name that cannot be written.
    struct UnwritableName : DialogPrompts {
        using DialogPrompts::DialogPrompts;
        QString name;
        QStringList chooseFiles(const FileRequest&) override { return {name}; }
    } unwritable(editor);
    unwritable.name = wall.dir.filePath(QStringLiteral("none/x.jpg"));
    const QList<QPair<const char*, std::function<void()>>> opens = {
        {"frozen screen",
         [&] {
             capture.grab = [&](GrabDone done) { done(ScreenGrab{frozen, QString()}); };
             capture.Timer7Timer();
         }},
        {"no screen",
         [&] {
             capture.grab = [](GrabDone done) {
                 done(ScreenGrab{QImage(), QStringLiteral("no screen")});
             };
             capture.Timer7Timer();
         }},
        {"save dialog",
         [&] {
             region->R = QRect(10, 10, 50, 50);
             region->HCOPY();
         }},
        {"save failed",
         [&] {
             region->setPrompts(&unwritable);
             region->R = QRect(10, 10, 50, 50);
             region->HCOPY();
             region->setPrompts(nullptr);
         }},
    };
    for (const auto& [name, open] : opens) {
        QVERIFY2(opensInFrontWithKeyboard(open), name);
        QTRY_VERIFY2(editor->isActiveWindow() && inFront(editor), name);
    }
    // The editor's "キャプチャー" opens the capture menu in front of it.
    editor->findChild<QToolButton*>(QStringLiteral("SpeedButton13"))->click();
    QTRY_VERIFY(capture.PopupMenu4->isVisible() && inFront(capture.PopupMenu4));
    QCOMPARE(QApplication::activePopupWidget(), capture.PopupMenu4);
    capture.PopupMenu4->close();
    QTRY_VERIFY(editor->isActiveWindow() && inFront(editor));
}

void TestOnScreen::fieldOnTheWallKeepsTheRedoKey() {
    // On an X desktop Ctrl+Y is no redo key to a line edit; the wall's redo
    // must not take it from a field the user types in all the same.
    EmptyWall wall;
    QVERIFY(wall.shown());
    WallWindow& w = wall.w;
    int undos = 0, redos = 0;
    w.document().history().push(std::make_unique<CountedStep>("カードの移動", &undos, &redos));
    w.document().history().undo();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QLineEdit* address = w.webPane().Edit2;
    w.webPane().Panel3->show();
    address->setFocus();
    QTRY_VERIFY(address->hasFocus());
    QTest::keyClick(address, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(redos, 0);
    w.webPane().Panel3->hide();
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(redos, 1);
}

QTEST_MAIN(TestOnScreen)
#include "tst_onscreen.moc"
