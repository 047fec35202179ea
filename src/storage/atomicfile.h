#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Writes a whole file through a temporary file in the same folder that is
// renamed over the old one, so that a crash or a full disk never leaves a
// half-written card: either the new file is there whole, or the old one is.
// Every write and the flush to the disk are checked, and the size that landed
// is compared with the size meant, before the rename. The temporary file has
// a short name of its own, so that any name the folder can hold can be
// written. A symbolic link at `path` is replaced by the file, never written
// through. A file at `path` that may not be written (read-only, or not ours
// to write) is kept: the rename would replace it where a plain write is
// refused. On failure returns false and, when asked, the cause for the user
// in Japanese, without the file's name (the caller's message names it); the
// old file is then untouched.
bool writeFileAtomically(const QString& path, const QByteArray& bytes,
                         QString* errorText = nullptr);

// The same for a file only its owner may read and write (0600), whatever
// the file it replaces allowed: what the program keeps of the user's own in
// a shared folder such as a cache.
bool writePrivateFileAtomically(const QString& path, const QByteArray& bytes,
                                QString* errorText = nullptr);

// The cause of a failed write as the user is told it, from the system's
// error number: a full disk, a quota, no permission, a read-only disk, a
// missing folder and so on.
QString writeFailureText(int errorNumber);

// Writes a new file at `path` only where there is none: the name is claimed
// by creating the file exclusively (O_EXCL), which of two writers racing for
// one name only one can do, and the whole file then replaces the empty claim
// through the atomic writer. False, with `*taken` set, when a file is there
// already (nothing is written then); false with a description when the
// write failed, in which case the claim is gone again.
bool writeNewFileAtomically(const QString& path, const QByteArray& bytes, bool* taken,
                            QString* errorText = nullptr);

// Whether `a` and `b` name one existing file (a link, "..", another spelling).
bool sameFile(const QString& a, const QString& b);

// Told the bytes copied so far and the whole size after every piece of a
// copy; false cancels it.
using CopyProgress = std::function<bool(qint64 done, qint64 total)>;
enum class CopyResult { Copied, Cancelled, Failed };

// Copies a regular file the same way, piece by piece, so that a file of any
// size is copied without being held in memory. A cancelled or failed copy
// leaves `to` as it was and no temporary file behind; the source is only
// read. A copy onto itself does nothing. `errorText` says why a copy failed.
CopyResult copyFileAtomically(const QString& from, const QString& to,
                              const CopyProgress& progress = {}, QString* errorText = nullptr,
                              qint64 pieceBytes = 1024 * 1024);
