#pragma once

#include "pictures/picturelayer.h"

// libpng (which inflates with zlib), called directly.
PictureRead decodePng(const QByteArray& bytes);
