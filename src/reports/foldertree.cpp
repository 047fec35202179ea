#include "reports/foldertree.h"

#include "platform/trash.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kMostLevels = 100;
const QString kFiller = QStringLiteral("……………");

void walk(const QString& folder, int depth, FolderTree& tree) {
    const QStringList names =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden,
                               QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (name.startsWith(QLatin1String("NAIL")) || name == kAsideFolderName)
            continue; // thumbnails and deleted cards, not walls
        if (depth >= kMostLevels) {
            tree.tooDeep = true;
            return;
        }
        tree.lines << (depth == 0 ? QStringLiteral("[] ") : kFiller.repeated(depth)) + name;
        walk(folder + QLatin1Char('/') + name, depth + 1, tree);
    }
}

} // namespace

FolderTree folderTreeLines(const QString& top) {
    FolderTree tree;
    const QString clean = QDir::cleanPath(top);
    tree.lines << QStringLiteral("======================= ") + QFileInfo(clean).fileName() +
                      QStringLiteral(" =======================");
    walk(clean, 0, tree);
    return tree;
}
