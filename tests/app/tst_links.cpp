#include "app/logostarter.h"
#include "app/mediaplayerbar.h"
#include "app/wallwindow.h"
#include "cards/cardboard.h"
#include "cards/cardmouse.h"
#include "cards/cardwidget.h"
#include "dialogs/folderchooserdialog.h"
#include "dialogs/startoverdialog.h"
#include "document/undohistory.h"
#include "drawing/flashwindow.h"
#include "drawing/pictureviewerwindow.h"
#include "model/linkrules.h"
#include "pictures/picturelayer.h"
#include "platform/beep.h"
#include "platform/desktopcopy.h"
#include "storage/wallfiles.h"
#include "support/windowfixture.h"
#include "web/helpbrowserwindow.h"
#include "web/linkinterception.h"

#include "storage/refspace.h"
#include <QFileSystemModel>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

namespace {

// A valid WAV file with no samples: 16-bit mono at 8000 Hz.
QByteArray silentWav() {
    QByteArray b;
    auto u32 = [&b](quint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&b](quint16 v) {
        b.append(char(v & 0xFF));
        b.append(char(v >> 8));
    };
    b.append("RIFF");
    u32(36);
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    b.append("data");
    u32(0);
    return b;
}

} // namespace

class TestLinks : public QObject {
    Q_OBJECT
public:
    // The page browser's engine needs this before the application exists.
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private slots:
    void stampCopies();
    void initTestCase();
    void clickOrHold();
    void dragAndResize();
    void rightClickOpensTheCardMenu();
    void cardCommands();
    void checkOffAndStampCards();
    void flashTextThenLink();
    void picturesSoundsPagesAndLogo();
    void desktopCopy();
    void fileWindowAndFolderChooser();
    void pagesOpenInTheBrowser();
    void exitsAndFolders();
    void logoStartsTheEnvironmentOnTheCopy();
    void collapsedCardsSaveWhole();
    void brokenPicturesOpenNoViewer();
    void csvOfTheCards();
};

void TestLinks::initTestCase() {
    // The desktop folder of these tests lies in a folder of their own.
    static QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
}

void TestLinks::clickOrHold() {
    WindowWall wall({{"a.txt", linkCard("sub\\")}});
    WallWindow& w = wall.open();
    CardWidget* c = wall.card(0);
    QTimer* clickTime = w.mouse().Timer1;
    QCOMPARE(clickTime->interval(), 300);
    // Held past the click time: nothing runs.
    QTest::mousePress(c, Qt::LeftButton, {}, c->rect().center());
    QTRY_VERIFY(!clickTime->isActive());
    QTest::mouseRelease(c, Qt::LeftButton, {}, c->rect().center());
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    // Released within it: the card runs and its link enters the sub-wall.
    QTest::mousePress(c, Qt::LeftButton, {}, c->rect().center());
    QVERIFY(clickTime->isActive());
    QTest::mouseRelease(c, Qt::LeftButton, {}, c->rect().center());
    QCOMPARE(w.document().KIJUNDIR, wall.data + "sub/");
    QVERIFY(QFileInfo(wall.data + "sub").isDir());
    QCOMPARE(w.flags().ListBox11, QStringList{wall.data});
    QVERIFY(w.findChild<QWidget*>("SpeedButton7")->isVisible());
}

void TestLinks::dragAndResize() {
    PosterRecord ellipse = textCard("e", 900, 100);
    ellipse.R = 0;
    WindowWall wall({{"a.txt", textCard("r")}, {"b.txt", ellipse}});
    WallWindow& w = wall.open();
    CardMouse& m = w.mouse();
    CardWidget* c = wall.card(0);
    // Press, hold past the click time, and let the pointer report where it is.
    auto hold = [&](CardWidget* card, QPoint at) {
        m.press(card, at, Qt::LeftButton);
        QTRY_VERIFY(!m.Timer1->isActive());
        m.move(card, at);
    };
    // Drag from the middle: the grabbed point stays under the pointer.
    const QPoint start = c->pos();
    hold(c, QPoint(40, 30));
    m.move(c, QPoint(45, 33));
    m.move(c, QPoint(45, 33)); // the pointer moved on: the card is under it again
    QCOMPARE(c->pos(), start + QPoint(10, 6));
    // A jump of 11 pixels is not applied; the next small move goes on.
    m.move(c, QPoint(56, 33));
    QCOMPARE(c->pos(), start + QPoint(10, 6));
    m.move(c, QPoint(58, 33));
    QCOMPARE(c->pos(), start + QPoint(28, 9));
    m.release(c, QPoint(40, 30));

    // The right 3 pixels of a rectangle resize its width.
    const QSize size = c->size();
    const int pw = c->pictureRect().width();
    hold(c, QPoint(pw - 2, 30));
    m.move(c, QPoint(pw + 3, 30));
    QCOMPARE(c->width(), pw + 3 + 4);
    QCOMPARE(c->height(), size.height());
    m.release(c, QPoint(pw + 3, 30));
    // 6 pixels in is no edge of a rectangle…
    const QPoint before = c->pos();
    hold(c, QPoint(c->pictureRect().width() - 6, 30));
    m.move(c, QPoint(c->pictureRect().width() - 4, 30));
    QCOMPARE(c->pos(), before + QPoint(2, 0));
    m.release(c, QPoint(0, 0));
    // …but is on an ellipse, whose edge zone is 8 pixels.
    CardWidget* e = wall.card(1);
    const int ew = e->pictureRect().width();
    hold(e, QPoint(ew - 6, e->pictureRect().height() / 2));
    m.move(e, QPoint(ew - 1, e->pictureRect().height() / 2));
    QCOMPARE(e->width(), ew - 1 + 4);
    m.release(e, QPoint(0, 0));
    // The bottom-right corner resizes both ways; the left edge keeps the right.
    const QSize corner = c->pictureRect().size() - QSize(1, 1);
    hold(c, QPoint(corner.width(), corner.height()));
    m.move(c, QPoint(corner.width() + 5, corner.height() + 5));
    QCOMPARE(c->size(), corner + QSize(5 + 4, 5 + 4));
    m.release(c, QPoint(0, 0));
    const int right = c->x() + c->width();
    hold(c, QPoint(1, 40));
    m.move(c, QPoint(9, 40));
    QCOMPARE(c->x() + c->width(), right);
    m.move(c, QPoint(c->width() + 5, 40)); // past the right edge: never below 16
    QCOMPARE(c->width() >= 16, true);
    m.release(c, QPoint(0, 0));
    // Nothing was written.
    QCOMPARE(readCardFile(wall.data + "a.txt").first().XS, 100);
    QCOMPARE(w.document().KIJUNDIR, wall.data);
}

void TestLinks::rightClickOpensTheCardMenu() {
    WindowWall wall({{"a.txt", linkCard("sub\\")}});
    WallWindow& w = wall.open();
    QSignalSpy menu(&w, &WallWindow::cardMenuRequested);
    CardWidget* c = wall.card(0);
    QTest::mouseClick(c, Qt::RightButton, {}, QPoint(30, 20));
    QCOMPARE(menu.size(), 1);
    const QPoint corner = c->mapToGlobal(QPoint(0, 0));
    const QPoint at = menu.first().first().toPoint();
    QCOMPARE(at, corner + QPoint(30, 20) - c->pictureRect().topLeft() + QPoint(-186, 10));
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    // With the one-shot right click armed, a left click does the same once.
    w.flags().RFLGK = true;
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(30, 20));
    QCOMPARE(menu.size(), 2);
    QVERIFY(!w.flags().RFLGK);
    QCOMPARE(w.document().KIJUNDIR, wall.data);
}

void TestLinks::cardCommands() {
    WindowWall wall({{"a.txt", linkCard(">R20")}});
    WallWindow& w = wall.open();
    CardWidget* c = wall.card(0);
    const QPoint start = c->pos();
    const QByteArray file = readFileBytes(wall.data + "a.txt");
    wall.click(0);
    QCOMPARE(c->pos(), start + QPoint(20, 0));
    QVERIFY(w.document().card(0).checkOff == CheckOff::LinkMoved);
    UndoHistory& history = w.document().history();
    QCOMPARE(history.undoName(), QStringLiteral("カードの移動"));
    history.undo();
    QCOMPARE(c->pos(), start);
    history.redo();
    QCOMPARE(c->pos(), start + QPoint(20, 0));
    w.links().JIKKOU2(">W30"); // clicked in the middle: not the right half
    QCOMPARE(c->width(), toPixelsX(300, w.document().NOWX) - 30);
    w.mouse().CARDY = w.mouse().CARDH; // the lower half: grows, up to the wall's height
    w.links().JIKKOU2(">h2147483647");
    QCOMPARE(c->height(), w.document().NOWY);
    QCOMPARE(readFileBytes(wall.data + "a.txt"), file); // plain commands write nothing
    // "S" commands write the card with a new stamp.
    w.links().JIKKOU2(">SD10");
    const PosterRecord saved = readCardFile(wall.data + "a.txt").first();
    QCOMPARE(saved.KAKUSU, QStringLiteral("3"));
    QVERIFY(saved.FTIME != textCard("").FTIME);
    QCOMPARE(saved.YS, toReferenceY(c->y(), w.document().NOWY));
    const QByteArray savedBytes = readFileBytes(wall.data + "a.txt");
    history.undo();
    QCOMPARE(readFileBytes(wall.data + "a.txt"), file);
    history.redo();
    QCOMPARE(readFileBytes(wall.data + "a.txt"), savedBytes);
    // A number that is not an integer: told, and nothing changes.
    const QRect g = c->geometry();
    QString said;
    answerNext(QString(), &said);
    w.links().JIKKOU2(">R2x");
    QVERIFY(said.contains("2x"));
    QCOMPARE(c->geometry(), g);
    // Save and exit puts a moved card back where its file says.
    w.OWARI();
    QCOMPARE(readCardFile(wall.data + "a.txt").first().XS, saved.XS);
}

void TestLinks::checkOffAndStampCards() {
    PosterRecord check = linkCard("sub\\", "check");
    check.KAKUSU = "2"; // comes up full, state "1"
    PosterRecord stamp = linkCard("other\\", "stamp");
    stamp.STP = 1;
    stamp.KFLG = "never shown";
    WindowWall wall({{"a.txt", check}, {"b.txt", stamp}});
    WallWindow& w = wall.open();
    QVERIFY(w.document().card(0).checkOff == CheckOff::Armed);
    w.document().PBAN = 0;
    w.links().JIKKOU(0);
    // Collapsed, then its link ran.
    QCOMPARE(w.document().KIJUNDIR, wall.data + "sub/");
    w.navigation().goBack();
    PosterRecord collapsed = check;
    collapsed.KAKUSU = "1";
    writeCardFile(wall.data + "a.txt", collapsed);
    w.navigation().goHome();
    QVERIFY(wall.card(0)->isCollapsed());
    QVERIFY(w.document().card(0).checkOff == CheckOff::Collapsed);
    // Clicking the collapsed square brings the card back and runs nothing.
    w.links().JIKKOU(0);
    QVERIFY(!wall.card(0)->isCollapsed());
    QVERIFY(w.document().card(0).checkOff == CheckOff::Armed);
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    UndoHistory& history = w.document().history();
    QCOMPARE(history.undoName(), QStringLiteral("チェック"));
    history.undo();
    QVERIFY(wall.card(0)->isCollapsed());
    history.redo();
    QVERIFY(!wall.card(0)->isCollapsed());
    // A stamp card arms stamping and follows nothing.
    w.links().JIKKOU(1);
    QVERIFY(w.flags().POM);
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    QVERIFY(!w.TForm2->isVisible());
    // A stamp placed is a step of its own.
    w.links().wallPress(QPoint(40, 40));
    QCOMPARE(w.document().count(), 3);
    QCOMPARE(history.undoName(), QStringLiteral("スタンプ"));
    history.undo();
    QCOMPARE(w.document().count(), 2);

    // A plain command on a card collapsed by the same click marks it moved:
    // save and exit puts it back where its file says.
    PosterRecord mover = linkCard(">R200", "mover");
    mover.KAKUSU = "2";
    WindowWall moving({{"m.txt", mover}});
    WallWindow& v = moving.open();
    v.links().JIKKOU(0);
    QVERIFY(moving.card(0)->isCollapsed());
    QVERIFY(v.document().card(0).checkOff == CheckOff::LinkMoved);
    v.OWARI();
    const int nowx = v.document().NOWX;
    QCOMPARE(readCardFile(moving.data + "m.txt").first().XS,
             toReferenceX(toPixelsX(mover.XS, nowx), nowx));
}

void TestLinks::flashTextThenLink() {
    PosterRecord r = linkCard("sub\\");
    r.KFLG = "NH4+1";
    WindowWall wall({{"a.txt", r}});
    WallWindow& w = wall.open();
    // The flash window is watched while it is up, however long it takes to
    // come up on a busy machine.
    bool shown = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] { shown = shown || w.TForm2->isVisible(); });
    watch.start(2);
    w.TForm2->setTimeoutMs(300);
    wall.click(0);
    QVERIFY(shown);
    QCOMPARE(w.document().KIJUNDIR, wall.data + "sub/");
    // A right click on the flash text stops the link.
    w.navigation().goBack();
    QTimer rightClick;
    connect(&rightClick, &QTimer::timeout, [&] {
        if (!w.TForm2->isVisible())
            return;
        rightClick.stop();
        QWidget* panel = w.TForm2->findChild<QWidget*>("Panel1");
        QTest::mouseClick(panel, Qt::RightButton, {}, QPoint(5, 5));
    });
    rightClick.start(2);
    wall.click(0);
    QCOMPARE(w.document().KIJUNDIR, wall.data);
}

void TestLinks::picturesSoundsPagesAndLogo() {
    WindowWall wall({{"a.txt", linkCard("cat.jpg>0.5")}});
    QImage cat(200, 100, QImage::Format_RGB32);
    cat.fill(Qt::yellow);
    cat.save(wall.data + "cat.jpg");
    cat.save(wall.data + "dog.jpg");
    cat.save(wall.data + "bg.jpg");
    WallWindow& w = wall.open();
    // A picture opens the viewer at the card's corner; the same click closes it.
    wall.click(0);
    QVERIFY(w.TForm21->isOpen());
    QCOMPARE(w.flags().KAKUDAI, 0.5);
    QCOMPARE(w.TForm21->list(), wall.data + "cat.jpg");
    wall.click(0);
    QVERIFY(!w.TForm21->isOpen());
    w.links().JIKKOU2("cat.jpg&dog.jpg");
    QCOMPARE(w.TForm21->list(), wall.data + "cat.jpg&" + wall.data + "dog.jpg");
    w.TForm21->closeViewer();

    // ">BG" loads a background without saving it.
    w.links().JIKKOU2("bg.jpg>BG");
    QCOMPARE(w.document().KABEIMG, wall.data + "bg.jpg");
    QVERIFY(!QFileInfo::exists(wall.data + "wall.ini"));

    // A sound shows the 238-pixel player with the file.
    writeFileBytes(wall.data + "s.wav", silentWav());
    w.links().JIKKOU2("s.wav");
    QVERIFY(w.MediaPlayer1->isVisible());
    QCOMPARE(w.MediaPlayer1->width(), 238);
    QCOMPARE(w.MediaPlayer1->fileName(), wall.data + "s.wav");
    // Following another link closes it.
    w.links().JIKKOU2("missing.mp3");
    QVERIFY(!w.MediaPlayer1->isVisible());

    // A LOGO project is copied with its sounds into the LOGO folder first.
    writeFileBytes(wall.data + "t.trx", "REPEAT 4 [FD 100 RT 90]");
    QFile::copy(wall.data + "s.wav", wall.data + "boing.wav");
    QSignalSpy started(w.logo, &LogoStarter::started);
    w.links().JIKKOU2("t.trx");
    QVERIFY(started.wait(10000));
    const QString copy = wall.data + "LOGO/t.trx";
    QCOMPARE(started.first().first().toString(), copy);
    QVERIFY(QFileInfo::exists(copy));
    QVERIFY(QFileInfo::exists(wall.data + "LOGO/boing.wav"));
    // Started again with a changed copy: "つづきから" keeps the copy.
    writeFileBytes(copy, "FD 1");
    answerNext("つづきから");
    w.links().JIKKOU2("t.trx");
    QVERIFY(started.wait(10000));
    QCOMPARE(readFileBytes(copy), QByteArray("FD 1"));
}

void TestLinks::desktopCopy() {
    WindowWall wall({{"a.txt", linkCard("x")}});
    WallWindow& w = wall.open();
    QDir().mkpath(wall.data + "pics");
    writeFileBytes(wall.data + "pics/p.txt", "p");
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QString said;
    answerNext(QString(), &said);
    w.links().JIKKOU2(">DL");
    QVERIFY(said.contains("【マイデスク】"));
    QVERIFY(QFileInfo::exists(desktop + "/【マイデスク】/a.txt"));
    QVERIFY(QFileInfo::exists(desktop + "/【マイデスク】/pics/p.txt"));
    answerNext(QString());
    w.links().JIKKOU2(">DL\\pics\\写真");
    QVERIFY(QFileInfo::exists(desktop + "/写真/p.txt"));
    // A name that would leave the desktop is refused with a message.
    QString refused;
    answerNext(QString(), &refused);
    w.links().JIKKOU2(">DL\\..");
    QVERIFY(refused.contains(".."));
    // Into a folder that holds something: the question says so.
    answerNext("No", &said);
    w.links().JIKKOU2(">DL\\写真");
    QVERIFY(said.contains("もうファイルがあります"));
    // "No" copies nothing.
    answerNext("No");
    w.links().JIKKOU2(">DL\\none");
    QVERIFY(!QFileInfo::exists(desktop + "/none"));
    // Nothing above the wall, and nothing into itself.
    answerNext(QString(), &refused);
    w.links().JIKKOU2(">DL\\..\\up");
    QVERIFY(refused.contains(QStringLiteral("このかべの中")));
    QVERIFY(!QFileInfo::exists(desktop + "/up"));
    answerNext(QString(), &refused);
    FDL(&w, QDir::homePath() + "/", "home");
    QVERIFY(refused.contains(QStringLiteral("コピー先")));
    QVERIFY(!QFileInfo::exists(desktop + "/home"));
}

void TestLinks::fileWindowAndFolderChooser() {
    WindowWall wall({});
    writeFileBytes(wall.data + "p.tr2", "FD 10");
    writeMaskFile(wall.data + "dir.ini", [] {
        MaskRecord m;
        m.mask = "*.tr2;*.txt";
        m.label = "LOGO";
        m.X = 10;
        m.Y = 10;
        m.width = 400;
        m.height = 200;
        return m;
    }());
    WallWindow& w = wall.open();
    auto* list = w.findChild<QListWidget*>("FileListBox2");
    QCOMPARE(list->count(), 1);
    QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QStringLiteral("LOGO(*.tr2;*.txt)"));
    QSignalSpy started(w.logo, &LogoStarter::started);
    w.links().FileListBox2Click("p.tr2");
    QVERIFY(started.wait(10000));
    QVERIFY(QFileInfo::exists(wall.data + "LOGO/p.tr2"));
    // Change detection runs again once the click's action is done.
    QVERIFY(w.findChild<QTimer*>("Timer2")->isActive());

    // The folder chooser gives a sub-wall relative to the wall folder. Its
    // model reads the folders on a thread of its own: each step runs once
    // the data folder is read.
    QDir().mkpath(wall.data + "理科/実験");
    QDir().mkpath(wall.data + "国語");
    using Step = std::function<void(FolderChooserDialog&, QTreeView*, QFileSystemModel*)>;
    auto chooseOnceRead = [&](const QString& wallFolder, const Step& step) {
        FolderChooserDialog chooser(&w);
        auto* tree = chooser.findChild<QTreeView*>("DirectoryListBox1");
        auto* model = static_cast<QFileSystemModel*>(tree->model());
        QObject::connect(model, &QFileSystemModel::directoryLoaded, &chooser,
                         [&](const QString& path) {
                             if (QDir(path) == QDir(wall.data) && chooser.isVisible())
                                 step(chooser, tree, model);
                         });
        QTimer::singleShot(60000, &chooser, &QDialog::reject); // never read: fail, not hang
        return chooser.choose("old\\", wallFolder, wall.data);
    };
    auto button = [](FolderChooserDialog& chooser, const char* name) {
        return chooser.findChild<QPushButton*>(name);
    };
    // The view moving its current row by itself after the user chose (as it
    // does when rows arrive) changes nothing.
    const QString chosen = chooseOnceRead(
        wall.data, [&](FolderChooserDialog& chooser, QTreeView* tree, QFileSystemModel* model) {
            chooser.select(wall.data + "理科/実験");
            tree->selectionModel()->setCurrentIndex(model->index(0, 0, tree->rootIndex()),
                                                    QItemSelectionModel::NoUpdate);
            button(chooser, "BitBtn1")->click();
        });
    QCOMPARE(chosen, QStringLiteral("理科\\実験\\"));
    const QString cancelled =
        chooseOnceRead(wall.data, [&](FolderChooserDialog& chooser, QTreeView*, QFileSystemModel*) {
            chooser.select(wall.data + "理科");
            button(chooser, "BitBtn2")->click();
        });
    QCOMPARE(cancelled, QStringLiteral("old\\"));
    // From a sub-wall the whole data folder shows, opened at that wall, and a
    // sibling can be chosen.
    QString root, current;
    bool expanded = false;
    const QString sibling =
        chooseOnceRead(wall.data + "理科/",
                       [&](FolderChooserDialog& chooser, QTreeView* tree, QFileSystemModel* model) {
                           root = model->filePath(tree->rootIndex()) + "/";
                           current = model->filePath(tree->currentIndex());
                           expanded = tree->isExpanded(tree->currentIndex());
                           tree->setCurrentIndex(model->index(wall.data + "国語"));
                           button(chooser, "BitBtn1")->click();
                       });
    QCOMPARE(sibling, QStringLiteral("..国語\\"));
    QCOMPARE(root, wall.data);
    QCOMPARE(current, wall.data + "理科");
    QVERIFY(expanded);
}

void TestLinks::pagesOpenInTheBrowser() {
    WindowWall wall({});
    writeFileBytes(wall.data + "p.html", "<html><body>ok</body></html>");
    WallWindow& w = wall.open();
    w.links().JIKKOU2("p.html");
    QCOMPARE(w.TForm23->page(), wall.data + "p.html");
    QCOMPARE(w.TForm23->windowTitle(), wall.data + "p.html");
    QVERIFY(w.TForm23->isVisible());
    w.TForm23->close();
}

void TestLinks::exitsAndFolders() {
    WindowWall wall({{"a.txt", textCard("a")}});
    const QByteArray before = readFileBytes(wall.data + "a.txt");
    WallWindow& w = wall.open();
    w.links().JIKKOU2(">");
    QCOMPARE(noticeText(w), QStringLiteral("エクスプローラーを起動・・・"));
    // A folder on a Windows drive is not made anywhere here.
    const int beeps = beepCount();
    w.links().JIKKOU2("D:\\教材\\");
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(noticeText(w), QStringLiteral("このフォルダは見つかりません"));
    QVERIFY(!QFileInfo::exists(QDir::current().filePath("D:")));
    w.links().JIKKOU2(">PRN");
    w.links().JIKKOU2(">CSV");
    QVERIFY(w.isVisible());
    moveCard(wall.w->document(), 0, QPoint(5, 5));
    w.links().JIKKOU2("<<<");
    QVERIFY(!w.isVisible());
    QCOMPARE(readFileBytes(wall.data + "a.txt"), before);

    WindowWall again({{"a.txt", textCard("a")}});
    WallWindow& v = again.open();
    moveCard(again.w->document(), 0, QPoint(5, 5));
    v.links().JIKKOU2("<<");
    QVERIFY(!v.isVisible());
    QCOMPARE(readCardFile(again.data + "a.txt").first().XS, toReferenceX(5, v.document().NOWX));
}

void TestLinks::logoStartsTheEnvironmentOnTheCopy() {
    WindowWall wall({});
    // A stand-in for the LOGO environment records what it was started with.
    const QString turx = wall.dir.filePath("[Zavik]/TURX/turx");
    const QString record = wall.dir.filePath("started.txt");
    QDir().mkpath(QFileInfo(turx).path());
    QFile script(turx);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n%s\\n' \"$1\" \"$(pwd)\" > '%1'\n")
                     .arg(record)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFileBytes(wall.data + "p.trx", "REPEAT 4 [FD 50 RT 90]");
    WallWindow& w = wall.open();
    w.links().JIKKOU2("p.trx");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(record).size() > 0, 5000);
    QFile got(record);
    QVERIFY(got.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(got.readAll()).split('\n');
    QCOMPARE(lines.value(0), wall.data + "LOGO/p.trx");
    QCOMPARE(QDir(lines.value(1)).canonicalPath(), QDir(wall.data + "LOGO").canonicalPath());

    // A file larger than any LOGO project is neither copied nor opened, from
    // a link or kept in the LOGO folder from before.
    QSignalSpy started(w.logo, &LogoStarter::started);
    for (const QString& big : {wall.data + "big.trx", wall.data + "LOGO/kept.trx"}) {
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(weblink::maxLogoFileBytes + 1));
    }
    QString said;
    answerNext(QString(), &said);
    w.links().JIKKOU2("big.trx");
    QVERIFY(said.contains("big.trx") && said.contains(QStringLiteral("16MBを超える")));
    QVERIFY(!QFileInfo::exists(wall.data + "LOGO/big.trx"));
    answerNext(QString(), &said);
    w.logo->SHELLTURXE(wall.data + "LOGO/kept.trx", 0);
    QVERIFY(said.contains("kept.trx"));
    QCOMPARE(started.count(), 0);
}

void TestLinks::collapsedCardsSaveWhole() {
    PosterRecord check = linkCard(">SR20", "check");
    check.KAKUSU = "2"; // shown full; a click collapses it, then its link runs
    WindowWall wall({{"a.txt", check}});
    WallWindow& w = wall.open();
    const QSize full = wall.card(0)->size();
    w.document().PBAN = 0;
    w.links().JIKKOU(0);
    const PosterRecord saved = readCardFile(wall.data + "a.txt").first();
    QCOMPARE(saved.KAKUSU, QStringLiteral("1"));
    QCOMPARE(saved.XXS, toReferenceX(full.width(), w.document().NOWX));
    QCOMPARE(saved.XS, toReferenceX(toPixelsX(100, w.document().NOWX) + 20, w.document().NOWX));
    QVERIFY(wall.card(0)->isCollapsed());
    // A narrowing "S" command keeps the 16-pixel floor in what it writes.
    WindowWall narrow({{"b.txt", linkCard(">SW500", "b")}});
    WallWindow& v = narrow.open();
    narrow.click(0);
    QVERIFY(readCardFile(narrow.data + "b.txt").first().XXS >= toReferenceX(16, v.document().NOWX));
}

void TestLinks::brokenPicturesOpenNoViewer() {
    WindowWall wall({{"a.txt", linkCard("broken.jpg")}});
    writeFileBytes(wall.data + "broken.jpg", "not a picture");
    QImage gif(20, 10, QImage::Format_RGB32);
    gif.fill(Qt::green);
    WallWindow& w = wall.open();
    const int beeps = beepCount();
    wall.click(0);
    QVERIFY(!w.TForm21->isOpen());
    QCOMPARE(beepCount(), beeps + 1);
    // PNG pictures open like any other, read once.
    gif.save(wall.data + "g.png");
    const int decodes = decodedPictureCount();
    w.links().JIKKOU2("g.png");
    QVERIFY(w.TForm21->isOpen());
    QCOMPARE(w.TForm21->picture().size(), QSize(20, 10));
    QCOMPARE(decodedPictureCount(), decodes + 1);
}

void TestLinks::csvOfTheCards() {
    WindowWall wall({{"a.txt", linkCard(">CSV", "表に")}, {"b.txt", textCard("一行目\r\n二行目")}});
    WallWindow& w = wall.open();
    auto csvFiles = [&] { return QDir(wall.data).entryList({"*.csv"}, QDir::Files); };
    // A card moved and not saved is exported where it is shown.
    moveCard(wall.w->document(), 1, QPoint(0, 0));
    wall.click(0);
    QTRY_COMPARE(csvFiles().size(), 1);
    QFile file(wall.data + csvFiles().first());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    QCOMPARE(lines.size(), 7); // five lines, the text's own break, the last CR LF
    QVERIFY(lines[3].startsWith(",表に,,,"));
    QVERIFY(lines[4].startsWith(",\"一行目"));
    QVERIFY(lines[5].startsWith("二行目\",,,0,0,"));
    // The menu does the same; nothing while the wall is busy.
    QFile::remove(file.fileName());
    w.flags().BUSY = true;
    w.findChild<QAction*>("CSV1")->trigger();
    QVERIFY(csvFiles().isEmpty());
    w.flags().BUSY = false;
    w.findChild<QAction*>("CSV1")->trigger();
    QCOMPARE(csvFiles().size(), 1);
}

void TestLinks::stampCopies() {
    PosterRecord stamp = textCard("stamp", 50, 50);
    stamp.STP = 1;
    WindowWall wall({{"a.txt", stamp}, {"b.txt", textCard("other", 600, 600)}});
    WallWindow& w = wall.open();
    w.document().PBAN = 0;
    w.links().JIKKOU(0);
    QVERIFY(w.flags().POM);
    // A press on another card in between does not change what is stamped.
    w.mouse().press(wall.card(1), QPoint(5, 5), Qt::RightButton);
    QCOMPARE(w.document().PBAN, 1);
    QWidget* canvas = w.findChild<QWidget*>("Image1");
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(400, 300));
    QVERIFY(!w.flags().POM);
    QCOMPARE(w.document().count(), 3);
    const CardEntry& copy = w.document().card(2);
    QCOMPARE(copy.TT, QStringLiteral("stamp"));
    QCOMPARE(copy.STP, 2);
    QCOMPARE(wall.card(2)->pos(), QPoint(400, 300));
    QCOMPARE(wall.card(2)->size(), wall.card(0)->size());
    QCOMPARE(readCardFile(wall.data + copy.FNAME).first().STP, 2);
    // Without a stamp armed, a press on the wall places nothing.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(500, 300));
    QCOMPARE(w.document().count(), 3);
}

QTEST_MAIN(TestLinks)
#include "tst_links.moc"
