#pragma once

#include <QRect>
#include <QSize>

// Where a background picture of w × h pixels is drawn on a wall of
// NOWX × NOWY: a landscape picture fills the wall's width, top-aligned, and
// may run past the bottom by up to half the wall (a taller one is fitted to
// the height and centred); a portrait picture fills the height at the left
// edge. Centring is on the wall itself, so that a picture on a screen whose
// wall was cut to its width stays in view.
QRect fitBackground(int w, int h, int NOWX, int NOWY);

class QColor;
class QImage;
class QString;

// The wall's background canvas, NOWX × NOWY: the wall's own colour `ground`
// with the picture at `path` fitted on it. The picture is read through the picture layer (a JPEG
// may be decoded smaller, never smaller than it is shown) and scaled by the bicubic resampler. A
// picture that cannot be read leaves the canvas plain; `loaded` tells which.
QImage composeBackground(const QString& path, int NOWX, int NOWY, const QColor& ground,
                         bool* loaded = nullptr);
