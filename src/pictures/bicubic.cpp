#include "pictures/bicubic.h"

#include "storage/refspace.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// The kernel is separable and a neighbour outside the picture is replaced per
// axis (its column by the centre column, its row by the centre row), so the 16
// taps of a target pixel are the product of 4 column taps and 4 row taps. Each
// needed source row is first resampled horizontally into a row of floats of
// the target's width; each target row then mixes 4 of those rows. The floats
// are rounded only once, at the end, so the result matches the per-pixel sum
// up to the order of the additions (at most 1 in a channel, and only where a
// sum lands within a hair of a half).

namespace {

// Four taps per target column (or row): the source index each tap reads,
// already replaced by the centre where it falls outside, and its weight.
struct Taps {
    std::vector<int> index;
    std::vector<float> weight;
};

Taps makeTaps(int sourceSize, int targetSize) {
    Taps taps;
    taps.index.resize(4 * size_t(targetSize));
    taps.weight.resize(4 * size_t(targetSize));
    const double factor = double(sourceSize) / targetSize;
    for (int i = 0; i < targetSize; ++i) {
        const double pos = i * factor;
        // pos stays below sourceSize by a whole factor; the min only guards
        // the memory reads should that ever change.
        const int centre = std::min(int(pos), sourceSize - 1);
        for (int k = 0; k < 4; ++k) {
            const int n = centre - 1 + k;
            const size_t at = 4 * size_t(i) + k;
            taps.index[at] = (n < 0 || n > sourceSize - 1) ? centre : n;
            taps.weight[at] = float(bicubicKernel(std::fabs(pos - n)));
        }
    }
    return taps;
}

struct Job {
    const uchar* source;
    qsizetype sourceStride;
    int sourceWidth;
    uchar* target;
    qsizetype targetStride;
    int width;
    const Taps* columns;
    const Taps* rows;
};

// One source row as four floats per pixel (R, G, B and a lane that is never
// read back), so a tap is one vector load.
void expandRow(const uchar* row, int count, float* pixels) {
    int p = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    // Reading 4 bytes per pixel overreads by one, so the last pixel is done
    // by hand below.
    for (; p + 1 < count; ++p) {
        std::int32_t word;
        std::memcpy(&word, row + 3 * p, 4);
        const __m128i bytes = _mm_cvtsi32_si128(word);
        const __m128i ints = _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero);
        _mm_storeu_ps(pixels + 4 * p, _mm_cvtepi32_ps(ints));
    }
#endif
    for (; p < count; ++p) {
        pixels[4 * p] = row[3 * p];
        pixels[4 * p + 1] = row[3 * p + 1];
        pixels[4 * p + 2] = row[3 * p + 2];
        pixels[4 * p + 3] = 0.0f;
    }
}

// Horizontal pass: `out` receives 3 floats per target pixel, plus one spare
// float at the end that the vector stores spill into.
void horizontalPass(const float* pixels, const Taps& columns, int width, float* out) {
    const int* index = columns.index.data();
    const float* weight = columns.weight.data();
    for (int ix = 0; ix < width; ++ix, index += 4, weight += 4) {
#ifdef __SSE2__
        __m128 sum = _mm_mul_ps(_mm_load1_ps(weight), _mm_loadu_ps(pixels + 4 * index[0]));
        sum = _mm_add_ps(sum,
                         _mm_mul_ps(_mm_load1_ps(weight + 1), _mm_loadu_ps(pixels + 4 * index[1])));
        sum = _mm_add_ps(sum,
                         _mm_mul_ps(_mm_load1_ps(weight + 2), _mm_loadu_ps(pixels + 4 * index[2])));
        sum = _mm_add_ps(sum,
                         _mm_mul_ps(_mm_load1_ps(weight + 3), _mm_loadu_ps(pixels + 4 * index[3])));
        // The fourth lane lands on the next pixel's red and is overwritten
        // by the next store (or by nobody, in the spare float).
        _mm_storeu_ps(out + 3 * ix, sum);
#else
        for (int c = 0; c < 3; ++c) {
            float sum = weight[0] * pixels[4 * index[0] + c];
            sum += weight[1] * pixels[4 * index[1] + c];
            sum += weight[2] * pixels[4 * index[2] + c];
            sum += weight[3] * pixels[4 * index[3] + c];
            out[3 * ix + c] = sum;
        }
#endif
    }
}

// Vertical pass: 4 horizontally resampled rows to one target row of bytes.
void verticalPass(const float* const line[4], const float* weight, int count, uchar* out) {
    int j = 0;
#ifdef __SSE2__
    const __m128 w0 = _mm_set1_ps(weight[0]);
    const __m128 w1 = _mm_set1_ps(weight[1]);
    const __m128 w2 = _mm_set1_ps(weight[2]);
    const __m128 w3 = _mm_set1_ps(weight[3]);
    auto mix = [&](int at) {
        __m128 sum = _mm_mul_ps(w0, _mm_loadu_ps(line[0] + at));
        sum = _mm_add_ps(sum, _mm_mul_ps(w1, _mm_loadu_ps(line[1] + at)));
        sum = _mm_add_ps(sum, _mm_mul_ps(w2, _mm_loadu_ps(line[2] + at)));
        sum = _mm_add_ps(sum, _mm_mul_ps(w3, _mm_loadu_ps(line[3] + at)));
        // Rounds to nearest with halves to even (the default MXCSR mode, the
        // same mode nearbyint uses).
        return _mm_cvtps_epi32(sum);
    };
    for (; j + 16 <= count; j += 16) {
        // The saturating packs clamp to 0..255 the way SetByte does.
        const __m128i low = _mm_packs_epi32(mix(j), mix(j + 4));
        const __m128i high = _mm_packs_epi32(mix(j + 8), mix(j + 12));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_packus_epi16(low, high));
    }
#endif
    for (; j < count; ++j) {
        float sum = weight[0] * line[0][j];
        sum += weight[1] * line[1][j];
        sum += weight[2] * line[2][j];
        sum += weight[3] * line[3][j];
        out[j] = uchar(SetByte(sum));
    }
}

void resampleRows(const Job& job, int firstRow, int endRow) {
    const int lineLength = 3 * job.width + 1;
    std::vector<float> pixels(4 * size_t(job.sourceWidth));
    // The rows of one target row are among 4 consecutive source rows, so a
    // slot per source row modulo 4 never evicts a row still in use, and as
    // the target rows go down each source row is resampled once.
    std::vector<float> lines(4 * size_t(lineLength));
    int cached[4] = {-1, -1, -1, -1};
    for (int iy = firstRow; iy < endRow; ++iy) {
        const float* line[4];
        for (int k = 0; k < 4; ++k) {
            const int row = job.rows->index[4 * size_t(iy) + k];
            const int slot = row & 3;
            float* stored = lines.data() + size_t(slot) * lineLength;
            if (cached[slot] != row) {
                expandRow(job.source + row * job.sourceStride, job.sourceWidth, pixels.data());
                horizontalPass(pixels.data(), *job.columns, job.width, stored);
                cached[slot] = row;
            }
            line[k] = stored;
        }
        verticalPass(line, job.rows->weight.data() + 4 * size_t(iy), 3 * job.width,
                     job.target + iy * job.targetStride);
    }
}

// Threads pay off once the work is a good deal longer than starting one.
int threadCount(int sourceHeight, int width, int height) {
    const double horizontal = double(width) * std::min(double(sourceHeight), 4.0 * height);
    const double vertical = double(width) * height;
    if (horizontal + vertical < 200000.0)
        return 1;
    const unsigned cores = std::thread::hardware_concurrency();
    const int wanted = cores == 0 ? 2 : int(std::min(cores, 4u));
    return std::max(1, std::min(wanted, height / 8));
}

} // namespace

double bicubicKernel(double t) {
    if (t < 1.0)
        return (t * t - t - 1.0) * (t - 1.0);
    return -(t - 1.0) * (t - 2.0) * (t - 2.0);
}

int SetByte(double x) {
    // Clamping first keeps the conversion to int defined for any sum (and
    // NaN); rounding is monotone, so the result is the same as rounding
    // first.
    if (!(x > 0.0))
        return 0;
    if (x >= 255.0)
        return 255;
    return roundHalfEven(x);
}

QImage BitmapResize_Bicubic(const QImage& source, int width, int height) {
    if (width < 1 || height < 1 || source.isNull() || source.width() < 1 || source.height() < 1)
        return QImage();
    const QImage work = source.convertToFormat(QImage::Format_RGB888);
    QImage target(width, height, QImage::Format_RGB888);
    if (work.isNull() || target.isNull())
        return QImage();

    const Taps columns = makeTaps(work.width(), width);
    const Taps rows = makeTaps(work.height(), height);
    // bits() may detach, so it is taken here once and never from the threads.
    const Job job{work.constBits(),
                  work.bytesPerLine(),
                  work.width(),
                  target.bits(),
                  target.bytesPerLine(),
                  width,
                  &columns,
                  &rows};

    const int threads = threadCount(work.height(), width, height);
    std::vector<std::thread> helpers;
    int first = 0;
    for (int t = 0; t < threads - 1; ++t) {
        const int end = int(qint64(height) * (t + 1) / threads);
        try {
            helpers.emplace_back(resampleRows, std::cref(job), first, end);
        } catch (const std::system_error&) {
            // No thread to be had: do that band here.
            resampleRows(job, first, end);
        }
        first = end;
    }
    resampleRows(job, first, height);
    for (std::thread& helper : helpers)
        helper.join();
    return target;
}
