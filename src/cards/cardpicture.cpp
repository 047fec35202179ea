#include "cards/cardpicture.h"

#include "storage/pathforms.h"

#include <QFileInfo>

QString thumbnailPath(const QString& pictureName, const QString& wallFolder) {
    const QString name = pictureName.mid(folderPart(pictureName).size());
    return wallFolder + QStringLiteral("NAIL/~") + name;
}

QImage loadCardPicture(const QString& pictureName, const QString& wallFolder,
                       const QString& dataFolder) {
    if (pictureName.isEmpty())
        return QImage();
    const QString thumb = thumbnailPath(pictureName, wallFolder);
    if (QFileInfo(thumb).isFile())
        return QImage(thumb);
    const QString picture = ZETTAI(pictureName, wallFolder, dataFolder);
    if (QFileInfo(picture).isFile())
        return QImage(picture);
    return QImage();
}
