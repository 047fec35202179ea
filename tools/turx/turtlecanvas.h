#pragma once

#include "logoresult.h"

#include <QImage>
#include <QWidget>

// The square drawing surface: shows a run's segments and the turtle, scaled
// from LOGO's 500 × 500 units to the largest square that fits the widget.
class TurtleCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TurtleCanvas(QWidget* parent = nullptr);

    void setResult(LogoResult result);
    QSize sizeHint() const override { return QSize(500, 500); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRectF square() const;
    QPointF toWidget(const QPointF& logo) const;
    void renderDrawing();
    void paintTurtle(QPainter& painter) const;

    LogoResult result_;
    QImage drawing_; // the segments, redrawn only when they or the size change
};
