#pragma once

#include <algorithm>
#include <cstdlib>

// The resampler written the slow, obvious way: 16 taps per target pixel,
// every weight and sum in double, one pixel at a time. The fast resampler is
// checked against it; it shares no code with it except the rounding helper.

#include "storage/refspace.h"

#include <QImage>
#include <cmath>

namespace reference {

inline double kernel(double t) {
    if (t < 1.0)
        return (t * t - t - 1.0) * (t - 1.0);
    return -(t - 1.0) * (t - 2.0) * (t - 2.0);
}

inline int toByte(double x) {
    if (!(x > 0.0))
        return 0;
    if (x >= 255.0)
        return 255;
    return roundHalfEven(x);
}

} // namespace reference

inline QImage referenceBicubic(const QImage& source, int width, int height) {
    if (width < 1 || height < 1 || source.isNull())
        return QImage();
    const QImage work = source.convertToFormat(QImage::Format_RGB888);
    const int SW = work.width();
    const int SH = work.height();
    QImage target(width, height, QImage::Format_RGB888);
    const double fw = double(SW) / width;
    const double fh = double(SH) / height;
    for (int iy = 0; iy < height; ++iy) {
        uchar* out = target.scanLine(iy);
        for (int ix = 0; ix < width; ++ix) {
            const double xx = ix * fw;
            const double yy = iy * fh;
            const int x = int(std::trunc(xx));
            const int y = int(std::trunc(yy));
            double R = 0.0, G = 0.0, B = 0.0;
            for (int m = y - 1; m <= y + 2; ++m) {
                for (int n = x - 1; n <= x + 2; ++n) {
                    const double wx = reference::kernel(std::fabs(xx - n));
                    const double wy = reference::kernel(std::fabs(yy - m));
                    const int column = (n < 0 || n > SW - 1) ? x : n;
                    const int row = (m < 0 || m > SH - 1) ? y : m;
                    const uchar* p = work.constScanLine(row) + 3 * column;
                    R += p[0] * wx * wy;
                    G += p[1] * wx * wy;
                    B += p[2] * wx * wy;
                }
            }
            out[3 * ix] = uchar(reference::toByte(R));
            out[3 * ix + 1] = uchar(reference::toByte(G));
            out[3 * ix + 2] = uchar(reference::toByte(B));
        }
    }
    return target;
}

// The largest difference in any channel of two 24-bit pictures; -1 when the
// sizes or formats differ.
inline int maxChannelDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format())
        return -1;
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* p = a.constScanLine(y);
        const uchar* q = b.constScanLine(y);
        for (int i = 0; i < 3 * a.width(); ++i)
            worst = std::max(worst, std::abs(int(p[i]) - int(q[i])));
    }
    return worst;
}
