#pragma once

#include <QString>
#include <QStringList>

// The folder structure below the program's folder, as an indented tree: a
// title line, then every folder in depth-first order, siblings by name
// (case ignored, as the cards are ordered). Thumbnail folders ("NAIL…") are
// left out with everything below them; symbolic links are not followed; an
// unreadable folder is listed and not entered.
struct FolderTree {
    QStringList lines;
    bool tooDeep = false; // folders below 100 levels were left out
};

FolderTree folderTreeLines(const QString& top);
