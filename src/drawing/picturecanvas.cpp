#include "drawing/picturecanvas.h"

#include <QPaintEvent>
#include <QPainter>

PictureCanvas::PictureCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureCanvas::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
    emit pictureReplaced();
}

void PictureCanvas::clearPicture() {
    picture_ = QImage();
    update();
    emit pictureReplaced();
}

void PictureCanvas::putBack(const QRect& pictureRect) {
    touched(pictureRect);
    emit pixelsPutBack(pictureRect);
}

void PictureCanvas::touched(const QRect& pictureRect) {
    if (pictureRect.isEmpty() || picture_.isNull())
        return;
    if (picture_.size() == size()) {
        update(pictureRect);
        return;
    }
    // One pixel more all round covers what smoothing spreads.
    const double sx = double(width()) / picture_.width();
    const double sy = double(height()) / picture_.height();
    update(QRectF(pictureRect.x() * sx, pictureRect.y() * sy, pictureRect.width() * sx,
                  pictureRect.height() * sy)
               .toAlignedRect()
               .adjusted(-1, -1, 1, 1));
}

QPoint PictureCanvas::toPicture(QPoint widgetPoint) const {
    // The wall's size stands in for a widget not laid out yet.
    const int w = width() > 0 ? width() : picture_.width();
    const int h = height() > 0 ? height() : picture_.height();
    if (w <= 0 || h <= 0)
        return widgetPoint;
    return QPoint(int(qint64(widgetPoint.x()) * picture_.width() / w),
                  int(qint64(widgetPoint.y()) * picture_.height() / h));
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (picture_.isNull()) {
        painter.fillRect(area, palette().window());
        return;
    }
    if (picture_.size() == size()) {
        painter.drawImage(area, picture_, area);
        return;
    }
    // Only the part of the picture under the area, so that a stroke on a
    // large photo does not scale the whole photo again.
    const double sx = double(picture_.width()) / width();
    const double sy = double(picture_.height()) / height();
    const QRect source = QRectF(area.x() * sx, area.y() * sy, area.width() * sx, area.height() * sy)
                             .toAlignedRect()
                             .adjusted(-1, -1, 1, 1) &
                         picture_.rect();
    const QRectF target(source.x() / sx, source.y() / sy, source.width() / sx,
                        source.height() / sy);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_, source);
}
