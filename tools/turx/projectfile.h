#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A LOGO project file (".trx" or ".tr2"): plain text holding LOGO source.
// Files come as UTF-8 with or without a byte order mark, or as Shift_JIS from
// older Windows editors; they are always written back as UTF-8, keeping the
// mark and the kind of line end the file had.
struct ProjectText {
    QString text;                             // lines joined by "\n"
    QString lineEnd = QStringLiteral("\r\n"); // what the file uses
    bool byteOrderMark = false;
    bool fromShiftJis = false;
};

// Nothing when the bytes are neither UTF-8 nor Shift_JIS.
std::optional<ProjectText> decodeProjectText(const QByteArray& bytes);
QByteArray encodeProjectText(const ProjectText& project);

// A missing file is an error here; the window decides what that means.
bool readProjectFile(const QString& path, ProjectText* project, QString* errorText);
// Atomic: the old file stays whole until the new one is complete.
bool writeProjectFile(const QString& path, const ProjectText& project, QString* errorText);
