#include "cards/picturefiles.h"

#include "storage/atomicfile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>

bool savePicture(const QImage& picture, const QString& path, int jpegQuality) {
    const QString ext = QFileInfo(path).suffix().toLower();
    QByteArray format;
    if (ext == QLatin1String("bmp"))
        format = "BMP";
    else if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        format = "JPEG";
    else
        return false;
    if (picture.isNull())
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(jpegQuality);
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB888)))
        return false;
    return writeFileAtomically(path, bytes);
}
