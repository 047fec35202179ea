// A quiz page the editor wrote, run by a real browser engine: the page's own
// script judges the answers, shows them and resets the form.
#include "pageeditor/pagedocument.h"
#include "pageeditor/pagefile.h"
#include "pageeditor/pagepictures.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QtTest>

namespace {

// What the browser engine does on a busy machine comes back within this.
constexpr int kEngineMs = 20000;

// A page that keeps the alerts its script shows.
class QuizPage : public QWebEnginePage {
public:
    QStringList alerts;

protected:
    void javaScriptAlert(const QUrl&, const QString& message) override { alerts << message; }
};

QVariant run(QWebEnginePage& page, const QString& script) {
    QVariant result;
    bool done = false;
    page.runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, kEngineMs))
        return QStringLiteral("<no answer>");
    return result;
}

// The values of the quiz's blanks, in order.
QStringList values(QWebEnginePage& page) {
    return run(page, "Array.from(document.myForm.elements).slice(0, kazu)"
                     ".map(e => e.value).join('|')")
        .toString()
        .split(QLatin1Char('|'));
}

void press(QWebEnginePage& page, const char* buttonName) {
    run(page, QStringLiteral("document.getElementsByName('%1')[0].click(); 1")
                  .arg(QString::fromUtf8(buttonName)));
}

} // namespace

class TestQuizPage : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }
private slots:
    void quizChecksItself();
    void designedPagesShowAsMade_data();
    void designedPagesShowAsMade();
};

void TestQuizPage::quizChecksItself() {
    const QString helper =
        QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/QtWebEngineProcess";
    if (!QFileInfo(helper).isExecutable())
        QSKIP("the browser engine's helper process is not installed");

    QTemporaryDir dir;
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), dir.path() + "/");
    doc.fields.title = "地理のクイズ";
    doc.fields.framedText = "日本の首都は(東京/Tokyo)です。\n"
                            "いちばん長い川は(信濃川|利根川/信濃川/石狩川)。\n"
                            "<A href=\"https://ja.wikipedia.org/wiki/Mercury_(planet)\">水星</A>";
    doc.fields.unframedText = "【ヒント】関東にあります。\n【解答】東京、信濃川";
    const QString path = dir.filePath("quiz.htm");
    QVERIFY(writePageFile(path, doc.Edit_SAVE()));

    QuizPage page;
    QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
    page.load(QUrl::fromLocalFile(path));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kEngineMs);
    QVERIFY2(loaded.at(0).at(0).toBool(), "the page written by the editor did not load");
    QCOMPARE(run(page, "kazu").toInt(), 2);
    // A group inside a tag stays as written: the link is whole.
    QVERIFY(run(page, "document.links[0].href").toString().endsWith("/wiki/Mercury_(planet)"));

    // Two wrong answers: the count, and exactly those two emptied.
    run(page, "document.myForm.elements[0].value='大阪';"
              "document.myForm.elements[1].value='利根川'; 1");
    press(page, "決定");
    QTRY_COMPARE_WITH_TIMEOUT(page.alerts, QStringList{"2 ちがいます。"}, kEngineMs);
    QCOMPARE(values(page), (QStringList{"", ""}));

    // One wrong: only that one emptied.
    run(page, "document.myForm.elements[0].value='Tokyo';"
              "document.myForm.elements[1].value='石狩川'; 1");
    press(page, "決定");
    QTRY_COMPARE_WITH_TIMEOUT(page.alerts.size(), 2, kEngineMs);
    QCOMPARE(page.alerts.last(), QStringLiteral("1 ちがいます。"));
    QCOMPARE(values(page), (QStringList{"Tokyo", ""}));

    // All right: praise, and back to the top.
    run(page, "document.myForm.elements[1].value='信濃川'; 1");
    press(page, "決定");
    QTRY_COMPARE_WITH_TIMEOUT(page.alerts.size(), 3, kEngineMs);
    QCOMPARE(page.alerts.last(), QStringLiteral("正解です。"));
    QTRY_COMPARE_WITH_TIMEOUT(page.url().fragment(), QStringLiteral("top"), kEngineMs);

    // The answers shown, at the answer section.
    press(page, "解答を見る");
    QTRY_COMPARE_WITH_TIMEOUT(values(page), (QStringList{"東京/Tokyo", "信濃川"}), kEngineMs);
    QTRY_COMPARE_WITH_TIMEOUT(page.url().fragment(QUrl::FullyDecoded), QStringLiteral("【解答】"),
                              kEngineMs);

    // "取消" clears the form.
    run(page,
        "document.getElementsByName('決定')[0].form.querySelector('[type=reset]').click(); 1");
    QTRY_COMPARE_WITH_TIMEOUT(values(page), (QStringList{"", "?"}), kEngineMs);
    QCOMPARE(page.alerts.size(), 3);
}

void TestQuizPage::designedPagesShowAsMade_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("h1Back");
    QTest::addColumn<QString>("h1Text");
    QTest::addColumn<QString>("bodyBack");
    const QString teal = "rgb(31, 175, 154)";
    const QString white = "rgb(255, 255, 255)";
    const QString none = "rgba(0, 0, 0, 0)";
    QTest::newRow("表紙") << 4 << "rgb(140, 140, 255)" << white << "rgb(217, 222, 249)";
    QTest::newRow("アイテム") << 3 << "rgb(78, 248, 243)"
                              << "rgb(0, 0, 0)"
                              << "rgb(221, 249, 236)";
    QTest::newRow("プレゼン") << 2 << teal << white << none;
    QTest::newRow("ノート") << 1 << teal << white << none;
}

void TestQuizPage::designedPagesShowAsMade() {
    QFETCH(int, kind);
    QFETCH(QString, h1Back);
    QFETCH(QString, h1Text);
    QFETCH(QString, bodyBack);
    const QString helper =
        QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/QtWebEngineProcess";
    if (!QFileInfo(helper).isExecutable())
        QSKIP("the browser engine's helper process is not installed");

    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    for (const char* name : {"pic.png", "_top.png", "_bg.png"}) {
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(folder + name));
    }
    QFile other(folder + "other.htm");
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();

    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), folder);
    PageFields& f = doc.fields;
    f.kind = kind;
    f.bigHeading = "見出し";
    f.framedText = "<ruby>漢字<rt>かんじ</ruby>を読む";
    f.pictureName = "pic.png";
    f.pictureWidth = "200";
    f.pictureHeight = "150";
    f.pictureLoaded = true;
    f.ETAGSRC1 = "<P>";
    f.Edit7 = pictureMarkup("pic.png", 200, 150, Placement::PictureLeft, true);
    f.linkFile = "other.htm";
    doc.pieces.HEDDA = titleHeader(doc.pieces.HEDDA, "_top.png");
    memory.BODYS = backgroundBody("_bg.png");
    const QString path = folder + "page.htm";
    QVERIFY(writePageFile(path, doc.Edit_SAVE()));

    QuizPage page;
    QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
    page.load(QUrl::fromLocalFile(path));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kEngineMs);
    QVERIFY(loaded.at(0).at(0).toBool());
    auto style = [&](const char* selector, const char* property) {
        return run(page, QStringLiteral("getComputedStyle(document.querySelector('%1')).%2")
                             .arg(QLatin1String(selector), QLatin1String(property)))
            .toString();
    };
    QCOMPARE(style("h1", "backgroundColor"), h1Back);
    QCOMPARE(style("h1", "color"), h1Text);
    QCOMPARE(style("body", "backgroundColor"), bodyBack);
    QVERIFY(style("body", "backgroundImage").contains("_bg.png"));
    // Every picture loads; the paragraph's at its written size and place,
    // linked to its file.
    QTRY_COMPARE_WITH_TIMEOUT(run(page, "Array.from(document.images).every(i => i.complete && "
                                        "i.naturalWidth > 0) && document.images.length")
                                  .toInt(),
                              2, kEngineMs);
    QCOMPARE(run(page, "document.querySelector('img[src=\"pic.png\"]').width").toInt(), 200);
    QCOMPARE(run(page, "document.querySelector('img[src=\"pic.png\"]').height").toInt(), 150);
    QCOMPARE(style("img[src=\"pic.png\"]", "cssFloat"), QStringLiteral("left"));
    QCOMPARE(
        run(page, "document.querySelector('img[src=\"pic.png\"]').closest('a').href").toString(),
        QUrl::fromLocalFile(folder + "other.htm").toString());
    // The reading sits above its base.
    const QString placed =
        run(page, "(() => { const r = document.querySelector('ruby');"
                  "const range = document.createRange(); range.selectNodeContents(r.firstChild);"
                  "const base = range.getBoundingClientRect();"
                  "const reading = r.querySelector('rt').getBoundingClientRect();"
                  "return (reading.top + reading.bottom) / 2 < base.top + base.height / 4 "
                  "? 'above' : reading.top + ',' + reading.bottom + ' ' + base.top + ','"
                  " + base.bottom; })()")
            .toString();
    QCOMPARE(placed, QStringLiteral("above"));
}

QTEST_MAIN(TestQuizPage)
#include "tst_quizpage.moc"
