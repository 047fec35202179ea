#pragma once

#include <QImage>
#include <QRandomGenerator>

// Something photo-like: smooth colour fields with fine noise, which is what
// makes real photos expensive to decode.
inline QImage photo(int w, int h) {
    QImage img(w, h, QImage::Format_RGB888);
    QRandomGenerator rng(42);
    for (int y = 0; y < h; ++y) {
        uchar* line = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const int n = int(rng.bounded(24));
            line[3 * x] = uchar((x * 255 / w + n) & 0xFF);
            line[3 * x + 1] = uchar((y * 255 / h + n) & 0xFF);
            line[3 * x + 2] = uchar(((x + y) * 127 / (w + h) + 64 + n) & 0xFF);
        }
    }
    return img;
}
