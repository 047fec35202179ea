#pragma once

#include <QImage>
#include <QSize>

// What the picture editor does to a cut-out: zoom, turn and mirror. Each
// returns a new picture and leaves the source alone.

// Bilinear resampling to W × H. Target pixel (x, y) samples the source at
// (x × SW / W, y × SH / H), with no half-pixel offset; a neighbour beyond the
// last row or column is the last one itself. Channels are rounded to the
// nearest integer (halves to even) and clamped. An opaque source gives an
// opaque picture (Format_RGB32); one with an alpha channel has its alpha
// resampled alike (Format_ARGB32), so a turned cut-out keeps its see-through
// corners when it is zoomed. W or H below 1, or an empty source: a null
// picture.
QImage BitmapResize_Bilinear(const QImage& source, int W, int H);

// The size of `size` turned by `angle` degrees, from its four corner pixels
// turned and rounded by adding a half and truncating toward zero. That
// rounding is kept because it decides the sizes users see: 100 × 50 turned
// by 90 is 49 × 100, by -90 is 50 × 99 and by 45 is 105 × 106.
QSize rotatedSize(QSize size, double angle);

// The picture turned by `angle` degrees, clockwise on the screen for positive
// angles, in a picture of rotatedSize. Each target pixel takes its nearest
// source pixel by the inverse turn. The fill around the turned picture is
// (240, 251, 255) with alpha 0, so only the fill is see-through: a picture
// pixel of any colour keeps its own alpha (255 in an opaque source). The
// result is Format_ARGB32; an empty source gives a null picture.
QImage Rotate(const QImage& source, double angle);

// Exact mirrors: two of a kind give the picture back unchanged, alpha
// included.
// SAYU: the left-right mirror.
QImage SAYU(const QImage& source);
// JOUGE: the top-bottom mirror.
QImage JOUGE(const QImage& source);
