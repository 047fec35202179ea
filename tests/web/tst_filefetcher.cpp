#include "platform/beep.h"
#include "support/httpserver.h"
#include "support/scriptedprompts.h"
#include "web/filefetcher.h"
#include "web/linkinterception.h"
#include "web/weblinkactions.h"

#include <QDirIterator>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace weblink;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// Every file below `dir`, relative to it.
QStringList filesBelow(const QString& dir) {
    QStringList all;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        all << QDir(dir).relativeFilePath(it.next());
    all.sort();
    return all;
}

// Fetches into `within` and waits for the end; the last file's result.
bool fetchAll(FileFetcher& fetcher, const QString& within, const QList<LinkFetch>& files) {
    std::optional<bool> result;
    if (!fetcher.fetch(within, files, [&](bool ok) { result = ok; }))
        return false;
    if (!QTest::qWaitFor([&] { return result.has_value(); }, 20000))
        return false;
    return result.value_or(false);
}

const QByteArray kOld("old project\0\xff", 13);

} // namespace

class TestFileFetcher : public QObject {
    Q_OBJECT
private slots:
    void linkWithExtras();
    void failuresKeepTheOldFile_data();
    void failuresKeepTheOldFile();
    void traversalWritesNothing();
    void linksOutOfTheLogoFolder();
    void tooLargeIsRefused_data();
    void tooLargeIsRefused();
    void busyAndCancel();
    void questionBeforeReplacing();
    void localCopies();

private:
    HttpServer server;
};

void TestFileFetcher::linkWithExtras() {
    QTemporaryDir tmp;
    const QString data = tmp.filePath("data/"), logo = data + "LOGO/";
    for (char c = 'A'; c <= 'Z'; ++c)
        server.files[QByteArray("/dir/") + c + ".wav"] = QByteArray("sound ") + c;
    server.files["/dir/title.wav"] = "title";
    server.files["/dir/p.trx"] = "FD 10";
    writeFile(logo + "snd/B.wav", "old B");
    writeFile(logo + "p.trx", kOld);
    const LinkDecision d =
        decideLink(server.url("/dir/p.trx&&&A-Z.wav&&&..title.wav&&&none.wav###snd"),
                   {data + "wall/", data}, LinkBrowser::WallPane);
    QCOMPARE(d.extras.size(), 28);
    FileFetcher fetcher(nullptr);
    QStringList asked;
    fetcher.fetchAnew = [&](const QString& destination) {
        asked << destination;
        return false;
    };
    // The missing extra does not stop the link: the project decides.
    QVERIFY(fetchAll(fetcher, d.workingFolder, d.extras + QList<LinkFetch>{{d.path, d.target}}));
    QCOMPARE(fetcher.DLFLG, 1);
    // The LOGO environment's own file is replaced unasked.
    QCOMPARE(asked, QStringList{logo + "snd/B.wav"});
    QCOMPARE(readFile(logo + "p.trx"), QByteArray("FD 10"));
    QCOMPARE(readFile(logo + "title.wav"), QByteArray("title"));
    QCOMPARE(readFile(logo + "snd/B.wav"), QByteArray("old B"));
    QCOMPARE(readFile(logo + "snd/Z.wav"), QByteArray("sound Z"));
    QCOMPARE(filesBelow(logo + "snd").size(), 26);
}

void TestFileFetcher::failuresKeepTheOldFile_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("ok");
    QTest::newRow("not found") << "/dir/none.trx" << false;
    QTest::newRow("dropped mid-body") << "/drop/p.trx" << false;
    QTest::newRow("stalled") << "/stall/p.trx" << false;
    QTest::newRow("redirect followed") << "/moved/p.trx" << true;
    QTest::newRow("redirect to itself") << "/loop/p.trx" << false;
}

void TestFileFetcher::failuresKeepTheOldFile() {
    QFETCH(QString, path);
    QFETCH(bool, ok);
    QTemporaryDir tmp;
    server.files["/dir/p.trx"] = "FD 10";
    writeFile(tmp.filePath("p.trx"), kOld);
    FileFetcher fetcher(nullptr);
    fetcher.stallMs = path.startsWith("/stall/") ? 300 : 30000;
    const int requests = server.fetcherRequests;
    QCOMPARE(fetchAll(fetcher, tmp.path(), {{server.url(path), tmp.filePath("p.trx")}}), ok);
    QVERIFY(server.fetcherRequests - requests <= 11); // a loop gives up soon
    QCOMPARE(fetcher.DLFLG, ok ? 1 : 0);
    QCOMPARE(readFile(tmp.filePath("p.trx")), ok ? QByteArray("FD 10") : kOld);
    QCOMPARE(filesBelow(tmp.path()), QStringList{"p.trx"}); // no half file left beside it
}

void TestFileFetcher::traversalWritesNothing() {
    QTemporaryDir tmp;
    const QString data = tmp.filePath("data/");
    server.serveEverything = true;
    const QString link = "/dir/p.trx&&&../../evil.wav&&&a/../../y.wav&&&..b.wav&&&c.wav###";
    for (const char* sub : {"../out", "snd"}) {
        const LinkDecision d =
            decideLink(server.url(link) + sub, {data + "wall/", data}, LinkBrowser::WallPane);
        FileFetcher fetcher(nullptr);
        fetcher.fetchAnew = [](const QString&) { return true; };
        QVERIFY(
            fetchAll(fetcher, d.workingFolder, d.extras + QList<LinkFetch>{{d.path, d.target}}));
    }
    server.serveEverything = false;
    QCOMPARE(filesBelow(tmp.path()), (QStringList{"data/LOGO/b.wav", "data/LOGO/p.trx",
                                                  "data/LOGO/snd/c.wav", "data/LOGO/y.wav"}));
}

void TestFileFetcher::linksOutOfTheLogoFolder() {
    QTemporaryDir tmp;
    const QString data = tmp.filePath("data/"), logo = data + "LOGO/";
    const QString outside = tmp.filePath("outside");
    writeFile(outside + "/victim.trx", "mine");
    QVERIFY(QDir().mkpath(logo));
    QVERIFY(QFile::link(outside + "/victim.trx", logo + "x.trx"));
    QVERIFY(QFile::link(outside, logo + "lnk"));
    server.serveEverything = true;
    const LinkDecision d = decideLink(server.url("/dir/x.trx&&&a.wav&&&..lnk/b.wav###lnk/deeper"),
                                      {data + "wall/", data}, LinkBrowser::WallPane);
    QWidget window;
    WebLinkActions actions(&window);
    actions.fetcher().fetchAnew = [](const QString&) { return true; };
    ScriptedPrompts prompts;
    actions.fetcher().setPrompts(&prompts);
    QSignalSpy started(&actions, &WebLinkActions::startProject);
    actions.carryOut(d, nullptr);
    QVERIFY(started.wait(20000));
    server.serveEverything = false;
    // The link at the project's place is replaced; the folder link is
    // neither written through nor made deeper.
    QCOMPARE(started.first().first().toString(), logo + "x.trx");
    QVERIFY(!QFileInfo(logo + "x.trx").isSymLink());
    QCOMPARE(readFile(logo + "x.trx"), QByteArray("served"));
    QCOMPARE(filesBelow(outside), QStringList{"victim.trx"});
    QCOMPARE(readFile(outside + "/victim.trx"), QByteArray("mine"));
    QVERIFY(!QFileInfo::exists(outside + "/deeper"));
    QCOMPARE(prompts.told.size(), 1);
    QVERIFY(prompts.told.first().contains("lnk/deeper/a.wav") &&
            prompts.told.first().contains("lnk/b.wav"));
    QVERIFY(prompts.told.first().contains(QStringLiteral("LOGOフォルダの外")));
}

void TestFileFetcher::tooLargeIsRefused_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("name"); // below LOGO/, where only p.trx is there already
    QTest::newRow("with its length") << "/large/p.trx"
                                     << "p.trx";
    QTest::newRow("without a length") << "/endless/p.trx"
                                      << "p.trx";
    QTest::newRow("a local copy") << "big.trx"
                                  << "big.trx";
}

void TestFileFetcher::tooLargeIsRefused() {
    QFETCH(QString, source);
    QFETCH(QString, name);
    QTemporaryDir tmp;
    writeFile(tmp.filePath("big.trx"), QByteArray(100000, 'b'));
    writeFile(tmp.filePath("LOGO/p.trx"), kOld);
    source = source.startsWith('/') ? server.url(source) : tmp.filePath(source);
    FileFetcher fetcher(nullptr);
    fetcher.maxBytes = 65536;
    ScriptedPrompts prompts;
    fetcher.setPrompts(&prompts);
    QVERIFY(!fetchAll(fetcher, tmp.path(), {{source, tmp.filePath("LOGO/" + name)}}));
    QVERIFY(fetcher.lastRefused());
    QCOMPARE(filesBelow(tmp.filePath("LOGO")), QStringList{"p.trx"});
    QCOMPARE(readFile(tmp.filePath("LOGO/p.trx")), kOld);
    QCOMPARE(prompts.told.size(), 1);
    QVERIFY(prompts.told.first().contains(name) &&
            prompts.told.first().contains(QStringLiteral("MBを超える")));
}

void TestFileFetcher::busyAndCancel() {
    QTemporaryDir tmp;
    const QString dest = tmp.filePath("LOGO/p.trx");
    writeFile(dest, kOld);
    QWidget window;
    FileFetcher fetcher(&window);
    std::optional<bool> result;
    QVERIFY(fetcher.fetch(tmp.path(), {{server.url("/stall/p.trx"), dest}},
                          [&](bool ok) { result = ok; }));
    QVERIFY(fetcher.busy());
    // One link at a time: another is refused with a beep.
    const int beeps = beepCount();
    bool secondDone = false;
    QVERIFY(!fetcher.fetch(tmp.path(), {{server.url("/dir/p.trx"), dest}},
                           [&](bool) { secondDone = true; }));
    QCOMPARE(beepCount(), beeps + 1);
    // The progress window shows after a moment, naming the file.
    QProgressDialog* progress = nullptr;
    QTRY_VERIFY((progress = window.findChild<QProgressDialog*>()) && progress->isVisible());
    QVERIFY(progress->labelText().contains("「p.trx」"));
    QPushButton* cancel = progress->findChild<QPushButton*>();
    QCOMPARE(cancel->text(), QStringLiteral("キャンセル"));
    QTest::mouseClick(cancel, Qt::LeftButton);
    QTRY_VERIFY(result.has_value());
    QVERIFY(!*result && !secondDone && !fetcher.busy());
    QCOMPARE(fetcher.DLFLG, 0);
    QCOMPARE(readFile(dest), kOld);
    QCOMPARE(filesBelow(tmp.path()), QStringList{"LOGO/p.trx"});
}

void TestFileFetcher::questionBeforeReplacing() {
    QTemporaryDir tmp;
    const QString dest = tmp.filePath("A.wav");
    server.files["/dir/A.wav"] = "sound A";
    FileFetcher fetcher(nullptr);
    for (const auto& [answer, expected] : {std::pair{"いいえ", "old A"}, {"はい", "sound A"}}) {
        writeFile(dest, "old A");
        std::optional<bool> result;
        fetcher.fetch(tmp.path(), {{server.url("/dir/A.wav"), dest}},
                      [&](bool ok) { result = ok; });
        QMessageBox* box = nullptr;
        QTRY_VERIFY((box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())));
        QCOMPARE(box->text(),
                 QStringLiteral("「A.wav」はもうあります。はじめから取り直しますか？"));
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QString::fromUtf8(answer))
                b->click();
        QTRY_VERIFY(result.has_value());
        QVERIFY(*result); // kept or fetched, either is a success
        QCOMPARE(readFile(dest), QByteArray(expected));
    }
}

void TestFileFetcher::localCopies() {
    QTemporaryDir tmp;
    const QString source = tmp.filePath("src/a.wav"), dest = tmp.filePath("LOGO/a.wav");
    writeFile(source, "new");
    QFile::setPermissions(source, QFile::ReadOwner);
    FileFetcher fetcher(nullptr);
    fetcher.fetchAnew = [](const QString&) { return true; };
    // Written with "\": a copy too. A missing original fails.
    QVERIFY(!fetchAll(fetcher, tmp.path(),
                      {{QString(source).replace('/', '\\'), dest},
                       {tmp.filePath("src/none.wav"), tmp.filePath("LOGO/none.wav")}}));
    QCOMPARE(readFile(dest), QByteArray("new"));
    QVERIFY(QFileInfo(dest).isWritable());
    // An existing copy is kept, even when asked to start over.
    writeFile(dest, "mine");
    QVERIFY(fetchAll(fetcher, tmp.path(), {{source, dest}}));
    QCOMPARE(readFile(dest), QByteArray("mine"));
}

QTEST_MAIN(TestFileFetcher)
#include "tst_filefetcher.moc"
