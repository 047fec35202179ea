#include "storage/records.h"

#include "storage/recorderror.h"

#include <QStringList>
#include <limits>

namespace {

// How a field stands in a record: quoted text, unquoted text or an integer.
enum class Kind { Quoted, Text, Integer };

struct FieldLayout {
    const char16_t* name; // shown in error messages
    Kind kind;
};

struct RecordLayout {
    const char16_t* opening; // "<NAME=\""
    std::initializer_list<FieldLayout> fields;
};

const RecordLayout kPoster{u"<POSTER=\"",
                           {{u"画像(POST)", Kind::Quoted},
                            {u"X座標(XS)", Kind::Integer},
                            {u"Y座標(YS)", Kind::Integer},
                            {u"幅(XXS)", Kind::Integer},
                            {u"高さ(YYS)", Kind::Integer},
                            {u"パネル色(P)", Kind::Integer},
                            {u"字色(PT)", Kind::Integer},
                            {u"スタンプ(STP)", Kind::Integer},
                            {u"楕円(R)", Kind::Integer},
                            {u"メモ1(S2)", Kind::Quoted},
                            {u"リンクファイル(NOTE)", Kind::Quoted},
                            {u"文字１//文字２(TT)", Kind::Quoted},
                            {u"ファイル名(FNAME)", Kind::Quoted},
                            {u"タイムスタンプ(FTIME)", Kind::Quoted},
                            {u"KFLG", Kind::Text},
                            {u"KSU", Kind::Text},
                            {u"KAKUSU", Kind::Text}}};

const RecordLayout kPanel{
    u"<PANEL=\"",
    {{u"背景画像(KABEIMAGE)", Kind::Quoted}, {u"タイムスタンプ(KABEIMAGEOLDTIME)", Kind::Text}}};

const RecordLayout kUrl{u"<URL=\"",
                        {{u"ページ", Kind::Quoted},
                         {u"タイムスタンプ(WEBOLDTIME)", Kind::Text},
                         {u"X", Kind::Integer},
                         {u"Y", Kind::Integer},
                         {u"幅", Kind::Integer},
                         {u"高さ", Kind::Integer},
                         {u"リボン", Kind::Integer}}};

const RecordLayout kMask{u"<MASK=\"",
                         {{u"マスク", Kind::Quoted},
                          {u"ラベル", Kind::Quoted},
                          {u"タイムスタンプ(DIROLDTIME)", Kind::Text},
                          {u"X", Kind::Integer},
                          {u"Y", Kind::Integer},
                          {u"幅", Kind::Integer},
                          {u"高さ", Kind::Integer}}};

bool isQuoted(Kind k) {
    return k == Kind::Quoted;
}

// The separator that closes field i: it depends on whether this field and the
// next one are quoted; the last field is closed by ">".
QString closingDelimiter(const RecordLayout& layout, int i) {
    const int n = int(layout.fields.size());
    if (i == n - 1)
        return QStringLiteral(">");
    const bool here = isQuoted(layout.fields.begin()[i].kind);
    const bool next = isQuoted(layout.fields.begin()[i + 1].kind);
    if (here && next)
        return QStringLiteral("\",\"");
    if (here)
        return QStringLiteral("\",");
    if (next)
        return QStringLiteral(",\"");
    return QStringLiteral(",");
}

// One record's raw field texts, taken from `text` starting at `pos` (just
// after the opening tag); `pos` ends just after the closing ">". Every search
// is for the first occurrence, so a field holding its own delimiter ends there.
QStringList takeFields(const RecordLayout& layout, const QString& text, qsizetype& pos) {
    QStringList values;
    const int n = int(layout.fields.size());
    for (int i = 0; i < n; ++i) {
        const QString delim = closingDelimiter(layout, i);
        const qsizetype end = text.indexOf(delim, pos);
        if (end < 0)
            throw RecordError(RecordError::Reason::Incomplete,
                              QString::fromUtf16(layout.fields.begin()[i].name), QString());
        values << text.mid(pos, end - pos);
        pos = end + delim.size();
    }
    return values;
}

int toInt(const RecordLayout& layout, const QStringList& values, int i) {
    const auto v = parseStrictInt(values[i]);
    if (!v)
        throw RecordError(RecordError::Reason::NotInteger,
                          QString::fromUtf16(layout.fields.begin()[i].name), values[i]);
    return *v;
}

// Settings files: every record of the kind in turn, searching on after the
// end of the one before; the last one wins.
std::optional<QStringList> lastRecordFields(const RecordLayout& layout, const QString& text,
                                            QVector<QStringList>* all = nullptr) {
    const QString opening = QString::fromUtf16(layout.opening);
    std::optional<QStringList> last;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype at = text.indexOf(opening, pos);
        if (at < 0)
            break;
        pos = at + opening.size();
        last = takeFields(layout, text, pos);
        if (all)
            all->append(*last);
    }
    return last;
}

// Writing: a field that holds the delimiter closing it gets the full-width
// form of the delimiter's first character, so the reader stops where it should.
QString guarded(Kind kind, bool last, const QString& value) {
    QString v = value;
    if (kind == Kind::Quoted) {
        v.replace(QStringLiteral("\","), QStringLiteral("\u201D,"));
    } else if (last) {
        v.replace(QLatin1Char('>'), QChar(0xFF1E));
    } else {
        v.replace(QLatin1Char(','), QChar(0xFF0C));
    }
    return v;
}

QString formatRecord(const RecordLayout& layout, const QStringList& values) {
    QString out = QString::fromUtf16(layout.opening);
    const int n = int(layout.fields.size());
    for (int i = 0; i < n; ++i) {
        out += guarded(layout.fields.begin()[i].kind, i == n - 1, values[i]);
        out += closingDelimiter(layout, i);
    }
    return out;
}

} // namespace

std::optional<int> parseStrictInt(QStringView text) {
    if (text.isEmpty() || text.size() > 12)
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-')) {
        negative = text[0] == QLatin1Char('-');
        i = 1;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

QVector<PosterRecord> parsePosterRecords(const QString& text) {
    // A card file is read like this: find the opening tag, set the text before
    // it aside, take the fields, then put the text set aside back in front of
    // what is left and search again. The text set aside never holds a whole
    // tag, so a further tag either lies in what is left or begins in the last
    // few characters set aside; both are searched without copying the file.
    const QString opening = QString::fromUtf16(kPoster.opening);
    const qsizetype tagLength = opening.size();
    QVector<PosterRecord> records;
    QString setAside;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype tailLength = qMin<qsizetype>(setAside.size(), tagLength - 1);
        const QString seam = setAside.right(tailLength) + text.mid(pos, tagLength - 1);
        const qsizetype inSeam = seam.indexOf(opening);
        if (inSeam >= 0 && inSeam < tailLength) {
            const qsizetype keep = setAside.size() - tailLength + inSeam;
            pos += tagLength - (tailLength - inSeam);
            setAside.truncate(keep);
        } else {
            const qsizetype at = text.indexOf(opening, pos);
            if (at < 0)
                break;
            setAside += QStringView(text).mid(pos, at - pos);
            pos = at + tagLength;
        }
        const QStringList v = takeFields(kPoster, text, pos);
        PosterRecord r;
        r.POST = v[0];
        r.XS = toInt(kPoster, v, 1);
        r.YS = toInt(kPoster, v, 2);
        r.XXS = toInt(kPoster, v, 3);
        r.YYS = toInt(kPoster, v, 4);
        r.P = toInt(kPoster, v, 5);
        r.PT = toInt(kPoster, v, 6);
        r.STP = toInt(kPoster, v, 7);
        r.R = toInt(kPoster, v, 8);
        r.S2 = v[9];
        r.NOTE = v[10];
        r.TT = v[11];
        r.FNAME = v[12];
        r.FTIME = v[13];
        r.KFLG = v[14];
        r.KSU = v[15];
        r.KAKUSU = v[16];
        records.append(r);
    }
    return records;
}

std::optional<PanelRecord> parsePanelRecord(const QString& text) {
    const auto v = lastRecordFields(kPanel, text);
    if (!v)
        return std::nullopt;
    return PanelRecord{(*v)[0], (*v)[1]};
}

std::optional<UrlRecord> parseUrlRecord(const QString& text) {
    // Every record is converted, not just the last, so that a damaged earlier
    // record is reported rather than silently passed over.
    QVector<QStringList> all;
    lastRecordFields(kUrl, text, &all);
    std::optional<UrlRecord> result;
    for (const QStringList& v : all) {
        UrlRecord r;
        r.page = v[0];
        r.WEBOLDTIME = v[1];
        r.X = toInt(kUrl, v, 2);
        r.Y = toInt(kUrl, v, 3);
        r.width = toInt(kUrl, v, 4);
        r.height = toInt(kUrl, v, 5);
        r.ribbon = toInt(kUrl, v, 6);
        // The pane must leave the tool column free at the right edge.
        if (qint64(r.X) + r.width > 1920 - 60)
            r.width = 1920 - 60 - r.X;
        result = r;
    }
    return result;
}

std::optional<MaskRecord> parseMaskRecord(const QString& text) {
    QVector<QStringList> all;
    lastRecordFields(kMask, text, &all);
    std::optional<MaskRecord> result;
    for (const QStringList& v : all) {
        MaskRecord r;
        r.mask = v[0];
        r.label = v[1];
        r.DIROLDTIME = v[2];
        r.X = toInt(kMask, v, 3);
        r.Y = toInt(kMask, v, 4);
        r.width = toInt(kMask, v, 5);
        r.height = toInt(kMask, v, 6);
        result = r;
    }
    return result;
}

QString formatPosterRecord(const PosterRecord& r) {
    return formatRecord(kPoster,
                        {r.POST, QString::number(r.XS), QString::number(r.YS),
                         QString::number(r.XXS), QString::number(r.YYS), QString::number(r.P),
                         QString::number(r.PT), QString::number(r.STP), QString::number(r.R), r.S2,
                         r.NOTE, r.TT, r.FNAME, r.FTIME, r.KFLG, r.KSU, r.KAKUSU});
}

QString formatPanelRecord(const PanelRecord& r) {
    return formatRecord(kPanel, {r.KABEIMAGE, r.KABEIMAGEOLDTIME});
}

QString formatUrlRecord(const UrlRecord& r) {
    return formatRecord(kUrl, {r.page, r.WEBOLDTIME, QString::number(r.X), QString::number(r.Y),
                               QString::number(r.width), QString::number(r.height),
                               QString::number(r.ribbon)});
}

QString formatMaskRecord(const MaskRecord& r) {
    return formatRecord(kMask,
                        {r.mask, r.label, r.DIROLDTIME, QString::number(r.X), QString::number(r.Y),
                         QString::number(r.width), QString::number(r.height)});
}

bool PosterRecord::operator==(const PosterRecord& o) const {
    return POST == o.POST && XS == o.XS && YS == o.YS && XXS == o.XXS && YYS == o.YYS && P == o.P &&
           PT == o.PT && STP == o.STP && R == o.R && S2 == o.S2 && NOTE == o.NOTE && TT == o.TT &&
           FNAME == o.FNAME && FTIME == o.FTIME && KFLG == o.KFLG && KSU == o.KSU &&
           KAKUSU == o.KAKUSU;
}

bool PanelRecord::operator==(const PanelRecord& o) const {
    return KABEIMAGE == o.KABEIMAGE && KABEIMAGEOLDTIME == o.KABEIMAGEOLDTIME;
}

bool UrlRecord::operator==(const UrlRecord& o) const {
    return page == o.page && WEBOLDTIME == o.WEBOLDTIME && X == o.X && Y == o.Y &&
           width == o.width && height == o.height && ribbon == o.ribbon;
}

bool MaskRecord::operator==(const MaskRecord& o) const {
    return mask == o.mask && label == o.label && DIROLDTIME == o.DIROLDTIME && X == o.X &&
           Y == o.Y && width == o.width && height == o.height;
}
