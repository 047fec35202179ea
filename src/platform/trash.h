#pragma once

#include <QString>
#include <optional>

// Moves a file into the desktop's trash, from where the user can bring it
// back. False, with the reason in `error`, when the file stays where it was.
bool moveToTrash(const QString& path, QString* error = nullptr);

// The data folder's own trash, for a desktop without one: no wall.
inline const QString kAsideFolderName = QStringLiteral(".zavik-trash");

// Where a file put aside went, to bring it back from there.
struct TrashedFile {
    QString path; // the file now
    QString info; // the desktop trash's note of where it came from; none outside it
};

// Moves a file into the desktop's trash, or, where the desktop has none that
// takes it (no trash folder on that disk, a folder the trash cannot be made
// in), into `fallbackFolder`, made when needed. None, with the reason in
// `error`, when the file stays where it was.
std::optional<TrashedFile> putAside(const QString& path, const QString& fallbackFolder,
                                    QString* error = nullptr);

// Puts a file put aside back at `path`, whole and unchanged (it is moved,
// not copied, where the disk allows), but never over a file that is at
// `path` now. False, with the reason in `error`, when it stays where it is.
bool bringBack(const TrashedFile& file, const QString& path, QString* error = nullptr);
