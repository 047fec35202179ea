#include "dialogs/cardeditorfiles.h"

#include "document/walldocument.h"
#include "storage/htmlcopy.h"

#include <QDir>
#include <QFileInfo>
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
