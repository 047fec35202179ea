#pragma once

#include "storage/filereading.h"
#include "storage/folderlisting.h"

#include <functional>

// How the files of a wall folder are reached while a wall is loaded and
// followed: straight from the file system, or, for a test or a benchmark,
// through a stand-in that answers as slowly as a school's file share.
struct FolderAccess {
    enum class Entry { None, File, Other };

    std::function<std::optional<QVector<ListedFile>>(const QString& folder, CardOrder order)> list =
        listCardFiles;
    // A wall file, at most kMaxWallFileBytes.
    std::function<FileRead(const QString& path)> read = readWallFile;
    // What stands at `path`, following links.
    std::function<Entry(const QString& path)> entry = entryAt;

    static FileRead readWallFile(const QString& path);
    static Entry entryAt(const QString& path);
};
