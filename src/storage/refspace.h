#pragma once

// Positions and sizes in wall files live in a 1920 × 1080 reference space and
// are converted to the wall's pixels and back. Every quotient is rounded to
// the nearest integer with halves to the even neighbour, so a card written at
// 1366 pixels wide comes back where it was.

constexpr int ZETTAIX = 1920;
constexpr int ZETTAIY = 1080;

// Round to nearest, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int roundHalfEven(double value);

// value × mul / div computed exactly and rounded halves to even; 0 when div is 0.
int scaleHalfEven(long long value, long long mul, long long div);

// Wall pixels to reference units, for writing.
inline int toReferenceX(int pixels, int NOWX) {
    return scaleHalfEven(pixels, ZETTAIX, NOWX);
}
inline int toReferenceY(int pixels, int NOWY) {
    return scaleHalfEven(pixels, ZETTAIY, NOWY);
}
// Reference units to wall pixels, for reading.
inline int toPixelsX(int stored, int NOWX) {
    return scaleHalfEven(stored, NOWX, ZETTAIX);
}
inline int toPixelsY(int stored, int NOWY) {
    return scaleHalfEven(stored, NOWY, ZETTAIY);
}
