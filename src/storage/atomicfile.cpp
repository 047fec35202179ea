#include "storage/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool syncToDisk(int fd) {
#ifdef Q_OS_WIN
    return _commit(fd) == 0;
#else
    return ::fsync(fd) == 0;
#endif
}

bool fail(QString* errorText, const QString& why) {
    if (errorText)
        *errorText = why;
    return false;
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* errorText) {
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.zv-XXXXXX.tmp"));
    temp.setAutoRemove(true);
    if (!temp.open())
        return fail(errorText, temp.errorString());
    if (temp.write(bytes) != bytes.size() || !temp.flush())
        return fail(errorText, temp.errorString());
    if (!syncToDisk(temp.handle()))
        return fail(errorText,
                    QStringLiteral("ディスクに書き込めません（空きがないかもしれません）。"));
    if (temp.size() != bytes.size())
        return fail(
            errorText,
            QStringLiteral("ファイルが途中までしか書けませんでした（空きがないかもしれません）。"));
    // The new file gets the permissions of the one it replaces, or the
    // usual ones for a new file.
    const QFileInfo old(path);
    const bool replacing = old.exists() && !old.isSymLink();
    temp.setPermissions(replacing ? old.permissions()
                                  : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QString written = temp.fileName();
    temp.close();
    // rename() replaces a link at `path` itself, not the file it points to.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(written.toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), ec);
    if (ec)
        return fail(errorText, QString::fromStdString(ec.message()));
    temp.setAutoRemove(false);
    return true;
}

bool writeNewFileAtomically(const QString& path, const QByteArray& bytes, bool* taken,
                            QString* errorText) {
    *taken = false;
    QFile claim(path);
    if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const QFileInfo there(path);
        *taken = there.exists() || there.isSymLink();
        return fail(errorText, claim.errorString());
    }
    claim.close();
    if (writeFileAtomically(path, bytes, errorText))
        return true;
    claim.remove();
    return false;
}
