#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The text form shared by every wall file: UTF-8 with a byte order mark and
// CR LF line ends on writing; on reading the mark is optional and the lines
// come back joined by CR LF, with a CR LF after the last one.

struct DecodedWallText {
    QString text;
    bool fromShiftJis = false; // the file was written by a Windows editor in CP932
};

// Decodes a wall file. Bytes that are not valid UTF-8 are tried as Shift_JIS
// (CP932); when they are not clean CP932 either, there is no text: the file is
// damaged and must be left alone.
std::optional<DecodedWallText> decodeWallText(const QByteArray& bytes);

// Joins the physical lines of a text (split at CR LF, CR or LF) with CR LF,
// with a CR LF after the last line; an empty text stays empty.
QString joinLinesCrLf(const QString& text);

// The bytes of a file holding `record`: byte order mark, then every line of
// the record followed by CR LF.
QByteArray encodeWallText(const QString& record);
