#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

// The one place pictures are read and written. Reading recognises a file by
// its content (JPEG, PNG, GIF, BMP), whatever its name says; a file that does
// not decode whole is a failure, never half a picture. Writing is by the
// file's extension (".bmp", ".jpg", ".jpeg") through the atomic writer.

enum class PictureFormat { Unknown, Bmp, Jpeg, Gif, Png };

PictureFormat sniffPictureFormat(const QByteArray& head);

// Pictures whose header declares more pixels than this are refused before
// anything is decoded; picture files larger than this are not read.
constexpr qint64 kMaxPicturePixels = 100'000'000;
constexpr qint64 kMaxPictureFileBytes = 512LL * 1024 * 1024;

// Given a picture's full size, the smallest size the caller will scale it to;
// a JPEG may then be decoded at 1/2, 1/4 or 1/8 of its size as long as it
// stays at least that large both ways.
using TargetSize = std::function<QSize(QSize full)>;

struct PictureRead {
    QImage image;   // null on failure
    QString error;  // what went wrong, for the user
    QSize fullSize; // the size the file declares
};

PictureRead decodePicture(const QByteArray& bytes, const TargetSize& target = {});
// How many pictures were decoded so far, so that reading a picture twice
// where once will do can be checked.
int decodedPictureCount();
PictureRead readPicture(const QString& path, const TargetSize& target = {});

// JPEG and BMP bytes of a picture.
QByteArray encodeJpeg(const QImage& picture, int quality);
QByteArray encodeBmp(const QImage& picture);

// Writes a picture by the file's extension; false, with the cause for the
// user, for other extensions or when the write failed (the old file is then
// whole).
bool writePicture(const QImage& picture, const QString& path, int jpegQuality = 100,
                  QString* errorText = nullptr);
