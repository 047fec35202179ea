#include "drawing/strokestep.h"

#include "drawing/picturecanvas.h"

#include <cstring>

QByteArray pixelBytes(const QImage& picture, const QRect& rect) {
    const QImage part = picture.copy(rect);
    return QByteArray(reinterpret_cast<const char*>(part.constBits()), part.sizeInBytes());
}

StrokeStep::StrokeStep(PictureCanvas& canvas, const QRect& rect, QImage::Format format,
                       const QByteArray& before, const QByteArray& after, bool* drawn,
                       bool drawnBefore)
    : key_(&canvas), canvas_(&canvas), rect_(rect), format_(format), before_(before), after_(after),
      drawn_(drawn), drawnBefore_(drawnBefore) {}

QString StrokeStep::name() const {
    return QStringLiteral("ペンの線");
}

bool StrokeStep::undo(QString* why) {
    if (!put(after_, before_, why))
        return false;
    if (drawn_)
        *drawn_ = drawnBefore_;
    return true;
}

bool StrokeStep::redo(QString* why) {
    if (!put(before_, after_, why))
        return false;
    if (drawn_)
        *drawn_ = true;
    return true;
}

bool StrokeStep::put(const KeptBytes& expected, const KeptBytes& wanted, QString* why) {
    auto refuse = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (!canvas_)
        return refuse(QStringLiteral("線を引いた絵はもう閉じられています。"));
    const QImage& shown = canvas_->picture();
    if (shown.format() != format_ || !shown.rect().contains(rect_) ||
        !(expected == pixelBytes(shown, rect_)))
        return refuse(QStringLiteral("線を引いたあとで、絵がほかの操作で変わっています。"));
    const std::optional<QByteArray> bytes = wanted.bytes();
    QImage part(rect_.size(), format_);
    if (!bytes || bytes->size() != part.sizeInBytes())
        return refuse(QStringLiteral("取っておいた線の下の絵を読み戻せません。"));
    std::memcpy(part.bits(), bytes->constData(), size_t(bytes->size()));
    // Row by row, byte for byte: painting would blend or convert the pixels.
    QImage& picture = canvas_->drawable();
    const int bytesPerPixel = picture.depth() / 8;
    const size_t rowBytes = size_t(rect_.width()) * size_t(bytesPerPixel);
    for (int y = 0; y < rect_.height(); ++y)
        std::memcpy(picture.scanLine(rect_.y() + y) + rect_.x() * bytesPerPixel,
                    part.constScanLine(y), rowBytes);
    canvas_->putBack(rect_);
    return true;
}
