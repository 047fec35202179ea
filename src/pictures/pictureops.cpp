#include "pictures/pictureops.h"

#include "pictures/bicubic.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Where one target column (or row) samples: the two source neighbours and
// the weight of the second.
struct Tap {
    int near;
    int far;
    double weight;
};

std::vector<Tap> makeTaps(int targetSize, int sourceSize) {
    const double step = double(sourceSize) / targetSize;
    const int last = sourceSize - 1;
    std::vector<Tap> taps(static_cast<size_t>(targetSize));
    for (int i = 0; i < targetSize; ++i) {
        const double at = i * step;
        // at stays below sourceSize; the min only guards the reads.
        const int near = std::min(std::max(int(at), 0), last);
        taps[size_t(i)] = {near, near + 1 > last ? near : near + 1, at - near};
    }
    return taps;
}

int channel(QRgb pixel, int shift) {
    return int((pixel >> shift) & 0xFF);
}

// The turned corners' extent.
struct Extent {
    int minX, minY, maxX, maxY;
};

// A half is added and the sum truncated toward zero, not rounded: just below
// zero that gives 0 rather than -1, which is what makes a 100 × 50 picture
// 49 × 100 when turned by 90.
int turnedCoordinate(double v) {
    return static_cast<int>(v + 0.5);
}

double radians(double angle) {
    return std::isfinite(angle) ? angle * kPi / 180 : 0.0;
}

Extent turnedExtent(QSize size, double a) {
    const double c = std::cos(a);
    const double s = std::sin(a);
    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    const int corners[4][2] = {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}};
    Extent e{0, 0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const double x = corners[k][0];
        const double y = corners[k][1];
        const int tx = turnedCoordinate(c * x - s * y);
        const int ty = turnedCoordinate(s * x + c * y);
        if (k == 0) {
            e = {tx, ty, tx, ty};
            continue;
        }
        e = {std::min(e.minX, tx), std::min(e.minY, ty), std::max(e.maxX, tx),
             std::max(e.maxY, ty)};
    }
    return e;
}

} // namespace

QImage BitmapResize_Bilinear(const QImage& source, int W, int H) {
    if (source.isNull() || W < 1 || H < 1)
        return QImage();
    const bool alpha = source.hasAlphaChannel();
    const QImage from =
        source.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QImage to(W, H, from.format());
    if (to.isNull())
        return QImage(); // too large to hold
    const std::vector<Tap> columns = makeTaps(W, from.width());
    const std::vector<Tap> rows = makeTaps(H, from.height());
    const int channels = alpha ? 4 : 3;
    for (int y = 0; y < H; ++y) {
        const Tap& row = rows[size_t(y)];
        const auto* top = reinterpret_cast<const QRgb*>(from.constScanLine(row.near));
        const auto* bottom = reinterpret_cast<const QRgb*>(from.constScanLine(row.far));
        const double dy = row.weight;
        auto* out = reinterpret_cast<QRgb*>(to.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const Tap& column = columns[size_t(x)];
            const double dx = column.weight;
            const QRgb p00 = top[column.near];
            const QRgb p10 = top[column.far];
            const QRgb p01 = bottom[column.near];
            const QRgb p11 = bottom[column.far];
            QRgb pixel = alpha ? 0 : 0xFF000000u;
            for (int k = 0; k < channels; ++k) {
                const int shift = 8 * k;
                const double v =
                    (1 - dy) * ((1 - dx) * channel(p00, shift) + dx * channel(p10, shift)) +
                    dy * ((1 - dx) * channel(p01, shift) + dx * channel(p11, shift));
                pixel |= QRgb(SetByte(v)) << shift;
            }
            out[x] = pixel;
        }
    }
    return to;
}

QSize rotatedSize(QSize size, double angle) {
    if (size.isEmpty())
        return QSize();
    const Extent e = turnedExtent(size, radians(angle));
    return QSize(e.maxX - e.minX + 1, e.maxY - e.minY + 1);
}

QImage Rotate(const QImage& source, double angle) {
    if (source.isNull())
        return QImage();
    const double a = radians(angle);
    const Extent e = turnedExtent(source.size(), a);
    QImage to(e.maxX - e.minX + 1, e.maxY - e.minY + 1, QImage::Format_ARGB32);
    if (to.isNull())
        return QImage();
    to.fill(qRgba(240, 251, 255, 0));
    const QImage from = source.convertToFormat(QImage::Format_ARGB32);
    const int width = from.width();
    const int height = from.height();
    // The inverse turn finds, for each target pixel, the source pixel that
    // lands there.
    const double c = std::cos(-a);
    const double s = std::sin(-a);
    for (int j = 0; j < to.height(); ++j) {
        const double y = j + e.minY;
        auto* out = reinterpret_cast<QRgb*>(to.scanLine(j));
        for (int i = 0; i < to.width(); ++i) {
            const double x = i + e.minX;
            const int sx = turnedCoordinate(c * x - s * y);
            const int sy = turnedCoordinate(s * x + c * y);
            if (sx >= 0 && sx < width && sy >= 0 && sy < height)
                out[i] = reinterpret_cast<const QRgb*>(from.constScanLine(sy))[sx];
        }
    }
    return to;
}

QImage SAYU(const QImage& source) {
    return source.mirrored(true, false);
}

QImage JOUGE(const QImage& source) {
    return source.mirrored(false, true);
}
