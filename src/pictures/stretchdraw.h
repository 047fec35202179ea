#pragma once

#include <QImage>
#include <QRect>

class QPainter;

// Draws a picture stretched into rectangle r of any painter's device (the
// screen, a picture, a printer's page), pixel for pixel without smoothing.
void StretchDrawBitmap(QPainter& painter, const QRect& r, const QImage& picture);
