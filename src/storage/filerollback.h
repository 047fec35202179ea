#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What a dialog writes into a wall folder while it is open, kept so that all
// of it can be put back. Before a file is written, the file that is there is
// kept aside under a hidden name beside it (a second name for the same file
// where the file system has them, else the file itself moved there); a file
// or a folder that was not there is noted. Every writer replaces a file
// through a new one, so the kept file stays as it was. Whatever is neither
// committed nor rolled back when the object goes is put back.
class FileRollback {
public:
    FileRollback() = default;
    ~FileRollback();
    FileRollback(const FileRollback&) = delete;
    FileRollback& operator=(const FileRollback&) = delete;

    // Call before `path` is written, and before the folders on the way to it
    // are made. The first call for a path keeps what is there. False when
    // the file there could not be kept: it must not be written then.
    bool keep(const QString& path);
    // Whether `path` was kept (and so was written by this dialog).
    bool kept(const QString& path) const;

    // The writes stand: the kept files go. A file whose write failed gets
    // its kept file back.
    void commit();
    // Everything as before the first keep: the kept files back in their
    // places, the files and the (empty) folders that were not there removed.
    // Returns the paths that could not be put back.
    QStringList rollBack();

private:
    struct Kept {
        QString path;
        QString aside; // empty: there was no file
    };
    QVector<Kept> files_;
    QStringList newFolders_; // outermost first
};
