#pragma once

#include <QString>

// The three forms a path takes inside a record:
//  - relative to the wall folder: "pics\cat.jpg";
//  - relative to the data folder: ".." directly followed by the rest below the
//    data folder, "..pics\cat.jpg" (the dots do not mean the parent folder);
//  - absolute: a folder part holding ":" (a drive or a URL) or, on Linux, a
//    path beginning with "/".
// In memory, paths use "/" and folders end in "/". Relative forms are written
// with "\" so wall folders move between Windows and Linux unchanged.

// The folder part of a path: everything up to and including the last "\",
// "/" or ":" (empty when there is none).
QString folderPart(const QString& path);

// A path made relative to `base` (or, failing that, to `dataFolder`) when it
// begins with it; otherwise the path unchanged.
QString SOUTAI(const QString& path, const QString& base, const QString& dataFolder);

// A stored path made absolute: unchanged when its folder part holds ":" (a
// drive or URL), "/"-separated when it begins with a separator, below the data
// folder when it holds "..", and below `base` otherwise.
QString ZETTAI(const QString& path, const QString& base, const QString& dataFolder);

// "\" turned into "/".
QString withSlashes(QString path);

// Whether a path names a Windows drive ("D:\教材\", "c:/x"): a folder
// there never exists on this system.
bool isWindowsDrivePath(const QString& path);

// Whether a path ends in a separator of either form: it names a folder.
bool endsWithSeparator(const QString& path);
