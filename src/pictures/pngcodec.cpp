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

namespace {

// libpng's writer jumps out on errors too: the same shape as the reader,
// everything kept in one heap object.
struct PngWriter {
    QByteArray out;
    QImage picture;
};

void appendBytes(png_structp png, png_bytep data, size_t n) {
    auto* w = static_cast<PngWriter*>(png_get_io_ptr(png));
    w->out.append(reinterpret_cast<const char*>(data), qsizetype(n));
}

void flushNothing(png_structp) {}

void onWriteError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

bool runTextRead(Reducer* r, png_structp png, png_infop info, QHash<QByteArray, QByteArray>* keys) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, r, readBytes);
    png_read_info(png, info);
    png_textp text = nullptr;
    const int count = png_get_text(png, info, &text, nullptr);
    for (int i = 0; i < count; ++i) {
        const size_t length = text[i].compression > 0 ? text[i].itxt_length : text[i].text_length;
        keys->insert(QByteArray(text[i].key), QByteArray(text[i].text, qsizetype(length)));
    }
    return true;
}

bool runWrite(PngWriter* w, png_structp png, png_infop info, std::vector<png_text>* texts) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, w, appendBytes, flushNothing);
    const QImage& picture = w->picture;
    const bool alpha = picture.format() == QImage::Format_RGBA8888;
    png_set_IHDR(png, info, png_uint_32(picture.width()), png_uint_32(picture.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Thumbnails are written often and read more often: a quick
    // compression, and a filter that is quick to undo.
    png_set_compression_level(png, 3);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_text(png, info, texts->data(), int(texts->size()));
    png_write_info(png, info);
    for (int y = 0; y < picture.height(); ++y)
        png_write_row(png, picture.constScanLine(y));
    png_write_end(png, info);
    return true;
}

} // namespace

QHash<QByteArray, QByteArray> pngTextKeys(const QByteArray& bytes) {
    auto r = std::make_unique<Reducer>();
    r->bytes = &bytes;
    QHash<QByteArray, QByteArray> keys;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, r.get(), onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool read = png && info && runTextRead(r.get(), png, info, &keys);
    png_destroy_read_struct(&png, &info, nullptr);
    return read ? keys : QHash<QByteArray, QByteArray>();
}

QByteArray encodePng(const QImage& picture, const PngText& texts) {
    if (picture.isNull())
        return QByteArray();
    auto w = std::make_unique<PngWriter>();
    w->picture = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_RGBA8888
                                                                   : QImage::Format_RGB888);
    std::vector<png_text> entries(size_t(texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        png_text& t = entries[size_t(i)];
        t.compression = PNG_TEXT_COMPRESSION_NONE;
        t.key = const_cast<char*>(texts[i].first.constData());
        t.text = const_cast<char*>(texts[i].second.constData());
        t.text_length = size_t(texts[i].second.size());
    }
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, w.get(), onWriteError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = png && info && runWrite(w.get(), png, info, &entries);
    png_destroy_write_struct(&png, &info);
    return written ? w->out : QByteArray();
}
