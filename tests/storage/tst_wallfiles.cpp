#include "storage/atomicfile.h"
#include "storage/htmlcopy.h"
#include "storage/recorderror.h"
#include "storage/wallfiles.h"

#include "support/cp932.h"
#include <QTemporaryDir>

#include <QProcess>
#include <QtTest>
#include <csignal>
#include <iconv.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

PosterRecord card() {
    PosterRecord r;
    r.XS = 10;
    r.YS = 20;
    r.XXS = 300;
    r.YYS = 100;
    r.P = 3000;
    r.PT = 1000;
    r.R = 1000;
    r.TT = QStringLiteral("一行目\n二行目\r三行目");
    r.FTIME = QStringLiteral("20261209-090000");
    return r;
}

} // namespace

class TestWallFiles : public QObject {
    Q_OBJECT
private slots:
    void writtenFileShape();
    void readsWithAndWithoutBom();
    void linesComeBackWithCrLf();
    void shiftJisFilesAreRead();
    void damagedFilesRaiseNamingTheFile();
    void missingFileIsNone();
    void failedWriteKeepsTheOldFile();
    void oddNamesAndLinks();
    void settingsFiles();
    void headerTextLines();
    void htmlCopyStaysInside();
};

void TestWallFiles::writtenFileShape() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.txt"));
    QVERIFY(writeCardFile(path, card()));
    const QByteArray bytes = readBytes(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith(">\r\n"));
    // A three-line text is three physical lines, each ending in CR LF, and
    // there is no bare CR or LF anywhere.
    QCOMPARE(bytes.count("\r\n"), 3);
    QCOMPARE(bytes.count('\r'), 3);
    QCOMPARE(bytes.count('\n'), 3);
    QCOMPARE(bytes.count("<POSTER="), 1);
    // Nothing is left behind but the file itself.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"c.txt"});
}

void TestWallFiles::readsWithAndWithoutBom() {
    QTemporaryDir dir;
    const QString with = dir.filePath(QStringLiteral("with.txt"));
    const QString without = dir.filePath(QStringLiteral("without.txt"));
    QVERIFY(writeCardFile(with, card()));
    writeBytes(without, readBytes(with).mid(3));
    const auto a = readCardFile(with);
    const auto b = readCardFile(without);
    QCOMPARE(a.size(), 1);
    QCOMPARE(b.size(), 1);
    QCOMPARE(a.first(), b.first());
    QCOMPARE(a.first().TT, QStringLiteral("一行目\r\n二行目\r\n三行目"));
}

void TestWallFiles::linesComeBackWithCrLf() {
    QCOMPARE(joinLinesCrLf(QStringLiteral("a\nb\rc\r\nd")), QStringLiteral("a\r\nb\r\nc\r\nd\r\n"));
    QCOMPARE(joinLinesCrLf(QStringLiteral("a\r\n")), QStringLiteral("a\r\n"));
    QCOMPARE(joinLinesCrLf(QStringLiteral("\n\n")), QStringLiteral("\r\n\r\n"));
    QCOMPARE(joinLinesCrLf(QString()), QString());
    // A record that ends in a line break keeps it as a line of its own.
    QCOMPARE(encodeWallText(QStringLiteral("x\n")), QByteArray("\xEF\xBB\xBFx\r\n\r\n"));
}

void TestWallFiles::shiftJisFilesAreRead() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sjis.txt"));
    const QString record = QStringLiteral("メモ\r\n<POSTER=\"\",1,2,3,4,5000,1000,0,1000,"
                                          "\"ヒント\",\"リンク\",\"水\\素\",\"\",\"\",表,★,0>");
    writeBytes(path, toCp932(record));
    const auto text = readWallText(path);
    QVERIFY(text->fromShiftJis);
    const auto r = readCardFile(path);
    QCOMPARE(r.size(), 1);
    QCOMPARE(r.first().S2, QStringLiteral("ヒント"));
    QCOMPARE(r.first().TT, QStringLiteral("水\\素"));
    QCOMPARE(r.first().KFLG, QStringLiteral("表"));
    QCOMPARE(r.first().KSU, QStringLiteral("★"));
    // A plain UTF-8 file is never taken for Shift_JIS.
    QVERIFY(writeCardFile(path, card()));
    QVERIFY(!readWallText(path)->fromShiftJis);
}

void TestWallFiles::damagedFilesRaiseNamingTheFile() {
    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("garbage.txt"));
    // 0x81 0x20 is neither UTF-8 nor a Shift_JIS character.
    const QByteArray bytes("<POSTER=\"\x81\x20\x81\x20\",1");
    writeBytes(garbage, bytes);
    try {
        readCardFile(garbage);
        QFAIL("damaged file read without error");
    } catch (const RecordError& e) {
        QCOMPARE(e.reason(), RecordError::Reason::Encoding);
        QVERIFY(e.message().contains(QLatin1String("garbage.txt")));
    }
    QCOMPARE(readBytes(garbage), bytes);

    const QString bad = dir.filePath(QStringLiteral("bad.txt"));
    writeBytes(bad, QByteArray("<POSTER=\"\",1,2,three,4,5,6,7,8,\"\",\"\",\"\",\"\",\"\",,,>"));
    try {
        readCardFile(bad);
        QFAIL("conversion error not raised");
    } catch (const RecordError& e) {
        QCOMPARE(e.reason(), RecordError::Reason::NotInteger);
        QCOMPARE(e.file(), QDir::toNativeSeparators(bad));
        QCOMPARE(e.text(), QStringLiteral("three"));
        QVERIFY(e.message().contains(QLatin1String("three")));
    }
}

void TestWallFiles::missingFileIsNone() {
    QTemporaryDir dir;
    QVERIFY(readCardFile(dir.filePath(QStringLiteral("none.txt"))).isEmpty());
    QVERIFY(!readPanelFile(dir.filePath(QStringLiteral("wall.ini"))).has_value());
    QVERIFY(!readUrlFile(dir.filePath(QStringLiteral("html.ini"))).has_value());
    QVERIFY(!readMaskFile(dir.filePath(QStringLiteral("dir.ini"))).has_value());
}

void TestWallFiles::failedWriteKeepsTheOldFile() {
    // A card cut short in the last flush, by a file-size limit that binds
    // root as well: the old card stays whole and the caller hears of it.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.txt"));
    QVERIFY(writeCardFile(path, card()));
    const QByteArray before = readBytes(path);
    PosterRecord longer = card();
    longer.TT += QStringLiteral("、四行目");
    const auto writeLimited = [&](rlim_t limit) {
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &small);
        QString error;
        const bool written = writeCardFile(path, longer, &error);
        setrlimit(RLIMIT_FSIZE, &old);
        return written ? QString() : error;
    };
    // The cause is named, not left "unknown".
    QCOMPARE(writeLimited(rlim_t(before.size() / 2)),
             QStringLiteral("ファイルの大きさの上限を超えました。"));
    QCOMPARE(readBytes(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.txt"});

    // On a real full filesystem too, when this test may mount one.
    const QString small = dir.filePath(QStringLiteral("small"));
    QDir().mkpath(small);
    if (geteuid() != 0 || QProcess::execute(QStringLiteral("mount"),
                                            {"-t", "tmpfs", "-o", "size=64k", "tmpfs", small}) != 0)
        return;
    const QString cardPath = small + QStringLiteral("/card.txt");
    QVERIFY(writeCardFile(cardPath, card()));
    const QByteArray cardBefore = readBytes(cardPath);
    QFile filler(small + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    filler.write(QByteArray(128 * 1024, 'x')); // fills the disk; the rest fails
    filler.close();
    QString error;
    QVERIFY(!writeCardFile(cardPath, longer, &error));
    QCOMPARE(error, QStringLiteral("ディスクの空きがありません。"));
    QCOMPARE(readBytes(cardPath), cardBefore);
    QProcess::execute(QStringLiteral("umount"), {small});
}

void TestWallFiles::oddNamesAndLinks() {
    QTemporaryDir dir;
    // Every name the file system allows can be written: 83 Japanese
    // characters and ".txt" are 253 bytes.
    const QString longName = dir.filePath(QString(83, QChar(0x6F22)) + QStringLiteral(".txt"));
    QVERIFY(writeCardFile(longName, card()));
    QCOMPARE(readCardFile(longName).size(), 1);

    // A card file that is a link to a file elsewhere is read, but saving
    // puts a file of its own in its place: the file outside is never written.
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath(QStringLiteral("outside.txt"));
    QVERIFY(writeCardFile(outside, card()));
    const QByteArray outsideBytes = readBytes(outside);
    const QString link = dir.filePath(QStringLiteral("linked.txt"));
    QVERIFY(QFile::link(outside, link));
    QCOMPARE(readCardFile(link).size(), 1);
    PosterRecord changed = card();
    changed.TT = QStringLiteral("mine");
    QVERIFY(writeCardFile(link, changed));
    QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(readCardFile(link).first().TT, QStringLiteral("mine"));
    QCOMPARE(readBytes(outside), outsideBytes);

    // A file its owner made read-only stays as it is, mode and all, even
    // for root; a link to it is still replaced, the file itself untouched.
    const QString kept = dir.filePath(QStringLiteral("kept.txt"));
    QVERIFY(writeCardFile(kept, card()));
    const QByteArray keptBytes = readBytes(kept);
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(kept, readOnly));
    QString error;
    QVERIFY(!writeCardFile(kept, changed, &error));
    QCOMPARE(error, QStringLiteral("読み取り専用のファイルなので、書き換えませんでした。"));
    QCOMPARE(readBytes(kept), keptBytes);
    QVERIFY(!(QFile::permissions(kept) & QFile::WriteOwner));
    QVERIFY(QFile::link(kept, link + QStringLiteral("2")));
    QVERIFY(writeCardFile(link + QStringLiteral("2"), changed));
    QCOMPARE(readBytes(kept), keptBytes);
}

void TestWallFiles::settingsFiles() {
    QTemporaryDir dir;
    const QString wall = dir.filePath(QStringLiteral("wall.ini"));
    QVERIFY(writePanelFile(wall, {QStringLiteral("背景.bmp"), QStringLiteral("20261209-1")}));
    QCOMPARE(readPanelFile(wall)->KABEIMAGE, QStringLiteral("背景.bmp"));

    const QString html = dir.filePath(QStringLiteral("html.ini"));
    UrlRecord url;
    url.page = QStringLiteral("index.htm");
    url.X = 1000;
    url.width = 900;
    QVERIFY(writeUrlFile(html, url));
    QCOMPARE(readUrlFile(html)->width, 860);

    const QString mask = dir.filePath(QStringLiteral("dir.ini"));
    MaskRecord m;
    m.mask = QStringLiteral("*.txt");
    m.label = QStringLiteral("カード");
    QVERIFY(writeMaskFile(mask, m));
    QCOMPARE(readMaskFile(mask).value(), m);

    // A folder in the way of the file: the write fails and says so.
    QDir(dir.path()).mkdir(QStringLiteral("blocked.txt"));
    QString error;
    QVERIFY(!writeFileAtomically(dir.filePath(QStringLiteral("blocked.txt")), "x", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("blocked.txt"))).isDir());
}

void TestWallFiles::headerTextLines() {
    const QStringList lines = headerText().split(QLatin1Char('\r'));
    QCOMPARE(lines.size(), 5); // four lines, each ending in CR
    QVERIFY(lines[4].isEmpty());
    QVERIFY(lines[0].startsWith(QStringLiteral("---------  Zavikポスター  ---")));
    QCOMPARE(lines[0].size(), 92);
    QCOMPARE(lines[1], QStringLiteral("パネル：\"背景画像\",モニター幅,モニター高さ"));
    QVERIFY(lines[2].endsWith(QStringLiteral("\"ファイル名\",\"タイムスタンプ\"")));
    QCOMPARE(lines[3], QString(97, QLatin1Char('-')));
    // A file that begins with the header still reads.
    QCOMPARE(parsePosterRecords(headerText() + formatPosterRecord(card())).size(), 1);
}

void TestWallFiles::htmlCopyStaysInside() {
    QTemporaryDir dir;
    const QString src = dir.path() + "/src/";
    const QString dst = dir.path() + "/wall/";
    QDir().mkpath(src + "img");
    QDir().mkpath(dst);
    writeBytes(src + "a.png", "A");
    writeBytes(src + "img/b.png", "B");
    writeBytes(dir.path() + "/secret.png", "outside");
    writeBytes(dst + "keep.png", "mine");
    writeBytes(src + "page.html", "<img src=\"a.png\"><img src=\"img/b.png\">"
                                  "<img src=\"../secret.png\"><img src=\"/etc/hostname\">"
                                  "<img src=\"http://x/y.png\">");
    QVERIFY(HTMLCOPY(src + "page.html", dst + "page.html"));
    QCOMPARE(readBytes(dst + "page.html"), readBytes(src + "page.html"));
    QCOMPARE(readBytes(dst + "a.png"), QByteArray("A"));
    QVERIFY(!QFileInfo::exists(dst + "img/b.png")); // no img folder there
    QVERIFY(!QFileInfo::exists(dir.path() + "/secret.png.copy"));
    QCOMPARE(readBytes(dir.path() + "/secret.png"), QByteArray("outside"));
    QDir().mkpath(dst + "img");
    QVERIFY(HTMLCOPY(src + "page.html", dst + "page.html"));
    QCOMPARE(readBytes(dst + "img/b.png"), QByteArray("B"));
    // A page copied onto itself, pictures and all, loses nothing.
    QVERIFY(HTMLCOPY(dst + "page.html", dst + "page.html"));
    QCOMPARE(readBytes(dst + "a.png"), QByteArray("A"));
    QCOMPARE(readBytes(dst + "page.html"), readBytes(src + "page.html"));
    // A ".htm" page goes alone.
    writeBytes(src + "b.htm", "<img src=\"a.png\">");
    QDir().mkpath(dir.path() + "/other");
    QVERIFY(HTMLCOPY(src + "b.htm", dir.path() + "/other/b.htm"));
    QVERIFY(!QFileInfo::exists(dir.path() + "/other/a.png"));
    QVERIFY(!HTMLCOPY(src + "missing.html", dst + "m.html"));

    // BACKUP takes the background and the pictures a page names, only from
    // below the page's folder.
    writeBytes(src + "bg.png", "BG");
    writeBytes(src + "linked.html", "<body background=\"bg.png\"><img src=\"a.png\">"
                                    "<img src=\"../secret.png\"><img src=\"" +
                                        dir.path().toUtf8() + "/secret.png\">");
    QDir().mkpath(dir.path() + "/copy/deep");
    BACKUP(src + "linked.html", dir.path() + "/copy/deep/linked.html");
    QCOMPARE(readBytes(dir.path() + "/copy/deep/bg.png"), QByteArray("BG"));
    QCOMPARE(readBytes(dir.path() + "/copy/deep/a.png"), QByteArray("A"));
    QCOMPARE(QDir(dir.path() + "/copy/deep").entryList(QDir::Files),
             (QStringList{"a.png", "bg.png"}));
    QVERIFY(!QFileInfo::exists(dir.path() + "/copy/secret.png")); // "../" stays out
}

QTEST_APPLESS_MAIN(TestWallFiles)
#include "tst_wallfiles.moc"
