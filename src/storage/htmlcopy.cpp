#include "storage/htmlcopy.h"

#include "storage/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

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
    if (sameFile(from, to))
        return true;
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    return writeFileAtomically(to, in.readAll());
}

namespace {

// Copies `name` from folder `from` to folder `to` when it stays inside and
// is there; with `needFolder`, only into a sub-folder that exists already.
void copyReferenced(QString name, const QString& from, const QString& to, bool needFolder,
                    const std::function<bool(const QString&)>& mayWrite = {}) {
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!staysInside(name) || !QFileInfo(from + name).isFile())
        return;
    if (needFolder && !QFileInfo(QFileInfo(to + name).absolutePath()).isDir())
        return;
    if (!mayWrite || sameFile(from + name, to + name) || mayWrite(to + name))
        copyOver(from + name, to + name);
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
        copyReferenced(name, from, to, true);
    return true;
}

void BACKUP(const QString& sourcePage, const QString& destinationPage,
            const std::function<bool(const QString&)>& mayWrite) {
    const QString from = QFileInfo(sourcePage).absolutePath() + QLatin1Char('/');
    const QString to = QFileInfo(destinationPage).absolutePath() + QLatin1Char('/');
    const QString text = pageText(sourcePage);
    const QStringList background = valuesOf(text, QStringLiteral("background=\""));
    if (!background.isEmpty())
        copyReferenced(background.first(), from, to, false, mayWrite);
    for (const QString& name : valuesOf(text, QStringLiteral("src=\"")))
        copyReferenced(name, from, to, false, mayWrite);
}
