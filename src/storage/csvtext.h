#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Comma-separated text as a spreadsheet reads it.

// A field as it stands, or in double quotes (inner quotes doubled) when it
// holds a comma, a double quote or a line break, which would otherwise
// shift the row's later columns or start a new row. A text that a
// spreadsheet would run as a formula (beginning with "=", "+", "-", "@", a
// tab or a carriage return) gets a leading apostrophe first, unless it is a
// plain number ("-5", "+3.2"), which stays a number.
QString csvField(const QString& field);
// The fields of one row, each followed by ",".
QString csvLine(const QStringList& fields);
// The file: a byte order mark, then every line followed by CR LF.
QByteArray csvBytes(const QStringList& lines);
