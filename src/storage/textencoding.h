#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Text files kept in the encoding they came in: a page a word processor wrote
// is changed and written back exactly as it was encoded, byte order mark
// included.

enum class TextEncoding { Utf8, Utf16LE, Utf16BE, Cp932 };

struct EncodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    bool bom = false;
};

// The text of a file and how it was written: the encoding its byte order mark
// names; without one UTF-8 when the bytes are clean UTF-8, else CP932, the
// code page a Japanese Windows program saves in. Nothing when the bytes are
// none of these.
std::optional<EncodedText> decodeText(const QByteArray& bytes);

// The bytes of `text` in its encoding; nothing when a character cannot be
// written in it (CP932 lacks many).
std::optional<QByteArray> encodeText(const EncodedText& text);

// CP932 to Unicode; nothing when the bytes are not clean CP932.
std::optional<QString> decodeShiftJis(const QByteArray& bytes);
// Unicode to CP932; nothing when a character has no CP932 form.
std::optional<QByteArray> encodeShiftJis(const QString& text);
