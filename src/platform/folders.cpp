#include "platform/folders.h"

#include <QDir>
#include <QFileInfo>

WallFolders deriveFolders(const QString& executablePath) {
    const QFileInfo exe(QDir::fromNativeSeparators(executablePath));
    const QString folder = exe.absolutePath() + QLatin1Char('/');
    const QString name = exe.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name + QStringLiteral("-data");
    WallFolders f;
    f.KIJUNDIRBAK = folder + stem + QLatin1Char('/');
    f.KIJUNDIR = f.KIJUNDIRBAK;
    f.KIJUNEX = folder + QStringLiteral("[Zavik]/");
    return f;
}

bool ensureFolder(const QString& folder) {
    return QDir().mkpath(folder);
}
