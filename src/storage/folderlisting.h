#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// What a file looked like on disk: size and modification time. A file that
// does not exist has size -1.
struct FileSignature {
    qint64 size = -1;
    qint64 mtimeNs = 0;
    bool exists() const { return size >= 0; }
    bool operator==(const FileSignature& o) const { return size == o.size && mtimeNs == o.mtimeNs; }
    bool operator!=(const FileSignature& o) const { return !(*this == o); }
};

FileSignature signatureOf(const QString& path);

struct ListedFile {
    QString name; // a name that is not UTF-8 is shown with "\xNN" escapes
    FileSignature signature;
    bool regular = true;    // false: a FIFO, a device, a dangling link
    bool nameIsUtf8 = true; // false: the file cannot be opened by `name`
};

// The card files of a folder (every entry but a folder whose name ends in
// ".txt", in any case, odd ones included so that they can be named), sorted
// by name without regard to case (names that differ only in case keep a
// fixed order), or as the folder lists them when the caller only looks
// names up. Nothing when the folder cannot be listed: a failed listing is
// not an empty folder.
enum class CardOrder { ByName, AsListed };
std::optional<QVector<ListedFile>> listCardFiles(const QString& folder,
                                                 CardOrder order = CardOrder::ByName);
void sortByCardName(QVector<ListedFile>& files);

// The names of the regular files of a folder that match a mask such as "*.jpg;*.bmp"
// (split at ";", matched without regard to case), sorted by name.
std::optional<QStringList> listMatchingFiles(const QString& folder, const QString& mask);

// The name order of the card files.
bool cardNameLess(const QString& a, const QString& b);
