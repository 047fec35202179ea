#include "model/wallgeometry.h"

#include "storage/refspace.h"

WallSize wallSizeFor(int W, int H) {
    // W / H <= 1921 / 1080, compared without division.
    if (W > H && qint64(W) * 1080 <= qint64(H) * 1921)
        return {W, scaleHalfEven(W, ZETTAIY, ZETTAIX)};
    return {scaleHalfEven(H, ZETTAIX, ZETTAIY), H};
}

WallSize clampWallSize(WallSize size, int ZETTAIX0, int ZETTAIY0) {
    return {qMin(size.NOWX, ZETTAIX0), qMin(size.NOWY, ZETTAIY0)};
}

int scaleToWallY(int units, int NOWY) {
    return scaleHalfEven(units, NOWY, ZETTAIY);
}
int scaleToWallX(int units, int NOWX) {
    return scaleHalfEven(units, NOWX, ZETTAIX);
}

int hintFontSize(int NOWY) {
    return scaleToWallY(20, NOWY);
}

QRect webWindowRect(const WindowSettings& s, int NOWX, int NOWY) {
    return QRect(scaleToWallX(s.web.X, NOWX), scaleToWallY(s.web.Y, NOWY),
                 scaleToWallX(s.web.width, NOWX), scaleToWallY(s.web.height, NOWY));
}

QRect fileWindowRect(const WindowSettings& s, int NOWX, int NOWY) {
    return QRect(scaleToWallX(s.files.X, NOWX), scaleToWallY(s.files.Y, NOWY),
                 scaleToWallX(s.files.width, NOWX), scaleToWallY(s.files.height, NOWY));
}

int ribbonHeight(int NOWY) {
    return scaleToWallY(41, NOWY);
}
