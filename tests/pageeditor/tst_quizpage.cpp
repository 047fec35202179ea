// A quiz page the editor wrote, run by a real browser engine: the page's own
// script judges the answers, shows them and resets the form.
#include "pageeditor/pagedocument.h"
#include "pageeditor/pagefile.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QtTest>

namespace {

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
    if (!QTest::qWaitFor([&] { return done; }, 10000))
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
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
    QVERIFY2(loaded.at(0).at(0).toBool(), "the page written by the editor did not load");
    QCOMPARE(run(page, "kazu").toInt(), 2);
    // A group inside a tag stays as written: the link is whole.
    QVERIFY(run(page, "document.links[0].href").toString().endsWith("/wiki/Mercury_(planet)"));

    // Two wrong answers: the count, and exactly those two emptied.
    run(page, "document.myForm.elements[0].value='大阪';"
              "document.myForm.elements[1].value='利根川'; 1");
    press(page, "決定");
    QTRY_COMPARE(page.alerts, QStringList{"2 ちがいます。"});
    QCOMPARE(values(page), (QStringList{"", ""}));

    // One wrong: only that one emptied.
    run(page, "document.myForm.elements[0].value='Tokyo';"
              "document.myForm.elements[1].value='石狩川'; 1");
    press(page, "決定");
    QTRY_COMPARE(page.alerts.size(), 2);
    QCOMPARE(page.alerts.last(), QStringLiteral("1 ちがいます。"));
    QCOMPARE(values(page), (QStringList{"Tokyo", ""}));

    // All right: praise, and back to the top.
    run(page, "document.myForm.elements[1].value='信濃川'; 1");
    press(page, "決定");
    QTRY_COMPARE(page.alerts.size(), 3);
    QCOMPARE(page.alerts.last(), QStringLiteral("正解です。"));
    QTRY_COMPARE(page.url().fragment(), QStringLiteral("top"));

    // The answers shown, at the answer section.
    press(page, "解答を見る");
    QTRY_COMPARE(values(page), (QStringList{"東京/Tokyo", "信濃川"}));
    QTRY_COMPARE(page.url().fragment(QUrl::FullyDecoded), QStringLiteral("【解答】"));

    // "取消" clears the form.
    run(page,
        "document.getElementsByName('決定')[0].form.querySelector('[type=reset]').click(); 1");
    QTRY_COMPARE(values(page), (QStringList{"", "?"}));
    QCOMPARE(page.alerts.size(), 3);
}

QTEST_MAIN(TestQuizPage)
#include "tst_quizpage.moc"
