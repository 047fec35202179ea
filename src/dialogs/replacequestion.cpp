#include "dialogs/replacequestion.h"

#include "storage/atomicfile.h"

#include <QDir>
#include <QFileInfo>

bool wouldReplace(const QString& from, const QString& to) {
    const QFileInfo target(to);
    return (target.isFile() || target.isSymLink()) && !sameFile(from, to);
}

QStringList filesReplaced(const QList<FileCopy>& copies) {
    QStringList replaced;
    for (const FileCopy& c : copies)
        if (wouldReplace(c.from, c.to) && !replaced.contains(c.to))
            replaced << c.to;
    return replaced;
}

QString replaceQuestion(const QStringList& paths, const QString& folder, const QString& ifNot) {
    // A question taller than the screen hides its own buttons.
    constexpr qsizetype kNamed = 15;
    QStringList lines;
    for (qsizetype i = 0; i < paths.size() && i < kNamed; ++i)
        lines << QStringLiteral("　") +
                     QDir::toNativeSeparators(QDir(folder).relativeFilePath(paths[i]));
    if (paths.size() > kNamed)
        lines << QStringLiteral("　ほか%1個").arg(paths.size() - kNamed);
    return QStringLiteral("かべのフォルダにはもう次のファイルがあります。上書きしますか？\n\n%1\n\n"
                          "「いいえ」：%2")
        .arg(lines.join(QLatin1Char('\n')), ifNot);
}
