#include "cards/cardboard.h"
#include "cards/cardmenu.h"
#include "cards/cardmouse.h"
#include "cards/cardwidget.h"
#include "platform/beep.h"
#include "storage/refspace.h"
#include "support/menuwall.h"

#include <QMenu>
#include <QtTest>

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
};

void TestCardMenu::menuOrder() {
    MenuWall wall({});
    QMenu* w = wall.menu.PopupMenu1;
    QStringList captions;
    for (QAction* a : w->actions())
        captions << a->text();
    QCOMPARE(captions, (QStringList{"★○×をつける", "カードに書く", "サイズ", "文字色", "カード色",
                                    "カードのコピー", "カードを消す", "保存・ていあん"}));
    QVERIFY(w->findChild<QAction*>("N77")->isEnabled());
    QCOMPARE(w->findChild<QAction*>("N1")->text(), QStringLiteral("透明カード"));
    QCOMPARE(w->findChild<QAction*>("N46")->text(), QStringLiteral("紫文字"));
    // "カードに書く" asks the window for the editor, unless the wall is busy.
    QSignalSpy editor(&wall.menu, &CardMenu::cardEditorRequested);
    w->findChild<QAction*>("N77")->trigger();
    wall.w.busy = true;
    w->findChild<QAction*>("N77")->trigger();
    QCOMPARE(editor.count(), 1);
}

void TestCardMenu::marks() {
    MenuWall wall({{"a.txt", textCard("H2O")}});
    command(wall, 0, "N60");
    QCOMPARE(wall.doc().card(0).KSU, QStringLiteral("●"));
    QCOMPARE(wall.card(0)->captions()[0], QStringLiteral("●H2O"));
    const int beeps = beepCount();
    command(wall, 0, "N65");
    QCOMPARE(wall.doc().card(0).KSU, QString());
    QCOMPARE(beepCount(), beeps + 1);
    command(wall, 0, "N63");
    // Marks are written by the next save, and lost by a reload without one.
    command(wall, 0, "N29");
    QCOMPARE(readCardFile(wall.data + "a.txt").first().KSU, QStringLiteral("★"));
    command(wall, 0, "N61");
    wall.discard();
    QCOMPARE(wall.doc().card(0).KSU, QStringLiteral("★"));
}

void TestCardMenu::sizes() {
    MenuWall wall({{"a.txt", textCard("x")}});
    CardWidget* c = wall.card(0);
    const QPoint at = c->pos();
    wall.doc().setRect(0, QRect(at, QSize(100, 50)));
    command(wall, 0, "N75"); // 1/3
    QCOMPARE(c->size(), QSize(33, 16));
    wall.doc().setRect(0, QRect(at, QSize(60, 40)));
    const int beeps = beepCount();
    command(wall, 0, "N76"); // 1/4: 15 × 10 becomes 16 × 16, with two beeps
    QCOMPARE(c->size(), QSize(16, 16));
    QCOMPARE(beepCount(), beeps + 2);
    command(wall, 0, "N71"); // × 4
    QCOMPARE(c->size(), QSize(64, 64));
    QCOMPARE(c->pos(), at);
    QCOMPARE(c->placement().pointSize[0], 32); // laid out for the new size
}

void TestCardMenu::coloursAreWrittenByTheNextSave() {
    MenuWall wall({{"a.txt", textCard("x")}, {"b.txt", textCard("y")}});
    command(wall, 1, "N27"); // red text
    command(wall, 1, "N1");  // transparent card
    CardWidget* c = wall.card(1);
    QCOMPARE(c->textColour(), QColor(255, 0, 0));
    QVERIFY(c->isTransparent());
    QCOMPARE(wall.doc().card(1).colour, 19);
    QCOMPARE(wall.doc().card(1).textColour, 2);
    command(wall, 1, "N29");
    const PosterRecord saved = readCardFile(wall.data + "b.txt").first();
    QCOMPARE(saved.colourCode(), 19);
    QCOMPARE(saved.textColourCode(), 2);
    // A colour not saved goes with "未提案の☆を消す"; the saved one stays.
    command(wall, 1, "N49"); // blue card
    QCOMPARE(wall.doc().card(1).colour, 10);
    wall.discard();
    QCOMPARE(wall.doc().card(1).colour, 19);
    QVERIFY(wall.card(1)->isTransparent());
}

void TestCardMenu::copies() {
    PosterRecord check = textCard("check", 200, 200);
    check.KAKUSU = "1";
    MenuWall wall({{"a.txt", check}, {"b.txt", textCard("plain")}});
    QVERIFY(wall.card(0)->isCollapsed());
    command(wall, 0, "N30");
    QCOMPARE(wall.doc().count(), 3);
    // The original comes back full size; the copy lies 10 pixels right and
    // below it, made with state "1", so it starts collapsed.
    CardWidget* original = wall.card(0);
    QVERIFY(!original->isCollapsed());
    const QSize full(toPixelsX(300, wall.doc().NOWX), toPixelsY(120, wall.doc().NOWY));
    QCOMPARE(original->size(), full);
    QCOMPARE(wall.doc().PBAN, 2);
    CardWidget* copy = wall.card(2);
    QVERIFY(copy->isCollapsed());
    QCOMPARE(copy->pos(), original->pos() + QPoint(10, 10));
    const PosterRecord written = readCardFile(wall.data + wall.doc().card(2).FNAME).first();
    QCOMPARE(written.KAKUSU, QStringLiteral("1"));
    QCOMPARE(written.TT, QStringLiteral("check"));
    QCOMPARE(written.XXS, toReferenceX(full.width(), wall.doc().NOWX));
    // Two copies within one second get two files.
    command(wall, 1, "N30");
    command(wall, 1, "N30");
    QCOMPARE(wall.doc().count(), 5);
    QVERIFY(wall.doc().card(3).FNAME != wall.doc().card(4).FNAME);
    QVERIFY(QFileInfo::exists(wall.data + wall.doc().card(3).FNAME));
    QVERIFY(QFileInfo::exists(wall.data + wall.doc().card(4).FNAME));
    QCOMPARE(QDir(wall.data).entryList({"*.txt"}).size(), 5);
    // A file that is no card (a damaged one) is never taken for a copy.
    const QString stamp = QStringLiteral("20000101-000000");
    QFile damaged(wall.data + stamp + ".txt");
    damaged.open(QIODevice::WriteOnly);
    damaged.write("<POSTER=\"\",x");
    damaged.close();
    QCOMPARE(wall.doc().newCardFileName(stamp), stamp + "_2.txt");
}

void TestCardMenu::deleteRenumbers() {
    MenuWall wall({{"a.txt", textCard("a", 100, 100)},
                   {"b.txt", linkCard("b\\", "b")},
                   {"c.txt", linkCard("c\\", "c")}});
    command(wall, 0, "N66");
    QVERIFY(!QFileInfo::exists(wall.data + "a.txt"));
    QCOMPARE(wall.doc().count(), 2);
    QCOMPARE(wall.doc().card(1).NOTE, QStringLiteral("c\\"));
    // A press on each selects it, and a click on the second runs its own card.
    QSignalSpy run(&wall.mouse, &CardMouse::runCard);
    wall.mouse.press(wall.card(1), QPoint(5, 5), Qt::LeftButton);
    QCOMPARE(wall.doc().PBAN, 1);
    wall.mouse.release(wall.card(1), QPoint(5, 5));
    QCOMPARE(run.count(), 1);
    QCOMPARE(run.first().first().toInt(), 1);
    // Saved, each card carries its own number in its stored codes.
    QVERIFY(wall.w.saver->PANELSAVE(1, 1));
    QCOMPARE(readCardFile(wall.data + "c.txt").first().P % 1000, 1);
}

void TestCardMenu::savingACollapsedCard() {
    PosterRecord check = textCard("check");
    check.KAKUSU = "1";
    MenuWall wall({{"a.txt", check}});
    QVERIFY(wall.card(0)->isCollapsed());
    command(wall, 0, "N29");
    const PosterRecord saved = readCardFile(wall.data + "a.txt").first();
    QCOMPARE(saved.KAKUSU, QStringLiteral("1"));
    QCOMPARE(saved.XXS, toReferenceX(toPixelsX(300, wall.doc().NOWX), wall.doc().NOWX));
    QVERIFY(saved.FTIME != check.FTIME);
    QVERIFY(wall.card(0)->isCollapsed());
    QCOMPARE(wall.card(0)->size(), QSize(20, 20));
    QVERIFY(wall.doc().card(0).checkOff == CheckOff::Collapsed);
}

QTEST_MAIN(TestCardMenu)
#include "tst_cardmenu.moc"
