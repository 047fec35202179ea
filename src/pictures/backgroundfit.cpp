#include "pictures/backgroundfit.h"

#include "pictures/bicubic.h"
#include "pictures/picturelayer.h"
#include "storage/refspace.h"

#include <QColor>
#include <QImage>
#include <QPainter>

QRect fitBackground(int w, int h, int NOWX, int NOWY) {
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
        return QRect(scaleHalfEven(NOWX - tw, 1, 2), 0, tw, th);
    }
    if (2 * qint64(tw) > 3 * qint64(NOWX) && w != 0) {
        tw = NOWX;
        th = scaleHalfEven(NOWX, h, w);
    }
    return QRect(scaleHalfEven(NOWX - tw, 1, 2), scaleHalfEven(NOWY - th, 1, 2), tw, th);
}

QImage composeBackground(const QString& path, int NOWX, int NOWY, const QColor& ground,
                         bool* loaded) {
    auto fit = [&](QSize full) { return fitBackground(full.width(), full.height(), NOWX, NOWY); };
    const PictureRead read = readPicture(path, [&](QSize full) { return fit(full).size(); });
    QImage canvas(qMax(1, NOWX), qMax(1, NOWY), QImage::Format_RGB32);
    canvas.fill(ground);
    if (loaded)
        *loaded = !read.image.isNull();
    if (!read.image.isNull()) {
        const QRect at = fit(read.fullSize);
        QPainter p(&canvas);
        p.drawImage(at.topLeft(), BitmapResize_Bicubic(read.image, at.width(), at.height()));
    }
    return canvas;
}
