#include "pageeditor/pagedocument.h"
#include "pageeditor/pagefile.h"
#include "pageeditor/webtext.h"

#include "support/cp932.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

Q_DECLARE_METATYPE(PageFields)

namespace {

// A new page saved without input, as it lands on disk after the byte order
// mark, the script of a page without blanks between the two parts.
const char kNewPageStart[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
    "<HTML>\r\n"
    "<HEAD><META NAME=\"WebTXT_TEXT\" >\r\n"
    "<META NAME=\"WebTXT_TEXT\">\r\n"
    "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n"
    "<META http-equiv=\"Content-Style-Type\" content=\"text/css\">\r\n"
    "<TITLE></TITLE><!--STYLE_IN1-->\r\n"
    "<STYLE type=\"text/css\">\r\n"
    "<!--\r\n"
    "H1{\r\n"
    "color : white;\r\n"
    "background-color : #1faf9a;\r\n"
    "font-size :11mm;\r\n"
    "border-style : none none none none;\r\n"
    "padding-top : 10px;\r\n"
    "padding-left : 10px;\r\n"
    "padding-right : 10px;\r\n"
    "padding-bottom : 10px;\r\n"
    "}\r\n"
    "H2{\r\n"
    "font-size :9mm;border-style : none none inset none;\r\n"
    "border-bottom-color :  #1faf9a;\r\n"
    "color :  #1faf9a;\r\n"
    "}\r\n"
    "P{\r\n"
    "color :  black;\r\n"
    "font-size :9mm;\r\n"
    "line-height : 1.3em;\r\n"
    "}\r\n"
    "A{\r\n"
    "color :  black;\r\n"
    "font-size :9mm;\r\n"
    "line-height : 1.3em;\r\n"
    "}\r\n"
    "TABLE{\r\n"
    "color :  black;\r\n"
    "font-size :9mm;\r\n"
    "line-height : 1.3em;\r\n"
    "}\r\n"
    "input, select, textarea {\r\n"
    "font-size: 90%;\r\n"
    "}\r\n"
    "-->\r\n"
    "</STYLE></HEAD>\r\n"
    "<!--STYLE_OUT--><BODY><!--beginWebTXT//-->\r\n"
    "<FORM name=\"myForm\">\r\n";
const char kNewPageEnd[] =
    "\r\n"
    "<!--endWebTXT//--><!--HEDDA_IN-->\r\n"
    "<!--HEDDA_OUT--><!--NOTE_IN--><P></P><P></P><!--NOTE_OUT--><!--FOOTER_IN-->\r\n"
    "<!--FOOTER_OUT--></BODY>\r\n"
    "</HTML>\r\n";

QString newPage() {
    return QString::fromUtf8(kNewPageStart) + JAVA4 + QString::fromUtf8(kNewPageEnd);
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A page holding `note` as the text between the note markers.
QString pageWithNote(const QString& note) {
    return newPage().replace(QLatin1String("<P></P><P></P>"), note);
}

} // namespace

class TestPageDocument : public QObject {
    Q_OBJECT
private slots:
    void init();
    void newPageSavedWithoutInput();
    void fieldsRoundTrip_data();
    void fieldsRoundTrip();
    void titles_data();
    void titles();
    void pictures_data();
    void pictures();
    void pageMemoryOutlivesAPage();
    void handEditedPages_data();
    void handEditedPages();
    void CHIKAN_data();
    void CHIKAN();
    void pageFileProblems_data();
    void pageFileProblems();
    void pageFileLineEnds();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString folder() const { return dir_->path() + QLatin1Char('/'); }
    void addPicture(const QString& name) const {
        QImage picture(30, 20, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(folder() + name, "PNG"));
    }
};

void TestPageDocument::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestPageDocument::newPageSavedWithoutInput() {
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), folder());
    const QString path = folder() + QStringLiteral("新しい.htm");
    QVERIFY(writePageFile(path, doc.Edit_SAVE()));
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF") + newPage().toUtf8());

    // Opened again and saved unchanged, it comes back byte for byte.
    const PageRead read = readPageFile(path);
    QVERIFY(read.problem.isEmpty());
    PageDocument again(memory);
    again.Edit_LOAD(read.text, folder());
    QVERIFY(again.keepsAll(read.text));
    QVERIFY(writePageFile(folder() + QStringLiteral("2.htm"), again.Edit_SAVE()));
    QCOMPARE(readBytes(folder() + QStringLiteral("2.htm")), readBytes(path));
}

void TestPageDocument::fieldsRoundTrip_data() {
    QTest::addColumn<PageFields>("fields");
    QTest::addColumn<QString>("ETAGP1");
    QTest::addColumn<QString>("ETAGHYO1"); // as read back
    QTest::addColumn<QString>("written");  // a piece of the page
    QTest::addColumn<bool>("picture");     // cat.png, 30 x 20, in the folder

    PageFields all;
    all.title = QStringLiteral("水の三態");
    all.bigHeading = QStringLiteral("大見出し");
    all.smallHeading = QStringLiteral("小見出し");
    all.framedText = QStringLiteral("枠の中の<u>文字</u>");
    all.unframedText = QStringLiteral("枠無し\n二行目");
    const QString P = QStringLiteral("<P>");
    QTest::newRow("every text") << all << P << QString() << QStringLiteral("<H1>大見出し</H1>")
                                << false;
    for (int kind = 0; kind <= 4; ++kind) {
        PageFields k = all;
        k.kind = kind;
        const QString body = kind == 4   ? QStringLiteral("<BODY bgcolor=\"#d9def9\">")
                             : kind == 3 ? QStringLiteral("<BODY bgcolor=\"#ddf9ec\">")
                                         : QStringLiteral("<BODY>");
        QTest::addRow("kind %d", kind) << k << P << QString() << body << false;
    }
    PageFields brackets;
    brackets.title = QStringLiteral("a < b > c");
    QTest::newRow("title with brackets")
        << brackets << P << QString() << QStringLiteral("<TITLE>a &lt; b &gt; c</TITLE>") << false;
    PageFields lines;
    lines.bigHeading = QStringLiteral("一行目\n二行目");
    lines.smallHeading = QStringLiteral("a\nb\nc");
    lines.ETAGH1 = QStringLiteral("<H1 align=\"center\">");
    lines.ETAGH2 = QStringLiteral("<H2 align=\"right\">");
    QTest::newRow("multi-line headings")
        << lines << P << QString() << QStringLiteral("<H2 align=\"right\">a<BR>b<BR>c</H2>")
        << false;
    PageFields framed;
    framed.framedText = QStringLiteral("枠\n文字");
    const struct {
        const char *row, *align, *paragraph, *table;
    } alignments[] = {
        {"framed text left", "left", "left",
         "<TABLE border=\"1\" ><TBODY>\r\n<TR>\r\n<TD colspan=\"8\" >枠<BR>文字</TD>"},
        {"framed text centred", "center", "center",
         "<TABLE border=\"1\" align=\"center\"><TBODY>\r\n<TR>\r\n<TD colspan=\"8\" "
         "align=\"center\">"},
        {"text left, frame right", "right", "left",
         "<TABLE border=\"1\" align=\"right\"><TBODY>\r\n<TR>\r\n<TD colspan=\"8\" >"},
    };
    for (const auto& a : alignments) {
        framed.ETAGHYO1 = QStringLiteral("align=\"%1\"").arg(QLatin1String(a.align));
        // A left frame is the table's own; its attribute is not written.
        const bool left = qstrcmp(a.align, "left") == 0;
        QTest::newRow(a.row) << framed
                             << QStringLiteral("<P align=\"%1\">").arg(QLatin1String(a.paragraph))
                             << (left ? QString() : framed.ETAGHYO1) << QString::fromUtf8(a.table)
                             << false;
    }
    PageFields link;
    link.linkFile = link.linkText = QStringLiteral("next.htm");
    QTest::newRow("link alone") << link << P << QString()
                                << QStringLiteral("<P><A href=\"next.htm\">next.htm</A></P>")
                                << false;
    PageFields picture;
    picture.ETAGSRC1 = QStringLiteral("<P align=\"center\">");
    picture.Edit7 = QStringLiteral("<IMG src=\"cat.png\" width=\"60\" height=\"40\" vspace=\"4\" "
                                   "hspace=\"4\" align=\"center\">");
    picture.pictureName = QStringLiteral("cat.png");
    picture.pictureWidth = QStringLiteral("60");
    picture.pictureHeight = QStringLiteral("40");
    picture.pictureLoaded = true;
    QTest::newRow("picture") << picture << P << QString() << picture.ETAGSRC1 + picture.Edit7
                             << true;
    picture.linkFile = QStringLiteral("big.htm");
    QTest::newRow("picture with a link")
        << picture << P << QString()
        << QStringLiteral("<A href=\"big.htm\">") + picture.Edit7 + QStringLiteral("</A></P>")
        << true;
}

void TestPageDocument::fieldsRoundTrip() {
    QFETCH(PageFields, fields);
    QFETCH(QString, ETAGP1);
    QFETCH(QString, ETAGHYO1);
    QFETCH(QString, written);
    QFETCH(bool, picture);
    if (picture)
        addPicture(QStringLiteral("cat.png"));

    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), folder());
    doc.fields = fields;
    memory.ETAGP1 = ETAGP1;
    const QString path = folder() + QStringLiteral("page.htm");
    QVERIFY(writePageFile(path, doc.Edit_SAVE()));
    const QString text = readPageFile(path).text;
    QVERIFY2(text.contains(written), qPrintable(text));

    PageMemory otherRun;
    PageDocument back(otherRun);
    back.Edit_LOAD(text, folder());
    const PageFields& f = back.fields;
    QCOMPARE(f.title, fields.title);
    QCOMPARE(f.bigHeading, fields.bigHeading);
    QCOMPARE(f.smallHeading, fields.smallHeading);
    QCOMPARE(f.framedText, fields.framedText);
    QCOMPARE(f.unframedText, fields.unframedText);
    QCOMPARE(f.linkFile, fields.linkFile);
    QCOMPARE(f.kind, fields.kind);
    QCOMPARE(f.ETAGH1, fields.ETAGH1);
    QCOMPARE(f.ETAGH2, fields.ETAGH2);
    QCOMPARE(f.ETAGHYO1, ETAGHYO1);
    QCOMPARE(otherRun.ETAGP1, ETAGP1);
    QCOMPARE(f.pictureName, fields.pictureName);
    QCOMPARE(f.pictureWidth, fields.pictureWidth);
    QCOMPARE(f.pictureHeight, fields.pictureHeight);
    QCOMPARE(f.pictureLoaded, fields.pictureLoaded);
    QVERIFY(f.missingPicture.isEmpty());

    // Saved unchanged, the page comes back byte for byte.
    QVERIFY(back.keepsAll(text));
    QVERIFY(writePageFile(folder() + QStringLiteral("again.htm"), back.Edit_SAVE()));
    QCOMPARE(readBytes(folder() + QStringLiteral("again.htm")), readBytes(path));
}

void TestPageDocument::titles_data() {
    QTest::addColumn<QString>("element"); // the title element's text in the page
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("bikkuri");
    QTest::newRow("quotes inside")
        << QStringLiteral("Say \"hi\"") << QStringLiteral("Say \"hi\"") << QString();
    QTest::newRow("quoted prefix")
        << QStringLiteral("\"AB\"Title") << QStringLiteral("Title") << QStringLiteral("\"AB\"");
    QTest::newRow("text before the quotes")
        << QStringLiteral("x\"AB\"Title") << QStringLiteral("x\"AB\"Title") << QString();
    QTest::newRow("one quote") << QStringLiteral("\"AB") << QStringLiteral("\"AB") << QString();
    QTest::newRow("escaped brackets")
        << QStringLiteral("&lt;b&gt; x") << QStringLiteral("<b> x") << QString();
}

void TestPageDocument::titles() {
    QFETCH(QString, element);
    QFETCH(QString, title);
    QFETCH(QString, bikkuri);
    const QString page = newPage().replace(QLatin1String("<TITLE></TITLE>"),
                                           QStringLiteral("<TITLE>%1</TITLE>").arg(element));
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(page, folder());
    QCOMPARE(doc.fields.title, title);
    QCOMPARE(doc.pieces.bikkuri, bikkuri);
    QVERIFY(doc.keepsAll(page));
}

void TestPageDocument::pictures_data() {
    QTest::addColumn<QString>("markup");  // the first paragraph's content
    QTest::addColumn<QString>("missing"); // what the window is to name
    QTest::addColumn<QString>("written"); // the paragraph's content when saved
    const QString gone =
        QStringLiteral("<IMG src=\"gone.jpg\" width=\"120\" height=\"90\" align=\"left\">");
    QTest::newRow("picture not in the folder") << gone << QStringLiteral("gone.jpg") << gone;
    const QString lower = QStringLiteral("<IMG src=\"cat.png\" width=\"7\">");
    QTest::newRow("name looked up as written") << lower << QStringLiteral("cat.png") << lower;
    const QString fake = QStringLiteral("<IMG src=\"fake.jpg\">");
    QTest::newRow("no picture") << fake << QStringLiteral("fake.jpg") << fake;
    QTest::newRow("natural size") << QStringLiteral("<IMG src=\"Cat.PNG\">") << QString()
                                  << QStringLiteral(
                                         "<IMG src=\"Cat.PNG\" width=\"30\" height=\"20\">");
    const QString percent = QStringLiteral("<IMG src=\"Cat.PNG\" width=\"50%\" height=\"20\">");
    QTest::newRow("size no whole number") << percent << QString() << percent;
    const QString linked = QStringLiteral("<A href=\"big.htm\"><IMG src=\"Cat.PNG\" width=\"3\" "
                                          "height=\"2\"></A>");
    QTest::newRow("picture in a link") << linked << QString() << linked;
}

void TestPageDocument::pictures() {
    QFETCH(QString, markup);
    QFETCH(QString, missing);
    QFETCH(QString, written);
    addPicture(QStringLiteral("Cat.PNG"));
    QFile fake(folder() + QStringLiteral("fake.jpg"));
    QVERIFY(fake.open(QIODevice::WriteOnly));
    fake.write("no picture");
    fake.close();

    const QString page = pageWithNote(QStringLiteral("<P>%1</P><P></P>").arg(markup));
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(page, folder());
    QCOMPARE(doc.fields.missingPicture, missing);
    QCOMPARE(doc.fields.pictureLoaded, missing.isEmpty());
    QVERIFY(doc.Edit_SAVE().contains(QStringLiteral("<P>%1</P>").arg(written)));
    QCOMPARE(doc.keepsAll(page), markup == written);
}

void TestPageDocument::pageMemoryOutlivesAPage() {
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(pageWithNote(QStringLiteral("<P></P><P align=\"center\">x</P>"))
                      .replace(QLatin1String("<BODY>"),
                               QLatin1String("<BODY background=\"_b.jpg\" bgcolor=\"#d9def9\">")),
                  folder());
    PageDocument next(memory);
    const QString fresh = next.templateSource();
    QVERIFY(fresh.contains(QLatin1String("<BODY background=\"_b.jpg\" bgcolor=\"#d9def9\">")));
    next.Edit_LOAD(fresh, folder());
    QVERIFY(next.Edit_SAVE().contains(QLatin1String("<P></P><P align=\"center\"></P>")));
}

void TestPageDocument::handEditedPages_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("keepsAll");
    auto edited = [](const char* from, const char* to) {
        return newPage().replace(QLatin1String(from), QString::fromUtf8(to));
    };
    QTest::newRow("the editor's own page") << newPage() << true;
    QTest::newRow("unclosed group and label")
        << edited("<P></P><P></P>", "<P></P><P>(a 【b</P>") << true;
    QTest::newRow("marker directly after the head")
        << edited("<HEAD><META NAME=\"WebTXT_TEXT\" >", "<HEAD><META NAME=\"WebTXT_TEXT\">")
        << true;
    QTest::newRow("first paragraph without picture or link")
        << edited("<P></P><P></P>", "<P>intro</P><P></P>") << false;
    QTest::newRow("extra paragraphs")
        << edited("<P></P><P></P>", "<P></P><P>a</P><P>b</P>") << false;
    QTest::newRow("multi-cell table")
        << edited("<P></P><P></P>", "<TABLE><TR><TD>a</TD><TD>b</TD></TR></TABLE><P></P><P></P>")
        << false;
    QTest::newRow("lower-case tags") << edited("<P></P><P></P>", "<p></p><p>text</p>") << false;
    QTest::newRow("no note markers") << edited("<!--NOTE_IN-->", "") << false;
    QTest::newRow("unpaired header block") << edited("<!--HEDDA_OUT-->", "") << false;
    QTest::newRow("web-text block never closed") << edited("<!--endWebTXT//-->", "") << false;
    QTest::newRow("no body tag") << edited("<BODY>", "") << false;
    QTest::newRow("unclosed elements")
        << edited("<P></P><P></P>", "<H1>a<TABLE><TD>b<P>c<P") << false;
    QTest::newRow("lower-case page")
        << QStringLiteral("<html><head><title>t</title></head><body><p>(x)</p></body></html>")
        << false;
    QTest::newRow("fragments") << QStringLiteral("<!--beginWebTXT<TITLE<BODY<!--NOTE_IN-->")
                               << false;
    QTest::newRow("empty") << QString() << false;
}

void TestPageDocument::handEditedPages() {
    QFETCH(QString, page);
    QFETCH(bool, keepsAll);
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(page, folder());
    QCOMPARE(doc.keepsAll(page), keepsAll);
    // What the fields keep, they keep from one save to the next.
    const QString once = doc.Edit_SAVE();
    PageDocument again(memory);
    again.Edit_LOAD(once, folder());
    QVERIFY(again.keepsAll(once));
}

void TestPageDocument::CHIKAN_data() {
    QTest::addColumn<QString>("S");
    QTest::addColumn<QString>("A");
    QTest::addColumn<QString>("result");
    const QString img = QStringLiteral("<IMG src=\"a.jpg\" width=\"10\" align=\"left\">");
    QTest::newRow("value replaced")
        << img << QStringLiteral("width=\"30\"")
        << QStringLiteral("<IMG src=\"a.jpg\" width=\"30\" align=\"left\">");
    QTest::newRow("align replaced, not doubled")
        << img << QStringLiteral("align=\"right\"")
        << QStringLiteral("<IMG src=\"a.jpg\" width=\"10\" align=\"right\">");
    QTest::newRow("added before the first >")
        << QStringLiteral("<IMG src=\"width.jpg\"  >x") << QStringLiteral("width=\"3\"")
        << QStringLiteral("<IMG src=\"width.jpg\" width=\"3\">x");
    QTest::newRow("removed") << img << QStringLiteral("width=\"\"")
                             << QStringLiteral("<IMG src=\"a.jpg\"  align=\"left\">");
    QTest::newRow("removed when absent")
        << QStringLiteral("<IMG src=\"a.jpg\">") << QStringLiteral("height=\"\"")
        << QStringLiteral("<IMG src=\"a.jpg\" >");
    QTest::newRow("align stripped")
        << QStringLiteral("<P ALIGN=\"left\" >x</P>") << QString() << QStringLiteral("<P>x</P>");
    QTest::newRow("no tag") << QStringLiteral("text") << QStringLiteral("width=\"3\"") << QString();
}

void TestPageDocument::CHIKAN() {
    QFETCH(QString, S);
    QFETCH(QString, A);
    QFETCH(QString, result);
    QCOMPARE(::CHIKAN(S, A), result);
}

void TestPageDocument::pageFileProblems_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: a folder stands there
    QTest::addColumn<QString>("problem");  // a word of the message
    QTest::newRow("Shift_JIS") << toCp932(QStringLiteral("<META NAME=\"WebTXT_TEXT\">日本語"))
                               << QStringLiteral("UTF-8");
    QTest::newRow("too large") << QByteArray(8 * 1024 * 1024 + 1, 'x') << QStringLiteral("8MB");
    QTest::newRow("folder") << QByteArray() << QStringLiteral("普通のファイル");
}

void TestPageDocument::pageFileProblems() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    const QString path = folder() + QStringLiteral("ページ.htm");
    if (bytes.isEmpty()) {
        QVERIFY(QDir().mkdir(path));
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    const PageRead read = readPageFile(path);
    QVERIFY(read.problem.contains(path));
    QVERIFY2(read.problem.contains(problem), qPrintable(read.problem));
}

void TestPageDocument::pageFileLineEnds() {
    const QString path = folder() + QStringLiteral("p.htm");
    QVERIFY(writePageFile(path, QStringLiteral("a\rb\nc\r\nd\r\n")));
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF"
                                         "a\r\nb\r\nc\r\nd\r\n"));
    QFile plain(folder() + QStringLiteral("plain.htm"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("<P>\xE6\xB0\xB4</P>\n");
    plain.close();
    QCOMPARE(readPageFile(plain.fileName()).text, QStringLiteral("<P>水</P>\r\n"));
}

QTEST_GUILESS_MAIN(TestPageDocument)
#include "tst_pagedocument.moc"
