#include "storage/walltext.h"

#include "storage/textencoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const QByteArray kBom("\xEF\xBB\xBF", 3);

std::optional<QString> decodeUtf8Strictly(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Calls `line(begin, length)` for every physical line of `text`.
template <typename F> void forEachLine(const QString& text, F line) {
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            line(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < n)
        line(start, n - start);
}

} // namespace

std::optional<DecodedWallText> decodeWallText(const QByteArray& bytes) {
    DecodedWallText result;
    const QByteArray body = bytes.startsWith(kBom) ? bytes.mid(kBom.size()) : bytes;
    if (auto utf8 = decodeUtf8Strictly(body)) {
        result.text = joinLinesCrLf(*utf8);
        return result;
    }
    if (auto sjis = decodeShiftJis(body)) {
        result.text = joinLinesCrLf(*sjis);
        result.fromShiftJis = true;
        return result;
    }
    return std::nullopt;
}

QString joinLinesCrLf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 16 + 2);
    forEachLine(text, [&](qsizetype begin, qsizetype length) {
        out += QStringView(text).mid(begin, length);
        out += QLatin1String("\r\n");
    });
    return out;
}

QByteArray encodeWallText(const QString& record) {
    // The record ends with a line break of its own, so even a record that
    // ends in a line break keeps every line, and the file ends in CR LF.
    QStringEncoder encoder(QStringConverter::Utf8);
    QByteArray out = kBom;
    out += encoder.encode(joinLinesCrLf(record + QLatin1Char('\r')));
    return out;
}
