#pragma once

#include <QImage>

// Whether a pixel counts as the pen colour CPEN for the colour wipe. The
// bounds are loose enough to take a pen stroke over a compressed photo.
bool isPenColour(QRgb pixel, int CPEN);

// The colour wipe: along every row from the left, a pixel of the pen colour
// takes the colour last kept in its row (white at the row's start); every
// other pixel is kept and becomes the colour to fill with.
QImage wipePenColour(const QImage& picture, int CPEN);
