#include "dialogs/launchcards.h"

#include <QtTest>

class TestLaunchCards : public QObject {
    Q_OBJECT
private slots:
    void places();
    void kinds_data();
    void kinds();
};

void TestLaunchCards::places() {
    // Twelve cards of 200 × 80 from 100, 100 on a wall 1080 high: eleven in
    // the first column, the twelfth at the top of the next.
    const auto twelve = launchSlots(QRect(100, 100, 200, 80), 12, QSize(1920, 1080));
    QVERIFY(twelve);
    QCOMPARE(twelve->size(), 12);
    QCOMPARE(twelve->at(1), QPoint(100, 190));
    QCOMPARE(twelve->at(10), QPoint(100, 1000));
    QCOMPARE(twelve->at(11), QPoint(310, 100));
    // Refused as a whole: a column past the right edge, a first card taller
    // than the wall, an empty template.
    QVERIFY(!launchSlots(QRect(1700, 100, 200, 80), 12, QSize(1920, 1080)));
    QVERIFY(!launchSlots(QRect(100, 100, 200, 2000), 1, QSize(1920, 1080)));
    QVERIFY(!launchSlots(QRect(100, 100, 0, 80), 1, QSize(1920, 1080)));
    QCOMPARE(launchSlots(QRect(100, 100, 200, 80), 0, QSize(1920, 1080))->size(), 0);
}

void TestLaunchCards::kinds_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("colour");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("copy");
    const QString from = "/home/t/pictures/";
    QTest::newRow("picture") << from + "cat.jpg" << int(LaunchKind::Picture) << 7 << "catjpg.jpg"
                             << "catjpg\\"
                             << "catjpg.txt"
                             << "/w/catjpg/catjpg.jpg";
    QTest::newRow("picture in capitals")
        << from + "DOG.JPG" << int(LaunchKind::Picture) << 7 << "DOGJPG.JPG"
        << "DOGJPG\\"
        << "DOGJPG.txt"
        << "/w/DOGJPG/DOGJPG.JPG";
    QTest::newRow("page") << from + "unit.html" << int(LaunchKind::Page) << 3 << "unit.html"
                          << "unit.html"
                          << "unit.txt"
                          << "/w/unit.html";
    QTest::newRow("LOGO") << from + "star.trx" << int(LaunchKind::Logo) << 14 << "star.trx"
                          << "star.trx"
                          << "startrx.txt"
                          << "/w/star.trx";
    QTest::newRow("LOGO in capitals")
        << from + "star.TR2" << int(LaunchKind::Logo) << 14 << "star.TR2"
        << "star.TR2"
        << "starTR2.txt"
        << "/w/star.TR2";
    QTest::newRow("other file") << from + "notes.pdf" << int(LaunchKind::Other) << 10 << "notes.pdf"
                                << from + "notes.pdf"
                                << "notes.pdf.txt"
                                << "/w/notes.pdf";
    // Only the two LOGO extensions are LOGO projects.
    QTest::newRow("tr, not LOGO") << from + "a.tra" << int(LaunchKind::Other) << 10 << "a.tra"
                                  << from + "a.tra"
                                  << "a.tra.txt"
                                  << "/w/a.tra";
}

void TestLaunchCards::kinds() {
    QFETCH(QString, file);
    QFETCH(int, kind);
    QFETCH(int, colour);
    QFETCH(QString, text);
    QFETCH(QString, link);
    QFETCH(QString, name);
    QFETCH(QString, copy);
    const LaunchCard c = planLaunchCard(file, "/w/");
    QCOMPARE(int(c.kind), kind);
    QCOMPARE(c.card.colour, colour);
    QCOMPARE(c.card.textColour, 4);
    QCOMPARE(c.card.TT, text);
    QCOMPARE(c.card.NOTE, link);
    QCOMPARE(c.card.FNAME, name);
    QCOMPARE(c.copy, copy);
    QCOMPARE(isLogoProject(file), kind == int(LaunchKind::Logo));
    if (c.kind == LaunchKind::Picture) {
        QCOMPARE(c.card.POST, text);
        QCOMPARE(c.original, c.subWall + "_" + text);
    }
    QVERIFY(linkReadsOtherwise("/a/b>c.txt") && linkReadsOtherwise("/a/b\\c.txt"));
    QVERIFY(!linkReadsOtherwise(file));
}

QTEST_MAIN(TestLaunchCards)
#include "tst_launchcards.moc"
