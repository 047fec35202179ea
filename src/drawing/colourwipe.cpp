#include "drawing/colourwipe.h"

bool isPenColour(QRgb pixel, int CPEN) {
    const int r = qRed(pixel);
    const int g = qGreen(pixel);
    const int b = qBlue(pixel);
    switch (CPEN) {
    case 0:
        return r > 230 && g < 200 && b < 200;
    case 1:
        return b > 230 && g < 200 && r < 200;
    case 2:
        return r > 100 && g > 100 && b < 100;
    case 3:
        return r > 240 && g > 240 && b > 240;
    case 4:
        return r < 10 && g < 10 && b < 10;
    default:
        return false;
    }
}

QImage wipePenColour(const QImage& picture, int CPEN) {
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        QRgb kept = qRgb(255, 255, 255);
        for (int x = 0; x < out.width(); ++x) {
            if (isPenColour(row[x], CPEN))
                row[x] = kept;
            else
                kept = row[x];
        }
    }
    return out;
}
