#pragma once

#include "cards/picturelayer.h"

// libpng (which inflates with zlib), called directly.
PictureRead decodePng(const QByteArray& bytes);
