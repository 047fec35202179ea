#include "drawing/penstroke.h"

#include <QImage>
#include <QPainter>
#include <QPen>

QRect PenStroke::move(QImage& picture, QPoint at, bool leftDown, bool penOn, bool straight,
                      const QColor& colour, int width) {
    QRect changed;
    if (penOn) {
        penPos = pre;
        if (leftDown && !straight) {
            if (counter < rules_.freehandSkips)
                ++counter; // the first moves of a sequence only move the pen
            else
                changed = lineTo(picture, at, colour, width);
        }
    }
    if (!straight)
        pre = at;
    return changed;
}

QRect PenStroke::release(QImage& picture, QPoint at, const QColor& colour, int width) {
    QRect changed;
    if (counter < rules_.straightSkips) {
        ++counter;
        penPos = at;
    } else {
        changed = lineTo(picture, at, colour, width);
    }
    pre = at;
    return changed;
}

QRect PenStroke::lineTo(QImage& picture, QPoint to, const QColor& colour, int width) {
    const QPoint from = penPos;
    penPos = to;
    if (picture.isNull())
        return QRect();
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(from, to);
    const int margin = width / 2 + 2;
    return QRect(from, to).normalized().adjusted(-margin, -margin, margin, margin) & picture.rect();
}
