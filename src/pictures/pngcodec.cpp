#include "pictures/pngcodec.h"

#include <png.h>

// libpng's simplified reader: it reports errors by return value, checks every
// chunk's checksum and never hands back a picture it could not read whole.
PictureRead decodePng(const QByteArray& bytes) {
    PictureRead result;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.constData(), size_t(bytes.size()))) {
        result.error = QString::fromLocal8Bit(image.message);
        return result;
    }
    result.fullSize = QSize(int(image.width), int(image.height));
    if (qint64(image.width) * image.height > kMaxPicturePixels) {
        png_image_free(&image);
        result.error = QStringLiteral("too large");
        return result;
    }
    const bool alpha = image.format & PNG_FORMAT_FLAG_ALPHA;
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    QImage out(int(image.width), int(image.height),
               alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (out.isNull()) {
        png_image_free(&image);
        result.error = QStringLiteral("out of memory");
        return result;
    }
    if (!png_image_finish_read(&image, nullptr, out.bits(), png_int_32(out.bytesPerLine()),
                               nullptr)) {
        result.error = QString::fromLocal8Bit(image.message);
        png_image_free(&image);
        return result;
    }
    result.image = out;
    return result;
}
