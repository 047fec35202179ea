#include "pageeditor/pagepictures.h"

#include "storage/refspace.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

const QString kHeaderOut = QStringLiteral("<!--HEDDA_OUT-->");

constexpr int kBarMinimum = 16;
constexpr int kBarMaximum = 1265;
// The tallest preview a window can take; a freak ratio stops there instead
// of overflowing.
constexpr int kLargestHeight = 16777215;

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

// Where the tag the placement aligns lies in a picture's markup: the IMG,
// also when a link wraps it; else the first tag. -1 when there is no tag.
qsizetype pictureTagStart(const QString& markup) {
    const qsizetype img = markup.indexOf(QLatin1String("<IMG"), 0, Qt::CaseInsensitive);
    if (img >= 0)
        return img;
    return markup.indexOf(QLatin1Char('<'));
}

// Sets align="value" in the single tag `tag`. CHIKAN looks for the name as
// the editor writes it, so an align written in capitals is spelt its way
// first, and one without double quotes taken out, lest it be doubled.
QString withAlign(QString tag, const QString& value) {
    qsizetype at = -1;
    for (qsizetype from = 0;;) {
        at = tag.indexOf(QLatin1String("align="), from, Qt::CaseInsensitive);
        if (at <= 0 || isBlank(tag[at - 1]))
            break;
        from = at + 1;
    }
    if (at > 0) {
        const qsizetype valueAt = at + 6;
        if (valueAt < tag.size() && tag[valueAt] == QLatin1Char('"')) {
            tag.replace(at, 6, QLatin1String("align="));
        } else {
            qsizetype end = valueAt;
            while (end < tag.size() && !isBlank(tag[end]) && tag[end] != QLatin1Char('>'))
                ++end;
            while (at > 0 && isBlank(tag[at - 1]))
                --at;
            tag.remove(at, end - at);
        }
    }
    return CHIKAN(tag, QStringLiteral("align=\"%1\"").arg(value));
}

// The markup with its picture's tag aligned; markup without a tag is left
// as it is, since CHIKAN would empty it.
QString markupAligned(const QString& markup, const QString& value) {
    const qsizetype begin = pictureTagStart(markup);
    const qsizetype gt = begin < 0 ? -1 : markup.indexOf(QLatin1Char('>'), begin);
    if (gt < 0)
        return markup;
    return markup.left(begin) + withAlign(markup.mid(begin, gt + 1 - begin), value) +
           markup.mid(gt + 1);
}

QString alignValue(Placement placement) {
    switch (placement) {
    case Placement::PictureLeft:
        return QStringLiteral("left");
    case Placement::PictureRight:
        return QStringLiteral("right");
    case Placement::TextOnly:
    case Placement::Centred:
        break;
    }
    return QStringLiteral("center");
}

// A positive whole number written in ASCII digits, as a size attribute
// should be, short enough to be held exactly; 0 for anything else.
double positiveWhole(const QString& text) {
    if (text.isEmpty() || text.size() > 15)
        return 0;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    return text.toDouble();
}

} // namespace

QString Gnumber(const QString& pagePath) {
    QString name = QFileInfo(pagePath).completeBaseName();
    const qsizetype underscore = name.indexOf(QLatin1Char('_'));
    if (underscore >= 0)
        name.remove(0, underscore + 1);
    return name + QStringLiteral("-iedit.bmp");
}

void GTAIHI(const PageFields& f, PictureSaves& saves) {
    if (f.pictureName.isEmpty())
        return;
    saves.TAIHI1 = f.ETAGSRC1;
    saves.TAIHI2 = f.Edit7;
    saves.TAIHI3 = f.pictureName;
}

void GFUKKI(PageFields& f, const PictureSaves& saves, const QString& pagePath) {
    // Only a picture that is there comes back: markup for any other (a
    // default name never drawn, a picture since deleted) would name a missing
    // picture in the page. What the paragraph holds otherwise stays.
    const QString folder = QFileInfo(pagePath).absolutePath() + QLatin1Char('/');
    if (saves.TAIHI3.isEmpty() || !QFileInfo(folder + saves.TAIHI3).isFile()) {
        f.ETAGSRC1 = QStringLiteral("<P>");
        return;
    }
    f.ETAGSRC1 = saves.TAIHI1;
    f.Edit7 = saves.TAIHI2;
    f.pictureName = saves.TAIHI3;
    if (!saves.TAIHI4.isEmpty()) {
        f.linkFile = saves.TAIHI4;
        f.linkText = saves.TAIHI5;
    }
}

void Gnil(PageFields& f, PictureSaves& saves) {
    f.ETAGSRC1.clear();
    f.Edit7.clear();
    f.pictureName.clear();
    if (saves.TAIHI2.isEmpty())
        f.pictureLoaded = false;
    // The link goes with its text, so that a later link never shows an
    // earlier one's words.
    if (!f.linkFile.isEmpty()) {
        saves.TAIHI4 = f.linkFile;
        saves.TAIHI5 = f.linkText;
    }
    f.linkFile.clear();
    f.linkText.clear();
}

void placeMarkup(PageFields& f, Placement placement) {
    if (placement == Placement::TextOnly) {
        f.ETAGSRC1.clear();
        f.Edit7.clear();
        return;
    }
    // A paragraph without its tag would be written without its "<P".
    const QString tag = f.ETAGSRC1.contains(QLatin1Char('>')) ? f.ETAGSRC1 : QStringLiteral("<P>");
    f.ETAGSRC1 =
        placement == Placement::Centred ? withAlign(tag, alignValue(placement)) : CHIKAN(tag, {});
    f.Edit7 = markupAligned(f.Edit7, alignValue(placement));
}

Placement placementOf(const PageFields& f) {
    if (SrcCut(f.Edit7).isEmpty())
        return Placement::TextOnly;
    // A picture without an align value stands on its own line, as centred.
    Placement placement = Placement::Centred;
    const QString lower = f.Edit7.toLower();
    if (lower.contains(QLatin1String("\"left\"")))
        placement = Placement::PictureLeft;
    if (lower.contains(QLatin1String("\"center\"")))
        placement = Placement::Centred;
    if (lower.contains(QLatin1String("\"right\"")))
        placement = Placement::PictureRight;
    return placement;
}

QString pictureMarkup(const QString& name, int width, int height, Placement placement,
                      bool withSpace) {
    return QStringLiteral("<IMG src=\"%1\" width=\"%2\" height=\"%3\"%4 align=\"%5\">")
        .arg(name, QString::number(width), QString::number(height),
             withSpace ? QStringLiteral(" vspace=\"4\" hspace=\"4\"") : QString(),
             alignValue(placement));
}

QString relativeLink(const QString& chosen, const QString& pageFolder) {
    if (pageFolder.isEmpty())
        return chosen;
    QString folder = pageFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    // "/walls/a" is no folder of "/walls/ab/x.htm": only a whole folder counts.
    return chosen.startsWith(folder) ? chosen.mid(folder.size()) : chosen;
}

QString underscoreName(const QString& fileName) {
    QString name = QFileInfo(fileName).fileName();
    qsizetype leading = 0;
    while (leading < name.size() && name[leading] == QLatin1Char('_'))
        ++leading;
    return QLatin1Char('_') + name.mid(leading);
}

QString titleHeader(const QString& HEDDA, const QString& name) {
    const qsizetype out = HEDDA.indexOf(kHeaderOut);
    // A page without a header block gets the template's.
    const QString tail = out < 0 ? QLatin1Char('\r') + kHeaderOut : HEDDA.mid(out);
    QString header = QStringLiteral("<!--HEDDA_IN-->");
    if (!name.isEmpty())
        header +=
            QStringLiteral("<P align=\"center\" ><IMG src=\"%1\" border=\"0\"></P>").arg(name);
    return header + tail;
}

QString backgroundBody(const QString& name) {
    if (name.isEmpty())
        return QStringLiteral("<BODY");
    return QStringLiteral("<BODY background=\"%1\"").arg(name);
}

bool fitsMarkup(const QString& text) {
    // A line break would be written as "<BR>" inside the attribute.
    for (QChar c : text)
        if (c == QLatin1Char('"') || c == QLatin1Char('<') || c == QLatin1Char('>') ||
            c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return false;
    return true;
}

PictureSize sizeForBar(int position, double XToY, int currentHeight) {
    PictureSize size;
    size.width = std::clamp(position, kBarMinimum, kBarMaximum);
    if (!std::isfinite(XToY) || XToY <= 0) {
        size.height = currentHeight;
        return size;
    }
    const double height = std::min(size.width * XToY, double(kLargestHeight));
    size.height = std::max(1, roundHalfEven(height));
    return size;
}

double ratioOf(const QString& width, const QString& height) {
    const double w = positiveWhole(width);
    const double h = positiveWhole(height);
    return w > 0 && h > 0 ? h / w : 0;
}
