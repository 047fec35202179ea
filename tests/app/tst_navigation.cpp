#include "support/windowfixture.h"

#include <QMenu>
#include <QtTest>

// Moving between walls by links, the back button and the number notes.
class TestNavigation : public QObject {
    Q_OBJECT
private slots:
    void wallsAndHistory();
    void returnMark();
    void numberNotes();
};

void TestNavigation::wallsAndHistory() {
    WindowWall wall({{"a.txt", linkCard("a\\")}});
    WallWindow& w = wall.open();
    QDir().mkpath(wall.data + "a/b/c");
    writeCardFile(wall.data + "a/back.txt", linkCard("<"));
    w.links().JIKKOU2("a\\");
    QCOMPARE(w.document().KIJUNDIR, wall.data + "a/");
    QCOMPARE(w.document().count(), 1);
    QCOMPARE(w.document().card(0).NOTE, QStringLiteral("<"));
    w.links().JIKKOU2("b\\");
    w.links().JIKKOU2("c\\");
    QCOMPARE(w.flags().ListBox11.size(), 3);
    w.links().JIKKOU2("<");
    QCOMPARE(w.document().KIJUNDIR, wall.data + "a/b/");
    w.links().JIKKOU2("c\\");
    w.links().JIKKOU2("<\\");
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    QVERIFY(w.flags().ListBox11.isEmpty());
    QVERIFY(!w.findChild<QWidget*>("SpeedButton7")->isVisible());
    // "<" at home stays home; the back button's right click goes home too.
    w.links().JIKKOU2("<");
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    w.links().JIKKOU2("a\\");
    w.navigation().backAndHome(Qt::RightButton);
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    w.links().JIKKOU2("a\\");
    w.navigation().backAndHome(Qt::LeftButton);
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    // Missing files, bare folder names and nonsense do nothing.
    w.links().JIKKOU2("missing.jpg");
    w.links().JIKKOU2("a");
    QCOMPARE(w.document().KIJUNDIR, wall.data);
}

void TestNavigation::returnMark() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    w.links().JIKKOU2("a\\@");
    QCOMPARE(w.flags().DIRPOINT, wall.data);
    w.links().JIKKOU2("b\\");
    w.links().JIKKOU2("c\\");
    QCOMPARE(w.document().KIJUNDIR, wall.data + "a/b/c/");
    w.links().JIKKOU2("<@");
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    // A mark not in the history ends at home.
    w.links().JIKKOU2("x\\");
    w.flags().DIRPOINT = wall.data + "nowhere/";
    w.links().JIKKOU2("<@");
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    QVERIFY(w.flags().ListBox11.isEmpty());
}

void TestNavigation::numberNotes() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    QAction* item = w.findChild<QAction*>("note00");
    QVERIFY(item);
    item->trigger();
    QCOMPARE(w.document().KIJUNDIR, wall.data + "ノート00/");
    QVERIFY(QFileInfo(wall.data + "ノート00").isDir());
    w.findChild<QAction*>("note69")->trigger();
    QCOMPARE(w.document().KIJUNDIR, wall.data + "ノート00/ノート69/");
    QCOMPARE(w.findChild<QMenu*>("PopupMenu5")->actions().size(), 7);
}

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
