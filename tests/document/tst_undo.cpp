#include "cards/cardwidget.h"
#include "document/undohistory.h"
#include "storage/refspace.h"
#include "support/menuwall.h"

#include <QDirIterator>
#include <QMenu>
#include <QtTest>

namespace {

// The wall as the user and the folder see it: every card, every file.
struct Seen {
    QVector<CardEntry> cards;
    QMap<QString, QByteArray> files;
};

Seen seen(WallFixture& w) {
    Seen s{w.st().cards(), {}};
    QDirIterator it(w.st().KIJUNDIR, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        s.files.insert(QDir(w.st().KIJUNDIR).relativeFilePath(path), readFileBytes(path));
    }
    return s;
}

bool same(const Seen& a, const Seen& b) {
    if (a.files != b.files || a.cards.size() != b.cards.size())
        return false;
    for (int i = 0; i < a.cards.size(); ++i)
        if (!sameCard(a.cards[i], b.cards[i]))
            return false;
    return true;
}

// A loaded wall with its card menu and card mouse, and what its history
// refused.
struct UndoWall : MenuWall {
    QStringList refused;

    explicit UndoWall(const QList<QPair<QString, PosterRecord>>& cards) : MenuWall(cards) {
        QObject::connect(&history(), &UndoHistory::refused,
                         [this](const QString& why) { refused << why; });
    }
    UndoHistory& history() { return w.st().history(); }
    void command(int n, const char* item) { ::command(*this, n, item); }
    // A press held until it drags, moves the card follows in pieces, a
    // release.
    void drag(int n, QPoint from, QPoint by) {
        CardWidget* c = hold(n, from);
        const int pieces = std::max(1, std::max(std::abs(by.x()), std::abs(by.y())) / 5);
        for (int k = 0; k < pieces; ++k)
            mouse.move(c, from + by / pieces);
        mouse.release(c, from);
    }
    // The same from near an edge: the edge follows the pointer.
    void resize(int n, QPoint from, QPoint by) {
        CardWidget* c = hold(n, from);
        const int pieces = std::max(1, std::max(std::abs(by.x()), std::abs(by.y())) / 5);
        for (int k = 1; k <= pieces; ++k)
            mouse.move(c, from + by * k / pieces);
        mouse.release(c, from + by);
    }
    CardWidget* hold(int n, QPoint at) {
        CardWidget* c = w.board->card(n);
        mouse.press(c, at, Qt::LeftButton);
        w.pressState = 0; // held past the click time
        mouse.move(c, at);
        return c;
    }
    // Done, taken back, made again: the wall and its folder each time as
    // before and as after the step, which bears `name`.
    bool roundTrip(const QString& name, const std::function<void()>& step) {
        const Seen before = seen(w);
        const int steps = history().undoCount();
        step();
        const Seen after = seen(w);
        if (same(before, after) || history().undoCount() != steps + 1 ||
            history().undoName() != name)
            return false;
        history().undo();
        if (!same(seen(w), before) || history().redoName() != name)
            return false;
        history().redo();
        return same(seen(w), after) && refused.isEmpty();
    }
};

PosterRecord checkOffCard(const QString& text) {
    PosterRecord r = textCard(text, 700, 100);
    r.KAKUSU = QStringLiteral("2");
    return r;
}

QString trashed(const QString& name) {
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/files/") + name;
}

} // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void everyCardEditIsOneStep();
    void deletedCardsComeBackFromTheTrash();
    void anotherProgramsEditIsNeverWrittenOver();
    void lookingWritesNothingAndTheHistoryIsBounded();
};

void TestUndo::everyCardEditIsOneStep() {
    UndoWall wall({{"a.txt", textCard("H2O")},
                   {"b.txt", textCard("b", 100, 400)},
                   {"c.txt", checkOffCard("c")}});
    WallDocument& doc = wall.doc();
    QVERIFY(!wall.history().canUndo());
    QVERIFY(wall.roundTrip("カードの移動", [&] { wall.drag(0, {40, 30}, {60, 20}); }));
    QCOMPARE(wall.w.board->card(0)->geometry(), doc.card(0).rect); // the screen follows
    QVERIFY(wall.roundTrip("カードの大きさ", [&] {
        wall.resize(1, {wall.w.board->card(1)->width() - 3, 30}, {50, 0});
    }));
    QVERIFY(wall.roundTrip("★○×をつける", [&] { wall.command(0, "N60"); }));
    QVERIFY(wall.roundTrip("カードのサイズ", [&] { wall.command(0, "N73"); }));
    QVERIFY(wall.roundTrip("文字色", [&] { wall.command(1, "N27"); }));
    QVERIFY(wall.roundTrip("カード色", [&] { wall.command(1, "N57"); }));
    QVERIFY(wall.roundTrip("チェック", [&] {
        const WallDocument::UserStep step(doc, QStringLiteral("チェック"));
        doc.collapse(2);
    }));
    QVERIFY(wall.w.board->card(2)->isCollapsed());
    wall.history().undo();
    QVERIFY(!wall.w.board->card(2)->isCollapsed());
    wall.history().redo();
    // Steps that write: the card's file gets its former bytes back; a copy's
    // new file goes again.
    QVERIFY(wall.roundTrip("保存・ていあん", [&] { wall.command(0, "N29"); }));
    QVERIFY(wall.roundTrip("カードのコピー", [&] { wall.command(1, "N30"); }));
    QCOMPARE(doc.count(), 4);
    // A step that changes nothing is none.
    const int steps = wall.history().undoCount();
    wall.command(1, "N57");
    QCOMPARE(wall.history().undoCount(), steps);
    // Everything taken back: the wall as loaded.
    while (wall.history().canUndo())
        wall.history().undo();
    QCOMPARE(wall.w.cardNames(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    QCOMPARE(doc.card(0).rect, QRect(toPixelsX(100, doc.NOWX), toPixelsY(100, doc.NOWY),
                                     toPixelsX(300, doc.NOWX), toPixelsY(120, doc.NOWY)));
    QVERIFY(wall.refused.isEmpty());
}

void TestUndo::deletedCardsComeBackFromTheTrash() {
    UndoWall wall({{"a.txt", textCard("a")}, {"b.txt", textCard("b")}, {"c.txt", textCard("c")}});
    const QString b = wall.w.path("b.txt");
    const QByteArray bytes = wall.w.bytes("b.txt");
    const QDateTime time = QFileInfo(b).lastModified();
    QVERIFY(wall.roundTrip("カードを消す", [&] { wall.command(1, "N66"); }));
    // Gone from the wall and the folder, whole in the desktop's trash.
    QCOMPARE(wall.w.cardNames(), (QStringList{"a.txt", "c.txt"}));
    QVERIFY(!QFileInfo::exists(b));
    QCOMPARE(readFileBytes(trashed("b.txt")), bytes);
    // Back where it was in the stack, the very file.
    wall.history().undo();
    QCOMPARE(wall.w.cardNames(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    QCOMPARE(wall.w.board->card(1)->geometry(), wall.doc().card(1).rect);
    QCOMPARE(wall.w.bytes("b.txt"), bytes);
    QCOMPARE(QFileInfo(b).lastModified(), time);
    QVERIFY(!QFileInfo::exists(trashed("b.txt")));
    QVERIFY(!QFileInfo::exists(trashed("../info/b.txt.trashinfo")));
    const QList<QObject*> stack = wall.w.area.children();
    QVERIFY(stack.indexOf(wall.w.board->card(1)) < stack.indexOf(wall.w.board->card(2)));

    // Where the desktop has no trash that takes it, the data folder's own,
    // which no wall shows.
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    QTemporaryDir elsewhere;
    writeFileBytes(elsewhere.filePath("file"), "not a folder");
    qputenv("XDG_DATA_HOME", QFile::encodeName(elsewhere.filePath("file/share")));
    wall.command(2, "N66");
    qputenv("XDG_DATA_HOME", data);
    const QStringList aside = QDir(wall.doc().asideFolder()).entryList(QDir::Files);
    QCOMPARE(aside.size(), 1);
    QVERIFY(aside[0].endsWith("-c.txt"));
    wall.w.loader->changeDetectionTick();
    QCOMPARE(wall.w.cardNames(), (QStringList{"a.txt", "b.txt"}));
    wall.history().undo();
    QCOMPARE(wall.w.cardNames(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    QVERIFY(QDir(wall.doc().asideFolder()).isEmpty());
    QVERIFY(wall.refused.isEmpty());
}

void TestUndo::anotherProgramsEditIsNeverWrittenOver() {
    UndoWall wall({{"a.txt", textCard("a")}, {"b.txt", textCard("b")}, {"c.txt", textCard("c")}});
    // Saved, then rewritten by another program before change detection saw
    // it: taking the save back is refused, and the other's file stays.
    wall.command(0, "N29");
    const QByteArray theirs = "<NOTE>their edit</NOTE>";
    wall.w.writeRaw("a.txt", theirs);
    wall.history().undo();
    QCOMPARE(wall.w.bytes("a.txt"), theirs);
    QCOMPARE(wall.refused.size(), 1);
    QVERIFY(wall.refused[0].contains("保存・ていあん"));
    QVERIFY(wall.refused[0].contains(QDir::toNativeSeparators(wall.w.path("a.txt"))));
    QVERIFY(!wall.history().canUndo() && !wall.history().canRedo());
    wall.refused.clear();

    // A card another program changed, as change detection takes it: the
    // steps on it go; those on other cards stay.
    wall.command(1, "N57");
    wall.command(2, "N57");
    wall.drag(1, {40, 30}, {40, 40});
    wall.command(2, "N29");
    PosterRecord changed = textCard("b from elsewhere");
    changed.FTIME = "20270101-000000";
    wall.w.write("b.txt", changed);
    wall.w.loader->changeDetectionTick();
    QCOMPARE(wall.doc().card(1).TT, QStringLiteral("b from elsewhere"));
    QCOMPARE(wall.history().undoCount(), 2);
    // A file another program took away: its card's steps go with it.
    QFile::remove(wall.w.path("c.txt"));
    wall.w.loader->changeDetectionTick();
    QCOMPARE(wall.w.cardNames(), (QStringList{"a.txt", "b.txt"}));
    QVERIFY(!wall.history().canUndo());

    // A card deleted here whose name another program wrote since: bringing
    // it back would write over theirs.
    wall.command(1, "N66");
    wall.w.write("b.txt", changed);
    wall.w.loader->changeDetectionTick();
    QVERIFY(!wall.history().canUndo());
    QVERIFY(wall.refused.isEmpty());
}

void TestUndo::lookingWritesNothingAndTheHistoryIsBounded() {
    UndoWall wall({{"a.txt", textCard("a")}, {"b.txt", textCard("b")}});
    const Seen loaded = seen(wall.w);
    wall.w.loader->changeDetectionTick();
    wall.w.loader->changeDetectionTick();
    QVERIFY(same(seen(wall.w), loaded));
    QVERIFY(!QFileInfo::exists(wall.doc().asideFolder()));
    QVERIFY(!wall.history().canUndo());

    // At least a hundred steps; the oldest go first.
    for (int i = 0; i < UndoHistory::kMaxSteps + 20; ++i)
        wall.drag(0, {40, 30}, {i % 2 ? 3 : -3, 0});
    QVERIFY(UndoHistory::kMaxSteps >= 100);
    QCOMPARE(wall.history().undoCount(), UndoHistory::kMaxSteps);
    const QRect last = wall.doc().card(0).rect;
    wall.history().undo();
    QCOMPARE(wall.doc().card(0).rect, last.translated(-3, 0));
    // Steps that keep many bytes (strokes over a whole screen) are bounded
    // by those bytes too.
    struct Large : HistoryStep {
        QString name() const override { return QStringLiteral("ペンの線"); }
        bool undo(QString*) override { return true; }
        bool redo(QString*) override { return true; }
        qint64 bytesKept() const override { return UndoHistory::kMaxBytesKept / 3 + 1; }
    };
    for (int i = 0; i < 5; ++i)
        wall.history().push(std::make_unique<Large>());
    QCOMPARE(wall.history().undoCount(), 2);
    // Another wall shown: its history starts afresh.
    wall.doc().clear();
    QVERIFY(!wall.history().canUndo() && !wall.history().canRedo());
    QCOMPARE(seen(wall.w).files, loaded.files);
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
