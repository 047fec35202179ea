#include "pageeditor/webtext.h"

#include <QStringList>
#include <optional>

const QString JAVA1 = QStringLiteral("<SCRIPT language=\"JavaScript\">\r\n"
                                     "<!--\r\n");

const QString JAVA2 = QStringLiteral("function Kselect(){\r\n"
                                     "var x=0;//誤答\r\n"
                                     "var x2=0;//誤答フラッグ\r\n"
                                     " for( i=0;i<kazu;i++)\r\n"
                                     " { \r\n"
                                     "    x=0;\r\n"
                                     "    str=\"/\"+myForm.elements[i].name+\"/\";\r\n"
                                     "    str1=\"/\"+myForm.elements[i].value+\"/\";\r\n"
                                     "    if (str.indexOf(str1,0)==-1)\r\n"
                                     "    { \r\n"
                                     "     x++;\r\n"
                                     "     x2++;\r\n"
                                     "    }\r\n"
                                     "  if (x>0)\r\n"
                                     "  { \r\n"
                                     "  myForm.elements[i].value=\"\";\r\n"
                                     "  }\r\n"
                                     "  else{\r\n"
                                     "  myForm.elements[i].value=myForm.elements[i].value;\r\n"
                                     "  }\r\n"
                                     " }\r\n"
                                     "  if (x2>0)\r\n"
                                     "  {\r\n"
                                     "  alert(String(x2)+\" ちがいます。\");\r\n"
                                     "  }\r\n"
                                     "  else{\r\n"
                                     "  location.href = \"#【解答】\"\r\n"
                                     "  alert(\"正解です。\");\r\n"
                                     "  location.href = \"#top\"\r\n"
                                     "  }\r\n"
                                     " }\r\n"
                                     "function Kkotae(){\r\n"
                                     "  for( i=0;i<kazu;i++)\r\n"
                                     "  { \r\n"
                                     "  location.href = \"#【解答】\"\r\n"
                                     "  myForm.elements[i].value=myForm.elements[i].name;\r\n"
                                     "  } \r\n"
                                     " }\r\n"
                                     "function Khint(){\r\n"
                                     "  location.href = \"#【ヒント】\"\r\n"
                                     " }\r\n"
                                     "//--> \r\n"
                                     "</SCRIPT>\r\n");

const QString JAVA3 = QStringLiteral(
    "<CENTER>\r\n"
    "<INPUT type=\"reset\" value=\"取消\" style=\"background-color:#EEEEFF;color:#000000\">\r\n"
    "<INPUT type=\"button\" onclick=Khint() name=\"ヒント\"\r\n"
    "value=\"【 ヒ ン ト 】\" style=\"background-color:#EEFFEE;color:#000000\">\r\n"
    "<INPUT type=\"button\" onclick=Kkotae() name=\"解答を見る\"\r\n"
    "value=\"【解答を見る】\" style=\"background-color:#FFEEEE;color:#000000\"> \r\n"
    "<INPUT type=\"button\" onclick=Kselect() name=\"決定\"\r\n"
    "value=\" ＊＊＊ 判定 ＊＊＊ \" style=\"background-color:#FF0000;color:#FFFFFF\">\r\n"
    "</CENTER>\r\n");

const QString JAVA4 = QStringLiteral("<SCRIPT language=\"JavaScript\"> \r\n"
                                     "<!-- \r\n"
                                     "function JumpURL(url)\r\n"
                                     "{\r\n"
                                     "  if (url != '')\r\n"
                                     "  {\r\n"
                                     "   location.href = url;\r\n"
                                     "  }\r\n"
                                     "}\r\n"
                                     "//-->\r\n"
                                     "</SCRIPT>\r\n");

namespace {

const QString kBegin = QStringLiteral("<!--beginWebTXT//-->");
const QString kEnd = QStringLiteral("<!--endWebTXT//-->");
constexpr QChar CR = QLatin1Char('\r');
constexpr QChar kOpenLabel = QChar(0x3010);  // 【
constexpr QChar kCloseLabel = QChar(0x3011); // 】

// Reads a text from left to right and tells whether a place lies inside a
// tag, so that parentheses and brackets in an href or a src stay as they are.
// A "<" opens a tag only when a letter, "/", "!" or "?" follows it, as in
// HTML: "3 < 5 (8)" still holds a blank.
class TagTracker {
public:
    TagTracker(const QString& text, qsizetype from) : text_(text), at_(from) {}

    bool insideAt(qsizetype pos) {
        for (; at_ < pos; ++at_) {
            const QChar c = text_[at_];
            if (c == QLatin1Char('>'))
                inside_ = false;
            else if (c == QLatin1Char('<') && opensTag(at_ + 1))
                inside_ = true;
        }
        return inside_;
    }

private:
    bool opensTag(qsizetype next) const {
        if (next >= text_.size())
            return false;
        const QChar c = text_[next];
        return (c.unicode() < 128 && c.isLetter()) || c == QLatin1Char('/') ||
               c == QLatin1Char('!') || c == QLatin1Char('?');
    }

    const QString& text_;
    qsizetype at_;
    bool inside_ = false;
};

// Whether a group's content C leaves it plain text: quotes and angle brackets
// would break the element, and a bar without a slash offers nothing to choose.
bool isPlainGroup(QStringView C) {
    const bool bar = C.contains(QLatin1Char('|'));
    return C.contains(QLatin1Char('"')) || C.contains(QLatin1Char('<')) ||
           C.contains(QLatin1Char('>')) || (bar && !C.contains(QLatin1Char('/')));
}

void appendFormElement(QString& out, QStringView C) {
    const qsizetype bar = C.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        out += QLatin1String("<input type=\"text\" name=\"");
        out += C;
        out += QStringLiteral("\" size=\"%1\">").arg(C.size() + 3);
        return;
    }
    out += QLatin1String("<SELECT name=\"");
    out += C.left(bar);
    out += QLatin1String("\"><OPTION value=\"?\">?</OPTION>");
    for (QStringView choice : C.mid(bar + 1).split(QLatin1Char('/'))) {
        out += QLatin1String("<OPTION value=\"");
        out += choice;
        out += QLatin1String("\">");
        out += choice;
        out += QLatin1String("</OPTION>");
    }
    out += QLatin1String("</SELECT>");
}

// The text after the last blank with each "【label】" made a jump target, the
// check buttons standing before the first; false when it holds no label.
bool appendLabels(QString& out, const QString& page, qsizetype from, qsizetype to) {
    TagTracker tags(page, from);
    bool any = false;
    qsizetype pos = from;
    for (qsizetype open = page.indexOf(kOpenLabel, pos); open >= 0 && open < to;
         open = page.indexOf(kOpenLabel, pos)) {
        const qsizetype close = page.indexOf(kCloseLabel, open + 1);
        if (close < 0 || close >= to)
            break;
        if (tags.insideAt(open)) {
            out += QStringView(page).mid(pos, open + 1 - pos);
            pos = open + 1;
            continue;
        }
        out += QStringView(page).mid(pos, open - pos);
        if (!any)
            out += kBegin + CR + JAVA3 + CR + kEnd;
        any = true;
        const QStringView label = QStringView(page).mid(open, close + 1 - open);
        out += kBegin + BAI(QStringLiteral("<BR>"), 50) + kEnd;
        out += label;
        // A quote in the label would end the anchor's name there.
        out += kBegin + QLatin1String("<A name=\"");
        out += label.toString().replace(QLatin1Char('"'), QLatin1String("&quot;"));
        out += QStringLiteral("\" href=\"#top\">  戻る▲</A><A>") + kEnd;
        pos = close + 1;
    }
    out += QStringView(page).mid(pos, to - pos);
    return any;
}

} // namespace

QString WebTXTadd(const QString& page) {
    // A text without a body start tag is no page the editor wrote: there is
    // no place for the form and its script, so it is given back as it is.
    const qsizetype body = page.indexOf(QLatin1String("<BODY"), 0, Qt::CaseInsensitive);
    const qsizetype bodyEnd = body < 0 ? -1 : page.indexOf(QLatin1Char('>'), body);
    if (bodyEnd < 0)
        return page;
    const qsizetype start = bodyEnd + 1;

    QString Q;
    Q.reserve(page.size() - start + page.size() / 8);
    int blanks = 0;
    qsizetype afterLastBlank = start; // in the page
    qsizetype qAtLastBlank = 0;       // in Q
    TagTracker tags(page, start);
    qsizetype pos = start;
    for (;;) {
        const qsizetype open = page.indexOf(QLatin1Char('('), pos);
        if (open < 0)
            break;
        if (tags.insideAt(open)) {
            Q += QStringView(page).mid(pos, open + 1 - pos);
            pos = open + 1;
            continue;
        }
        // A "(" with no ")" after it stays as it is, and so does all after it.
        const qsizetype close = page.indexOf(QLatin1Char(')'), open + 1);
        if (close < 0)
            break;
        const bool fullStop = close + 1 < page.size() && page[close + 1] == QLatin1Char('.');
        const QStringView C = QStringView(page).mid(open + 1, close - open - 1);
        if (fullStop || isPlainGroup(C)) {
            const qsizetype end = close + (fullStop ? 2 : 1);
            Q += QStringView(page).mid(pos, end - pos);
            pos = end;
            continue;
        }
        Q += QStringView(page).mid(pos, open - pos);
        appendFormElement(Q, C);
        ++blanks;
        pos = afterLastBlank = close + 1;
        qAtLastBlank = Q.size();
    }

    if (blanks == 0) {
        return page.left(start) + kBegin + CR + QStringLiteral("<FORM name=\"myForm\">") + CR +
               JAVA4 + CR + kEnd + page.mid(start);
    }

    // Sections are labelled after the last blank; the form closes before the
    // end of the body (or of the text, when it has none).
    qsizetype bodyClose =
        page.indexOf(QLatin1String("</BODY>"), afterLastBlank, Qt::CaseInsensitive);
    if (bodyClose < 0)
        bodyClose = page.size();
    Q.truncate(qAtLastBlank);

    QString out;
    out.reserve(page.size() + Q.size() - (afterLastBlank - start) + 8192);
    out += QStringView(page).left(start);
    out += kBegin + CR + QStringLiteral("<FORM name=\"myForm\">") + CR + JAVA1 +
           QStringLiteral("var kazu=%1;//問題数").arg(blanks) + CR + JAVA2 + CR + kEnd;
    out += Q;
    if (appendLabels(out, page, afterLastBlank, bodyClose)) {
        out += kBegin + CR + BAI(QStringLiteral("<BR>"), 50) + CR + QStringLiteral("</FORM>") + CR +
               kEnd;
    } else {
        out += kBegin + CR + QStringLiteral("<BR>") + CR + JAVA3 + QStringLiteral("\r\n") +
               BAI(QStringLiteral("<BR>"), 50) + QStringLiteral("</FORM>") + CR + kEnd;
    }
    out += QStringView(page).mid(bodyClose);
    return out;
}

namespace {

// The text between the two double quotes after "name=" in a tag, or nothing.
std::optional<QStringView> nameIn(QStringView tag) {
    const qsizetype name = tag.indexOf(QLatin1String("NAME="), 0, Qt::CaseInsensitive);
    const qsizetype q1 = name < 0 ? -1 : tag.indexOf(QLatin1Char('"'), name);
    const qsizetype q2 = q1 < 0 ? -1 : tag.indexOf(QLatin1Char('"'), q1 + 1);
    if (q2 < 0)
        return std::nullopt;
    return tag.mid(q1 + 1, q2 - q1 - 1);
}

QString withoutBlocks(const QString& page) {
    QString out;
    out.reserve(page.size());
    qsizetype pos = 0;
    for (;;) {
        qsizetype begin = page.indexOf(QLatin1String("<!--beginWebTXT"), pos);
        const qsizetype end = begin < 0 ? -1 : page.indexOf(QLatin1String("<!--endWebTXT"), begin);
        // A block that is never closed is left as it is: nothing is lost,
        // and the block after it does not swallow what lies between.
        if (end < 0)
            break;
        begin = page.lastIndexOf(QLatin1String("<!--beginWebTXT"), end);
        const qsizetype gt = page.indexOf(QLatin1Char('>'), end);
        out += QStringView(page).mid(pos, begin - pos);
        pos = gt < 0 ? end + 13 : gt + 1;
    }
    out += QStringView(page).mid(pos);
    return out;
}

// Puts what `group` makes of each element from `open` through `close` (both
// found with case ignored) in its place; an element it makes nothing of
// stays, and so does one never closed, with all after it.
template <typename Group>
QString elementsAsGroups(const QString& page, QLatin1String open, QLatin1String close,
                         Group group) {
    QString out;
    out.reserve(page.size());
    qsizetype pos = 0;
    for (;;) {
        const qsizetype begin = page.indexOf(open, pos, Qt::CaseInsensitive);
        const qsizetype closeAt = begin < 0 ? -1 : page.indexOf(close, begin, Qt::CaseInsensitive);
        if (closeAt < 0)
            break;
        const qsizetype end = closeAt + close.size();
        const std::optional<QString> made = group(QStringView(page).mid(begin, end - begin));
        out += QStringView(page).mid(pos, (made ? begin : end) - pos);
        if (made)
            out += *made;
        pos = end;
    }
    out += QStringView(page).mid(pos);
    return out;
}

// A text box with a name reads back as "(" + name + ")".
std::optional<QString> textBoxGroup(QStringView input) {
    const auto name = nameIn(input);
    if (!name)
        return std::nullopt;
    return QLatin1Char('(') + name->toString() + QLatin1Char(')');
}

// A list reads back as "(" + answer + "|" + choices joined by "/" + ")".
std::optional<QString> listGroup(QStringView list) {
    QStringList choices;
    for (qsizetype option = list.indexOf(QLatin1String("<OPTION"), 0, Qt::CaseInsensitive);
         option >= 0;
         option = list.indexOf(QLatin1String("<OPTION"), option + 7, Qt::CaseInsensitive)) {
        const qsizetype textStart = list.indexOf(QLatin1Char('>'), option) + 1;
        const qsizetype textEnd = list.indexOf(QLatin1Char('<'), textStart);
        if (textStart == 0 || textEnd < 0)
            break;
        choices << list.mid(textStart, textEnd - textStart).toString();
    }
    // The "?" the list shows until a choice is made is no choice.
    if (!choices.isEmpty() && choices.first() == QLatin1String("?"))
        choices.removeFirst();
    const QStringView startTag = list.left(list.indexOf(QLatin1Char('>')) + 1);
    return QLatin1Char('(') + nameIn(startTag).value_or(QStringView()).toString() +
           QLatin1Char('|') + choices.join(QLatin1Char('/')) + QLatin1Char(')');
}

} // namespace

QString TAGcut(const QString& page, int mode) {
    // Mode 2 is the only one: the editor's reading.
    Q_UNUSED(mode);
    if (!page.contains(QLatin1String("<!--beginWebTXT")))
        return page;
    const QString read = elementsAsGroups(withoutBlocks(page), QLatin1String("<INPUT"),
                                          QLatin1String(">"), textBoxGroup);
    return elementsAsGroups(read, QLatin1String("<SELECT"), QLatin1String("</SELECT>"), listGroup);
}

QString outsideQuiz(QString text) {
    return text.replace(QLatin1Char('('), QLatin1String("&#40;"))
        .replace(QLatin1Char(')'), QLatin1String("&#41;"));
}

QString BAI(const QString& S, int N) {
    return N < 1 ? QString() : S.repeated(N);
}
