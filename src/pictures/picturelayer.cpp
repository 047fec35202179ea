#include "pictures/picturelayer.h"

#include "pictures/jpegcodec.h"
#include "pictures/pngcodec.h"
#include "storage/atomicfile.h"
#include "storage/filereading.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <atomic>

namespace {

// BMP and GIF go through Qt's own readers, after their header's size is
// checked.
PictureRead decodeWithQt(const QByteArray& bytes, const char* format) {
    PictureRead result;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    result.fullSize = reader.size();
    if (qint64(result.fullSize.width()) * result.fullSize.height() > kMaxPicturePixels) {
        result.error = QStringLiteral("too large");
        return result;
    }
    if (!reader.read(&result.image)) {
        result.image = QImage();
        result.error = reader.errorString();
    }
    return result;
}

} // namespace

PictureFormat sniffPictureFormat(const QByteArray& head) {
    if (head.startsWith("\xFF\xD8\xFF"))
        return PictureFormat::Jpeg;
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return PictureFormat::Png;
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return PictureFormat::Gif;
    if (head.startsWith("BM"))
        return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

namespace {
std::atomic<int> decodes{0};
} // namespace

int decodedPictureCount() {
    return decodes;
}

PictureRead decodePicture(const QByteArray& bytes, const TargetSize& target) {
    ++decodes;
    switch (sniffPictureFormat(bytes)) {
    case PictureFormat::Jpeg:
        return decodeJpeg(bytes, target);
    case PictureFormat::Png:
        return decodePng(bytes, target);
    case PictureFormat::Gif:
        return decodeWithQt(bytes, "GIF");
    case PictureFormat::Bmp:
        return decodeWithQt(bytes, "BMP");
    case PictureFormat::Unknown:
        break;
    }
    PictureRead none;
    none.error = QStringLiteral("not a picture this program can read");
    return none;
}

PictureRead readPicture(const QString& path, const TargetSize& target) {
    const FileRead read = readRegularFile(path, kMaxPictureFileBytes);
    PictureRead none;
    switch (read.problem) {
    case FileRead::Problem::None:
        return decodePicture(read.bytes, target);
    case FileRead::Problem::Missing:
        none.error = QStringLiteral("ファイルがありません。");
        break;
    case FileRead::Problem::NotRegular:
        none.error = QStringLiteral("普通のファイルではありません。");
        break;
    case FileRead::Problem::TooLarge:
        none.error = QStringLiteral("画像のファイルが大きすぎます。");
        break;
    case FileRead::Problem::Unreadable:
        none.error = read.error;
        break;
    }
    return none;
}

QByteArray encodeJpeg(const QImage& picture, int quality) {
    return encodeJpegBytes(picture, quality);
}

QByteArray encodeBmp(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB888)))
        return QByteArray();
    return bytes;
}

bool writePicture(const QImage& picture, const QString& path, int jpegQuality, QString* errorText) {
    const auto refuse = [errorText](const QString& why) {
        if (errorText)
            *errorText = why;
        return false;
    };
    if (picture.isNull())
        return refuse(QStringLiteral("書き込む画像がありません。"));
    const QString ext = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    if (ext == QLatin1String("bmp"))
        bytes = encodeBmp(picture);
    else if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        bytes = encodeJpeg(picture, jpegQuality);
    else
        return refuse(QStringLiteral("この形式には書けません（.jpg、.jpeg、.bmp だけ）。"));
    if (bytes.isEmpty())
        return refuse(QStringLiteral("画像を変換できませんでした（大きすぎるかもしれません）。"));
    return writeFileAtomically(path, bytes, errorText);
}
