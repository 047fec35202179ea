#include "storage/folderaccess.h"

#include <QFile>
#include <sys/stat.h>

FileRead FolderAccess::readWallFile(const QString& path) {
    return readRegularFile(path, kMaxWallFileBytes);
}

FolderAccess::Entry FolderAccess::entryAt(const QString& path) {
    struct stat st;
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return Entry::None;
    return S_ISREG(st.st_mode) ? Entry::File : Entry::Other;
}
