#include "pictures/jpegcodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jerror.h>
#include <jpeglib.h>
#include <memory>
#include <vector>

// libjpeg reports errors by calling back, and the only way out of its code is
// a long jump. Everything the decoder keeps lives in one heap object reached
// through a pointer, so nothing with a destructor is skipped by the jump.

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool cutShort = false;
    char message[JMSG_LENGTH_MAX] = {};
};

void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    // A file that ends early is padded with grey by the library; such a
    // picture is not what the user has, so it counts as unreadable.
    if (level < 0 &&
        (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER))
        err->cutShort = true;
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    PictureRead result;
    std::vector<JSAMPLE> row;
};

// The largest reduction that keeps the picture at least `target` both ways.
unsigned scaleDenominator(QSize full, QSize target) {
    if (!target.isValid() || target.isEmpty())
        return 1;
    for (unsigned denom : {8u, 4u, 2u}) {
        const qint64 w = (qint64(full.width()) + denom - 1) / denom;
        const qint64 h = (qint64(full.height()) + denom - 1) / denom;
        if (w >= target.width() && h >= target.height())
            return denom;
    }
    return 1;
}

void cmykRowToRgb(const JSAMPLE* in, uchar* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        const int c = inverted ? in[0] : 255 - in[0];
        const int m = inverted ? in[1] : 255 - in[1];
        const int y = inverted ? in[2] : 255 - in[2];
        const int k = inverted ? in[3] : 255 - in[3];
        out[0] = uchar(c * k / 255);
        out[1] = uchar(m * k / 255);
        out[2] = uchar(y * k / 255);
    }
}

bool runDecode(Decoder* d, const QByteArray* bytes, const TargetSize* target) {
    jpeg_decompress_struct* cinfo = &d->cinfo;
    cinfo->err = jpeg_std_error(&d->err.pub);
    d->err.pub.error_exit = onError;
    d->err.pub.emit_message = onMessage;
    if (setjmp(d->err.jump)) {
        d->result.error = QString::fromLocal8Bit(d->err.message);
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(bytes->constData()),
                 static_cast<unsigned long>(bytes->size()));
    jpeg_read_header(cinfo, TRUE);
    d->result.fullSize = QSize(int(cinfo->image_width), int(cinfo->image_height));
    if (qint64(cinfo->image_width) * cinfo->image_height > kMaxPicturePixels) {
        d->result.error = QStringLiteral("too large");
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    cinfo->scale_num = 1;
    cinfo->scale_denom =
        scaleDenominator(d->result.fullSize, *target ? (*target)(d->result.fullSize) : QSize());
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(cinfo);
    const int width = int(cinfo->output_width);
    d->result.image = QImage(width, int(cinfo->output_height), QImage::Format_RGB888);
    if (d->result.image.isNull()) {
        d->result.error = QStringLiteral("out of memory");
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    if (cmyk)
        d->row.resize(size_t(width) * 4);
    while (cinfo->output_scanline < cinfo->output_height) {
        uchar* line = d->result.image.scanLine(int(cinfo->output_scanline));
        JSAMPROW rows[1] = {cmyk ? d->row.data() : line};
        jpeg_read_scanlines(cinfo, rows, 1);
        if (cmyk)
            cmykRowToRgb(d->row.data(), line, width, cinfo->saw_Adobe_marker);
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    if (d->err.cutShort) {
        d->result.error = QStringLiteral("the file ends before the picture does");
        return false;
    }
    return true;
}

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

bool runEncode(Encoder* e, const QImage* rgb, int quality) {
    jpeg_compress_struct* cinfo = &e->cinfo;
    cinfo->err = jpeg_std_error(&e->err.pub);
    e->err.pub.error_exit = onError;
    if (setjmp(e->err.jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);
    jpeg_mem_dest(cinfo, &e->buffer, &e->size);
    cinfo->image_width = JDIMENSION(rgb->width());
    cinfo->image_height = JDIMENSION(rgb->height());
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW rows[1] = {const_cast<uchar*>(rgb->constScanLine(int(cinfo->next_scanline)))};
        jpeg_write_scanlines(cinfo, rows, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return true;
}

} // namespace

PictureRead decodeJpeg(const QByteArray& bytes, const TargetSize& target) {
    auto d = std::make_unique<Decoder>();
    if (!runDecode(d.get(), &bytes, &target))
        d->result.image = QImage();
    return std::move(d->result);
}

QByteArray encodeJpegBytes(const QImage& picture, int quality) {
    if (picture.isNull())
        return QByteArray();
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    auto e = std::make_unique<Encoder>();
    QByteArray out;
    if (runEncode(e.get(), &rgb, quality))
        out = QByteArray(reinterpret_cast<const char*>(e->buffer), qsizetype(e->size));
    std::free(e->buffer);
    return out;
}
