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

// The folder in the user's home where an installed program keeps its walls.
// Not "~/Zavik/": that is where the portable folder goes by default, and a
// wall there would show the program's own files as cards.
QString homeDataFolder(const QString& home);

// The environment variable that names the data folder, as "--data" does.
inline constexpr char kDataFolderVariable[] = "ZAVIK_DATA";

// The folders of one run. A data folder chosen on the command line or in the
// environment comes first; it must be there already, since a missing one is
// usually a share that is not mounted, and walls made in its place would be
// lost from sight. Then a portable data folder beside the executable, made
// where the executable's folder is the user's to write. An installed program
// (its folder not writable, or under /usr/) keeps its walls in the user's
// home, and its first start puts the sample wall there.
struct RunFolders {
    WallFolders folders;
    bool fromSample = false; // the data folder is to be made from the sample wall
    QString problem;         // why the program cannot start, for the user
};
RunFolders foldersForRun(const QString& executablePath, const QString& chosenData,
                         const QString& home);

// Makes the data folder of `run`: from the resource folder's sample wall
// when `fromSample`, else empty when missing. The sample is copied beside
// the folder first and renamed into place, so that a start that breaks off
// leaves no half wall behind. A failure leaves an empty wall, as a data
// folder that cannot be made does.
void prepareDataFolder(const RunFolders& run);
