#pragma once

#include <QByteArray>
#include <QString>

// Reading a whole file safely. Only a regular file (after following links)
// of at most `maxBytes` is read: a FIFO, a device or a larger file is refused
// without blocking on it or reading it.
struct FileRead {
    enum class Problem { None, Missing, NotRegular, TooLarge, Unreadable };
    Problem problem = Problem::None;
    QByteArray bytes;
    QString error; // the system's words, for Unreadable
};

FileRead readRegularFile(const QString& path, qint64 maxBytes);

class QFile;
// Opens a regular file to be read in pieces, refusing what readRegularFile
// refuses, whatever its size; `error` gets the system's words.
FileRead::Problem openRegularFile(const QString& path, QFile& file, QString* error = nullptr);

// A card or settings file, or a list of names, is never larger than this.
constexpr qint64 kMaxWallFileBytes = 16 * 1024 * 1024;
