#include "cards/cardboard.h"
#include "cards/cardmouse.h"
#include "cards/cardwidget.h"
#include "platform/beep.h"
#include "storage/refspace.h"
#include "support/windowfixture.h"

#include <QMenu>

namespace {

// Runs a card-menu command on card n, as a right click on it and a choice.
void command(WallWindow& w, int n, const char* item) {
    w.state().PBAN = n;
    QAction* a = w.findChild<QAction*>(QLatin1String(item));
    QVERIFY2(a, item);
    a->trigger();
}

} // namespace

class TestCardMenu : public QObject {
    Q_OBJECT
private slots:
    void menuOrder();
    void marks();
    void sizes();
    void coloursAreWrittenByTheNextSave();
    void copies();
    void deleteRenumbers();
    void savingACollapsedCard();
    void stampCopies();
};

void TestCardMenu::menuOrder() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    QStringList captions;
    for (QAction* a : w.findChild<QMenu*>("PopupMenu1")->actions())
        captions << a->text();
    QCOMPARE(captions, (QStringList{"★○×をつける", "カードに書く", "サイズ", "文字色", "カード色",
                                    "カードのコピー", "カードを消す", "保存・ていあん"}));
    QVERIFY(w.findChild<QAction*>("N77")->isEnabled());
    QCOMPARE(w.findChild<QAction*>("N1")->text(), QStringLiteral("透明カード"));
    QCOMPARE(w.findChild<QAction*>("N46")->text(), QStringLiteral("紫文字"));
}

void TestCardMenu::marks() {
    WindowWall wall({{"a.txt", textCard("H2O")}});
    WallWindow& w = wall.open();
    command(w, 0, "N60");
    QCOMPARE(w.state().cards[0].KSU, QStringLiteral("●"));
    QCOMPARE(wall.card(0)->captions()[0], QStringLiteral("●H2O"));
    const int beeps = beepCount();
    command(w, 0, "N65");
    QCOMPARE(w.state().cards[0].KSU, QString());
    QCOMPARE(beepCount(), beeps + 1);
    command(w, 0, "N63");
    // Marks are written by the next save, and lost by a reload without one.
    command(w, 0, "N29");
    QCOMPARE(readCardFile(wall.data + "a.txt").first().KSU, QStringLiteral("★"));
    command(w, 0, "N61");
    w.findChild<QAction*>("N01")->trigger();
    QCOMPARE(w.state().cards[0].KSU, QStringLiteral("★"));
}

void TestCardMenu::sizes() {
    WindowWall wall({{"a.txt", textCard("x")}});
    WallWindow& w = wall.open();
    CardWidget* c = wall.card(0);
    const QPoint at = c->pos();
    c->resize(100, 50);
    command(w, 0, "N75"); // 1/3
    QCOMPARE(c->size(), QSize(33, 16));
    c->resize(60, 40);
    const int beeps = beepCount();
    command(w, 0, "N76"); // 1/4: 15 × 10 becomes 16 × 16, with two beeps
    QCOMPARE(c->size(), QSize(16, 16));
    QCOMPARE(beepCount(), beeps + 2);
    command(w, 0, "N71"); // × 4
    QCOMPARE(c->size(), QSize(64, 64));
    QCOMPARE(c->pos(), at);
    QCOMPARE(c->placement().pointSize[0], 32); // laid out for the new size
}

void TestCardMenu::coloursAreWrittenByTheNextSave() {
    WindowWall wall({{"a.txt", textCard("x")}, {"b.txt", textCard("y")}});
    WallWindow& w = wall.open();
    command(w, 1, "N27"); // red text
    command(w, 1, "N1");  // transparent card
    CardWidget* c = wall.card(1);
    QCOMPARE(c->textColour(), QColor(255, 0, 0));
    QVERIFY(c->isTransparent());
    QCOMPARE(c->panelTag, 19001);
    QCOMPARE(c->textTags[0], 2001);
    command(w, 1, "N29");
    const PosterRecord saved = readCardFile(wall.data + "b.txt").first();
    QCOMPARE(saved.colourCode(), 19);
    QCOMPARE(saved.textColourCode(), 2);
    // A colour not saved goes with "未提案の☆を消す"; the saved one stays.
    command(w, 1, "N49"); // blue card
    QCOMPARE(wall.card(1)->panelTag / 1000, 10);
    w.findChild<QAction*>("N01")->trigger();
    QCOMPARE(wall.card(1)->panelTag / 1000, 19);
    QVERIFY(wall.card(1)->isTransparent());
}

void TestCardMenu::copies() {
    PosterRecord check = textCard("check", 200, 200);
    check.KAKUSU = "1";
    WindowWall wall({{"a.txt", check}, {"b.txt", textCard("plain")}});
    WallWindow& w = wall.open();
    QVERIFY(wall.card(0)->isCollapsed());
    command(w, 0, "N30");
    QCOMPARE(w.state().PBANSU, 3);
    // The original comes back full size; the copy lies 10 pixels right and
    // below it, made with state "1", so it starts collapsed.
    CardWidget* original = wall.card(0);
    QVERIFY(!original->isCollapsed());
    const QSize full(toPixelsX(300, w.state().NOWX), toPixelsY(120, w.state().NOWY));
    QCOMPARE(original->size(), full);
    QCOMPARE(w.state().PBAN, 2);
    CardWidget* copy = wall.card(2);
    QVERIFY(copy->isCollapsed());
    QCOMPARE(copy->pos(), original->pos() + QPoint(10, 10));
    const PosterRecord written = readCardFile(wall.data + w.state().cards[2].FNAME).first();
    QCOMPARE(written.KAKUSU, QStringLiteral("1"));
    QCOMPARE(written.TT, QStringLiteral("check"));
    QCOMPARE(written.XXS, toReferenceX(full.width(), w.state().NOWX));
    // Two copies within one second get two files.
    command(w, 1, "N30");
    command(w, 1, "N30");
    QCOMPARE(w.state().PBANSU, 5);
    QVERIFY(w.state().cards[3].FNAME != w.state().cards[4].FNAME);
    QVERIFY(QFileInfo::exists(wall.data + w.state().cards[3].FNAME));
    QVERIFY(QFileInfo::exists(wall.data + w.state().cards[4].FNAME));
    QCOMPARE(QDir(wall.data).entryList({"*.txt"}).size(), 5);
    // A file that is no card (a damaged one) is never taken for a copy.
    const QString stamp = QStringLiteral("20000101-000000");
    QFile damaged(wall.data + stamp + ".txt");
    damaged.open(QIODevice::WriteOnly);
    damaged.write("<POSTER=\"\",x");
    damaged.close();
    QCOMPARE(w.board().newCardFileName(stamp), stamp + "_2.txt");
}

void TestCardMenu::deleteRenumbers() {
    WindowWall wall({{"a.txt", textCard("a", 100, 100)},
                     {"b.txt", linkCard("b\\", "b")},
                     {"c.txt", linkCard("c\\", "c")}});
    WallWindow& w = wall.open();
    command(w, 0, "N66");
    QVERIFY(!QFileInfo::exists(wall.data + "a.txt"));
    QCOMPARE(w.state().PBANSU, 2);
    QCOMPARE(wall.card(0)->panelTag % 1000, 0);
    QCOMPARE(wall.card(1)->panelTag % 1000, 1);
    QCOMPARE(wall.card(1)->textTags[5] % 1000, 1);
    // A press on each selects it, and a click on the second runs its own link.
    w.mouse().press(wall.card(1), QPoint(5, 5), Qt::LeftButton);
    QCOMPARE(w.state().PBAN, 1);
    w.mouse().release(wall.card(1), QPoint(5, 5));
    QCOMPARE(w.state().KIJUNDIR, wall.data + "c/");
}

void TestCardMenu::savingACollapsedCard() {
    PosterRecord check = textCard("check");
    check.KAKUSU = "1";
    WindowWall wall({{"a.txt", check}});
    WallWindow& w = wall.open();
    QVERIFY(wall.card(0)->isCollapsed());
    command(w, 0, "N29");
    const PosterRecord saved = readCardFile(wall.data + "a.txt").first();
    QCOMPARE(saved.KAKUSU, QStringLiteral("1"));
    QCOMPARE(saved.XXS, toReferenceX(toPixelsX(300, w.state().NOWX), w.state().NOWX));
    QVERIFY(saved.FTIME != check.FTIME);
    QVERIFY(wall.card(0)->isCollapsed());
    QCOMPARE(wall.card(0)->size(), QSize(20, 20));
    QCOMPARE(w.state().cards[0].KAKUSU, QStringLiteral("2"));
}

void TestCardMenu::stampCopies() {
    PosterRecord stamp = textCard("stamp", 50, 50);
    stamp.STP = 1;
    WindowWall wall({{"a.txt", stamp}, {"b.txt", textCard("other", 600, 600)}});
    WallWindow& w = wall.open();
    w.state().PBAN = 0;
    w.links().JIKKOU(0);
    QVERIFY(w.state().POM);
    // A press on another card in between does not change what is stamped.
    w.mouse().press(wall.card(1), QPoint(5, 5), Qt::RightButton);
    QCOMPARE(w.state().PBAN, 1);
    QWidget* canvas = w.findChild<QWidget*>("Image1");
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(400, 300));
    QVERIFY(!w.state().POM);
    QCOMPARE(w.state().PBANSU, 3);
    const CardEntry& copy = w.state().cards[2];
    QCOMPARE(copy.TT, QStringLiteral("stamp"));
    QCOMPARE(copy.STP, 2);
    QCOMPARE(wall.card(2)->pos(), QPoint(400, 300));
    QCOMPARE(wall.card(2)->size(), wall.card(0)->size());
    QCOMPARE(readCardFile(wall.data + copy.FNAME).first().STP, 2);
    // Without a stamp armed, a press on the wall places nothing.
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(500, 300));
    QCOMPARE(w.state().PBANSU, 3);
}

QTEST_MAIN(TestCardMenu)
#include "tst_cardmenu.moc"
