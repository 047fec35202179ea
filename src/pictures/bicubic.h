#pragma once

#include <QImage>

// Picture resampling with a four-by-four cubic kernel (a = -1), used to fit
// background pictures and card pictures to their boxes.
//
// Target pixel (ix, iy) samples the source at (ix × SW / W, iy × SH / H), with
// no half-pixel offset, so the first row and column of the target sit on the
// first row and column of the source. A neighbour that falls outside the
// source is replaced by the centre sample and keeps its weight. The result is
// always QImage::Format_RGB888; a target smaller than 1 × 1 or an empty source
// gives a null QImage.
QImage BitmapResize_Bicubic(const QImage& source, int width, int height);

// A channel sum to a byte: nearest integer with halves to even, then clamped
// to 0..255.
int SetByte(double x);

// The cubic kernel for a tap distance t in 0..2: t³ − 2t² + 1 below 1,
// −(t − 1)(t − 2)² from 1 on. k(0) = 1 and k(1) = k(2) = 0.
double bicubicKernel(double t);
