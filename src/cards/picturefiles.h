#pragma once

#include <QImage>
#include <QString>

// Writes a picture by its file's extension: ".bmp" as a bitmap, ".jpg" and
// ".jpeg" as JPEG of the given quality; through the atomic writer, so a
// failed write leaves the old picture. False for other extensions or on
// failure.
bool savePicture(const QImage& picture, const QString& path, int jpegQuality = 100);
