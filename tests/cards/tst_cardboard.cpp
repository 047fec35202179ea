#include "cards/cardwidget.h"
#include "storage/refspace.h"
#include "support/wallfixture.h"

#include <QtTest>

namespace {

CardProps props(const QString& text, const QString& file = QString()) {
    CardProps p;
    p.X = 10;
    p.Y = 20;
    p.XX = 200;
    p.YY = 100;
    p.P = 1;
    p.PT = 1;
    p.R = 1;
    p.T = text;
    p.FN = file;
    p.FT = QStringLiteral("20260101-000000");
    return p;
}

} // namespace

class TestCardBoard : public QObject {
    Q_OBJECT
private slots:
    void newCardsAreNamedAndSaved();
    void sameFileNameRebuildsAndWrites();
    void copiesOfOneSecondKeepTheirFiles();
    void quickEditorHoldsCardMaking();
    void shapesAndColours();
    void sizeFloorsAndRelayout();
    void stageChangeRelaysEveryCard();
    void markGoesInFront();
    void clearingWritesNothing();
};

void TestCardBoard::newCardsAreNamedAndSaved() {
    WallFixture w;
    QVERIFY(w.board->PanelMake(1, props("new")));
    const CardEntry& e = w.st.cards[0];
    QCOMPARE(e.FNAME, e.FTIME + ".txt");
    QCOMPARE(e.FTIME.size(), 15);
    QCOMPARE(readCardFile(w.path(e.FNAME)).first().TT, QStringLiteral("new"));
    // Loading passes K = 0: nothing is written.
    QVERIFY(w.board->PanelMake(0, props("loaded", "l.txt")));
    QVERIFY(!QFileInfo::exists(w.path("l.txt")));
    QCOMPARE(w.st.PBAN, 1);
}

void TestCardBoard::sameFileNameRebuildsAndWrites() {
    WallFixture w;
    w.board->PanelMake(0, props("first", "a.txt"));
    w.board->PanelMake(0, props("second", "b.txt"));
    CardProps again = props("first, changed", "a.txt");
    again.X = 77;
    QVERIFY(w.board->PanelMake(0, again));
    QCOMPARE(w.st.PBANSU, 2);
    QCOMPARE(w.st.PBAN, 1);
    QCOMPARE(w.st.cards[0].TT, QStringLiteral("first, changed"));
    QCOMPARE(w.board->card(0)->x(), 77);
    QCOMPARE(readCardFile(w.path("a.txt")).first().TT, QStringLiteral("first, changed"));
    // A file holding two records ends up as one card and one record.
    PosterRecord one = textCard("one");
    PosterRecord two = textCard("two");
    w.writeRaw("m.txt", (formatPosterRecord(one) + "\r\n" + formatPosterRecord(two)).toUtf8());
    w.loader->ANAL("m.txt", QString::fromUtf8(w.bytes("m.txt")));
    QCOMPARE(w.st.PBANSU, 3);
    QCOMPARE(w.st.cards[2].TT, QStringLiteral("two"));
    QCOMPARE(readCardFile(w.path("m.txt")).size(), 1);
}

void TestCardBoard::copiesOfOneSecondKeepTheirFiles() {
    // Two machines on one shared wall: while the first has named its copy
    // and not yet written it, the second makes its own copy in that second.
    WallFixture a;
    WallFixture b;
    b.st.KIJUNDIR = b.st.KIJUNDIRBAK = a.st.KIJUNDIR;
    a.board->PanelMake(0, props("from a", "a.txt"));
    b.board->PanelMake(0, props("from b", "b.txt"));
    a.board->saveCard = [&](int i) {
        b.board->PCOPY(0, 30, 30, 100, 50, 0);
        a.saver->PANELSAVE(i, 1);
    };
    int sameSecond = 0;
    for (int round = 0; round < 5 && sameSecond == 0; ++round) {
        const CardEntry& mine = a.st.cards[a.board->PCOPY(0, 10, 10, 100, 50, 0)];
        const CardEntry& theirs = b.st.cards.last();
        if (mine.FTIME == theirs.FTIME)
            ++sameSecond;
        QVERIFY(mine.FNAME != theirs.FNAME);
        QCOMPARE(readCardFile(a.path(mine.FNAME)).first().TT, QStringLiteral("from a"));
        QCOMPARE(readCardFile(a.path(theirs.FNAME)).first().TT, QStringLiteral("from b"));
    }
    QVERIFY(sameSecond > 0);
}

void TestCardBoard::quickEditorHoldsCardMaking() {
    WallFixture w;
    w.board->PanelMake(0, props("a", "a.txt"));
    w.board->KKFLG = true;
    w.board->PanelMake(1, props("held"));
    w.board->PanelMake(1, props("changed", "a.txt"));
    QCOMPARE(w.st.PBANSU, 1);
    QCOMPARE(w.st.cards[0].TT, QStringLiteral("a"));
}

void TestCardBoard::shapesAndColours() {
    WallFixture w;
    CardProps ellipse = props("e");
    ellipse.R = 0;
    ellipse.P = 7;
    w.board->PanelMake(0, ellipse);
    CardProps clear = props("t");
    clear.P = 19;
    clear.PT = 6;
    w.board->PanelMake(0, clear);
    CardProps odd = props("o");
    odd.P = 42;
    odd.PT = 0;
    w.board->PanelMake(0, odd);
    CardWidget* e = w.board->card(0);
    QVERIFY(e->isElliptic());
    QCOMPARE(e->mask().boundingRect(), QRect(1, 1, 199, 99));
    QCOMPARE(e->fillColour(), QColor(128, 128, 128));
    QVERIFY(!e->isTransparent());
    CardWidget* t = w.board->card(1);
    QVERIFY(t->isTransparent());
    QVERIFY(t->mask().isEmpty());
    QCOMPARE(t->textColour(), QColor(255, 255, 255));
    // Unknown codes leave the default colours, and still keep their tags.
    CardWidget* o = w.board->card(2);
    QCOMPARE(o->textColour(), QColor(Qt::black));
    QCOMPARE(o->panelTag, 42002);
    // Rebuilt as a rectangle, the ellipse goes.
    CardProps rect = ellipse;
    rect.R = 1;
    w.board->PanelMake2(0, rect);
    QVERIFY(w.board->card(0)->mask().isEmpty());
    QCOMPARE(w.board->card(0)->pictureTag, 1000);
}

void TestCardBoard::sizeFloorsAndRelayout() {
    WallFixture w;
    w.board->PanelMake(0, props("H2O"));
    CardWidget* c = w.board->card(0);
    const int before = c->placement().pointSize[0];
    QCOMPARE(before, 50); // 100 / 2 / 1 line
    c->resize(400, 200);
    w.st.PBAN = 0;
    w.board->CardSize();
    QCOMPARE(c->placement().pointSize[0], 100);
    QCOMPARE(c->placement().pointSize[1], 50);
    c->resize(10, 5);
    w.board->CardSize();
    QCOMPARE(c->size(), QSize(16, 16));
    QCOMPARE(c->pictureRect().width(), 12);
    // An index past the cards does nothing.
    w.st.PBAN = 5;
    w.board->CardSize();
    QCOMPARE(c->size(), QSize(16, 16));
}

void TestCardBoard::stageChangeRelaysEveryCard() {
    WallFixture w;
    CardProps p = props("Q/+ answer+/ end");
    p.S2 = "/-hint-/tip";
    w.board->PanelMake(0, p);
    QCOMPARE(w.board->card(0)->captions()[0], QStringLiteral("Q end"));
    QCOMPARE(w.board->card(0)->toolTip(), QStringLiteral("tip"));
    const QPoint pos = w.board->card(0)->pos();
    w.st.ST1 = 1;
    w.st.ST2 = 1;
    bool restarted = false;
    w.board->startChangeDetection = [&] { restarted = true; };
    w.board->ALLTEIJI();
    QCOMPARE(w.board->card(0)->captions()[0], QStringLiteral("Q answer end"));
    QCOMPARE(w.board->card(0)->toolTip(), QStringLiteral("hinttip"));
    QCOMPARE(w.board->card(0)->pos(), pos);
    QVERIFY(restarted);
    QVERIFY(!w.st.BUSY);
}

void TestCardBoard::markGoesInFront() {
    WallFixture w;
    w.board->PanelMake(0, props("H2O"));
    CardWidget* c = w.board->card(0);
    QCOMPARE(c->captions()[1], QStringLiteral("2"));
    const int size = c->placement().pointSize[0];
    w.st.PBAN = 0;
    w.board->HOSHI(QStringLiteral("★H2O"));
    QCOMPARE(c->captions()[0], QStringLiteral("★H2O"));
    QCOMPARE(c->placement().pointSize[0], size); // sizes stay until the next build
    // The row is centred again: piece 1 now wider, so it starts further left.
    QVERIFY(c->placement().rect[0].left() < (200 - c->placement().rect[0].width()) / 2 + 1);
    // A card made with the mark shows its formula unsplit.
    CardProps marked = props("H2O");
    marked.KS = "★";
    w.board->PanelMake(0, marked);
    QCOMPARE(w.board->card(1)->captions()[0], QStringLiteral("★H2O"));
    QVERIFY(w.board->card(1)->captions()[1].isEmpty());
}

void TestCardBoard::clearingWritesNothing() {
    WallFixture w;
    w.write("a.txt", textCard("a"));
    w.loader->PANELLOAD();
    const QByteArray before = w.bytes("a.txt");
    w.board->card(0)->move(300, 300);
    w.board->clear();
    QCOMPARE(w.st.PBANSU, 0);
    QCOMPARE(w.st.PBAN, 0);
    QVERIFY(w.st.cards.isEmpty());
    QCOMPARE(w.bytes("a.txt"), before);
    w.loader->PANELLOAD();
    QCOMPARE(w.board->card(0)->pos(), QPoint(100, 100));
}

QTEST_MAIN(TestCardBoard)
#include "tst_cardboard.moc"
