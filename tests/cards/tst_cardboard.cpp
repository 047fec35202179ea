#include "cards/cardmouse.h"
#include "cards/cardwidget.h"
#include "document/changedetection.h"
#include "storage/refspace.h"
#include "support/wallfixture.h"

#include <QtTest>

namespace {

CardEntry props(const QString& text, const QString& file = QString()) {
    CardEntry p;
    p.rect = QRect(10, 20, 200, 100);
    p.colour = 1;
    p.textColour = 1;
    p.shape = 1;
    p.TT = text;
    p.FNAME = file;
    p.FTIME = QStringLiteral("20260101-000000");
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
    void dragIsOneEditAndSavedFromTheDocument();
};

void TestCardBoard::newCardsAreNamedAndSaved() {
    WallFixture w;
    QVERIFY(w.st().PanelMake(1, props("new")));
    const CardEntry& e = w.st().card(0);
    QCOMPARE(e.FNAME, e.FTIME + ".txt");
    QCOMPARE(e.FTIME.size(), 15);
    QCOMPARE(readCardFile(w.path(e.FNAME)).first().TT, QStringLiteral("new"));
    // Loading passes K = 0: nothing is written.
    QVERIFY(w.st().PanelMake(0, props("loaded", "l.txt")));
    QVERIFY(!QFileInfo::exists(w.path("l.txt")));
    QCOMPARE(w.st().PBAN, 1);
}

void TestCardBoard::sameFileNameRebuildsAndWrites() {
    WallFixture w;
    w.st().PanelMake(0, props("first", "a.txt"));
    w.st().PanelMake(0, props("second", "b.txt"));
    CardEntry again = props("first, changed", "a.txt");
    again.rect.moveLeft(77);
    QVERIFY(w.st().PanelMake(0, again));
    QCOMPARE(w.st().count(), 2);
    QCOMPARE(w.st().PBAN, 1);
    QCOMPARE(w.st().card(0).TT, QStringLiteral("first, changed"));
    QCOMPARE(w.board->card(0)->x(), 77);
    QCOMPARE(readCardFile(w.path("a.txt")).first().TT, QStringLiteral("first, changed"));
    // A file holding two records ends up as one card and one record.
    PosterRecord one = textCard("one");
    PosterRecord two = textCard("two");
    w.writeRaw("m.txt", (formatPosterRecord(one) + "\r\n" + formatPosterRecord(two)).toUtf8());
    w.loader->ANAL("m.txt", QString::fromUtf8(w.bytes("m.txt")));
    QCOMPARE(w.st().count(), 3);
    QCOMPARE(w.st().card(2).TT, QStringLiteral("two"));
    QCOMPARE(readCardFile(w.path("m.txt")).size(), 1);
}

void TestCardBoard::copiesOfOneSecondKeepTheirFiles() {
    // Two machines on one shared wall: while the first has named its copy
    // and not yet written it, the second makes its own copy in that second.
    WallFixture a;
    WallFixture b;
    b.st().KIJUNDIR = b.st().KIJUNDIRBAK = a.st().KIJUNDIR;
    a.st().PanelMake(0, props("from a", "a.txt"));
    b.st().PanelMake(0, props("from b", "b.txt"));
    // b copies in the moment a's copy is made and not yet written.
    QObject::connect(&a.st(), &WallDocument::cardAdded, &a.st(),
                     [&] { b.st().PCOPY(0, QRect(30, 30, 100, 50), 0); });
    int sameSecond = 0;
    for (int round = 0; round < 5 && sameSecond == 0; ++round) {
        const CardEntry& mine = a.st().card(a.st().PCOPY(0, QRect(10, 10, 100, 50), 0));
        const CardEntry& theirs = b.st().cards().last();
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
    w.st().PanelMake(0, props("a", "a.txt"));
    w.st().KKFLG = true;
    w.st().PanelMake(1, props("held"));
    w.st().PanelMake(1, props("changed", "a.txt"));
    QCOMPARE(w.st().count(), 1);
    QCOMPARE(w.st().card(0).TT, QStringLiteral("a"));
}

void TestCardBoard::shapesAndColours() {
    WallFixture w;
    CardEntry ellipse = props("e");
    ellipse.shape = 0;
    ellipse.colour = 7;
    w.st().PanelMake(0, ellipse);
    CardEntry clear = props("t");
    clear.colour = 19;
    clear.textColour = 6;
    w.st().PanelMake(0, clear);
    CardEntry odd = props("o");
    odd.colour = 42;
    odd.textColour = 0;
    w.st().PanelMake(0, odd);
    CardWidget* e = w.board->card(0);
    QVERIFY(e->isElliptic());
    QCOMPARE(e->mask().boundingRect(), QRect(1, 1, 199, 99));
    QCOMPARE(e->fillColour(), QColor(128, 128, 128));
    QVERIFY(!e->isTransparent());
    CardWidget* t = w.board->card(1);
    QVERIFY(t->isTransparent());
    QVERIFY(t->mask().isEmpty());
    QCOMPARE(t->textColour(), QColor(255, 255, 255));
    // Unknown codes leave the default colours, and are still written.
    CardWidget* o = w.board->card(2);
    QCOMPARE(o->textColour(), QColor(Qt::black));
    w.st().entryForWriting(2).FNAME = "odd.txt";
    QVERIFY(w.saver->PANELSAVE(2, 1));
    QCOMPARE(readCardFile(w.path("odd.txt")).first().P, 42002);
    // Rebuilt as a rectangle, the ellipse goes.
    CardEntry rect = ellipse;
    rect.shape = 1;
    w.st().PanelMake2(0, rect);
    QVERIFY(w.board->card(0)->mask().isEmpty());
    QVERIFY(!w.st().card(0).elliptic());
}

void TestCardBoard::sizeFloorsAndRelayout() {
    WallFixture w;
    w.st().PanelMake(0, props("H2O"));
    CardWidget* c = w.board->card(0);
    const int before = c->placement().pointSize[0];
    QCOMPARE(before, 50); // 100 / 2 / 1 line
    w.st().setRect(0, QRect(c->pos(), QSize(400, 200)));
    w.st().PBAN = 0;
    w.board->CardSize();
    QCOMPARE(c->placement().pointSize[0], 100);
    QCOMPARE(c->placement().pointSize[1], 50);
    w.st().setRect(0, QRect(c->pos(), QSize(10, 5)));
    w.board->CardSize();
    QCOMPARE(c->size(), QSize(16, 16));
    QCOMPARE(w.st().card(0).rect.size(), QSize(16, 16));
    QCOMPARE(c->pictureRect().width(), 12);
    // An index past the cards does nothing.
    w.st().PBAN = 5;
    w.board->CardSize();
    QCOMPARE(c->size(), QSize(16, 16));
}

void TestCardBoard::stageChangeRelaysEveryCard() {
    WallFixture w;
    CardEntry p = props("Q/+ answer+/ end");
    p.S2 = "/-hint-/tip";
    w.st().PanelMake(0, p);
    QCOMPARE(w.board->card(0)->captions()[0], QStringLiteral("Q end"));
    QCOMPARE(w.board->card(0)->toolTip(), QStringLiteral("tip"));
    const QPoint pos = w.board->card(0)->pos();
    w.st().setStage(1, 1);
    const bool restarted = w.st().changes().isActive();
    QCOMPARE(w.board->card(0)->captions()[0], QStringLiteral("Q answer end"));
    QCOMPARE(w.board->card(0)->toolTip(), QStringLiteral("hinttip"));
    QCOMPARE(w.board->card(0)->pos(), pos);
    QVERIFY(restarted);
    QVERIFY(!w.busy);
}

void TestCardBoard::markGoesInFront() {
    WallFixture w;
    w.st().PanelMake(0, props("H2O"));
    CardWidget* c = w.board->card(0);
    QCOMPARE(c->captions()[1], QStringLiteral("2"));
    const int size = c->placement().pointSize[0];
    w.st().setMark(0, QStringLiteral("★"));
    QCOMPARE(c->captions()[0], QStringLiteral("★H2O"));
    QCOMPARE(c->placement().pointSize[0], size); // sizes stay until the next build
    // The row is centred again: piece 1 now wider, so it starts further left.
    QVERIFY(c->placement().rect[0].left() < (200 - c->placement().rect[0].width()) / 2 + 1);
    // A card made with the mark shows its formula unsplit.
    CardEntry marked = props("H2O");
    marked.KSU = "★";
    w.st().PanelMake(0, marked);
    QCOMPARE(w.board->card(1)->captions()[0], QStringLiteral("★H2O"));
    QVERIFY(w.board->card(1)->captions()[1].isEmpty());
}

void TestCardBoard::clearingWritesNothing() {
    WallFixture w;
    w.write("a.txt", textCard("a"));
    w.loader->PANELLOAD();
    const QByteArray before = w.bytes("a.txt");
    w.st().setRect(0, QRect(300, 300, 300, 120));
    w.st().clear();
    QCOMPARE(w.board->count(), 0);
    QCOMPARE(w.st().count(), 0);
    QCOMPARE(w.st().PBAN, 0);
    QVERIFY(w.st().cards().isEmpty());
    QCOMPARE(w.bytes("a.txt"), before);
    w.loader->PANELLOAD();
    QCOMPARE(w.board->card(0)->pos(), QPoint(100, 100));
}

void TestCardBoard::dragIsOneEditAndSavedFromTheDocument() {
    WallFixture w;
    w.write("a.txt", textCard("a", 100, 100));
    w.loader->PANELLOAD();
    CardMouse mouse(w.st(), w.busy, w.oneShotArmed, w.pressState, *w.board, &w.area);
    QList<CardChange> changes;
    connect(&w.st(), &WallDocument::cardChanged, this,
            [&](int, CardChange what) { changes << what; });
    CardWidget* c = w.board->card(0);
    mouse.press(c, QPoint(50, 50), Qt::LeftButton);
    w.pressState = 0; // held long enough to drag
    // Each step as the widget reports it: the pointer stays over the card,
    // 8 × 5 pixels on from the press each time.
    mouse.move(c, QPoint(50, 50));
    for (int step = 0; step < 10; ++step)
        mouse.move(c, QPoint(58, 55));
    QCOMPARE(c->pos(), QPoint(180, 150));
    QVERIFY(changes.isEmpty()); // the drag changes only the screen until it ends
    mouse.release(c, QPoint(50, 50));
    QCOMPARE(changes, QList<CardChange>{CardChange::Geometry});
    QCOMPARE(w.st().card(0).rect, QRect(180, 150, 300, 120));
    // The save writes what the document holds, whatever the widget shows.
    c->move(0, 0);
    QVERIFY(w.saver->PANELSAVE(0, 1));
    const PosterRecord saved = readCardFile(w.path("a.txt")).first();
    QCOMPARE(QPoint(saved.XS, saved.YS), QPoint(180, 150));
}

QTEST_MAIN(TestCardBoard)
#include "tst_cardboard.moc"
