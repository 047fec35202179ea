// Two Zavik programs on one wall folder, as a teacher's machine and a
// pupil's show one wall on a school share: both edit at once for a while,
// one saves and exits, the other sees that and exits too. No card file may be
// emptied, half written or lost, and every edit is in the folder at the end
// or was told to the user who made it, or the other program took it and then
// moved the card on.
#include "storage/records.h"
#include "storage/wallfiles.h"
#include "support/wallfixture.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

struct Edit {
    QString peer;
    int XS = 0;
    int YS = 0;
    qint64 at = 0;
};

// What one peer did and was told, from its log.
struct PeerLog {
    QString name;
    QHash<QString, Edit> lastMove;   // the last place it gave each card
    QMultiHash<QString, Edit> moves; // every place it gave each card
    QMultiHash<QString, Edit> seen;  // places change detection took from the other
    QHash<QString, QString> made;    // new card file -> its text
    QSet<QString> deleted;
    QString told; // everything it told its user
    bool done = false;
};

PeerLog readLog(const QString& path, const QString& name) {
    PeerLog log;
    log.name = name;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return log;
    while (!f.atEnd()) {
        const QStringList w = QString::fromUtf8(f.readLine()).chopped(1).split(QLatin1Char('\t'));
        const QString& kind = w[0];
        if ((kind == QLatin1String("move") || kind == QLatin1String("new")) && w.size() == 6) {
            log.lastMove[w[1]] = Edit{name, w[2].toInt(), w[3].toInt(), w[5].toLongLong()};
            log.moves.insert(w[1], log.lastMove[w[1]]);
        }
        if (kind == QLatin1String("seen") && w.size() == 6)
            log.seen.insert(w[1], Edit{name, w[2].toInt(), w[3].toInt(), w[5].toLongLong()});
        if (kind == QLatin1String("new"))
            log.made[w[1]] = w[4];
        else if (kind == QLatin1String("delete"))
            log.deleted.insert(w[1]);
        else if (kind == QLatin1String("report"))
            log.told += w.mid(1).join(QLatin1Char('|')) + QLatin1Char('\n');
        else if (kind == QLatin1String("done"))
            log.done = true;
    }
    return log;
}

// Whether `log`'s program had taken `place` for card `name` from the other
// one before `before`: its own later place then followed what it had seen.
bool sawBefore(const PeerLog& log, const QString& name, const Edit& place, qint64 before) {
    const QList<Edit> seen = log.seen.values(name);
    return std::any_of(seen.cbegin(), seen.cend(), [&](const Edit& e) {
        return e.XS == place.XS && e.YS == place.YS && e.at < before;
    });
}

} // namespace

class TestSharedWall : public QObject {
    Q_OBJECT
private slots:
    void twoProgramsOnOneFolderLoseNothing();
};

void TestSharedWall::twoProgramsOnOneFolderLoseNothing() {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("share/walls/"));
    QDir().mkpath(data);
    QStringList cards;
    for (int i = 0; i < 12; ++i) {
        cards << QStringLiteral("card%1.txt").arg(i, 2, 10, QLatin1Char('0'));
        QVERIFY(writeCardFile(data + cards.last(),
                              textCard(QStringLiteral("card %1").arg(i), 100 + 150 * (i % 6),
                                       100 + 200 * (i / 6),
                                       QStringLiteral("20260101-00000%1").arg(i % 10))));
    }
    const QString peer =
        QCoreApplication::applicationDirPath() + QStringLiteral("/sharedwall_peer");
    const QString aExited = dir.filePath(QStringLiteral("a-exited"));
    const QString seed = QString::number(QDateTime::currentMSecsSinceEpoch() % 100000);
    QProcess a, b;
    a.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    b.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    a.start(peer, {data, QStringLiteral("A"), QStringLiteral("6000"), seed, dir.filePath("a.log")});
    b.start(peer, {data, QStringLiteral("B"), QStringLiteral("6000"), seed + QLatin1Char('7'),
                   dir.filePath("b.log"), aExited});
    qInfo("seed %s", qPrintable(seed));
    QVERIFY(a.waitForFinished(180000));
    QCOMPARE(a.exitCode(), 0);
    QFile(aExited).open(QIODevice::WriteOnly);
    QVERIFY(b.waitForFinished(180000));
    QCOMPARE(b.exitCode(), 0);
    const PeerLog logs[] = {readLog(dir.filePath("a.log"), QStringLiteral("A")),
                            readLog(dir.filePath("b.log"), QStringLiteral("B"))};
    QVERIFY(logs[0].done && logs[1].done);

    // Every card file whole: one record each, and no temporary file left.
    const QStringList names = QDir(data).entryList(QDir::Files | QDir::Hidden);
    QHash<QString, PosterRecord> final;
    for (const QString& name : names) {
        QVERIFY2(name.endsWith(QLatin1String(".txt")), qPrintable(name));
        const QVector<PosterRecord> records = readCardFile(data + name);
        QVERIFY2(records.size() == 1, qPrintable(name));
        final[name] = records.first();
    }
    // No card lost but the ones deleted, and every new card with its own
    // text. (A card one program deletes while the other saves it stays.)
    const QSet<QString> deleted = logs[0].deleted + logs[1].deleted;
    for (const QString& name : cards)
        QVERIFY2(final.contains(name) || deleted.contains(name), qPrintable(name));
    int made = 0;
    for (const PeerLog& log : logs)
        for (auto it = log.made.cbegin(); it != log.made.cend(); ++it, ++made) {
            if (deleted.contains(it.key()))
                continue; // gone, or its name taken again by a card made later
            QVERIFY2(final.contains(it.key()), qPrintable(it.key()));
            QCOMPARE(final[it.key()].TT, it.value());
        }
    QVERIFY(made > 0);

    // Every card's last place as each program gave it: in the file, or told
    // to that program's user, or followed by a place the other gave it after
    // taking this one.
    int kept = 0, told = 0, follows = 0;
    for (int p = 0; p < 2; ++p) {
        const PeerLog& mine = logs[p];
        const PeerLog& other = logs[1 - p];
        for (auto it = mine.lastMove.cbegin(); it != mine.lastMove.cend(); ++it) {
            if (deleted.contains(it.key()))
                continue; // a deletion wins over a place, and the other is told
            const PosterRecord& r = final[it.key()];
            const QList<Edit> theirs = other.moves.values(it.key());
            const bool followed = std::any_of(theirs.cbegin(), theirs.cend(), [&](const Edit& e) {
                return r.XS == e.XS && r.YS == e.YS && sawBefore(other, it.key(), *it, e.at);
            });
            if (r.XS == it->XS && r.YS == it->YS)
                ++kept;
            else if (mine.told.contains(
                         QRegularExpression(QStringLiteral("(^|[|/\n])%1($|[|」\n])")
                                                .arg(QRegularExpression::escape(it.key())))))
                ++told;
            else if (followed)
                ++follows;
            else
                QFAIL(qPrintable(QStringLiteral("%1's place for %2 (%3,%4) was lost: the file "
                                                "holds (%5,%6)\n%7 told:\n%8")
                                     .arg(mine.name, it.key())
                                     .arg(it->XS)
                                     .arg(it->YS)
                                     .arg(r.XS)
                                     .arg(r.YS)
                                     .arg(mine.name, mine.told)));
        }
    }
    qInfo("%d places kept, %d told, %d followed by the other's; %d cards made", kept, told, follows,
          made);
}

QTEST_MAIN(TestSharedWall)
#include "tst_sharedwall.moc"
