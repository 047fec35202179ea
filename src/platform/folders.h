#pragma once

#include <QString>

// The three folders the program derives from where its executable lies. All
// end in "/".
struct WallFolders {
    QString KIJUNDIRBAK; // data folder: the root wall
    QString KIJUNDIR;    // current wall folder: starts at the data folder
    QString KIJUNEX;     // resource folder: help pages, LOGO environment
};

// The data folder is the executable's path without its extension ("Zavik.exe"
// gives "Zavik/"); an executable without an extension cannot share its name
// with a folder, so there it is the path + "-data/". The resource folder is
// the executable's folder + "[Zavik]/".
WallFolders deriveFolders(const QString& executablePath);

// Creates the data folder when missing; a failure is left for the caller to
// ignore (the wall is then empty).
bool ensureFolder(const QString& folder);
