#include "pageeditor/pagestyles.h"
#include "pageeditor/webtext.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

const QString B = QStringLiteral("<!--beginWebTXT//-->");
const QString E = QStringLiteral("<!--endWebTXT//-->");

// The page with every web-text block taken out, found without the reader.
QString withoutBlocks(QString page) {
    static const QRegularExpression block(
        QStringLiteral("<!--beginWebTXT//-->.*?<!--endWebTXT//-->"),
        QRegularExpression::DotMatchesEverythingOption);
    return page.remove(block);
}

QString body(const QString& text) {
    return QStringLiteral("<BODY>") + text + QStringLiteral("</BODY>");
}

} // namespace

class TestWebText : public QObject {
    Q_OBJECT
private slots:
    void groups_data();
    void groups();
    void wholeQuizPages_data();
    void wholeQuizPages();
    void reading_data();
    void reading();
    void writtenAndReadBack_data();
    void writtenAndReadBack();
    void styles_data();
    void styles();
};

void TestWebText::groups_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expanded"); // outside the web-text blocks
    QTest::addColumn<int>("blanks");
    QTest::newRow("text box") << QStringLiteral("(Tokyo)")
                              << QStringLiteral("<input type=\"text\" name=\"Tokyo\" size=\"8\">")
                              << 1;
    QTest::newRow("two answers") << QStringLiteral("(Tokyo/東京)")
                                 << QStringLiteral(
                                        "<input type=\"text\" name=\"Tokyo/東京\" size=\"11\">")
                                 << 1;
    QTest::newRow("list") << QStringLiteral("(Tokyo|Osaka/Tokyo)")
                          << QStringLiteral("<SELECT name=\"Tokyo\"><OPTION value=\"?\">?</OPTION>"
                                            "<OPTION value=\"Osaka\">Osaka</OPTION>"
                                            "<OPTION value=\"Tokyo\">Tokyo</OPTION></SELECT>")
                          << 1;
    QTest::newRow("full stop") << QStringLiteral("(see page 3).") << QStringLiteral("(see page 3).")
                               << 0;
    QTest::newRow("Japanese full stop")
        << QStringLiteral("(see page 3)。")
        << QStringLiteral("<input type=\"text\" name=\"see page 3\" size=\"13\">。") << 1;
    QTest::newRow("bar without slash") << QStringLiteral("(x|y)") << QStringLiteral("(x|y)") << 0;
    QTest::newRow("quote") << QStringLiteral("(say \"a\")") << QStringLiteral("(say \"a\")") << 0;
    QTest::newRow("markup") << QStringLiteral("(<b>a</b>)") << QStringLiteral("(<b>a</b>)") << 0;
    QTest::newRow("no closing parenthesis")
        << QStringLiteral("(a 【b (c") << QStringLiteral("(a 【b (c") << 0;
    const QString mercury = QStringLiteral(
        "<A href=\"https://ja.wikipedia.org/wiki/Mercury_(planet)\">水星</A>は(Mercury)");
    QTest::newRow("group in a tag")
        << mercury
        << QStringLiteral("<A href=\"https://ja.wikipedia.org/wiki/Mercury_(planet)\">水星</A>は"
                          "<input type=\"text\" name=\"Mercury\" size=\"10\">")
        << 1;
    QTest::newRow("less-than sign in text")
        << QStringLiteral("3 < 5 (8)")
        << QStringLiteral("3 < 5 <input type=\"text\" name=\"8\" size=\"4\">") << 1;
}

void TestWebText::groups() {
    QFETCH(QString, text);
    QFETCH(QString, expanded);
    QFETCH(int, blanks);
    const QString page = WebTXTadd(body(text));
    QCOMPARE(withoutBlocks(page), body(expanded));
    if (blanks > 0)
        QVERIFY(page.contains(QStringLiteral("var kazu=%1;//問題数").arg(blanks)));
    else
        QVERIFY(page.contains(JAVA4));
}

void TestWebText::wholeQuizPages_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("expanded");
    const QString head = QStringLiteral("<HEAD></HEAD><BODY bgcolor=\"#ddf9ec\">");
    const QString form = QStringLiteral("\r<FORM name=\"myForm\">\r");
    const QString end = QStringLiteral("</BODY>\r\n</HTML>");
    const QString box = QStringLiteral("<input type=\"text\" name=\"Tokyo\" size=\"8\">");
    const QString quizHead =
        head + B + form + JAVA1 + QStringLiteral("var kazu=1;//問題数\r") + JAVA2 + QChar('\r') + E;
    const QString lines50 = BAI(QStringLiteral("<BR>"), 50);
    auto anchor = [&](const QString& label, const QString& name) {
        return B + lines50 + E + label + B + QStringLiteral("<A name=\"") + name +
               QStringLiteral("\" href=\"#top\">  戻る▲</A><A>") + E;
    };
    QTest::newRow("no blank") << head + QStringLiteral("(x|y) 【解答】") + end
                              << head + B + form + JAVA4 + QChar('\r') + E +
                                     QStringLiteral("(x|y) 【解答】") + end;
    QTest::newRow("blank without labels")
        << head + QStringLiteral("首都は(Tokyo)") + end
        << quizHead + QStringLiteral("首都は") + box + B + QStringLiteral("\r<BR>\r") + JAVA3 +
               QStringLiteral("\r\n") + lines50 + QStringLiteral("</FORM>\r") + E + end;
    QTest::newRow("labels before and after the last blank")
        << head +
               QStringLiteral(
                   "【ヒント】首都は(Tokyo) <a href=\"#【解答】\">答え</a> 【解答】Tokyo "
                   "【ヒント】東の京") +
               end
        << quizHead + QStringLiteral("【ヒント】首都は") + box +
               QStringLiteral(" <a href=\"#【解答】\">答え</a> ") + B + QChar('\r') + JAVA3 +
               QChar('\r') + E + anchor(QStringLiteral("【解答】"), QStringLiteral("【解答】")) +
               QStringLiteral("Tokyo ") +
               anchor(QStringLiteral("【ヒント】"), QStringLiteral("【ヒント】")) +
               QStringLiteral("東の京") + B + QChar('\r') + lines50 +
               QStringLiteral("\r</FORM>\r") + E + end;
    QTest::newRow("label with quotes")
        << head + QStringLiteral("(Tokyo)【\"答\"】") + end
        << quizHead + box + B + QChar('\r') + JAVA3 + QChar('\r') + E +
               anchor(QStringLiteral("【\"答\"】"), QStringLiteral("【&quot;答&quot;】")) + B +
               QChar('\r') + lines50 + QStringLiteral("\r</FORM>\r") + E + end;
}

void TestWebText::wholeQuizPages() {
    QFETCH(QString, page);
    QFETCH(QString, expanded);
    QCOMPARE(WebTXTadd(page), expanded);
    QCOMPARE(TAGcut(expanded, 2), page);
}

void TestWebText::reading_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("read");
    const QString block = B + QStringLiteral("<SCRIPT>x</SCRIPT>") + E;
    QTest::newRow("text box with two answers")
        << block + QStringLiteral("<input type=\"text\" name=\"a/b\" size=\"6\">")
        << QStringLiteral("(a/b)");
    QTest::newRow("list") << block +
                                 QStringLiteral(
                                     "<SELECT name=\"c2\"><OPTION value=\"?\">?</OPTION><OPTION "
                                     "value=\"c1\">c1</OPTION><OPTION value=\"c2\">c2</OPTION>"
                                     "<OPTION value=\"c3\">c3</OPTION></SELECT>")
                          << QStringLiteral("(c2|c1/c2/c3)");
    QTest::newRow("capitals") << block + QStringLiteral("<INPUT TYPE=\"text\" NAME=\"x\">")
                              << QStringLiteral("(x)");
    QTest::newRow("input without name")
        << block + QStringLiteral("<INPUT type=\"reset\" value=\"取消\">")
        << QStringLiteral("<INPUT type=\"reset\" value=\"取消\">");
    QTest::newRow("no web-text block")
        << QStringLiteral("<input name=\"x\">") << QStringLiteral("<input name=\"x\">");
    QTest::newRow("block never closed")
        << QStringLiteral("a") + B + QStringLiteral("b") + block + QStringLiteral("c")
        << QStringLiteral("a") + B + QStringLiteral("bc");
}

void TestWebText::reading() {
    QFETCH(QString, page);
    QFETCH(QString, read);
    QCOMPARE(TAGcut(page, 2), read);
}

void TestWebText::writtenAndReadBack_data() {
    QTest::addColumn<QString>("page");
    QTest::newRow("quiz") << body(QStringLiteral(
        "(a|b/c/) (x/y)。 () ((z)) (p|/q) 【解答】 (Tokyo|?/Tokyo)\r\n【解答】a【ヒント】"));
    QTest::newRow("lower-case body")
        << QStringLiteral("<body>(1) <img src=\"a(2).png\"> 【b】</body>");
    QTest::newRow("no body") << QStringLiteral("(1) and (2)");
}

void TestWebText::writtenAndReadBack() {
    QFETCH(QString, page);
    QCOMPARE(TAGcut(WebTXTadd(page), 2), page);
}

void TestWebText::styles_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("bodyColour");
    QTest::addColumn<QString>("lines"); // the kind's own lines
    QTest::newRow("ノート") << 1 << QStringLiteral(">")
                            << QStringLiteral("font-size :11mm;\r\nborder-style : none none none "
                                              "none;\r\npadding-top");
    QTest::newRow("プレゼン") << 2 << QStringLiteral(">")
                              << QStringLiteral("font-size :12mm;border-style : none none inset "
                                                "none;\r\nborder-bottom-color :  #1faf9a;");
    QTest::newRow("アイテム")
        << 3 << QStringLiteral(" bgcolor=\"#ddf9ec\">")
        << QStringLiteral("border-style : double double double double;\r\nborder-color :navy navy "
                          "navy navy;\r\npadding-top");
    QTest::newRow("表紙")
        << 4 << QStringLiteral(" bgcolor=\"#d9def9\">")
        << QStringLiteral("background-color : #8c8cff;\r\nfont-size :16mm;\r\nborder-style : "
                          "outset outset outset outset;\r\nborder-color : white white white "
                          "white;\r\n");
}

void TestWebText::styles() {
    QFETCH(int, kind);
    QFETCH(QString, bodyColour);
    QFETCH(QString, lines);
    QString colour = QStringLiteral("unchanged");
    const QString block = Style(kind, &colour);
    QCOMPARE(colour, bodyColour);
    QVERIFY(block.startsWith(QStringLiteral("<!--STYLE_IN%1-->\r\n").arg(kind)));
    QVERIFY(block.endsWith(QLatin1String("-->\r\n</STYLE></HEAD>\r\n<!--STYLE_OUT-->")));
    QVERIFY2(block.contains(lines), qPrintable(block));
    QCOMPARE(block.count(QLatin1String("\r\n")), kind >= 3 ? 39 : 38);

    QVERIFY(Style(0, &colour).isEmpty());
    QCOMPARE(colour, bodyColour);
}

QTEST_GUILESS_MAIN(TestWebText)
#include "tst_webtext.moc"
