#include "dialogs/cardeditorfiles.h"

#include "document/walldocument.h"
#include "pictures/cardpicture.h"
#include "pictures/picturelayer.h"
#include "pictures/thumbnails.h"
#include "platform/desktopcopy.h"
#include "storage/atomicfile.h"
#include "storage/htmlcopy.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>

bool CardEditorFiles::write(const QString& path, const std::function<bool(QString*)>& write,
                            QString* why) {
    QString reason;
    bool written = false;
    if (!kept_.keep(path))
        reason = QStringLiteral("元のファイルを残せません");
    else if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        reason = QStringLiteral("フォルダを作れません");
    else
        written = write(&reason);
    if (why)
        *why = reason;
    return written;
}

bool CardEditorFiles::copy(const QString& from, const QString& to, QString* why) {
    return write(
        to, [&](QString*) { return copyOver(from, to); }, why);
}

bool CardEditorFiles::mayReplace(const QStringList& paths, const QString& ownPicture) {
    // A file this editor wrote already, or the card's own picture in the
    // wall, is the user's to replace; any other file is named first.
    QStringList others;
    for (const QString& path : paths) {
        const QFileInfo file(path);
        if (!(file.exists() || file.isSymLink()) || kept_.kept(path) ||
            (!ownPicture.isEmpty() &&
             (file.fileName() == ownPicture || file.fileName() == QLatin1Char('_') + ownPicture)))
            continue;
        others << QStringLiteral("「%1」").arg(
            QDir::toNativeSeparators(QDir(st.KIJUNDIR).relativeFilePath(path)));
    }
    return others.isEmpty() ||
           QMessageBox::question(
               dialog_, QStringLiteral("Zavik"),
               QStringLiteral("このかべの%1を置きかえますか？").arg(others.join(QString()))) ==
               QMessageBox::Yes;
}

void CardEditorFiles::putBack() {
    const QStringList lost = kept_.rollBack();
    if (lost.isEmpty())
        return;
    QStringList shown;
    for (const QString& path : lost)
        shown << QDir::toNativeSeparators(path);
    QMessageBox::warning(dialog_, QStringLiteral("Zavik"),
                         QStringLiteral("次のファイルを元に戻せませんでした。\n%1")
                             .arg(shown.join(QLatin1Char('\n'))));
}

void CardEditorFiles::notWritten(const QString& path, const QString& why) {
    QMessageBox::warning(dialog_, QStringLiteral("Zavik"),
                         QStringLiteral("「%1」を書けませんでした%2。\nディスクの空きと書き込みの"
                                        "許可を確かめてください。")
                             .arg(QDir::toNativeSeparators(path),
                                  why.isEmpty() ? QString() : QStringLiteral("（%1）").arg(why)));
}

namespace {

// `name` in the card's folder `folder` of the wall, with its "_" copy, when
// that is a plain folder name.
QStringList inCardFolder(const QString& wall, const QString& folder, const QString& name) {
    if (!isPlainFolderName(folder))
        return {};
    return {wall + folder + QLatin1Char('/') + name, wall + folder + QStringLiteral("/_") + name};
}

} // namespace

bool CardEditorFiles::writeAll(const QStringList& paths, const QString& needed,
                               const std::function<bool(const QString&, QString*)>& writeOne) {
    for (const QString& path : paths) {
        QString why;
        if (!write(
                path, [&](QString* e) { return writeOne(path, e); }, &why) &&
            path == needed) {
            notWritten(path, why);
            return false;
        }
    }
    return true;
}

bool CardEditorFiles::takePicture(const QString& chosen, const QString& cardFolder,
                                  const QString& ownPicture) {
    const QString name = QFileInfo(chosen).fileName();
    const QString inWall = st.KIJUNDIR + name;
    // A picture of the wall folder is not copied onto itself, and its
    // untouched "_" copy is left as it is.
    QStringList copies;
    if (!sameFile(chosen, inWall))
        copies << inWall << st.KIJUNDIR + QLatin1Char('_') + name;
    copies << inCardFolder(st.KIJUNDIR, cardFolder, name);
    if (!mayReplace(copies, ownPicture) ||
        !writeAll(copies, inWall,
                  [&](const QString& to, QString*) { return copyOver(chosen, to); }))
        return false;
    write(thumbnailPath(name, st.KIJUNDIR),
          [&](QString*) { return NAILIMAGELOADMAKE(inWall, st.KIJUNDIR); });
    return true;
}

bool CardEditorFiles::takePastedPicture(const QImage& pasted, const QString& name,
                                        const QString& folder, const QString& ownPicture) {
    const QStringList copies =
        QStringList{st.KIJUNDIR + name} + inCardFolder(st.KIJUNDIR, folder, name);
    // The picture must land in the wall before the card names it.
    if (!mayReplace(copies, ownPicture) ||
        !writeAll(copies, copies.first(), [&](const QString& to, QString* why) {
            return writePicture(pasted, to, 100, why);
        }))
        return false;
    const QString thumbnail = thumbnailPath(name, st.KIJUNDIR);
    write(thumbnail, [&](QString* e) { return Makethumbnail(pasted, thumbnail, e); });
    return true;
}

QStringList CardEditorFiles::takeFiles(const QStringList& chosen, const QString& ownPicture) {
    QStringList names;
    for (const QString& file : chosen) {
        const QString name = QFileInfo(file).fileName();
        const QString inWall = st.KIJUNDIR + name;
        if (QFileInfo(file).isFile() && !sameFile(file, inWall)) {
            // A file the wall has is replaced only when the user says so.
            if (!mayReplace({inWall}, ownPicture))
                continue;
            QString why;
            if (!copy(file, inWall, &why)) {
                notWritten(inWall, why);
                continue;
            }
            const QString ext = QFileInfo(name).suffix();
            if (ext == QLatin1String("html") || ext == QLatin1String("HTML"))
                BACKUP(file, inWall, [&](const QString& path) {
                    // Only kept aside here: the copy is BACKUP's.
                    return mayReplace({path}, ownPicture) &&
                           write(path, [](QString*) { return true; });
                });
        }
        names << name;
    }
    return names;
}

QString CardEditorFiles::takeBackgrounds(const QStringList& chosen, const QString& ownPicture) {
    QString last;
    for (const QString& file : chosen) {
        if (!QFileInfo(file).isFile())
            break;
        const QString name = QFileInfo(file).fileName();
        if (!sameFile(file, st.KIJUNDIR + name)) {
            const QStringList copies{st.KIJUNDIR + name, st.KIJUNDIR + QLatin1Char('_') + name};
            if (!mayReplace(copies, ownPicture))
                continue;
            for (const QString& c : copies)
                copy(file, c);
        }
        last = name;
    }
    return last;
}
