#include "platform/desktopcopy.h"

#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path toPath(const QString& p) {
    return fs::path(p.toStdString());
}

} // namespace

QString copyFolderContents(const QString& source, const QString& destination) {
    std::error_code ec;
    fs::create_directories(toPath(destination), ec);
    if (ec)
        return QString::fromStdString(ec.message());
    fs::copy(toPath(source), toPath(destination),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing |
                 fs::copy_options::copy_symlinks,
             ec);
    return ec ? QString::fromStdString(ec.message()) : QString();
}

QString ALLCOPY(const QString& source, const QString& destination, const QString& extension) {
    if (!QDir().mkpath(destination))
        return QStringLiteral("フォルダを作れません：%1").arg(destination);
    QStringList failed;
    const QDir from(source);
    const QStringList names =
        from.entryList({QStringLiteral("*.") + extension}, QDir::Files | QDir::NoSymLinks);
    for (const QString& name : names) {
        std::error_code ec;
        const QString to = QDir(destination).filePath(name);
        if (QFileInfo(from.filePath(name)).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
            continue; // already there: a copy onto itself would do nothing
        fs::copy_file(toPath(from.filePath(name)), toPath(to), fs::copy_options::overwrite_existing,
                      ec);
        if (ec)
            failed << name;
    }
    return failed.isEmpty() ? QString()
                            : QStringLiteral("コピーできませんでした：%1").arg(failed.join(", "));
}

bool isPlainFolderName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && !name.contains(QLatin1String("..")) &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

void FDL(QWidget* parent, const QString& source, const QString& name) {
    if (!isPlainFolderName(name)) {
        QMessageBox::warning(
            parent, QStringLiteral("Zavik"),
            QStringLiteral("「%1」はデスクトップのフォルダの名前にできません。").arg(name));
        return;
    }
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString destination = desktop + QLatin1Char('/') + name;
    // A folder copied into itself would copy without end.
    const QString from = QFileInfo(source).canonicalFilePath();
    const QString desktopReal = QFileInfo(desktop).canonicalFilePath();
    const QString to = (desktopReal.isEmpty() ? desktop : desktopReal) + QLatin1Char('/') + name;
    if (!from.isEmpty() && (to == from || to.startsWith(from + QLatin1Char('/')))) {
        QMessageBox::warning(parent, QStringLiteral("Zavik"),
                             QStringLiteral("コピー先「%1」がコピーするフォルダの中にあります。")
                                 .arg(QDir::toNativeSeparators(destination)));
        return;
    }
    QString question = QStringLiteral("「") + QDir::toNativeSeparators(source) +
                       QStringLiteral("」のフォルダを丸ごと\nデスクトップ上の ") + name +
                       QStringLiteral(" にコピーします。");
    // Copying into a folder that holds something would mix two walls.
    const QDir existing(destination);
    if (existing.exists() && !existing.isEmpty())
        question += QStringLiteral("\n\n注意：デスクトップの ") + name +
                    QStringLiteral(" にはもうファイルがあります。同じ名前のファイルは上書きされ、"
                                   "ほかのファイルとまざります。");
    const auto answer = QMessageBox::question(parent, QStringLiteral("Zavik"), question,
                                              QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    const QString error = copyFolderContents(source, destination);
    if (!error.isEmpty())
        QMessageBox::warning(parent, QStringLiteral("Zavik"),
                             QStringLiteral("コピーが途中で止まりました：%1").arg(error));
}
