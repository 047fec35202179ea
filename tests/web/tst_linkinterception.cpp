#include "web/linkinterception.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace weblink;

Q_DECLARE_METATYPE(LinkAction)
Q_DECLARE_METATYPE(LinkBrowser)

class TestLinkInterception : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cutNN_data();
    void cutNN();
    void rangeMarkers_data();
    void rangeMarkers();
    void decisions_data();
    void decisions();
    void extras_data();
    void extras();

private:
    QTemporaryDir tmp;
    QString wall, data, logo;
};

void TestLinkInterception::initTestCase() {
    QVERIFY(tmp.isValid());
    data = tmp.filePath("data/");
    wall = data + "wall/";
    logo = data + "LOGO/";
    QVERIFY(QDir().mkpath(wall + "sub"));
    QVERIFY(QDir().mkpath(data + "sounds"));
    for (const char* f : {"x.wav", "loud.MP3", "page.html", "a@b.html", "proj.trx", "PROJ.TRX",
                          "_background_.html", "youtube.com.desktop", "tool"})
        QVERIFY(QFile(wall + f).open(QIODevice::WriteOnly));
    for (const char* f : {"h.wav", "H.WAV"})
        QVERIFY(QFile(data + "sounds/" + f).open(QIODevice::WriteOnly));
}

void TestLinkInterception::cutNN_data() {
    QTest::addColumn<QString>("S");
    QTest::addColumn<QString>("cut");
    QTest::newRow("drive URL") << "file:///C:/a%20b/c.trx"
                               << "C:\\a b\\c.trx";
    QTest::newRow("share URL") << "file://server/share/x.htm"
                               << "server\\share\\x.htm";
    QTest::newRow("quotes") << "file:///d/%22q%22.html"
                            << "d\\\"q\".html";
    QTest::newRow("web address untouched") << "http://h/a%20b/"
                                           << "http://h/a%20b/";
    QTest::newRow("plain path untouched") << "/home/u/a%20b"
                                          << "/home/u/a%20b";
}

void TestLinkInterception::cutNN() {
    QFETCH(QString, S);
    QFETCH(QString, cut);
    QCOMPARE(CutNN(S), cut);
    QCOMPARE(CutNN2("http://h/a%20b"), QStringLiteral("http:\\\\h\\a b"));
}

void TestLinkInterception::rangeMarkers_data() {
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    for (const char* digit : {"", "1", "2", "3"}) {
        QTest::addRow("A%s", digit)
            << QString("&&&A%1-Z%1.wav").arg(digit) << QString("A%1.wav").arg(digit)
            << QString("Z%1.wav").arg(digit);
        QTest::addRow("a%s", digit)
            << QString("&&&a%1-z%1.wav").arg(digit) << QString("a%1.wav").arg(digit)
            << QString("z%1.wav").arg(digit);
    }
}

void TestLinkInterception::rangeMarkers() {
    QFETCH(QString, marker);
    QFETCH(QString, first);
    QFETCH(QString, last);
    // In place: what stands before and after the marker stays there.
    const QString out = expandRangeMarkers("p.trx&&&x.wav" + marker + "&&&y.wav###snd");
    QVERIFY(out.startsWith("p.trx&&&x.wav&&&" + first + "&&&"));
    QVERIFY(out.endsWith("&&&" + last + "&&&y.wav###snd"));
    QCOMPARE(int(out.count("&&&")), 28);
    // With all eight at once, each expands.
    QString all;
    for (const char* m : {"A-Z", "A1-Z1", "A2-Z2", "A3-Z3", "a-z", "a1-z1", "a2-z2", "a3-z3"})
        all += QString("&&&%1.wav").arg(m);
    QCOMPARE(int(expandRangeMarkers(all).count("&&&")), 8 * 26);
    QVERIFY(!expandRangeMarkers(all).contains('-'));
}

void TestLinkInterception::decisions_data() {
    QTest::addColumn<LinkBrowser>("browser");
    QTest::addColumn<QString>("U");
    QTest::addColumn<LinkAction>("action");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("beforeLogo"); // decided before the LOGO folder is made
    const auto pane = LinkBrowser::WallPane;
    const auto help = LinkBrowser::HelpBrowser;
    const QString web = "http://h.invalid/dir/p.trx";
    const QString maker = "https://www." + LinkDomains::maker;
    auto row = [](const char* name, LinkBrowser b, const QString& U, LinkAction a,
                  const QString& path = {}, const QString& shown = {}, bool early = false) {
        QTest::newRow(name) << b << U << a << path << shown << early;
    };
    row("sound in the wall folder", pane, wall + "x.wav", LinkAction::PlaySound, wall + "x.wav", {},
        true);
    row("sound named like one in the wall", pane, "/elsewhere/x.wav", LinkAction::PlaySound,
        wall + "x.wav", {}, true);
    row("sound extension in capitals", pane, wall + "loud.MP3", LinkAction::PlaySound,
        wall + "loud.MP3", {}, true);
    row("mail", pane, "mailto:teacher@school.invalid", LinkAction::ToShell,
        "mailto:teacher@school.invalid", {}, true);
    row("mail naming a project", pane, "mailto:a@b.invalid?subject=p.trx", LinkAction::ToShell,
        "mailto:a@b.invalid?subject=p.trx", {}, true);
    row("@ in a local name", pane, wall + "a@b.html", LinkAction::LetThrough, wall + "a@b.html",
        wall + "a@b.html");
    row("maker's site", pane, maker + "/news.html", LinkAction::ToShell, maker + "/news.html", {},
        true);
    row("maker's /logo1 stays", pane, maker + "/logo1/i.html", LinkAction::LetThrough,
        maker + "/logo1/i.html", maker + "/logo1/i.html");
    row("partner", pane, "http://" + LinkDomains::outside + "/", LinkAction::ToShell,
        "http://" + LinkDomains::outside + "/", {}, true);
    row("video", pane, "https://www.youtube.com/watch?v=1", LinkAction::ToShell,
        "https://www.youtube.com/watch?v=1", {}, true);
    row("short video", pane, "https://youtu.be/1", LinkAction::ToShell, "https://youtu.be/1", {},
        true);
    row("video sub-domain", pane, "https://m.youtube.com/x", LinkAction::ToShell,
        "https://m.youtube.com/x", {}, true);
    // A hand-off domain counts only as the host of a web address.
    row("video in an smb path", pane, "smb://host/share/youtube.com/x", LinkAction::Beep);
    row("short video in an ftp path", pane, "ftp://h.invalid/youtu.be/p", LinkAction::Beep);
    row("short video as an ssh user", pane, "ssh://youtu.be@host/", LinkAction::Beep);
    row("video in a script", pane, "javascript:location='https://youtube.com/'", LinkAction::Beep);
    row("video in the query", pane, "http://127.0.0.1/page?x=youtube.com", LinkAction::LetThrough,
        "http://127.0.0.1/page?x=youtube.com", "http://127.0.0.1/page?x=youtube.com");
    row("host ending like the maker's", pane, "https://not" + LinkDomains::maker + "/",
        LinkAction::LetThrough, "https://not" + LinkDomains::maker + "/",
        "https://not" + LinkDomains::maker + "/");
    row("desktop file named like the video", pane, "file://" + wall + "youtube.com.desktop",
        LinkAction::LetThrough, "file://" + wall + "youtube.com.desktop",
        "file://" + wall + "youtube.com.desktop");
    row("data: project is no fetch", pane, "data:text/plain,FD/p.trx", LinkAction::LetThrough,
        "data:text/plain,FD/p.trx", "data:text/plain,FD/p.trx");
    row("other scheme", pane, "smb://server/share/doc.html", LinkAction::Beep);
    row("missing page with anchor", pane, wall + "missing.html#part", LinkAction::Beep);
    row("page with anchor", pane, wall + "page.html#part", LinkAction::LetThrough,
        wall + "page.html#part", wall + "page.html#part");
    row("page with plus", pane, wall + "page.html+2", LinkAction::LetThrough, wall + "page.html+2",
        wall + "page.html+2");
    row("folder", pane, wall + "sub", LinkAction::ToShell, wall + "sub");
    row("folder as a file URL", pane, "file://" + wall + "sub", LinkAction::ToShell, wall + "sub");
    // Only a folder goes to the desktop: a file without an extension may be
    // a program.
    row("program without an extension", pane, wall + "tool", LinkAction::Beep);
    row("missing folder", pane, wall + "nowhere", LinkAction::Beep);
    row("local project", pane, wall + "proj.trx", LinkAction::LocalProject, wall + "proj.trx");
    row("TRX in capitals", pane, wall + "PROJ.TRX", LinkAction::LetThrough, wall + "PROJ.TRX",
        wall + "PROJ.TRX");
    row("web project", pane, web, LinkAction::WebProject, web, web);
    row("web project over another scheme", pane, "ftp://h.invalid/p.trx", LinkAction::Beep);
    row("about:blank keeps the line", pane, "about:blank", LinkAction::LetThrough, "about:blank");
    row("background page keeps the line", pane, wall + "_background_.html", LinkAction::LetThrough,
        wall + "_background_.html");
    row("help: no wall sound", help, "/elsewhere/x.wav", LinkAction::Beep);
    row("help: sound anywhere", help, data + "sounds/h.wav", LinkAction::PlaySound,
        data + "sounds/h.wav");
    row("help: WAV in capitals is a page", help, data + "sounds/H.WAV", LinkAction::LetThrough,
        data + "sounds/H.WAV", data + "sounds/H.WAV");
    row("help: mail", help, "mailto:a@b.invalid", LinkAction::ToShell, "mailto:a@b.invalid", {},
        true);
    row("help: local project", help, wall + "proj.trx", LinkAction::LocalProject,
        wall + "proj.trx");
    row("help: folder", help, "file://" + wall + "sub", LinkAction::ToShell, wall + "sub");
    row("help: program without an extension", help, "file://" + wall + "tool", LinkAction::Beep);
    row("help: video", help, "https://youtu.be/1", LinkAction::ToShell, "https://youtu.be/1", {},
        true);
    row("help: video in an smb path", help, "smb://host/youtube.com/x", LinkAction::Beep);
    row("help: blank page", help, "http://h.invalid/blank.htm", LinkAction::LetThrough,
        "http://h.invalid/blank.htm");
}

void TestLinkInterception::decisions() {
    QFETCH(LinkBrowser, browser);
    QFETCH(QString, U);
    QFETCH(LinkAction, action);
    QFETCH(QString, path);
    QFETCH(QString, shown);
    QFETCH(bool, beforeLogo);
    const LinkDecision d = decideLink(U, {wall, data}, browser);
    QCOMPARE(d.action, action);
    if (action != LinkAction::Beep)
        QCOMPARE(d.path, path);
    QCOMPARE(d.shown, shown);
    QCOMPARE(d.foldersToMake, beforeLogo ? QStringList() : QStringList{logo});
    if (action == LinkAction::WebProject || action == LinkAction::LocalProject)
        QCOMPARE(d.target, logo + QFileInfo(path).fileName());
    QVERIFY(d.extras.isEmpty());
}

void TestLinkInterception::extras_data() {
    QTest::addColumn<QString>("U");
    QTest::addColumn<QStringList>("folders"); // below the LOGO folder
    QTest::addColumn<QStringList>("fetches"); // "name > destination below LOGO"
    const QString p = "http://h.invalid/dir/p.trx";
    QStringList letters;
    for (char c = 'A'; c <= 'Z'; ++c)
        letters << QString("%1.wav > snd/%1.wav").arg(c);
    QTest::newRow("26 into snd") << p + "&&&A-Z.wav###snd" << QStringList{"snd/"} << letters;
    QTest::newRow("dots: the LOGO folder itself")
        << p + "&&&..title.wav&&&b.wav###snd" << QStringList{"snd/"}
        << QStringList{"title.wav > title.wav", "b.wav > snd/b.wav"};
    QTest::newRow("no sub-folder") << p + "&&&b.wav&&&&&&img/c.png" << QStringList{}
                                   << QStringList{"b.wav > b.wav", "img/c.png > img/c.png"};
    QTest::newRow("fragment after the sub-folder")
        << p + "&&&b.wav###snd#top" << QStringList{"snd/"} << QStringList{"b.wav > snd/b.wav"};
    QTest::newRow("only a fragment")
        << p + "&&&b.wav####" << QStringList{} << QStringList{"b.wav > b.wav"};
    QTest::newRow("blank in the sub-folder")
        << p + "&&&b%20c.wav###my%20snd" << QStringList{"my snd/"}
        << QStringList{"b%20c.wav > my snd/b c.wav"};
    QTest::newRow("names leaving the folder, or only the sub-folder")
        << p + "&&&../../evil.wav&&&....//x.wav&&&a/../../y.wav&&&C:z.wav&&&ok.wav###s"
        << QStringList{"s/"} << QStringList{"a/../../y.wav > y.wav", "ok.wav > s/ok.wav"};
    for (const char* bad : {"../x", "/x", "\\x", "a/../../x", "C:", "C:\\x"})
        QTest::addRow("sub-folder %s", bad)
            << p + "&&&b.wav&&&..t.wav###" + bad << QStringList{} << QStringList{"t.wav > t.wav"};
    QTest::newRow("absolute names") << p + "&&&/x/y.wav&&&\\x\\z.wav&&&..//x/w.wav&&&ok.wav"
                                    << QStringList{} << QStringList{"ok.wav > ok.wav"};
    // Only web links fetch: these would copy local files.
    QTest::newRow("about: takes none")
        << "about:blank&&&\\home\\u\\secret.txt###snd" << QStringList{} << QStringList{};
    QTest::newRow("data: takes none")
        << "data:text/html,x/p.trx&&&b.wav###snd" << QStringList{} << QStringList{};
    QTest::newRow("a page takes none")
        << "http://h.invalid/dir/page.html&&&b.wav###snd" << QStringList{} << QStringList{};
    QTest::newRow("local links take none")
        << wall + "proj.trx&&&b.wav###snd" << QStringList{} << QStringList{};
}

void TestLinkInterception::extras() {
    QFETCH(QString, U);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, fetches);
    const LinkDecision d = decideLink(U, {wall, data}, LinkBrowser::WallPane);
    QStringList madeBelow;
    for (const QString& f : d.foldersToMake.mid(1))
        madeBelow << f.mid(logo.size());
    QCOMPARE(d.foldersToMake.value(0), logo);
    QCOMPARE(madeBelow, folders);
    QStringList got;
    for (const LinkFetch& f : d.extras) {
        QVERIFY(f.source.startsWith("http://h.invalid/dir/"));
        QVERIFY(f.destination.startsWith(logo));
        got << f.source.mid(21) + " > " + f.destination.mid(logo.size());
    }
    QCOMPARE(got, fetches);
}

QTEST_MAIN(TestLinkInterception)
#include "tst_linkinterception.moc"
