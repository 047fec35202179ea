#include "app/filewindow.h"
#include "app/logostarter.h"
#include "app/mediaplayerbar.h"
#include "dialogs/settingsdialog.h"
#include "dialogs/startoverdialog.h"
#include "model/wallgeometry.h"
#include "platform/beep.h"
#include "storage/wallfiles.h"
#include "support/httpserver.h"
#include "support/shellrecorder.h"
#include "support/windowfixture.h"
#include "web/helpbrowserwindow.h"
#include "web/webpane.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPrinter>
#include <QSignalSpy>
#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

namespace {

// What the browser engine does on a busy machine comes back within this.
constexpr int kEngineMs = 20000;

// A page of links, each a large block at a known place.
QByteArray linkPage(const QStringList& hrefs) {
    QByteArray html = "<html><body style='margin:0'>";
    for (int i = 0; i < hrefs.size(); ++i)
        html += QStringLiteral("<a href=\"%1\" style=\"position:absolute;left:0;top:%2px;"
                               "width:300px;height:40px;display:block;background:#ccc\">%3</a>")
                    .arg(hrefs[i])
                    .arg(i * 50)
                    .arg(i)
                    .toUtf8();
    return html + "</body></html>";
}

void clickLink(QWebEngineView* view, int i) {
    QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(50, i * 50 + 20));
}

bool loaded(QWebEngineView* view, const QString& file) {
    return view->url().toLocalFile().endsWith(file);
}

// The pages a view finished loading. A test moves on once a page is there,
// as a user would, not when the address changed: the engine may drop a
// navigation asked for while the page before it is still coming in.
class Loads {
public:
    explicit Loads(QWebEngineView* view) {
        QObject::connect(view->page(), &QWebEnginePage::loadingChanged, view,
                         [last = last_](const QWebEngineLoadingInfo& info) {
                             if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
                                 *last = info.url();
                         });
    }
    bool finished(const QString& file) const { return last_->toLocalFile().endsWith(file); }

private:
    std::shared_ptr<QUrl> last_ = std::make_shared<QUrl>();
};

// A wall whose web window shows `page`, 1500 across and 600 wide with ribbon.
WindowWall& withPane(WindowWall& wall, const QString& page) {
    UrlRecord r{page, QStringLiteral("20260101-000000"), 1500, 40, 600, 800, 1};
    writeUrlFile(wall.data + "html.ini", r);
    return wall;
}

} // namespace

class TestWebPane : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }
private slots:
    void noPaneNoEngine();
    void linksOfThePane();
    void projectRedirectingToItself();
    void helpBrowser();
    void settingsSaveAndCancel();
};

void TestWebPane::noPaneNoEngine() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    QVERIFY(!w.webPane().isVisible());
    QVERIFY(!w.webPane().view()); // no browser engine for a wall without a page
    QVERIFY(!QFileInfo::exists(wall.data + "LOGO"));
}

void TestWebPane::linksOfThePane() {
    WindowWall wall({});
    QDir().mkpath(wall.data + "folder");
    QDir().mkpath(wall.dir.filePath("lessons"));
    writeFileBytes(wall.data + "x.wav", QByteArray(64, '\0'));
    writeFileBytes(wall.dir.filePath("lessons/p.trx"), "FD 10\n");
    writeFileBytes(wall.dir.filePath("lessons/p.wav"), "sound");
    writeFileBytes(wall.dir.filePath("lessons/p.mid"), "midi");
    writeFileBytes(wall.data + "next.html", "<html><body>next</body></html>");
    writeFileBytes(
        wall.data + "start.html",
        linkPage({wall.data + "x.wav", "mailto:teacher@example.com", "smb://server/share",
                  wall.dir.filePath("lessons/p.trx"), wall.data + "next.html"}));
    // The LOGO environment of this test writes down what it was started on.
    const QString turx = wall.dir.filePath("[Zavik]/TURX/turx");
    QDir().mkpath(QFileInfo(turx).path());
    const QString started = wall.dir.filePath("started.txt");
    writeFileBytes(turx, QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\n").arg(started).toUtf8());
    QFile::setPermissions(turx, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ShellRecorder shell({"mailto", "smb"});

    withPane(wall, "start.html");
    WallWindow& w = wall.open();
    w.logo->delayMs = 10;
    WebPane& pane = w.webPane();
    QVERIFY(pane.isVisible() && pane.Panel3->isVisible());
    // 1500 + 600 passes 1920 − 60: the pane keeps to the wall, 360 wide.
    QCOMPARE(pane.geometry(),
             webWindowRect(w.document().settings, w.document().NOWX, w.document().NOWY));
    QCOMPARE(w.document().settings.web.width, 360);
    QCOMPARE(pane.Panel3->geometry().top(), pane.geometry().bottom() + 1);
    QWebEngineView* view = pane.view();
    QTRY_VERIFY_WITH_TIMEOUT(loaded(view, "start.html"), kEngineMs);
    QTRY_VERIFY_WITH_TIMEOUT(view->focusProxy(), kEngineMs);
    // Clicks reach the links once the page is on the screen.
    QTRY_COMPARE_WITH_TIMEOUT(view->grab().toImage().pixelColor(50, 20), QColor(0xcc, 0xcc, 0xcc),
                              kEngineMs);

    // A sound of the wall folder plays on the wall; the page stays.
    clickLink(view, 0);
    QTRY_COMPARE_WITH_TIMEOUT(w.MediaPlayer1->fileName(), wall.data + "x.wav", kEngineMs);
    QVERIFY(loaded(view, "start.html"));
    // Mail goes to the desktop; a share of another scheme goes nowhere.
    const int beeps = beepCount();
    clickLink(view, 1);
    clickLink(view, 2);
    QTRY_COMPARE_WITH_TIMEOUT(shell.opened.size(), 1, kEngineMs);
    QCOMPARE(shell.opened.first().scheme(), QStringLiteral("mailto"));
    QTRY_VERIFY_WITH_TIMEOUT(beepCount() > beeps, kEngineMs);
    // A local project is copied with its sounds and started on the copy.
    clickLink(view, 3);
    const QString logo = wall.data + "LOGO/";
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(started), kEngineMs);
    QCOMPARE(readFileBytes(started).trimmed(), (logo + "p.trx").toUtf8());
    QVERIFY(QFileInfo::exists(logo + "p.wav") && QFileInfo::exists(logo + "p.mid"));
    QVERIFY(loaded(view, "start.html"));

    // Back and forward follow the history.
    const Loads loads(view);
    clickLink(view, 4);
    QTRY_VERIFY_WITH_TIMEOUT(loads.finished("next.html"), kEngineMs);
    QTRY_VERIFY_WITH_TIMEOUT(pane.SpeedButton13->isEnabled(), kEngineMs);
    QCOMPARE(pane.Edit2->text(), wall.data + "next.html");
    pane.SpeedButton13->click();
    QTRY_VERIFY_WITH_TIMEOUT(loads.finished("start.html"), kEngineMs);
    QTRY_VERIFY_WITH_TIMEOUT(pane.SpeedButton15->isEnabled(), kEngineMs);
    pane.SpeedButton15->click();
    QTRY_VERIFY_WITH_TIMEOUT(loads.finished("next.html"), kEngineMs);
}

void TestWebPane::projectRedirectingToItself() {
    HttpServer server;
    WindowWall wall({});
    writeFileBytes(wall.data + "start.html", "<html><body>start</body></html>");
    withPane(wall, "start.html");
    WallWindow& w = wall.open();
    QWebEngineView* view = w.webPane().view();
    QTRY_VERIFY_WITH_TIMEOUT(loaded(view, "start.html"), 10000);
    // Fetched once; then the browser follows the redirects on its own until
    // it gives up, and nothing fetches the link again.
    view->load(QUrl(server.url("/loop/p.trx")));
    QTRY_VERIFY_WITH_TIMEOUT(server.browserRequests >= 3, 20000);
    QVERIFY(server.fetcherRequests <= 11);
    QVERIFY(!QFileInfo::exists(wall.data + "LOGO/p.trx"));
}

void TestWebPane::helpBrowser() {
    WindowWall wall({});
    const QString help = wall.dir.filePath("[Zavik]/TURX/HELP/TRVOC/INDEX.HTM");
    QDir().mkpath(QFileInfo(help).path());
    writeFileBytes(help, "<html><body>FD</body></html>");
    writeFileBytes(wall.data + "p.html", "<html><body>page</body></html>");
    WallWindow& w = wall.open();
    HelpBrowserWindow* b = w.TForm23;
    w.resize(1366, 768);
    b->showPage(wall.data + "p.html");
    QCOMPARE(b->size(), QSize(833, 763));
    QCOMPARE(b->x(), 455);
    QCOMPARE(b->page(), wall.data + "p.html");
    const Loads loads(b->view());
    QTRY_VERIFY_WITH_TIMEOUT(loads.finished("p.html"), kEngineMs);
    b->SpeedButton5->click();
    QTRY_VERIFY_WITH_TIMEOUT(loads.finished("INDEX.HTM"), kEngineMs);
    QTRY_COMPARE_WITH_TIMEOUT(b->windowTitle(), help, kEngineMs);
    b->SpeedButton1->click();
    QTRY_VERIFY_WITH_TIMEOUT(loads.finished("p.html"), kEngineMs);

    // Printed to a file: the engine lays the page out on the printer.
    const QString pdf = wall.dir.filePath("page.pdf");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QSignalSpy done(b->view(), &QWebEngineView::printFinished);
    b->view()->print(&printer);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kEngineMs);
    QVERIFY(done.at(0).at(0).toBool());
    QVERIFY(QFileInfo(pdf).size() > 0);
    b->close();
}

void TestWebPane::settingsSaveAndCancel() {
    WindowWall wall({{"a.txt", textCard("a")}});
    writeFileBytes(wall.data + "p.html", "<html><body>page</body></html>");
    WallWindow& w = wall.open();
    SettingsDialog* d = w.findChild<SettingsDialog*>();
    QToolButton* settingsButton = w.findChild<QToolButton*>("SpeedButton6");
    QVERIFY(d && settingsButton->isEnabled());

    // Cancel writes nothing.
    QTimer::singleShot(0, d, [d] {
        d->findChild<QLineEdit*>("Edit2")->setText("p.html");
        d->findChild<QToolButton*>("SpeedButton8")->click();
    });
    settingsButton->click();
    QVERIFY(!QFileInfo::exists(wall.data + "html.ini"));
    QVERIFY(!QFileInfo::exists(wall.data + "wall.ini"));

    // Saving writes the settings files and shows both windows.
    QTimer::singleShot(0, d, [d] {
        d->findChild<QLineEdit*>("Edit2")->setText("p.html");
        d->findChild<QToolButton*>("SpeedButton30")->click(); // with a ribbon
        d->findChild<QToolButton*>("withRibbonRight")->click();
        d->findChild<QToolButton*>("SpeedButton16")->click(); // PDF files
        d->findChild<QToolButton*>("SpeedButton9")->click();
    });
    settingsButton->click();
    const auto web = readUrlFile(wall.data + "html.ini");
    QVERIFY(web);
    QCOMPARE(web->page, QStringLiteral("p.html"));
    QCOMPARE(QList<int>({web->X, web->Y, web->width, web->height, web->ribbon}),
             QList<int>({680, 40, 1180, 1000, 1})); // read back clear of the tools
    QCOMPARE(readMaskFile(wall.data + "dir.ini")->mask, QStringLiteral("*.pdf"));
    QVERIFY(!QFileInfo::exists(wall.data + "wall.ini")); // no picture, no background record
    QTRY_VERIFY_WITH_TIMEOUT(w.webPane().isVisible() && w.webPane().Panel3->isVisible(), kEngineMs);
    QVERIFY(w.findChild<FileWindow*>()->isVisible());
    QCOMPARE(w.board().count(), 1);
}

QTEST_MAIN(TestWebPane)
#include "tst_webpane.moc"
