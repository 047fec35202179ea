#pragma once

#include <QImage>
#include <QWidget>

// A picture that pens draw on, shown stretched over the widget. Only the
// part a stroke touched is painted again, so drawing stays quick on a large
// picture. The wall's background and the viewer's picture are both one.
//
// The picture may have more pixels than the widget: the wall's background is
// made at the screen's device pixels, so that strokes are as sharp as text.
// Points reach the picture through toPicture() and pen widths through
// penWidth(); the picture itself keeps a device pixel ratio of 1, so that a
// painter on drawable() works in the picture's own pixels.
class PictureCanvas : public QWidget {
    Q_OBJECT
public:
    explicit PictureCanvas(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    // The picture to draw on; call touched() with what changed.
    QImage& drawable() { return picture_; }
    // `pixelRatio`: how many of the picture's pixels make one of the
    // widget's, for pen widths (a picture from a file keeps its own, 1).
    void setPicture(const QImage& picture, qreal pixelRatio = 1.0);
    qreal pixelRatio() const { return pixelRatio_; }
    void clearPicture();
    // Paints the part of the widget that shows `pictureRect` again.
    void touched(const QRect& pictureRect);
    // Pixels a stroke had changed were put back (or drawn again): painted
    // again, and told.
    void putBack(const QRect& pictureRect);

    // A point of the widget in the picture's own pixels.
    QPoint toPicture(QPointF widgetPoint) const;
    // A pen's width, given in the widget's pixels (a fraction for a light
    // press), in the picture's whole pixels, at least 1.
    int penWidth(qreal width) const;

signals:
    // Another picture, or none, replaced the one drawn on: strokes on the
    // old one can no longer be taken back.
    void pictureReplaced();
    // putBack() was called.
    void pixelsPutBack(const QRect& pictureRect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The picture is exactly the widget at its pixel ratio: shown pixel for
    // pixel, unsmoothed.
    bool showsOneToOne() const;

    QImage picture_;
    qreal pixelRatio_ = 1.0;
};
