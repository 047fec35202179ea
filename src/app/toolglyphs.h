#pragma once

#include <QPixmap>
#include <QString>

// The picture shown on a tool button, drawn for a square of `size` pixels
// (device-independent) from its vector drawing, crisp at the given
// devicePixelRatio. Unknown names give a null QPixmap.
QPixmap toolGlyph(const QString& buttonName, int size, qreal devicePixelRatio = 1.0);

// The splash window's picture, 253 × 136 pixels, on a green ground.
QPixmap splashPicture();
