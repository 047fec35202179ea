#include "pictures/stretchdraw.h"

#include <QPainter>

void StretchDrawBitmap(QPainter& painter, const QRect& r, const QImage& picture) {
    if (picture.isNull() || r.isEmpty())
        return;
    painter.save();
    // Printers take whole pixels: no smoothing, as the colour-on-colour
    // stretch of the original drawing did.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(r, picture.convertToFormat(QImage::Format_RGB888));
    painter.restore();
}
