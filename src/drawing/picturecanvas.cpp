#include "drawing/picturecanvas.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

PictureCanvas::PictureCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureCanvas::setPicture(const QImage& picture, qreal pixelRatio) {
    picture_ = picture;
    picture_.setDevicePixelRatio(1.0);
    pixelRatio_ = pixelRatio > 0 ? pixelRatio : 1.0;
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

bool PictureCanvas::showsOneToOne() const {
    return picture_.width() == qRound(width() * pixelRatio_) &&
           picture_.height() == qRound(height() * pixelRatio_);
}

void PictureCanvas::touched(const QRect& pictureRect) {
    if (pictureRect.isEmpty() || picture_.isNull() || width() <= 0 || height() <= 0)
        return;
    const double sx = double(width()) / picture_.width();
    const double sy = double(height()) / picture_.height();
    const QRect area = QRectF(pictureRect.x() * sx, pictureRect.y() * sy, pictureRect.width() * sx,
                              pictureRect.height() * sy)
                           .toAlignedRect();
    // One pixel more all round covers what smoothing spreads.
    update(showsOneToOne() ? area : area.adjusted(-1, -1, 1, 1));
}

QPoint PictureCanvas::toPicture(QPointF widgetPoint) const {
    // The wall's size stands in for a widget not laid out yet.
    const double w = width() > 0 ? width() : picture_.width() / pixelRatio_;
    const double h = height() > 0 ? height() : picture_.height() / pixelRatio_;
    if (w <= 0 || h <= 0)
        return widgetPoint.toPoint();
    return QPoint(int(std::floor(widgetPoint.x() * picture_.width() / w)),
                  int(std::floor(widgetPoint.y() * picture_.height() / h)));
}

int PictureCanvas::penWidth(qreal width) const {
    return qMax(1, qRound(width * pixelRatio_));
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    if (picture_.isNull() || width() <= 0 || height() <= 0) {
        painter.fillRect(area, palette().window());
        return;
    }
    // Only the part of the picture under the area, so that a stroke on a
    // large photo does not scale the whole photo again.
    const double sx = double(picture_.width()) / width();
    const double sy = double(picture_.height()) / height();
    const bool oneToOne = showsOneToOne();
    QRect source =
        QRectF(area.x() * sx, area.y() * sy, area.width() * sx, area.height() * sy).toAlignedRect();
    if (!oneToOne)
        source.adjust(-1, -1, 1, 1);
    source &= picture_.rect();
    const QRectF target(source.x() / sx, source.y() / sy, source.width() / sx,
                        source.height() / sy);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !oneToOne);
    painter.drawImage(target, picture_, source);
}
