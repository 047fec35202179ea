#include "pictures/thumbnails.h"

#include "pictures/bicubic.h"
#include "pictures/cardpicture.h"
#include "pictures/picturelayer.h"

#include <QDir>
#include <QFileInfo>

QSize thumbnailSize(QSize picture) {
    if (picture.width() <= 0 || picture.height() <= 0)
        return QSize();
    const qint64 width = qint64(picture.width()) * kThumbnailHeight / picture.height();
    if (width < 1 || width > kMaxThumbnailWidth)
        return QSize();
    return QSize(int(width), kThumbnailHeight);
}

bool takesThumbnail(const QString& pictureFile) {
    const QString ext = QFileInfo(pictureFile).suffix().toLower();
    return ext == QLatin1String("bmp") || ext == QLatin1String("jpg") ||
           ext == QLatin1String("jpeg");
}

bool Makethumbnail(const QImage& picture, const QString& T, QString* errorText) {
    const QSize size = thumbnailSize(picture.size());
    if (!size.isValid()) {
        if (errorText)
            *errorText = QStringLiteral("サムネイルを作れない大きさの画像です。");
        return false;
    }
    return writePicture(BitmapResize_Bicubic(picture, size.width(), size.height()), T, 100,
                        errorText);
}

namespace {

bool makeNamed(const QString& F, const QString& named, const QString& wallFolder,
               QString* errorText) {
    if (!takesThumbnail(F))
        return false;
    // A reduced JPEG decode is fine as long as it stays at least thumbnail
    // size: the thumbnail is made from it.
    const PictureRead read = readPicture(F, [](QSize full) { return thumbnailSize(full); });
    if (read.image.isNull()) {
        if (errorText)
            *errorText = read.error;
        return false;
    }
    QDir().mkpath(wallFolder + QStringLiteral("NAIL"));
    // The thumbnail keeps the original's proportions even when decoded small.
    const QSize size = thumbnailSize(read.fullSize);
    if (!size.isValid()) {
        if (errorText)
            *errorText = QStringLiteral("サムネイルを作れない大きさの画像です。");
        return false;
    }
    return writePicture(BitmapResize_Bicubic(read.image, size.width(), size.height()),
                        thumbnailPath(named, wallFolder), 100, errorText);
}

} // namespace

bool NAILIMAGELOADMAKE(const QString& F, const QString& wallFolder) {
    return makeNamed(F, F, wallFolder, nullptr);
}

bool NAILIMAGELOADMAKE2(const QString& F, const QString& F2, const QString& wallFolder,
                        QString* errorText) {
    if (!QFileInfo(F).isFile())
        return false;
    return makeNamed(F, F2, wallFolder, errorText);
}
