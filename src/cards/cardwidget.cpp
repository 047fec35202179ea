#include "cards/cardwidget.h"

#include "model/cardcolors.h"
#include "pictures/cardpicture.h"
#include "platform/touchhold.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

CardWidget::CardWidget(QWidget* wallArea) : QWidget(wallArea) {
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setToolTipDuration(3000);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CardWidget::setCardColourCode(int code) {
    const auto colour = cardColour(code);
    if (!colour)
        return;
    fill_ = *colour;
    transparent_ = code == kTransparentCard;
    scaled_ = QPixmap(); // the picture's transparency follows the card colour
    update();
}

void CardWidget::setTextColourCode(int code) {
    if (const auto colour = ::textColour(code)) {
        text_ = *colour;
        update();
    }
}

void CardWidget::setElliptic(bool elliptic) {
    elliptic_ = elliptic;
    updateMask();
}

void CardWidget::updateMask() {
    // An ellipse region is dear to cut; a card made on a wall gets its
    // shape and its first resize event for the same size.
    const QSize wanted = elliptic_ && !collapsed_ ? size() : QSize();
    if (wanted == maskedSize_)
        return;
    maskedSize_ = wanted;
    if (wanted.isEmpty())
        clearMask();
    else
        setMask(QRegion(QRect(1, 1, width() - 1, height() - 1), QRegion::Ellipse));
}

void CardWidget::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void CardWidget::setPictureRect(const QRect& r) {
    if (r.size() != pictureRect_.size())
        scaled_ = QPixmap();
    pictureRect_ = r;
    update();
}

void CardWidget::setPieces(const std::array<QString, 6>& captions,
                           const PiecePlacement& placement) {
    captions_ = captions;
    placement_ = placement;
    update();
}

void CardWidget::setCollapsed(bool collapsed) {
    collapsed_ = collapsed;
    updateMask();
    update();
}

QPoint CardWidget::inPicture(const QPointF& p) const {
    return p.toPoint() - pictureRect_.topLeft();
}

void CardWidget::mousePressEvent(QMouseEvent* event) {
    emit pressed(this, inPicture(event->position()), event->button(), byFingerOrPen(event));
}

void CardWidget::mouseMoveEvent(QMouseEvent* event) {
    // Over the picture the card can be grabbed; on its frame, resized.
    setCursor(pictureRect_.contains(event->position().toPoint()) ? Qt::DragMoveCursor
                                                                 : Qt::CrossCursor);
    emit moved(this, inPicture(event->position()));
}

void CardWidget::mouseReleaseEvent(QMouseEvent* event) {
    emit released(this, inPicture(event->position()));
}

void CardWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateMask();
}

const QPixmap& CardWidget::scaledPicture() {
    // Scaled straight to the screen's device pixels, so that a picture is
    // as sharp as the text beside it at any scale.
    const qreal ratio = devicePixelRatioF();
    if (!scaled_.isNull() && scaled_.devicePixelRatio() != ratio)
        scaled_ = QPixmap();
    if (scaled_.isNull() && !picture_.isNull() && !pictureRect_.isEmpty()) {
        const QSize pixels(qCeil(pictureRect_.width() * ratio),
                           qCeil(pictureRect_.height() * ratio));
        QImage img = picture_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (transparent_) {
            // A transparent card lets the wall show through its picture where
            // the picture has the colour of its bottom-left pixel.
            const QRgb key = img.pixel(0, img.height() - 1);
            img = img.convertToFormat(QImage::Format_ARGB32);
            img.setAlphaChannel(QImage(img.createMaskFromColor(key, Qt::MaskOutColor)));
        }
        scaled_ = QPixmap::fromImage(img);
        scaled_.setDevicePixelRatio(ratio);
    }
    return scaled_;
}

void CardWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (collapsed_) {
        p.fillRect(rect(), QColor(128, 128, 128));
        if (hasPicture())
            p.drawPixmap(pictureRect_.topLeft(), scaledPicture());
        p.setPen(Qt::black);
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("✔"));
        return;
    }
    if (!transparent_)
        p.fillRect(rect(), fill_);
    if (hasPicture())
        p.drawPixmap(pictureRect_.topLeft(), scaledPicture());
    p.setPen(text_);
    for (int i = 0; i < 6; ++i) {
        if (captions_[i].isEmpty())
            continue;
        p.setFont(cardFont(placement_.pointSize[i]));
        QString shown = captions_[i];
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        p.drawText(placement_.rect[i], Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, shown);
    }
}
