#include "turtlecanvas.h"

#include "segmentclip.h"

#include <QPainter>
#include <QPolygonF>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kLogoSide = 500;

} // namespace

TurtleCanvas::TurtleCanvas(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TurtleCanvas::setResult(LogoResult result) {
    result_ = std::move(result);
    drawing_ = QImage();
    update();
}

QRectF TurtleCanvas::square() const {
    const double side = std::min(width(), height());
    return QRectF((width() - side) / 2, (height() - side) / 2, side, side);
}

QPointF TurtleCanvas::toWidget(const QPointF& logo) const {
    const QRectF s = square();
    const double scale = s.width() / kLogoSide;
    return s.center() + QPointF(logo.x() * scale, -logo.y() * scale);
}

void TurtleCanvas::resizeEvent(QResizeEvent* event) {
    drawing_ = QImage();
    QWidget::resizeEvent(event);
}

void TurtleCanvas::renderDrawing() {
    const QRectF s = square();
    const qreal ratio = devicePixelRatioF();
    drawing_ = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    drawing_.setDevicePixelRatio(ratio);
    drawing_.fill(Qt::transparent);
    QPainter painter(&drawing_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(s);
    const double scale = s.width() / kLogoSide;
    for (const LogoSegment& segment : result_.segments) {
        const double width = segment.width * scale;
        const auto visible = clipSegment(QLineF(toWidget(segment.from), toWidget(segment.to)),
                                         s.adjusted(-width, -width, width, width));
        if (!visible)
            continue;
        painter.setPen(
            QPen(segment.colour, std::max(width, 1.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(*visible);
    }
}

void TurtleCanvas::paintTurtle(QPainter& painter) const {
    const LogoTurtle& turtle = result_.turtle;
    const QRectF s = square();
    if (!s.contains(toWidget(turtle.position)))
        return;
    // A triangle pointing where the turtle heads, 16 units long.
    const double scale = s.width() / kLogoSide;
    const double radians = turtle.heading * 3.14159265358979323846 / 180;
    const QPointF ahead(std::sin(radians), -std::cos(radians)); // widget y runs down
    const QPointF side(-ahead.y(), ahead.x());
    const QPointF at = toWidget(turtle.position);
    const QPolygonF triangle{at + ahead * 10 * scale, at - ahead * 6 * scale + side * 7 * scale,
                             at - ahead * 6 * scale - side * 7 * scale};
    painter.setPen(QPen(Qt::darkGreen, 1.5));
    painter.setBrush(QColor(120, 200, 120, 160));
    painter.drawPolygon(triangle);
}

void TurtleCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.fillRect(square(), Qt::white);
    if (drawing_.isNull())
        renderDrawing();
    painter.drawImage(0, 0, drawing_);
    painter.setRenderHint(QPainter::Antialiasing);
    paintTurtle(painter);
}
