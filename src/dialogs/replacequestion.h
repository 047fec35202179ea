#pragma once

#include <QString>
#include <QStringList>

// One file to copy into the wall.
struct FileCopy {
    QString from;
    QString to;
};

// Whether copying `from` to `to` would replace a file that is there already:
// a file or a link at `to` that is not `from` itself.
bool wouldReplace(const QString& from, const QString& to);

// The targets of `copies` that a copy would replace.
QStringList filesReplaced(const QList<FileCopy>& copies);

// The one question asked before files of the wall folder `folder` are
// replaced, naming each of `paths` below the folder (a long list is cut
// short and counted); `ifNot` says what "いいえ" does.
QString replaceQuestion(const QStringList& paths, const QString& folder, const QString& ifNot);
