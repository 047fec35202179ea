#pragma once

#include "pictures/picturelayer.h"

#include <QHash>
#include <QVector>
#include <utility>

// libpng (which inflates with zlib), called directly. With a target, a
// picture at least twice as large both ways is read a row at a time and
// reduced on the way, never held whole.
PictureRead decodePng(const QByteArray& bytes, const TargetSize& target = {});

// The text keys of a PNG that come before its picture data (tEXt, zTXt and
// iTXt alike), keyword to value; none for a file that does not read.
QHash<QByteArray, QByteArray> pngTextKeys(const QByteArray& bytes);

// PNG bytes of a picture with text keys (Latin-1), kept with its alpha
// channel when it has one; empty when it could not be made.
using PngText = QVector<std::pair<QByteArray, QByteArray>>;
QByteArray encodePng(const QImage& picture, const PngText& texts);
