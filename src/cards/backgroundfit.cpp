#include "cards/backgroundfit.h"

#include "storage/refspace.h"

QRect fitBackground(int w, int h, int NOWX, int NOWY, int canvasWidth, int canvasHeight) {
    if (w < h) // portrait
        return QRect(0, 0, scaleHalfEven(NOWY, w, h), NOWY);
    int tw = NOWX;
    int th = NOWX;
    if (w == 0 || h == 0) {
        tw = NOWX;
        th = NOWY;
    } else {
        th = scaleHalfEven(NOWX, h, w);
    }
    if (qint64(w) * NOWX > qint64(NOWY) * h) {
        if (2 * qint64(th) > 3 * qint64(NOWY)) {
            th = NOWY;
            tw = scaleHalfEven(NOWY, w, h);
        }
        return QRect(scaleHalfEven(canvasWidth - tw, 1, 2), 0, tw, th);
    }
    if (2 * qint64(tw) > 3 * qint64(NOWX) && w != 0) {
        tw = NOWX;
        th = scaleHalfEven(NOWX, h, w);
    }
    return QRect(scaleHalfEven(canvasWidth - tw, 1, 2), scaleHalfEven(canvasHeight - th, 1, 2), tw,
                 th);
}
