#include "storage/filerollback.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

fs::path fsPath(const QString& path) {
    return fs::path(path.toStdU16String());
}

bool there(const QFileInfo& file) {
    return file.exists() || file.isSymLink();
}

// A hidden name beside `path` that nothing has. Not a ".txt", so that a kept
// card is never taken for a card of the wall.
QString asideName(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    for (;;) {
        const QString name =
            folder + QStringLiteral("/.zv-%1.kept")
                         .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
        if (!there(QFileInfo(name)))
            return name;
    }
}

// Puts a kept file back at `to`. Where `to` is still the kept file under its
// other name (nothing was written), renaming does nothing: the second name
// then just goes.
bool moveOver(const QString& from, const QString& to) {
    std::error_code ec;
    fs::rename(fsPath(from), fsPath(to), ec);
    return !ec && (!there(QFileInfo(from)) || QFile::remove(from));
}

} // namespace

FileRollback::~FileRollback() {
    rollBack();
}

bool FileRollback::kept(const QString& path) const {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const Kept& k : files_)
        if (k.path == absolute)
            return true;
    return false;
}

bool FileRollback::keep(const QString& path) {
    const QFileInfo file(path);
    const QString absolute = file.absoluteFilePath();
    if (kept(absolute))
        return true;
    QStringList missing;
    for (QFileInfo folder(file.absolutePath()); !there(folder) && !folder.isRoot();
         folder = QFileInfo(folder.absolutePath()))
        missing.prepend(folder.absoluteFilePath());
    for (const QString& folder : missing)
        if (!newFolders_.contains(folder))
            newFolders_ << folder;
    if (!there(file)) {
        files_.append({absolute, QString()});
        return true;
    }
    if (file.isDir())
        return false;
    const QString aside = asideName(absolute);
    std::error_code ec;
    fs::create_hard_link(fsPath(absolute), fsPath(aside), ec);
    if (ec && !moveOver(absolute, aside))
        return false;
    files_.append({absolute, aside});
    return true;
}

void FileRollback::commit() {
    for (const Kept& k : files_) {
        if (k.aside.isEmpty())
            continue;
        if (there(QFileInfo(k.path)))
            QFile::remove(k.aside);
        else
            moveOver(k.aside, k.path);
    }
    files_.clear();
    newFolders_.clear();
}

QStringList FileRollback::rollBack() {
    QStringList failed;
    for (auto k = files_.crbegin(); k != files_.crend(); ++k) {
        const bool back = k->aside.isEmpty() ? !there(QFileInfo(k->path)) || QFile::remove(k->path)
                                             : moveOver(k->aside, k->path);
        if (!back)
            failed << k->path;
    }
    for (auto folder = newFolders_.crbegin(); folder != newFolders_.crend(); ++folder)
        QDir().rmdir(*folder);
    files_.clear();
    newFolders_.clear();
    return failed;
}
