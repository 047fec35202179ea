#pragma once

#include <QString>

class QWidget;

// Copies every file and sub-folder of `source` into `destination` (made when
// missing), replacing files of the same name. Symbolic links are not
// followed. Returns an empty string on success, else what failed, so that a
// partial copy is never passed off as done.
QString copyFolderContents(const QString& source, const QString& destination);

// Copies the files of `source` whose extension is `extension` into
// `destination` (made when missing).
QString ALLCOPY(const QString& source, const QString& destination, const QString& extension);

// A name that stays a folder directly on the desktop.
bool isPlainFolderName(const QString& name);

// Asks, then copies the whole folder `source` to the desktop folder `name`.
// Tells the user when the copy failed.
void FDL(QWidget* parent, const QString& source, const QString& name);
