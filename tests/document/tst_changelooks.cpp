#include "cards/cardwidget.h"
#include "document/changedetection.h"
#include "storage/refspace.h"
#include "support/wallfixture.h"

#include <QThread>
#include <QtTest>
#include <atomic>

namespace {

// A wall folder on a slow share: every listing takes `listMs` after the
// folder was listed; every call is counted, and those made on the thread
// the wall lives on.
struct Share {
    QThread* wallThread = QThread::currentThread();
    int listMs = 0;
    std::atomic<int> listing{0};
    std::atomic<int> mostAtOnce{0};
    std::atomic<int> listings{0};
    std::atomic<bool> listed{false};
    std::atomic<int> onWallThread{0};
};

std::shared_ptr<const FolderAccess> through(const std::shared_ptr<Share>& share) {
    auto access = std::make_shared<FolderAccess>();
    auto note = [share] {
        if (QThread::currentThread() == share->wallThread)
            ++share->onWallThread;
    };
    access->list = [share, note](const QString& folder, CardOrder order) {
        note();
        const int now = ++share->listing;
        int most = share->mostAtOnce;
        while (now > most && !share->mostAtOnce.compare_exchange_weak(most, now)) {
        }
        ++share->listings;
        const auto files = listCardFiles(folder, order);
        share->listed = true;
        QThread::msleep(share->listMs);
        --share->listing;
        return files;
    };
    access->read = [note](const QString& path) {
        note();
        return FolderAccess::readWallFile(path);
    };
    access->entry = [note](const QString& path) {
        note();
        return FolderAccess::entryAt(path);
    };
    return access;
}

// A wall of the named cards on such a share, loaded.
struct ShareWall {
    WallFixture w;
    std::shared_ptr<Share> share = std::make_shared<Share>();
    ChangeDetection& changes = w.st().changes();

    ShareWall(int listMs, std::initializer_list<const char*> cards) {
        share->listMs = listMs;
        w.loader->setFolderAccess(through(share));
        for (const char* name : cards)
            w.write(name, textCard(name));
        w.loader->PANELLOAD();
        share->onWallThread = 0;
        share->listings = 0;
    }
};

} // namespace

class TestChangeLooks : public QObject {
    Q_OBJECT
private slots:
    void wallFollowsTheFolderFromAWorker();
    void slowListingIsSkippedNotStacked();
    void writesDuringALookWin();
};

void TestChangeLooks::wallFollowsTheFolderFromAWorker() {
    ShareWall s(0, {"a.txt", "b.txt", "c.txt"});
    WallFixture& w = s.w;
    // Another program adds a card, deletes one and saves one with a new
    // stamp (a longer text: its file looks different whatever its time).
    w.write("d.txt", textCard("d"));
    QFile::remove(w.path("a.txt"));
    w.write("b.txt", textCard("b, saved elsewhere", 400, 100, "20260101-000009"));
    ChangeDetection& changes = s.changes;
    changes.Timer2->setInterval(10);
    changes.start();
    QTRY_COMPARE(w.cardNames(), (QStringList{"b.txt", "c.txt", "d.txt"}));
    QTRY_COMPARE(w.st().card(0).TT, QStringLiteral("b, saved elsewhere"));
    QCOMPARE(w.board->card(0)->x(), 400);
    changes.stop();
    changes.endLook();
    QVERIFY(w.surface.problems.isEmpty());
    // The wall's thread never looked at the folder.
    QCOMPARE(s.share->onWallThread.load(), 0);
}

void TestChangeLooks::slowListingIsSkippedNotStacked() {
    ShareWall s(150, {"a.txt"});
    ChangeDetection& changes = s.changes;
    QSignalSpy due(changes.Timer2, &QTimer::timeout);
    QSignalSpy taken(&changes, &ChangeDetection::lookTaken);
    changes.Timer2->setInterval(20);
    changes.start();
    QTRY_VERIFY(taken.count() >= 2);
    changes.stop();
    changes.endLook();
    QCOMPARE(s.share->mostAtOnce.load(), 1);
    QVERIFY(s.share->listings <= taken.count() + 1);
    QVERIFY(due.count() > s.share->listings);
    QCOMPARE(s.w.cardNames(), QStringList{"a.txt"});
}

void TestChangeLooks::writesDuringALookWin() {
    ShareWall s(150, {"a.txt", "b.txt"});
    WallFixture& w = s.w;
    Share& share = *s.share;
    ChangeDetection& changes = s.changes;
    QSignalSpy taken(&changes, &ChangeDetection::lookTaken);

    // A card made here after the folder was listed is no card another
    // program deleted: the look is stale and not taken.
    share.listed = false;
    changes.Timer2Timer();
    QTRY_VERIFY(share.listed);
    CardEntry made;
    made.rect = QRect(10, 10, 100, 60);
    made.TT = QStringLiteral("made here");
    QVERIFY(w.st().PanelMake(1, made));
    QTRY_VERIFY(!changes.isLooking());
    QCOMPARE(taken.count(), 0);
    QCOMPARE(w.st().count(), 3);

    // Save and exit waits for the look under way and does not take it.
    moveCard(w.st(), 0, QPoint(40, 60));
    share.listed = false;
    changes.Timer2Timer();
    QTRY_VERIFY(share.listed);
    const WallSaver::ExitSave saved = w.saver->saveForExit(*w.loader);
    QVERIFY(!changes.isLooking());
    QCOMPARE(share.listing.load(), 0);
    QVERIFY(saved.failed.isEmpty() && saved.leftAlone.isEmpty());
    QCOMPARE(readCardFile(w.path("a.txt")).first().XS, toReferenceX(40, w.st().NOWX));
    QCoreApplication::processEvents();
    QCOMPARE(taken.count(), 0);
    QCOMPARE(w.st().count(), 3);
    QCOMPARE(QDir(w.st().KIJUNDIR).entryList(QDir::Files).size(), 3);
}

QTEST_MAIN(TestChangeLooks)
#include "tst_changelooks.moc"
