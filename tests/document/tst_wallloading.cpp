#include "cards/cardwidget.h"
#include "storage/refspace.h"
#include "support/wallfixture.h"

#include <QLineEdit>
#include <QtTest>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Outside programs write some time after the program did; file times are
// coarse, so tests wait a little before writing as another program would.
void laterOutside() {
    QTest::qWait(25);
}

} // namespace

class TestWallLoading : public QObject {
    Q_OBJECT
private slots:
    void cardsLoadInNameOrder();
    void recordsBecomeCards();
    void windowsFilesLoad();
    void checkOffMapping();
    void changeDetectionFollowsTheFolder();
    void stampsDecideRebuilds();
    void damagedFilesAreSkippedAndReported();
    void oddFilesAreNamedAndLeftAlone();
    void hostileNumbersAreClamped();
    void failedListingChangesNothing();
    void fullWallKeepsEveryFile();
    void manyCardsOnAShownWall();
    void wallIniWithdrawal();
    void rewrittenFileIsOurs();
    void roundTripAcrossScreens();
    void writersFollowTheirRules();
};

void TestWallLoading::cardsLoadInNameOrder() {
    WallFixture w;
    w.write("b.txt", textCard("b"));
    w.write("A.txt", textCard("A"));
    w.write("c.txt", textCard("c"));
    w.write("a.txt", textCard("a"));
    w.writeRaw("notes.TXT", "no record here");
    w.writeRaw("pic.jpg", "x");
    w.loader->PANELLOAD();
    QCOMPARE(w.cardNames(), (QStringList{"A.txt", "a.txt", "b.txt", "c.txt"}));
    QCOMPARE(w.st().count(), 4);
    QCOMPARE(w.st().PBAN, 3);
    QVERIFY(!w.busy);
    // Later cards lie above earlier ones.
    QCOMPARE(w.area.children().indexOf(w.board->card(0)) <
                 w.area.children().indexOf(w.board->card(3)),
             true);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(w.st().card(i).colour, 4);
}

void TestWallLoading::recordsBecomeCards() {
    WallFixture w(1366, 768);
    PosterRecord r = textCard("H2O");
    r.XS = 960;
    r.YS = 540;
    r.XXS = 300;
    r.YYS = 150;
    r.P = 5012;
    r.PT = 2012;
    r.R = 0;
    r.S2 = "ヒント/+答え+/";
    r.KSU = "";
    w.write("h.txt", r);
    // Beyond the window: moved to 0 on that axis only.
    PosterRecord far = textCard("far", 5000, 200);
    w.write("far.txt", far);
    w.loader->PANELLOAD();
    CardWidget* c = w.board->card(1);
    QCOMPARE(c->geometry(), QRect(683, 384, 213, 107));
    QCOMPARE(w.st().card(1).colour, 5);
    QCOMPARE(w.st().card(1).textColour, 2);
    QVERIFY(w.st().card(1).elliptic());
    QVERIFY(c->isElliptic());
    QVERIFY(c->mask().boundingRect().width() <= c->width());
    QCOMPARE(c->fillColour(), QColor(0, 255, 0));
    QCOMPARE(c->textColour(), QColor(255, 0, 0));
    QCOMPARE(c->toolTip(), QStringLiteral("ヒント")); // the stage block is hidden
    QCOMPARE(c->captions()[0], QStringLiteral("H"));
    QCOMPARE(c->captions()[1], QStringLiteral("2"));
    QCOMPARE(c->captions()[2], QStringLiteral("O"));
    QCOMPARE(w.st().card(1).S2, r.S2); // stored before filtering
    QCOMPARE(w.st().card(1).colour, 5);
    QCOMPARE(w.board->card(0)->pos(), QPoint(0, toPixelsY(200, 768)));
    // The stored position stays until the card is written.
    QCOMPARE(readCardFile(w.path("far.txt")).first().XS, 5000);
}

void TestWallLoading::windowsFilesLoad() {
    WallFixture w;
    UrlRecord url;
    url.page = "index.htm";
    url.WEBOLDTIME = "s1";
    url.X = 1500;
    url.width = 600;
    url.height = 300;
    writeUrlFile(w.path("html.ini"), url);
    MaskRecord mask;
    mask.mask = "*.jpg;*.bmp";
    mask.label = "写真";
    mask.DIROLDTIME = "d1";
    mask.X = 10;
    mask.width = 500;
    mask.height = 200;
    writeMaskFile(w.path("dir.ini"), mask);
    writePanelFile(w.path("wall.ini"), {"missing.jpg", "b1"});
    w.loader->KABELOAD();
    QCOMPARE(w.st().settings.web.width, 360);
    QCOMPARE(w.st().settings.web.page, QStringLiteral("index.htm"));
    QCOMPARE(w.surface.shownPage, QStringLiteral("index.htm"));
    QCOMPARE(w.st().settings.web.WEBOLDTIME, QStringLiteral("s1"));
    QVERIFY(w.surface.fileWindowShown);
    QCOMPARE(w.st().settings.files.mask, QStringLiteral("*.jpg;*.bmp"));
    QCOMPARE(w.st().settings.files.DIROLDTIME, QStringLiteral("d1"));
    // A background whose picture is missing: a plain wall and no error.
    QVERIFY(w.surface.backgrounds.isEmpty());
    QVERIFY(w.surface.problems.isEmpty());
    QCOMPARE(w.st().KABEIMAGE, QStringLiteral("missing.jpg"));
    QCOMPARE(w.st().KABEIMAGEOLDTIME, QStringLiteral("b1"));

    // The file window's mask is split at ";".
    w.writeRaw("a.JPG", "x");
    w.writeRaw("b.bmp", "x");
    w.writeRaw("c.png", "x");
    QCOMPARE(listMatchingFiles(w.st().KIJUNDIR, "*.jpg;*.bmp").value(),
             (QStringList{"a.JPG", "b.bmp"}));

    QFile::remove(w.path("wall.ini"));
    WallFixture none;
    none.loader->KABELOAD();
    QCOMPARE(none.st().KABEIMAGEOLDTIME, QStringLiteral("NIL"));
    QVERIFY(none.surface.webHidden);
    QVERIFY(!none.surface.fileWindowShown);
}

void TestWallLoading::checkOffMapping() {
    WallFixture w;
    PosterRecord one = textCard("check");
    one.KAKUSU = "1";
    PosterRecord two = textCard("full");
    two.KAKUSU = "2";
    w.write("1.txt", one);
    w.write("2.txt", two);
    w.loader->PANELLOAD();
    QVERIFY(w.st().card(0).checkOff == CheckOff::Collapsed);
    QCOMPARE(w.board->card(0)->size(), QSize(20, 20));
    QVERIFY(w.board->card(0)->isCollapsed());
    QVERIFY(!w.st().card(0).unsaved); // collapsed as stored: no change of the user's
    QVERIFY(w.st().card(1).checkOff == CheckOff::Armed);
    QVERIFY(!w.board->card(1)->isCollapsed());
    // A rebuild from the same file keeps the stored value and shows it full.
    w.loader->REPANELLOAD(0, "1.txt");
    QVERIFY(w.st().card(0).checkOff == CheckOff::Armed);
    QVERIFY(!w.board->card(0)->isCollapsed());
    QCOMPARE(w.board->card(0)->size(), QSize(300, 120));
}

void TestWallLoading::changeDetectionFollowsTheFolder() {
    WallFixture w;
    w.write("a.txt", textCard("a"));
    w.write("b.txt", textCard("b"));
    w.loader->PANELLOAD();
    laterOutside();
    // Files that come together are taken in name order, whatever order
    // the folder lists them in.
    for (const char* name : {"e.txt", "C.txt", "d.txt", "c.txt"})
        w.write(name, textCard(name));
    QFile::remove(w.path("a.txt"));
    w.loader->changeDetectionTick();
    QCOMPARE(w.cardNames(), (QStringList{"b.txt", "C.txt", "c.txt", "d.txt", "e.txt"}));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(w.board->card(i)->captions()[0], w.st().card(i).TT); // shown in card order
    // Nothing was deleted or written by the check.
    QVERIFY(QFileInfo::exists(w.path("b.txt")));
    QCOMPARE(QDir(w.st().KIJUNDIR).entryList(QDir::Files).size(), 5);
    QVERIFY(w.surface.problems.isEmpty());
    // A card changed here whose file goes: the user hears of the change lost.
    moveCard(w.st(), 0, QPoint(300, 300));
    QFile::remove(w.path("b.txt"));
    w.loader->changeDetectionTick();
    QCOMPARE(w.st().count(), 4);
    QCOMPARE(w.surface.problems.size(), 1);
    QVERIFY(w.surface.problems.constFirst().endsWith(QStringLiteral("b.txt")));
}

void TestWallLoading::stampsDecideRebuilds() {
    WallFixture w;
    w.write("a.txt", textCard("old", 100, 100, "20260101-000000"));
    w.loader->PANELLOAD();
    laterOutside();
    // Same stamp, new text, as another program's save and exit writes the
    // cards it moved: taken, since the card was not changed here.
    w.write("a.txt", textCard("saved elsewhere", 100, 100, "20260101-000000"));
    w.loader->changeDetectionTick();
    QCOMPARE(w.st().card(0).TT, QStringLiteral("saved elsewhere"));
    QVERIFY(!w.loader->changedElsewhere(w.st().card(0)));
    QVERIFY(w.surface.problems.isEmpty());
    // A card changed here keeps the change over a same-stamp file, for save
    // and exit to report; the file written again as it was is no change.
    moveCard(w.st(), 0, QPoint(200, 100));
    laterOutside();
    w.write("a.txt", textCard("edited but same stamp", 100, 100, "20260101-000000"));
    w.loader->changeDetectionTick();
    QCOMPARE(w.st().card(0).TT, QStringLiteral("saved elsewhere"));
    QVERIFY(w.loader->changedElsewhere(w.st().card(0)));
    laterOutside();
    w.write("a.txt", textCard("saved elsewhere", 100, 100, "20260101-000000"));
    QVERIFY(!w.loader->changedElsewhere(w.st().card(0)));
    laterOutside();
    // A new stamp wins over a change made here, and the user is told.
    w.write("a.txt", textCard("restamped", 100, 100, "20260101-000002"));
    w.loader->changeDetectionTick();
    QCOMPARE(w.st().card(0).TT, QStringLiteral("restamped"));
    QCOMPARE(w.surface.problems.size(), 1);
    QVERIFY(w.surface.problems.constFirst().endsWith(QStringLiteral("a.txt")));
    // A save here over a save made elsewhere since is refused and told;
    // theirs comes at the next look, without a second word.
    moveCard(w.st(), 0, QPoint(300, 100));
    laterOutside();
    w.write("a.txt", textCard("theirs", 100, 100, "20260101-000003"));
    const QByteArray theirs = w.bytes("a.txt");
    QString why;
    QVERIFY(!w.saver->PANELSAVE(0, 2, &why));
    QVERIFY(why.contains(QStringLiteral("a.txt")));
    QCOMPARE(w.bytes("a.txt"), theirs);
    w.loader->changeDetectionTick();
    QCOMPARE(w.st().card(0).TT, QStringLiteral("theirs"));
    QCOMPARE(w.surface.problems.size(), 1);
    laterOutside();
    // A new stamp rebuilds the card in place.
    w.write("a.txt", textCard("new", 400, 100, "20260101-000001"));
    w.loader->changeDetectionTick();
    QCOMPARE(w.st().count(), 1);
    QCOMPARE(w.st().card(0).TT, QStringLiteral("new"));
    QCOMPARE(w.board->card(0)->x(), 400);
    QCOMPARE(w.board->card(0)->captions()[0], QStringLiteral("new"));
}

void TestWallLoading::damagedFilesAreSkippedAndReported() {
    WallFixture w;
    w.write("a.txt", textCard("a"));
    w.writeRaw("b.txt", "<POSTER=\"\",1,2,x3,4,5,6,7,8,\"\",\"\",\"\",\"\",\"\",,,>");
    w.writeRaw("c.txt", QByteArray("<POSTER=\"\x81\x20\""));
    w.write("d.txt", textCard("d"));
    const QByteArray damaged = w.bytes("b.txt");
    w.loader->PANELLOAD();
    QCOMPARE(w.cardNames(), (QStringList{"a.txt", "d.txt"}));
    QVERIFY(!w.busy);
    QCOMPARE(w.surface.problems.size(), 2);
    QVERIFY(w.surface.problems[0].contains("b.txt"));
    QVERIFY(w.surface.problems[0].contains("x3"));
    QVERIFY(w.surface.problems[1].contains("c.txt"));
    // Change detection passes over them quietly and goes on with the others.
    laterOutside();
    w.write("e.txt", textCard("e"));
    w.loader->changeDetectionTick();
    w.loader->changeDetectionTick();
    QCOMPARE(w.cardNames(), (QStringList{"a.txt", "d.txt", "e.txt"}));
    QCOMPARE(w.surface.problems.size(), 2);
    QCOMPARE(w.bytes("b.txt"), damaged);
    // Mended, it becomes a card at the next tick.
    laterOutside();
    w.write("b.txt", textCard("b mended"));
    w.loader->changeDetectionTick();
    QVERIFY(w.cardNames().contains("b.txt"));
}

void TestWallLoading::oddFilesAreNamedAndLeftAlone() {
    WallFixture w;
    w.write("a.txt", textCard("a"));
    // A FIFO as a card and as the background's settings, a link to a device,
    // a file past the size limit and a name that is not UTF-8: none blocks
    // or is read whole, and each is named.
    QVERIFY(mkfifo(QFile::encodeName(w.path("fifo.txt")).constData(), 0644) == 0);
    QVERIFY(mkfifo(QFile::encodeName(w.path("wall.ini")).constData(), 0644) == 0);
    QVERIFY(QFile::link("/dev/zero", w.path("zero.txt")));
    QFile huge(w.path("huge.txt"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(17 * 1024 * 1024));
    huge.close();
    const QByteArray badName = QFile::encodeName(w.st().KIJUNDIR) + "\x83J.txt";
    FILE* raw = std::fopen(badName.constData(), "w");
    QVERIFY(raw);
    std::fclose(raw);
    // A list of names as long as a card file, not a card: read once, then
    // only when it changes.
    w.write("n.txt", textCard("n"));
    const QByteArray card = w.bytes("n.txt");
    QFile::remove(w.path("n.txt"));
    QByteArray names = "一郎\r\n二郎\r\n";
    names += QByteArray(card.size() - names.size(), ' ');
    w.writeRaw("names.txt", names);

    w.loader->KABELOAD();
    w.loader->PANELLOAD();
    QCOMPARE(w.cardNames(), QStringList{"a.txt"});
    const QString told = w.surface.problems.join('\n');
    for (const char* named : {"wall.ini", "fifo.txt", "zero.txt", "huge.txt", "\\x83J.txt"})
        QVERIFY2(told.contains(QLatin1String(named)), named);
    QVERIFY(!told.contains("names.txt"));
    const int reported = int(w.surface.problems.size());
    w.loader->changeDetectionTick();
    QCOMPARE(int(w.surface.problems.size()), reported);

    // The list is not read again while it looks the same: a card put in
    // with the same size and time is not seen.
    const QByteArray namesPath = QFile::encodeName(w.path("names.txt"));
    struct stat before {};
    QVERIFY(stat(namesPath.constData(), &before) == 0);
    w.writeRaw("names.txt", card);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    QVERIFY(utimensat(AT_FDCWD, namesPath.constData(), times, 0) == 0);
    w.loader->changeDetectionTick();
    QCOMPARE(w.cardNames(), QStringList{"a.txt"});
    QCOMPARE(int(w.surface.problems.size()), reported);
}

void TestWallLoading::hostileNumbersAreClamped() {
    // The most negative field everywhere: the card is taken at the farthest
    // a card can be, its size at the floor, with no overflow on the way.
    WallFixture w;
    w.writeRaw("min.txt", "<POSTER=\"\",-2147483648,-2147483648,-2147483648,-2147483648,"
                          "-2147483648,-2147483648,-2147483648,-2147483648,\"\",\"\",\"x\","
                          "\"\",\"20260101-000000\",,,0>");
    w.writeRaw("max.txt", "<POSTER=\"\",2147483647,2147483647,2147483647,2147483647,"
                          "1000,1000,0,1000,\"\",\"\",\"y\",\"\",\"20260101-000000\",,,0>");
    w.loader->PANELLOAD();
    QCOMPARE(w.st().count(), 2);
    const CardWidget* low = w.board->card(w.st().lastIndexOfFile("min.txt"));
    QCOMPARE(low->size(), QSize(WallDocument::kMinWidth, WallDocument::kMinHeight));
    const CardWidget* high = w.board->card(w.st().lastIndexOfFile("max.txt"));
    QCOMPARE(high->size(), QSize(10 * 1920, 10 * 1080));
    QCOMPARE(high->pos(), QPoint(0, 0)); // past the wall: brought back to its corner
}

void TestWallLoading::failedListingChangesNothing() {
    WallFixture w;
    w.write("a.txt", textCard("a"));
    w.loader->PANELLOAD();
    const QString moved = w.dir.path() + "/away";
    QVERIFY(QDir().rename(w.st().KIJUNDIR, moved));
    w.loader->changeDetectionTick();
    QCOMPARE(w.st().count(), 1);
    QVERIFY(QDir().rename(moved, w.st().KIJUNDIR));
}

void TestWallLoading::manyCardsOnAShownWall() {
    // A large wall is read behind a hidden area: everything shows again,
    // and the keyboard stays where it was.
    QWidget window; // made first: it must outlive the fixture's area
    WallFixture w;
    w.area.setParent(&window);
    auto* field = new QLineEdit(&w.area);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QCOMPARE(QApplication::focusWidget(), field);
    for (int i = 0; i < CardBoard::kHiddenReadingFrom + 20; ++i)
        w.write(QStringLiteral("c%1.txt").arg(i, 3, 10, QLatin1Char('0')), textCard("card"));
    w.loader->PANELLOAD();
    QVERIFY(w.area.isVisible());
    QCOMPARE(w.board->count(), CardBoard::kHiddenReadingFrom + 20);
    for (int i = 0; i < w.board->count(); ++i)
        QVERIFY(w.board->card(i)->isVisible());
    QCOMPARE(QApplication::focusWidget(), field);
}

void TestWallLoading::fullWallKeepsEveryFile() {
    WallFixture w;
    for (int i = 0; i <= WallDocument::kMaxCards; ++i)
        w.write(QStringLiteral("c%1.txt").arg(i, 4, 10, QLatin1Char('0')), textCard("x"));
    w.loader->PANELLOAD();
    QCOMPARE(w.st().count(), WallDocument::kMaxCards);
    QCOMPARE(w.loader->refusedForSpace(), 1);
    QCOMPARE(w.surface.problems.size(), 1);
    QVERIFY(w.surface.problems[0].contains("1000"));
    QVERIFY(!w.cardNames().contains("c1000.txt"));
    // The ticks do not read it again and again, nor tell the user again.
    w.loader->changeDetectionTick();
    QCOMPARE(w.surface.problems.size(), 1);
    QCOMPARE(w.st().count(), WallDocument::kMaxCards);
    // Making another card is refused; nothing is written.
    CardEntry p;
    p.rect = QRect(0, 0, 50, 50);
    p.TT = "new";
    QVERIFY(!w.st().PanelMake(1, p));
    QCOMPARE(QDir(w.st().KIJUNDIR).entryList(QDir::Files).size(), WallDocument::kMaxCards + 1);
}

void TestWallLoading::wallIniWithdrawal() {
    WallFixture w;
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(w.path("bg.bmp"));
    writePanelFile(w.path("wall.ini"), {"bg.bmp", "s1"});
    w.loader->KABELOAD();
    QCOMPARE(w.surface.backgrounds.size(), 1);
    // Half written by another program: nothing changes.
    laterOutside();
    w.writeRaw("wall.ini", "<PANEL=\"bg.bmp");
    w.loader->KOUSHIN();
    QCOMPARE(w.surface.cleared, 0);
    QVERIFY(QFileInfo::exists(w.path("wall.ini")));
    QCOMPARE(w.st().KABEIMAGEOLDTIME, QStringLiteral("s1"));
    // A new stamp reloads the picture.
    writePanelFile(w.path("wall.ini"), {"bg.bmp", "s2"});
    w.loader->KOUSHIN();
    QCOMPARE(w.surface.backgrounds.size(), 2);
    // A stored "0000" withdraws the background, and nothing brings it back
    // at save and exit.
    writePanelFile(w.path("wall.ini"), {"bg.bmp", "0000"});
    w.loader->KOUSHIN();
    QCOMPARE(w.surface.cleared, 1);
    QVERIFY(!QFileInfo::exists(w.path("wall.ini")));
    QCOMPARE(w.st().KABEIMAGEOLDTIME, QStringLiteral("NIL"));
    w.saver->saveForExit(*w.loader);
    QVERIFY(!QFileInfo::exists(w.path("wall.ini")));
    // The same when another program deletes "wall.ini".
    writePanelFile(w.path("wall.ini"), {"bg.bmp", "s3"});
    w.loader->KOUSHIN();
    QCOMPARE(w.surface.backgrounds.size(), 3);
    QFile::remove(w.path("wall.ini"));
    w.loader->KOUSHIN();
    w.saver->saveForExit(*w.loader);
    QVERIFY(!QFileInfo::exists(w.path("wall.ini")));
    QVERIFY(QFileInfo::exists(w.path("bg.bmp")));
}

void TestWallLoading::rewrittenFileIsOurs() {
    // A file of a comment and two records is written back as one card while
    // loading; dragged and saved at exit, it is the program's own file.
    WallFixture w;
    w.write("one.txt", textCard("first", 100, 100, "20260101-000001"));
    w.write("two.txt", textCard("second", 300, 300, "20260101-000002"));
    QByteArray both = "comment\r\n" + w.bytes("one.txt") + w.bytes("two.txt").mid(3);
    QFile::remove(w.path("one.txt"));
    QFile::remove(w.path("two.txt"));
    w.writeRaw("two-records.txt", both);
    w.loader->PANELLOAD();
    QCOMPARE(w.st().count(), 1);
    QCOMPARE(readCardFile(w.path("two-records.txt")).size(), 1);
    moveCard(w.st(), 0, QPoint(40, 60));
    QCOMPARE(w.saver->saveForExit(*w.loader).leftAlone, QStringList());
    const QVector<PosterRecord> saved = readCardFile(w.path("two-records.txt"));
    QCOMPARE(saved.size(), 1);
    QCOMPARE(saved.first().TT, QStringLiteral("second"));
    QCOMPARE(saved.first().XS, toReferenceX(40, w.st().NOWX));
    QCOMPARE(saved.first().YS, toReferenceY(60, w.st().NOWY));
}

void TestWallLoading::roundTripAcrossScreens() {
    WallFixture w(1366, 768);
    PosterRecord r = textCard("水\r\n二行目");
    r.XS = 960;
    r.YS = 540;
    r.POST = "..pics\\cat.jpg";
    r.NOTE = "sub\\";
    r.KSU = "★";
    r.KFLG = "1,000円";
    r.S2 = "hint";
    w.write("a.txt", r);
    w.loader->PANELLOAD();
    QCOMPARE(w.board->card(0)->pos(), QPoint(683, 384));
    // Moved on the screen, then written.
    moveCard(w.st(), 0, QPoint(100, 50));
    QVERIFY(w.saver->PANELSAVE(0, 1));
    QCOMPARE(w.bytes("a.txt").left(3), QByteArray("\xEF\xBB\xBF"));

    // Read back on a 1920 × 1080 screen.
    w.resize(1920, 1080);
    w.rewire();
    w.loader->PANELLOAD();
    const CardEntry& e = w.st().card(0);
    QCOMPARE(w.board->card(0)->pos(), QPoint(toPixelsX(toReferenceX(100, 1366), 1920),
                                             toPixelsY(toReferenceY(50, 768), 1080)));
    QCOMPARE(w.board->card(0)->pos(), QPoint(141, 70));
    QCOMPARE(e.TT, QStringLiteral("水\r\n二行目"));
    QCOMPARE(e.POST, QStringLiteral("..pics\\cat.jpg"));
    QCOMPARE(e.NOTE, QStringLiteral("sub\\"));
    QCOMPARE(e.KSU, QStringLiteral("★"));
    QCOMPARE(e.KFLG, QStringLiteral("1，000円"));
    QCOMPARE(e.FTIME, r.FTIME); // mode 1 keeps the stamp
    QCOMPARE(w.st().card(0).colour, 4);

    // Mode 2 stamps anew, and change detection leaves the card alone after.
    QVERIFY(w.saver->PANELSAVE(0, 2));
    QVERIFY(w.st().card(0).FTIME != r.FTIME);
    const QString stamp = w.st().card(0).FTIME;
    w.loader->changeDetectionTick();
    QCOMPARE(w.st().card(0).FTIME, stamp);
    QCOMPARE(readCardFile(w.path("a.txt")).first().FTIME, stamp);
}

void TestWallLoading::writersFollowTheirRules() {
    WallFixture w;
    // A card read from a name Linux allows is written back to that name.
    w.write("Re:x?.txt", textCard("q"));
    w.loader->PANELLOAD();
    QVERIFY(w.saver->PANELSAVE(0, 2));
    QCOMPARE(QDir(w.st().KIJUNDIR).entryList(QDir::Files), QStringList{"Re:x?.txt"});
    // A name a user typed is cleaned before it is written.
    CardEntry typed;
    typed.rect = QRect(0, 0, 100, 100);
    typed.FNAME = QStringLiteral("a?b.txt");
    typed.FTIME = QStringLiteral("20260101-000000");
    QVERIFY(w.st().PanelMake(1, typed));
    QCOMPARE(w.st().cards().last().FNAME, QStringLiteral("a？b.txt"));
    QVERIFY(QFileInfo::exists(w.path("a？b.txt")));
    QFile::remove(w.path("a？b.txt"));

    // Web settings: a page without "." deletes "html.ini"; a path is cut to
    // its file name.
    w.st().settings.web.X = 10;
    w.saver->KABEWEBSAVE("C:\\pages\\index.htm");
    QCOMPARE(readUrlFile(w.path("html.ini"))->page, QStringLiteral("index.htm"));
    QCOMPARE(readUrlFile(w.path("html.ini"))->X, 10);
    w.saver->KABEWEBSAVE("https://example.org/x");
    QCOMPARE(readUrlFile(w.path("html.ini"))->page, QStringLiteral("https://example.org/x"));
    w.saver->KABEWEBSAVE("word");
    QVERIFY(!QFileInfo::exists(w.path("html.ini")));

    // File window: an empty mask deletes "dir.ini" and hides the window.
    w.st().settings.files.mask = "*.txt";
    w.st().settings.files.label = "カード";
    w.saver->KABEDIRMAKE();
    QCOMPARE(readMaskFile(w.path("dir.ini"))->label, QStringLiteral("カード"));
    QCOMPARE(readMaskFile(w.path("dir.ini"))->DIROLDTIME, w.st().settings.files.DIROLDTIME);
    QVERIFY(w.surface.fileWindowShown);
    w.st().settings.files.mask.clear();
    w.saver->KABEDIRMAKE();
    QVERIFY(!QFileInfo::exists(w.path("dir.ini")));
    QVERIFY(!w.surface.fileWindowShown);

    // Background: no picture and no drawing writes nothing.
    w.saver->KABEBACKSAVE(1);
    QVERIFY(!QFileInfo::exists(w.path("wall.ini")));
    // A drawing on a wall without a background becomes a new bitmap.
    w.surface.canvas = QImage(64, 36, QImage::Format_RGB32);
    w.surface.canvas.fill(Qt::blue);
    w.st().canvasDrawn = true;
    w.saver->KABEBACKSAVE(1);
    QVERIFY(w.st().KABEIMAGE.endsWith(".bmp"));
    QVERIFY(QImage(w.path(w.st().KABEIMAGE)).size() == QSize(64, 36));
    QCOMPARE(readPanelFile(w.path("wall.ini"))->KABEIMAGE, w.st().KABEIMAGE);
    QCOMPARE(readPanelFile(w.path("wall.ini"))->KABEIMAGEOLDTIME, w.st().KABEIMAGEOLDTIME);

    // A photo that was not drawn on is never written back.
    QImage photo(200, 100, QImage::Format_RGB32);
    photo.fill(Qt::green);
    photo.save(w.path("photo.jpg"));
    const QByteArray photoBytes = w.bytes("photo.jpg");
    w.st().KABEIMAGE = "photo.jpg";
    w.saver->KABEBACKSAVE(1);
    QCOMPARE(w.bytes("photo.jpg"), photoBytes);
    // Drawn on: the original is kept as "_photo.jpg" first.
    w.st().canvasDrawn = true;
    w.saver->KABEBACKSAVE(1);
    QCOMPARE(w.bytes("_photo.jpg"), photoBytes);
    QCOMPARE(QImage(w.path("photo.jpg")).size(), QSize(64, 36));
    // A picture outside the wall folder is never overwritten.
    QImage elsewhere(10, 10, QImage::Format_RGB32);
    elsewhere.fill(Qt::white);
    const QString outside = w.dir.path() + "/outside.bmp";
    elsewhere.save(outside);
    w.st().KABEIMAGE = outside;
    w.st().canvasDrawn = true;
    w.saver->KABEBACKSAVE(1);
    QCOMPARE(QImage(outside).size(), QSize(10, 10));
    QVERIFY(!w.st().KABEIMAGE.contains('/'));
    QVERIFY(QFileInfo::exists(w.path(w.st().KABEIMAGE)));
    // Mode 3 removes the background; save and exit does not bring it back.
    w.saver->KABEBACKSAVE(3);
    QVERIFY(!QFileInfo::exists(w.path("wall.ini")));
    QCOMPARE(w.st().KABEIMAGEOLDTIME, QStringLiteral("NIL"));
    w.saver->KABEBACKSAVE(1);
    QVERIFY(!QFileInfo::exists(w.path("wall.ini")));
    // Every background save first puts the wall back to full screen.
    QCOMPARE(w.surface.fullScreenRestored, 7);
}

QTEST_MAIN(TestWallLoading)
#include "tst_wallloading.moc"
