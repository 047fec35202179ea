#include "storage/htmlcopy.h"

#include "storage/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A name a page may take along: relative, and staying inside its folder.
bool staysInside(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char(':')))
        return false;
    for (const QString& part : name.split(QLatin1Char('/')))
        if (part == QLatin1String(".."))
            return false;
    return true;
}

} // namespace

bool copyOver(const QString& from, const QString& to) {
    return copyFileAtomically(from, to) == CopyResult::Copied;
}

namespace {

// `name` with "/" when it stays inside folder `from` and is there.
QString referencedFile(QString name, const QString& from) {
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return staysInside(name) && QFileInfo(from + name).isFile() ? name : QString();
}

// Copies `name` from folder `from` to folder `to` when it stays inside and
// is there, only into a sub-folder that exists already.
void copyReferenced(const QString& name, const QString& from, const QString& to) {
    const QString file = referencedFile(name, from);
    if (!file.isEmpty() && QFileInfo(QFileInfo(to + file).absolutePath()).isDir())
        copyOver(from + file, to + file);
}

// The values of `attribute` (as `src="`) in a page's text, in order.
QStringList valuesOf(const QString& text, const QString& attribute) {
    QStringList values;
    for (qsizetype at = text.indexOf(attribute); at >= 0; at = text.indexOf(attribute, at)) {
        at += attribute.size();
        const qsizetype end = text.indexOf(QLatin1Char('"'), at);
        if (end < 0)
            break;
        values << text.mid(at, end - at);
    }
    return values;
}

QString pageText(const QString& path) {
    QFile page(path);
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

} // namespace

bool HTMLCOPY(const QString& F1, const QString& F2) {
    if (!QFileInfo(F1).isFile())
        return false;
    if (!copyOver(F1, F2))
        return false;
    if (!QFileInfo(F1).suffix().toLower().contains(QLatin1String("html")))
        return true;
    const QString from = QFileInfo(F1).absolutePath() + QLatin1Char('/');
    const QString to = QFileInfo(F2).absolutePath() + QLatin1Char('/');
    // A picture in a sub-folder goes along only when that folder is there.
    for (const QString& name : valuesOf(pageText(F1), QStringLiteral("src=\"")))
        copyReferenced(name, from, to);
    return true;
}

QStringList BACKUPFiles(const QString& sourcePage) {
    const QString from = QFileInfo(sourcePage).absolutePath() + QLatin1Char('/');
    const QString text = pageText(sourcePage);
    QStringList names = valuesOf(text, QStringLiteral("background=\""));
    names = names.mid(0, 1) + valuesOf(text, QStringLiteral("src=\""));
    QStringList files;
    for (const QString& name : names) {
        const QString file = referencedFile(name, from);
        if (!file.isEmpty() && !files.contains(file))
            files << file;
    }
    return files;
}

void BACKUP(const QString& sourcePage, const QString& destinationPage,
            const std::function<bool(const QString&)>& mayWrite) {
    const QString from = QFileInfo(sourcePage).absolutePath() + QLatin1Char('/');
    const QString to = QFileInfo(destinationPage).absolutePath() + QLatin1Char('/');
    for (const QString& file : BACKUPFiles(sourcePage))
        if (!mayWrite || sameFile(from + file, to + file) || mayWrite(to + file))
            copyOver(from + file, to + file);
}
