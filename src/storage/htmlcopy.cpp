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

bool HTMLCOPY(const QString& F1, const QString& F2) {
    if (!QFileInfo(F1).isFile())
        return false;
    if (!copyOver(F1, F2))
        return false;
    if (!QFileInfo(F1).suffix().toLower().contains(QLatin1String("html")))
        return true;
    const QString from = QFileInfo(F1).absolutePath() + QLatin1Char('/');
    const QString to = QFileInfo(F2).absolutePath() + QLatin1Char('/');
    QFile page(F1);
    if (!page.open(QIODevice::ReadOnly))
        return true;
    const QString text = QString::fromUtf8(page.readAll());
    const QString marker = QStringLiteral("src=\"");
    for (qsizetype at = text.indexOf(marker); at >= 0; at = text.indexOf(marker, at)) {
        at += marker.size();
        const qsizetype end = text.indexOf(QLatin1Char('"'), at);
        if (end < 0)
            break;
        QString name = text.mid(at, end - at);
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!staysInside(name) || !QFileInfo(from + name).isFile())
            continue;
        // A picture in a sub-folder goes along only when that folder is there.
        const QString folder = QFileInfo(to + name).absolutePath();
        if (!QFileInfo(folder).isDir())
            continue;
        copyOver(from + name, to + name);
    }
    return true;
}
