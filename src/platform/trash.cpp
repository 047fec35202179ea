#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

bool moveToTrash(const QString& path, QString* error) {
    // Without the user's data folder Qt reports success and moves the file
    // into the current folder instead: the folder is made first.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("「%1」がありません。").arg(path);
        return false;
    }
    if (!file.moveToTrash() || QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("「%1」をごみ箱に移せません：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}
