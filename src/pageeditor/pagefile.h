#pragma once

#include <QString>

// The page file on disk: UTF-8 with a byte order mark, CR LF line ends.

struct PageRead {
    QString text; // every line of the file ending in CR LF
    // Empty when the page was read; otherwise what keeps it from being
    // edited, for the user (not UTF-8, too large, no plain file, unreadable).
    QString problem;
};

// Reads a page to edit: UTF-8 with or without a byte order mark, at most
// 8 MiB, a regular file.
PageRead readPageFile(const QString& path);

// Writes `text` whole (temporary file and rename): a byte order mark, then
// every line (split at CR, LF or CR LF) followed by CR LF. False, with the
// reason in `error`, when it did not land; the old file then stays.
bool writePageFile(const QString& path, const QString& text, QString* error = nullptr);
