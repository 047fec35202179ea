#pragma once

#include <QImage>
#include <QWidget>

// A picture that pens draw on, shown stretched over the widget. Only the
// part a stroke touched is painted again, so drawing stays quick on a large
// picture. The wall's background and the viewer's picture are both one.
class PictureCanvas : public QWidget {
    Q_OBJECT
public:
    explicit PictureCanvas(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    // The picture to draw on; call touched() with what changed.
    QImage& drawable() { return picture_; }
    void setPicture(const QImage& picture);
    void clearPicture();
    // Paints the part of the widget that shows `pictureRect` again.
    void touched(const QRect& pictureRect);
    // Pixels a stroke had changed were put back (or drawn again): painted
    // again, and told.
    void putBack(const QRect& pictureRect);

    // A point of the widget in the picture's own pixels.
    QPoint toPicture(QPoint widgetPoint) const;

signals:
    // Another picture, or none, replaced the one drawn on: strokes on the
    // old one can no longer be taken back.
    void pictureReplaced();
    // putBack() was called.
    void pixelsPutBack(const QRect& pictureRect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};
