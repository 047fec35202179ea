#pragma once

#include "pictures/picturelayer.h"

// libjpeg-turbo, called directly. Decoding may use the DCT's reduced scales.
PictureRead decodeJpeg(const QByteArray& bytes, const TargetSize& target);
QByteArray encodeJpegBytes(const QImage& picture, int quality);
