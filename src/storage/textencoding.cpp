#include "storage/textencoding.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <iconv.h>

namespace {

struct ByteOrderMark {
    QByteArray bytes;
    TextEncoding encoding;
    QStringConverter::Encoding converter;
};

const ByteOrderMark kMarks[] = {
    {QByteArray("\xEF\xBB\xBF", 3), TextEncoding::Utf8, QStringConverter::Utf8},
    {QByteArray("\xFF\xFE", 2), TextEncoding::Utf16LE, QStringConverter::Utf16LE},
    {QByteArray("\xFE\xFF", 2), TextEncoding::Utf16BE, QStringConverter::Utf16BE},
};

std::optional<QString> decodeStrictly(const QByteArray& bytes, QStringConverter::Encoding e) {
    QStringDecoder decoder(e, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Converts all of `bytes` with iconv; nothing on any character it cannot
// convert. Neither direction between CP932 and UTF-16 more than doubles the
// size, so the output never runs out.
std::optional<QByteArray> convert(const char* to, const char* from, QByteArray bytes) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    QByteArray out(bytes.size() * 2 + 16, Qt::Uninitialized);
    char* in = bytes.data();
    size_t inLeft = size_t(bytes.size());
    char* o = out.data();
    size_t outLeft = size_t(out.size());
    bool clean = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &o, &outLeft) == size_t(-1)) {
            clean = false;
            break;
        }
    }
    iconv_close(cd);
    if (!clean)
        return std::nullopt;
    out.truncate(out.size() - qsizetype(outLeft));
    return out;
}

} // namespace

std::optional<QString> decodeShiftJis(const QByteArray& bytes) {
    const auto utf16 = convert("UTF-16LE", "CP932", bytes);
    if (!utf16)
        return std::nullopt;
    return QString(reinterpret_cast<const QChar*>(utf16->constData()), utf16->size() / 2);
}

std::optional<QByteArray> encodeShiftJis(const QString& text) {
    return convert("CP932", "UTF-16LE", QStringEncoder(QStringConverter::Utf16LE).encode(text));
}

std::optional<EncodedText> decodeText(const QByteArray& bytes) {
    for (const ByteOrderMark& mark : kMarks) {
        if (!bytes.startsWith(mark.bytes))
            continue;
        const auto text = decodeStrictly(bytes.mid(mark.bytes.size()), mark.converter);
        if (!text)
            return std::nullopt;
        return EncodedText{*text, mark.encoding, true};
    }
    if (auto text = decodeStrictly(bytes, QStringConverter::Utf8))
        return EncodedText{*text, TextEncoding::Utf8, false};
    if (auto text = decodeShiftJis(bytes))
        return EncodedText{*text, TextEncoding::Cp932, false};
    return std::nullopt;
}

std::optional<QByteArray> encodeText(const EncodedText& text) {
    if (text.encoding == TextEncoding::Cp932)
        return encodeShiftJis(text.text);
    for (const ByteOrderMark& mark : kMarks) {
        if (mark.encoding != text.encoding)
            continue;
        QStringEncoder encoder(mark.converter);
        return (text.bom ? mark.bytes : QByteArray()) + encoder.encode(text.text);
    }
    return std::nullopt;
}
