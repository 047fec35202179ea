#include "pictures/pngcodec.h"

#include <csetjmp>
#include <cstring>
#include <memory>
#include <png.h>
#include <vector>

namespace {

// libpng's simplified reader: it reports errors by return value, checks every
// chunk's checksum and never hands back a picture it could not read whole.
PictureRead decodeWhole(const QByteArray& bytes) {
    PictureRead result;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.constData(), size_t(bytes.size()))) {
        result.error = QString::fromLocal8Bit(image.message);
        return result;
    }
    result.fullSize = QSize(int(image.width), int(image.height));
    if (qint64(image.width) * image.height > kMaxPicturePixels) {
        png_image_free(&image);
        result.error = QStringLiteral("too large");
        return result;
    }
    const bool alpha = image.format & PNG_FORMAT_FLAG_ALPHA;
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    QImage out(int(image.width), int(image.height),
               alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (out.isNull()) {
        png_image_free(&image);
        result.error = QStringLiteral("out of memory");
        return result;
    }
    if (!png_image_finish_read(&image, nullptr, out.bits(), png_int_32(out.bytesPerLine()),
                               nullptr)) {
        result.error = QString::fromLocal8Bit(image.message);
        png_image_free(&image);
        return result;
    }
    result.image = out;
    return result;
}

// The reduced reader uses libpng's own calls, whose only way out of an error
// is a long jump: everything it keeps lives in one heap object, so nothing
// with a destructor is skipped by the jump.
struct Reducer {
    const QByteArray* bytes = nullptr;
    size_t at = 0;
    PictureRead result;
    std::vector<png_byte> row;
    std::vector<quint32> sums;
    bool interlaced = false;
    char message[200] = {};
};

void readBytes(png_structp png, png_bytep out, size_t n) {
    auto* r = static_cast<Reducer*>(png_get_io_ptr(png));
    if (n > size_t(r->bytes->size()) - r->at)
        png_error(png, "the file ends before the picture does");
    std::memcpy(out, r->bytes->constData() + r->at, n);
    r->at += n;
}

void onError(png_structp png, png_const_charp message) {
    auto* r = static_cast<Reducer*>(png_get_error_ptr(png));
    std::strncpy(r->message, message, sizeof r->message - 1);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// The largest whole factor that keeps the picture at least `target` both ways.
int reduction(QSize full, QSize target) {
    if (!target.isValid() || target.isEmpty())
        return 1;
    return std::max(1, std::min(full.width() / target.width(), full.height() / target.height()));
}

// Reads the picture a row at a time, averaging every k × k block into one
// pixel. False with `interlaced` set when the rows do not come in order.
bool runReduced(Reducer* r, png_structp png, png_infop info, const TargetSize* target) {
    if (setjmp(png_jmpbuf(png))) {
        r->result.error = QString::fromLocal8Bit(r->message);
        r->result.image = QImage();
        return false;
    }
    png_set_read_fn(png, r, readBytes);
    png_read_info(png, info);
    const int w = int(png_get_image_width(png, info));
    const int h = int(png_get_image_height(png, info));
    r->result.fullSize = QSize(w, h);
    if (qint64(w) * h > kMaxPicturePixels) {
        r->result.error = QStringLiteral("too large");
        return false;
    }
    const int k = reduction(r->result.fullSize, (*target)(r->result.fullSize));
    if (k < 2 || png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) {
        r->interlaced = true; // read whole instead
        return false;
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);
    if (channels != 3 && channels != 4) {
        r->interlaced = true;
        return false;
    }
    const int outW = (w + k - 1) / k;
    const int outH = (h + k - 1) / k;
    r->result.image =
        QImage(outW, outH, channels == 4 ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (r->result.image.isNull()) {
        r->result.error = QStringLiteral("out of memory");
        return false;
    }
    r->row.resize(png_get_rowbytes(png, info));
    r->sums.assign(size_t(outW) * size_t(channels), 0);
    for (int y = 0; y < h; ++y) {
        png_read_row(png, r->row.data(), nullptr);
        const png_byte* in = r->row.data();
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c)
                r->sums[size_t(x / k) * size_t(channels) + size_t(c)] += *in++;
        if ((y + 1) % k != 0 && y != h - 1)
            continue;
        const int rows = y % k + 1;
        uchar* line = r->result.image.scanLine(y / k);
        for (int ox = 0; ox < outW; ++ox) {
            const quint32 n = quint32(std::min(k, w - ox * k) * rows);
            for (int c = 0; c < channels; ++c) {
                quint32& sum = r->sums[size_t(ox) * size_t(channels) + size_t(c)];
                line[ox * channels + c] = uchar((sum + n / 2) / n);
                sum = 0;
            }
        }
    }
    png_read_end(png, nullptr);
    return true;
}

} // namespace

PictureRead decodePng(const QByteArray& bytes, const TargetSize& target) {
    if (!target)
        return decodeWhole(bytes);
    auto r = std::make_unique<Reducer>();
    r->bytes = &bytes;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, r.get(), onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_read_struct(&png, &info, nullptr);
        return decodeWhole(bytes);
    }
    const bool reduced = runReduced(r.get(), png, info, &target);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!reduced && r->interlaced)
        return decodeWhole(bytes);
    return r->result;
}
