#include "storage/pathforms.h"

#include <optional>

QString withSlashes(QString path) {
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QString folderPart(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':'))
            return path.left(i + 1);
    }
    return QString();
}

QString SOUTAI(const QString& path, const QString& base, const QString& dataFolder) {
    // Whether a folder holds the path is a question about its beginning:
    // without drive letters, a folder's name can stand in the middle of a
    // path that lies elsewhere ("/media/usb/home/u/zavik-data/...").
    const QString p = withSlashes(path);
    auto below = [&p](const QString& folder) {
        const QString f = withSlashes(folder);
        return !f.isEmpty() && p.startsWith(f) ? std::optional<QString>(p.mid(f.size()))
                                               : std::nullopt;
    };
    auto windowsForm = [](QString rest) {
        rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
        return rest;
    };
    if (auto rest = below(base))
        return windowsForm(*rest);
    if (auto rest = below(dataFolder))
        return QStringLiteral("..") + windowsForm(*rest);
    return path;
}

QString ZETTAI(const QString& path, const QString& base, const QString& dataFolder) {
    if (folderPart(path).contains(QLatin1Char(':')))
        return path;
    if (path.startsWith(QLatin1Char('/')))
        return withSlashes(path);
    const qsizetype dots = path.indexOf(QStringLiteral(".."));
    if (dots >= 0)
        return withSlashes(dataFolder) + withSlashes(path.mid(dots + 2));
    return withSlashes(base) + withSlashes(path);
}

bool isWindowsDrivePath(const QString& path) {
    return path.size() >= 3 && path[0].isLetter() && path[0].unicode() < 128 &&
           path[1] == QLatin1Char(':') &&
           (path[2] == QLatin1Char('\\') || path[2] == QLatin1Char('/'));
}

bool endsWithSeparator(const QString& path) {
    return path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'));
}
