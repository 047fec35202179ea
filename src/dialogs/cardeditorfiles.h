#pragma once

#include "storage/filerollback.h"

#include <QString>
#include <QStringList>
#include <functional>

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

    // The writes stand.
    void commit() { kept_.commit(); }
    // Every file back as it was; those that could not be are named.
    void putBack();

private:
    QWidget* dialog_;
    const WallDocument& st;
    FileRollback kept_;
};
