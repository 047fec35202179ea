#include "storage/underscorecopy.h"

#include "storage/htmlcopy.h"

#include <QFileInfo>

QString underscoreCopyOf(const QString& path) {
    const QFileInfo file(path);
    return file.path() + QStringLiteral("/_") + file.fileName();
}

bool keepUnderscoreCopy(const QString& path) {
    const QString original = underscoreCopyOf(path);
    if (!QFileInfo(path).isFile() || QFileInfo::exists(original))
        return true;
    return copyOver(path, original);
}

bool restoreUnderscoreCopy(const QString& path) {
    const QString original = underscoreCopyOf(path);
    return QFileInfo(original).isFile() && copyOver(original, path);
}
