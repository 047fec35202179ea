#include "pictures/cardpicture.h"

#include "pictures/picturelayer.h"
#include "pictures/thumbnails.h"
#include "storage/pathforms.h"

#include <QFileInfo>

QString thumbnailPath(const QString& pictureName, const QString& wallFolder) {
    const QString name = pictureName.mid(folderPart(pictureName).size());
    return wallFolder + QStringLiteral("NAIL/~") + name;
}

QImage loadCardPicture(const QString& pictureName, const QString& wallFolder,
                       const QString& dataFolder, QSize shownAt) {
    if (pictureName.isEmpty())
        return QImage();
    const QString thumb = thumbnailPath(pictureName, wallFolder);
    if (QFileInfo(thumb).isFile())
        return readPicture(thumb).image;
    const QString picture = ZETTAI(pictureName, wallFolder, dataFolder);
    if (!QFileInfo(picture).isFile())
        return QImage();
    if (takesThumbnail(picture) && NAILIMAGELOADMAKE(picture, wallFolder))
        return readPicture(thumb).image;
    return readPicture(picture, [shownAt](QSize) { return shownAt; }).image;
}
