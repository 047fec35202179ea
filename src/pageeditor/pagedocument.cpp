#include "pageeditor/pagedocument.h"

#include "pageeditor/pagestyles.h"
#include "pageeditor/webtext.h"
#include "pictures/picturelayer.h"
#include "storage/walltext.h"

#include <QFileInfo>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <optional>

namespace {

const QString kMarkerStart = QStringLiteral("<META NAME=\"WebTXT_TEXT\" ");
const QString kLinkStart = QStringLiteral("<A href=\"");

// An element found by its opening and closing text ("<H1" and "</H1"): the
// start tag through its ">", the content up to the closing text, and where
// the whole element lies, its end tag included. A missing end runs to the end
// of the text, so that reading always ends.
struct Element {
    QString startTag;
    QString content;
    qsizetype begin = 0;
    qsizetype end = 0;
};

std::optional<Element> findElement(const QString& text, QLatin1String open, QLatin1String close) {
    const qsizetype begin = text.indexOf(open);
    if (begin < 0)
        return std::nullopt;
    Element e;
    e.begin = begin;
    const qsizetype gt = text.indexOf(QLatin1Char('>'), begin);
    const qsizetype contentStart = gt < 0 ? text.size() : gt + 1;
    e.startTag = text.mid(begin, contentStart - begin);
    const qsizetype closeAt = text.indexOf(close, contentStart);
    if (closeAt < 0) {
        e.content = text.mid(contentStart);
        e.end = text.size();
        return e;
    }
    e.content = text.mid(contentStart, closeAt - contentStart);
    const qsizetype closeEnd = text.indexOf(QLatin1Char('>'), closeAt);
    e.end = closeEnd < 0 ? text.size() : closeEnd + 1;
    return e;
}

void cutOut(QString& text, const Element& e) {
    text.remove(e.begin, e.end - e.begin);
}

// Cuts the block from `open` through the end of the next `close` out of D.
// Returns the text between them (after `openLength` characters), and the
// whole block in `whole`; nothing, and D as it was, when either is missing.
std::optional<QString> cutBlock(QString& D, QLatin1String open, qsizetype openLength,
                                QLatin1String close, QString* whole = nullptr) {
    const qsizetype begin = D.indexOf(open);
    const qsizetype closeAt = begin < 0 ? -1 : D.indexOf(close, begin + open.size());
    if (closeAt < 0)
        return std::nullopt;
    const qsizetype end = closeAt + close.size();
    if (whole)
        *whole = D.mid(begin, end - begin);
    const qsizetype innerStart = std::min(begin + openLength, closeAt);
    QString inner = D.mid(innerStart, closeAt - innerStart);
    D.remove(begin, end - begin);
    return inner;
}

// A paragraph's or heading's content as a field shows it: the page's own line
// ends go, each "<BR>" is a line break.
QString contentToField(QString content) {
    content.remove(QLatin1String("\r\n"));
    return content.replace(QLatin1String("<BR>"), QLatin1String("\n"));
}

// A field's line breaks, however the window hands them over, as "<BR>".
QString fieldToContent(const QString& field) {
    QString out;
    out.reserve(field.size() + 16);
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            out += QLatin1String("<BR>");
            if (c == QLatin1Char('\r') && i + 1 < field.size() && field[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// Every line break as CR LF, without adding one at the end.
QString withCrLf(const QString& text) {
    QString out = joinLinesCrLf(text);
    if (!text.endsWith(QLatin1Char('\r')) && !text.endsWith(QLatin1Char('\n')))
        out.chop(2);
    return out;
}

// The text between the two double quotes after `name` (for example
// "width="): nothing when the name is absent, empty when the quotes are.
std::optional<QString> quotedAfter(const QString& text, QLatin1String name) {
    const qsizetype at = text.indexOf(name);
    if (at < 0)
        return std::nullopt;
    const qsizetype q1 = text.indexOf(QLatin1Char('"'), at + name.size());
    const qsizetype q2 = q1 < 0 ? -1 : text.indexOf(QLatin1Char('"'), q1 + 1);
    return q2 < 0 ? QString() : text.mid(q1 + 1, q2 - q1 - 1);
}

bool isWholeNumber(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString trimmedRight(QString s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] <= QLatin1Char(' '))
        --n;
    s.truncate(n);
    return s;
}

// The natural size of the picture at `path` when it is one the picture layer
// reads; decoded as small as it allows, since only the size is needed here.
std::optional<QSize> pictureSize(const QString& path) {
    static const QStringList kPictureSuffixes = {QStringLiteral("gif"), QStringLiteral("jpeg"),
                                                 QStringLiteral("jpg"), QStringLiteral("bmp"),
                                                 QStringLiteral("png")};
    if (!kPictureSuffixes.contains(QFileInfo(path).suffix().toLower()))
        return std::nullopt;
    const PictureRead read = readPicture(path, [](QSize) { return QSize(1, 1); });
    if (read.image.isNull())
        return std::nullopt;
    return read.fullSize;
}

} // namespace

QString PageDocument::templateSource() const {
    return QStringLiteral(
               "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r"
               "<HTML>\r"
               "<HEAD>\r"
               "<META NAME=\"WebTXT_TEXT\">\r"
               "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r"
               "<META http-equiv=\"Content-Style-Type\" content=\"text/css\">\r"
               "<TITLE></TITLE>") +
           Style(1) + QStringLiteral("</HEAD>\r") + memory_.BODYS + memory_.BODYS2 +
           QStringLiteral("\r<!--HEDDA_IN-->\r<!--HEDDA_OUT-->\r<!--FOOTER_IN-->\r<!--FOOTER_OUT-->"
                          "\r</BODY>\r</HTML>");
}

void PageDocument::Edit_LOAD(const QString& source, const QString& pageFolder) {
    fields = PageFields();
    pieces = PagePieces();
    PageFields& f = fields;
    PagePieces& p = pieces;

    // The source view hands over "\n"; the file CR LF. Reading sees CR LF.
    const QString page = withCrLf(source);
    QString D = TAGcut(page, 2);

    cutBlock(D, QLatin1String("<!--HEDDA_IN-->"), 0, QLatin1String("<!--HEDDA_OUT-->"), &p.HEDDA);
    cutBlock(D, QLatin1String("<!--FOOTER_IN-->"), 0, QLatin1String("<!--FOOTER_OUT-->"),
             &p.FOOTER);
    cutBlock(D, QLatin1String("<!--STYLE_IN"), 16, QLatin1String("<!--STYLE_OUT-->"));
    QString N = cutBlock(D, QLatin1String("<!--NOTE_IN"), 14, QLatin1String("<!--NOTE_OUT-->"))
                    .value_or(QString());

    // Title and head.
    QString H;
    const qsizetype title = D.indexOf(QLatin1String("<TITLE"), 0, Qt::CaseInsensitive);
    if (title >= 0) {
        H = D.left(title);
        const qsizetype gt = D.indexOf(QLatin1Char('>'), title);
        const qsizetype textStart = gt < 0 ? D.size() : gt + 1;
        qsizetype textEnd = D.indexOf(QLatin1String("</"), textStart);
        if (textEnd < 0)
            textEnd = D.size();
        p.S1_2 = D.mid(textStart, textEnd - textStart);
        D.remove(title, std::min(textEnd + 8, D.size()) - title);
    } else {
        const qsizetype head = D.indexOf(QLatin1String("<HEAD"), 0, Qt::CaseInsensitive);
        const qsizetype gt = head < 0 ? -1 : D.indexOf(QLatin1Char('>'), head);
        H = head < 0 ? QString() : gt < 0 ? D : D.left(gt + 1);
    }
    // The marker META goes right after "<HEAD>" unless it is there already,
    // so that a page saved unchanged comes back as it was. A head without
    // "<HEAD>" is kept whole.
    const qsizetype head = H.indexOf(QLatin1String("<HEAD>"));
    if (head < 0) {
        p.S33 = H;
    } else {
        const qsizetype after = head + 6;
        const QStringView rest = QStringView(H).mid(after);
        if (rest.startsWith(kMarkerStart)) {
            p.S11 = H.left(after + kMarkerStart.size());
            p.S33 = H.mid(after + kMarkerStart.size());
        } else if (rest.startsWith(QStringView(kMarkerStart).chopped(1))) {
            p.S11 = H.left(after);
            p.S33 = H.mid(after);
        } else {
            p.S11 = H.left(after) + kMarkerStart;
            p.S33 = QLatin1Char('>') + H.mid(after);
        }
    }

    // Body tag.
    const qsizetype body = D.indexOf(QLatin1String("<BODY"));
    if (body >= 0) {
        const qsizetype gt = D.indexOf(QLatin1Char('>'), body);
        const qsizetype tagEnd = gt < 0 ? D.size() : gt + 1;
        const QString tag = D.mid(body, tagEnd - body);
        const qsizetype colour = tag.indexOf(QLatin1String(" bgcolor"));
        if (colour >= 0) {
            memory_.BODYS = tag.left(colour);
            memory_.BODYS2 = tag.mid(colour);
        } else {
            memory_.BODYS = gt < 0 ? tag : tag.chopped(1);
            memory_.BODYS2 = QStringLiteral(">");
        }
        D.remove(0, tagEnd);
    } else {
        memory_.BODYS = QStringLiteral("<BODY");
        memory_.BODYS2 = QStringLiteral(">");
    }

    // An old page's comment paragraph after the body tag: what stands before
    // it is kept.
    const qsizetype comment = D.indexOf(QLatin1String("<!--"));
    const qsizetype commentEnd = comment < 0 ? -1 : D.indexOf(QLatin1String("-->"), comment + 4);
    if (commentEnd >= 0) {
        const qsizetype gt1 = D.indexOf(QLatin1Char('>'), commentEnd + 3);
        const qsizetype gt2 = gt1 < 0 ? -1 : D.indexOf(QLatin1Char('>'), gt1 + 1);
        if (gt2 >= 0 && QStringView(D).left(gt1 + 1).endsWith(QLatin1String("P>")) &&
            QStringView(D).left(gt2 + 1).endsWith(QLatin1String("/P>"))) {
            p.S3 = D.left(comment);
            D.remove(comment, gt2 + 1 - comment);
        }
    }

    // Headings.
    if (const auto h1 = findElement(N, QLatin1String("<H1"), QLatin1String("</H1"))) {
        f.ETAGH1 = h1->startTag;
        f.bigHeading = contentToField(h1->content);
        cutOut(N, *h1);
    }
    if (const auto h2 = findElement(N, QLatin1String("<H2"), QLatin1String("</H2"))) {
        f.ETAGH2 = h2->startTag;
        f.smallHeading = contentToField(h2->content);
        p.S5 = N.left(h2->begin);
        N.remove(0, h2->end);
    }

    f.kind = 0;
    for (int kind = 4; kind >= 1; --kind)
        if (page.contains(QStringLiteral("<!--STYLE_IN%1-->").arg(kind)))
            f.kind = kind;

    // The framed text: the first cell of the first table; up to four more
    // cells are passed over.
    if (const auto table = findElement(N, QLatin1String("<TABLE"), QLatin1String("</TABLE"))) {
        if (const auto align = quotedAfter(table->startTag, QLatin1String("align")))
            f.ETAGHYO1 = QStringLiteral("align=\"%1\"").arg(*align);
        QString inner = table->content;
        inner.replace(QLatin1String("<BR>"), QLatin1String("\n"));
        if (const auto cell = findElement(inner, QLatin1String("<TD"), QLatin1String("</TD"))) {
            f.framedText = cell->content;
            f.framedText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            inner.remove(0, cell->end);
            for (int more = 0; more < 4; ++more) {
                const auto next = findElement(inner, QLatin1String("<TD"), QLatin1String("</TD"));
                if (!next)
                    break;
                f.multiCellTable = true;
                inner.remove(0, next->end);
            }
        }
        N = N.left(table->begin) + inner + N.mid(table->end);
    }

    // The picture-or-link paragraph: the first paragraph, when it holds a
    // picture or a link; otherwise it is dropped.
    f.ETAGSRC1 = QStringLiteral("<P>");
    QString inner;
    if (const auto para = findElement(N, QLatin1String("<P"), QLatin1String("</P"))) {
        cutOut(N, *para);
        const QString content = contentToField(para->content);
        const QString lower = content.toLower();
        if (lower.contains(QLatin1String("src=")) || lower.contains(QLatin1String("href="))) {
            f.ETAGSRC1 = para->startTag;
            inner = content;
            findPicture(content, pageFolder);
        }
    }

    // The unframed paragraph keeps the tag of the page last read when there
    // is none.
    if (const auto para = findElement(N, QLatin1String("<P"), QLatin1String("</P"))) {
        memory_.ETAGP1 = para->startTag;
        f.unframedText = contentToField(para->content);
    }

    const qsizetype bodyEnd = D.indexOf(QLatin1String("</BODY>"));
    p.S7 = bodyEnd < 0 ? D : D.mid(bodyEnd);

    // A title that begins with a double quoted text keeps it as a hidden
    // prefix; any other title is read whole.
    QString titleText = p.S1_2;
    const qsizetype quote =
        titleText.startsWith(QLatin1Char('"')) ? titleText.indexOf(QLatin1Char('"'), 1) : -1;
    if (quote > 0) {
        p.bikkuri = titleText.left(quote + 1);
        titleText.remove(0, quote + 1);
    }
    f.title = KToDai(titleText);

    if (inner.contains(kLinkStart)) {
        QString rest = inner.mid(9);
        const qsizetype target = rest.indexOf(QLatin1String("\">"));
        f.linkFile = target < 0 ? rest : rest.left(target);
        rest = target < 0 ? QString() : rest.mid(target + 2);
        const qsizetype end = rest.indexOf(QLatin1String("</A>"));
        f.linkText = end < 0 ? rest : rest.left(end);
        inner = f.linkText;
    }
    f.Edit7 = inner;
}

void PageDocument::findPicture(const QString& content, const QString& pageFolder) {
    PageFields& f = fields;
    f.sizesFromPage = true;
    // Looked up as the page names it: "Cat.JPG" and "cat.jpg" are two files.
    const QString name = SrcCut(content);
    std::optional<QSize> natural;
    if (!name.isEmpty()) {
        QString folder = pageFolder;
        if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        natural = pictureSize(folder + name);
        if (natural) {
            f.pictureName = name;
            f.pictureLoaded = true;
        } else {
            f.missingPicture = name;
        }
    }
    const auto width = quotedAfter(content, QLatin1String("width="));
    const auto height = quotedAfter(content, QLatin1String("height="));
    f.pictureWidth = width ? *width : natural ? QString::number(natural->width()) : QString();
    f.pictureHeight = height ? *height : natural ? QString::number(natural->height()) : QString();
}

QString PageDocument::Edit_SAVE() {
    const PageFields& f = fields;
    const PagePieces& p = pieces;

    // Markup read from the page is written back as read; only a picture that
    // was found, with whole-number sizes, has them set.
    QString markup = f.Edit7;
    if (f.pictureLoaded && markup.contains(QLatin1Char('>'))) {
        if (isWholeNumber(f.pictureWidth))
            markup = CHIKAN(markup, QStringLiteral("width=\"%1\"").arg(f.pictureWidth));
        if (isWholeNumber(f.pictureHeight))
            markup = CHIKAN(markup, QStringLiteral("height=\"%1\"").arg(f.pictureHeight));
    }

    QString titleText = p.bikkuri;
    if (!f.title.isEmpty())
        titleText += DaiToK(trimmedRight(f.title));
    const QString S1_2 = QStringLiteral("<TITLE>") + titleText + QStringLiteral("</TITLE>");

    const QString H1_H1 = f.bigHeading.isEmpty()
                              ? QString()
                              : f.ETAGH1 + fieldToContent(f.bigHeading) + QStringLiteral("</H1>");
    const QString H2_H2 = f.smallHeading.isEmpty()
                              ? QString()
                              : f.ETAGH2 + fieldToContent(f.smallHeading) + QStringLiteral("</H2>");

    QString pictureOrLink;
    if (markup.isEmpty()) {
        if (f.linkFile.isEmpty()) {
            pictureOrLink = QStringLiteral("<P></P>");
        } else {
            const QString text = f.linkText.isEmpty() ? outsideQuiz(f.linkFile) : f.linkText;
            pictureOrLink = QStringLiteral("<P>") +
                            fieldToContent(kLinkStart + f.linkFile + QStringLiteral("\">") + text +
                                           QStringLiteral("</A>")) +
                            QStringLiteral("</P>");
        }
    } else {
        if (!f.linkFile.isEmpty())
            markup =
                kLinkStart + f.linkFile + QStringLiteral("\">") + markup + QStringLiteral("</A>");
        pictureOrLink = f.ETAGSRC1 + fieldToContent(markup) + QStringLiteral("</P>");
    }

    QString framed;
    if (!f.framedText.isEmpty()) {
        const bool centre = f.ETAGHYO1.contains(QLatin1String("center"));
        const bool right = f.ETAGHYO1.contains(QLatin1String("right"));
        framed =
            QStringLiteral("<TABLE border=\"1\" ") + (centre || right ? f.ETAGHYO1 : QString()) +
            QStringLiteral("><TBODY>\r\n<TR>\r\n<TD colspan=\"8\" ") +
            (centre ? f.ETAGHYO1 : QString()) + QLatin1Char('>') + fieldToContent(f.framedText) +
            QStringLiteral("</TD></TR>\r\n</TBODY></TABLE>\r\n");
    }
    if (memory_.ETAGP1.isEmpty())
        memory_.ETAGP1 = QStringLiteral("<P>");
    const QString unframed =
        memory_.ETAGP1 + fieldToContent(f.unframedText) + QStringLiteral("</P>");

    QString page = p.S11 + p.S33 + S1_2;
    page += Style(f.kind, &memory_.BODYS2);
    page += memory_.BODYS + memory_.BODYS2 + p.S3 + p.HEDDA + QStringLiteral("<!--NOTE_IN-->") +
            H1_H1 + p.S5 + H2_H2 + framed + pictureOrLink + unframed +
            QStringLiteral("<!--NOTE_OUT-->") + p.FOOTER + p.S7;
    return WebTXTadd(page);
}

bool PageDocument::keepsAll(const QString& source) {
    const PageMemory before = memory_;
    const QString written = Edit_SAVE();
    memory_ = before;
    return joinLinesCrLf(written) == joinLinesCrLf(source);
}

void PageDocument::clearTexts() {
    for (QString* text : {&fields.title, &fields.linkFile, &fields.linkText, &fields.bigHeading,
                          &fields.smallHeading, &fields.framedText, &fields.unframedText})
        text->clear();
}

qsizetype longestUnbrokenRun(const PageFields& f) {
    qsizetype longest = 0;
    for (const QString* text : {&f.bigHeading, &f.smallHeading, &f.framedText, &f.unframedText}) {
        QTextBoundaryFinder lines(QTextBoundaryFinder::Line, *text);
        qsizetype from = 0;
        for (qsizetype at = lines.toNextBoundary(); at >= 0; at = lines.toNextBoundary()) {
            longest = std::max(longest, at - from);
            from = at;
        }
    }
    return longest;
}

QString KToDai(const QString& S) {
    QString s = S;
    return s.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"));
}

QString DaiToK(const QString& S) {
    QString s = S;
    return s.replace(QLatin1String("<"), QLatin1String("&lt;"))
        .replace(QLatin1String(">"), QLatin1String("&gt;"));
}

QString SrcCut(const QString& markup) {
    const qsizetype at = markup.indexOf(QLatin1String("src=\""), 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    const qsizetype end = markup.indexOf(QLatin1Char('"'), at + 5);
    return markup.mid(at + 5, end < 0 ? -1 : end - at - 5);
}

QString CHIKAN(const QString& S, const QString& A) {
    const qsizetype gt = S.indexOf(QLatin1Char('>'));
    if (gt < 0)
        return QString();
    QString s = S;
    if (A.isEmpty()) {
        const qsizetype align = s.indexOf(QLatin1String("align="), 0, Qt::CaseInsensitive);
        if (align < 0 || align > gt)
            return s;
        qsizetype from = align;
        while (from > 0 && s[from - 1] == QLatin1Char(' '))
            --from;
        return s.remove(from, gt - from);
    }
    const qsizetype equals = A.indexOf(QLatin1Char('='));
    if (equals < 1)
        return s;
    const QString name = A.left(equals + 1);
    const bool removing = A.endsWith(QLatin1String("=\"\""));
    // The name with its "=", so that a src such as "width.jpg" is no width.
    const qsizetype at = s.indexOf(name);
    const qsizetype q1 = at < 0 ? -1 : s.indexOf(QLatin1Char('"'), at + name.size());
    const qsizetype q2 = q1 < 0 ? -1 : s.indexOf(QLatin1Char('"'), q1 + 1);
    if (q2 < 0) {
        if (removing)
            return s.insert(gt, QLatin1Char(' '));
        qsizetype end = gt;
        while (end > 0 && s[end - 1] == QLatin1Char(' '))
            --end;
        return s.replace(end, gt - end, QLatin1Char(' ') + A);
    }
    if (removing)
        return s.remove(at, q2 + 1 - at);
    const QString value = A.mid(equals + 1).remove(QLatin1Char('"'));
    return s.replace(q1 + 1, q2 - q1 - 1, value);
}
