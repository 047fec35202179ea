#include "platform/folders.h"

#include "platform/desktopcopy.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A card shows its thumbnail only when it is not older than its picture; a
// copy gives the files the times of their copying, in no set order.
void freshenThumbnails(const QString& folder) {
    const QDateTime now = QDateTime::currentDateTime();
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).absolutePath().endsWith(QLatin1String("NAIL"))) {
            QFile f(path);
            if (f.open(QIODevice::ReadWrite))
                f.setFileTime(now, QFileDevice::FileModificationTime);
        }
    }
}

} // namespace

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

QString homeDataFolder(const QString& home) {
    return withSlash(home) + QStringLiteral("Zavikのかべ/");
}

RunFolders foldersForRun(const QString& executablePath, const QString& chosenData,
                         const QString& home) {
    RunFolders run;
    run.folders = deriveFolders(executablePath);
    QString data;
    if (!chosenData.isEmpty()) {
        const QFileInfo chosen(QDir::fromNativeSeparators(chosenData));
        data = withSlash(QDir::cleanPath(chosen.absoluteFilePath()));
        if (!chosen.isDir())
            run.problem = QStringLiteral("かべのデータフォルダ「%1」が見つかりません。\n"
                                         "フォルダ（共有フォルダならその接続）を確かめてから、"
                                         "もう一度はじめてください。")
                              .arg(QDir::toNativeSeparators(data));
    } else {
        const QString beside = run.folders.KIJUNDIRBAK;
        const QFileInfo exeFolder(
            QFileInfo(QDir::fromNativeSeparators(executablePath)).absolutePath());
        const bool installed = !exeFolder.isWritable() ||
                               exeFolder.absoluteFilePath().startsWith(QLatin1String("/usr/"));
        if (QFileInfo(beside).isDir() || !installed) {
            data = beside;
        } else {
            data = homeDataFolder(home);
            run.fromSample = !QFileInfo::exists(data);
        }
    }
    run.folders.KIJUNDIRBAK = data;
    run.folders.KIJUNDIR = data;
    return run;
}

void prepareDataFolder(const RunFolders& run) {
    const QString data = run.folders.KIJUNDIRBAK;
    const QString sample = run.folders.KIJUNEX + QStringLiteral("sample-wall/");
    if (run.fromSample && QFileInfo(sample).isDir()) {
        const QString name = QDir(data).dirName();
        const QString partial = QFileInfo(QDir::cleanPath(data)).absolutePath() +
                                QStringLiteral("/.") + name + QStringLiteral(".partial/");
        QDir(partial).removeRecursively();
        if (copyFolderContents(sample, partial).isEmpty()) {
            freshenThumbnails(partial);
            if (QDir().rename(QDir::cleanPath(partial), QDir::cleanPath(data)))
                return;
        }
        QDir(partial).removeRecursively();
    }
    ensureFolder(data);
}
