#pragma once

#include "pictures/picturelayer.h"

// libpng (which inflates with zlib), called directly. With a target, a
// picture at least twice as large both ways is read a row at a time and
// reduced on the way, never held whole.
PictureRead decodePng(const QByteArray& bytes, const TargetSize& target = {});
