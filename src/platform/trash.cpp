#include "platform/trash.h"

#include "storage/timestamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The desktop trash keeps a note beside each file, "info/NAME.trashinfo"
// for "files/NAME": it goes with the file when the file comes back.
QString trashInfoOf(const QString& pathInTrash) {
    const QFileInfo file(pathInTrash);
    QDir files = file.dir();
    if (files.dirName() != QLatin1String("files") || !files.cdUp())
        return QString();
    const QString info = files.filePath(QStringLiteral("info/%1.trashinfo").arg(file.fileName()));
    return QFileInfo::exists(info) ? info : QString();
}

bool intoDesktopTrash(const QString& path, TrashedFile* where) {
    // Without the user's data folder Qt reports success and moves the file
    // into the current folder instead: the folder is made first.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!QDir().mkpath(data) || !QFileInfo(data).isDir())
        return false;
    QString inTrash;
    if (!QFile::moveToTrash(path, &inTrash) || QFileInfo::exists(path) ||
        !QFileInfo(inTrash).isFile())
        return false;
    *where = {inTrash, trashInfoOf(inTrash)};
    return true;
}

} // namespace

bool moveToTrash(const QString& path, QString* error) {
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("「%1」がありません。").arg(path);
        return false;
    }
    TrashedFile where;
    if (!intoDesktopTrash(path, &where)) {
        if (error)
            *error = QStringLiteral("「%1」をごみ箱に移せません。").arg(path);
        return false;
    }
    return true;
}

std::optional<TrashedFile> putAside(const QString& path, const QString& fallbackFolder,
                                    QString* error) {
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = QStringLiteral("「%1」がありません。").arg(path);
        return std::nullopt;
    }
    TrashedFile where;
    if (intoDesktopTrash(path, &where))
        return where;
    // No trash takes it: a folder of our own, under a name no other file
    // put aside there has.
    const QString stamp = makeTimestamp();
    const QString name = QFileInfo(path).fileName();
    QDir folder(fallbackFolder);
    if (folder.mkpath(QStringLiteral("."))) {
        QString target = folder.filePath(stamp + QLatin1Char('-') + name);
        for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
            target = folder.filePath(QStringLiteral("%1-%2-%3").arg(stamp).arg(n).arg(name));
        // A rename where the folder is on the same disk, else a copy that
        // removes the file only once the copy is whole.
        if (QFile::rename(path, target))
            return TrashedFile{target, QString()};
    }
    if (error)
        *error = QStringLiteral("「%1」をごみ箱にも「%2」にも移せません。")
                     .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(fallbackFolder));
    return std::nullopt;
}

bool bringBack(const TrashedFile& file, const QString& path, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return fail(QStringLiteral("「%1」がもうあります。").arg(QDir::toNativeSeparators(path)));
    if (!QFileInfo(file.path).isFile())
        return fail(QStringLiteral("「%1」はもうごみ箱にありません。")
                        .arg(QDir::toNativeSeparators(file.path)));
    // Qt's rename never replaces a file that is there (it asks the system
    // for a rename that refuses to), and copies only across disks.
    if (!QFile::rename(file.path, path))
        return fail(
            QStringLiteral("「%1」をごみ箱から戻せません。").arg(QDir::toNativeSeparators(path)));
    if (!file.info.isEmpty())
        QFile::remove(file.info);
    return true;
}
