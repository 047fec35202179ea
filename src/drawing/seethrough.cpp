#include "drawing/seethrough.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace {

const QRgb kSeeThrough = qRgb(128, 128, 128);

} // namespace

QRegion seeThroughMask(const QImage& shown) {
    const QImage mask = shown.convertToFormat(QImage::Format_RGB32)
                            .createMaskFromColor(kSeeThrough, Qt::MaskInColor);
    return QRegion(QBitmap::fromImage(mask));
}

void applySeeThroughGrey(QWidget* window) {
    // What the window shows, without an earlier mask, at one pixel a pixel.
    window->clearMask();
    QImage shown = window->grab().toImage();
    if (shown.size() != window->size())
        shown = shown.scaled(window->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRegion visible = seeThroughMask(shown);
    if (visible != QRegion(window->rect()))
        window->setMask(visible);
}
