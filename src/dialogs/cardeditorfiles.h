#pragma once

#include "storage/filerollback.h"

#include <QString>
#include <QStringList>
#include <functional>

class QImage;
class QWidget;
class WallDocument;

// What the card editor's buttons write into the wall folder while it is
// open. Each file there is kept aside before it is replaced, so that closing
// the editor without saving puts the folder back as it was; a file the user
// did not write in this editor is replaced only when the user says so.
class CardEditorFiles {
public:
    CardEditorFiles(QWidget* dialog, const WallDocument& state) : dialog_(dialog), st(state) {}

    // Writes `path` through `write`, its folder made and what is there kept
    // aside first. False, with the reason, when nothing was written.
    bool write(const QString& path, const std::function<bool(QString* why)>& write,
               QString* why = nullptr);
    // The same for a copy of the file `from`.
    bool copy(const QString& from, const QString& to, QString* why = nullptr);
    // Whether the files `paths` may be written: the user is asked, naming
    // them, about those there that are neither the card's own picture
    // `ownPicture` (or its "_" copy) nor written by this editor already.
    bool mayReplace(const QStringList& paths, const QString& ownPicture);

    // What the picture and link buttons bring into the wall. Each asks before
    // replacing a file of the wall (`ownPicture` as for `mayReplace`), and
    // tells the user, naming the file, when the one the card needs could not
    // be written.

    // The picture `chosen` copied in with its "_" copy (unless it lies in the
    // wall already), and into the card's folder `cardFolder` when that is a
    // plain folder name, with its thumbnail; false when nothing was taken.
    bool takePicture(const QString& chosen, const QString& cardFolder, const QString& ownPicture);
    // The pasted picture written as `name` into the wall, and with its "_"
    // copy into `folder` when that is a plain folder name, with its
    // thumbnail; false when nothing was taken.
    bool takePastedPicture(const QImage& pasted, const QString& name, const QString& folder,
                           const QString& ownPicture);
    // The chosen files copied in (a page with what it shows); the names of
    // those the link shows.
    QStringList takeFiles(const QStringList& chosen, const QString& ownPicture);
    // The chosen pictures copied in with their "_" copies, up to the first
    // that is no file; the name of the last one taken, or nothing.
    QString takeBackgrounds(const QStringList& chosen, const QString& ownPicture);

    // The writes stand.
    void commit() { kept_.commit(); }
    // Every file back as it was; those that could not be are named.
    void putBack();

private:
    // Writes each of `paths` through `writeOne`; false, after telling the
    // user, when `needed`, the one the card names, could not be written.
    bool writeAll(const QStringList& paths, const QString& needed,
                  const std::function<bool(const QString& path, QString* why)>& writeOne);
    // Tells the user `path` could not be written into the wall.
    void notWritten(const QString& path, const QString& why);

    QWidget* dialog_;
    const WallDocument& st;
    FileRollback kept_;
};
