#pragma once

#include "cards/textplacing.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

// One card on the wall. The card's parts — the panel, its picture and the
// six text parts — are painted by this one widget rather than being widgets
// of their own, so that a wall of a thousand cards builds quickly. It shows
// what the wall document holds; the card itself lives there.
class CardWidget : public QWidget {
    Q_OBJECT
public:
    explicit CardWidget(QWidget* wallArea);

    // Colours by code; unknown codes leave the colour as it was.
    void setCardColourCode(int code);
    void setTextColourCode(int code);
    bool isTransparent() const { return transparent_; }
    QColor fillColour() const { return fill_; }
    QColor textColour() const { return text_; }

    // Shape code 0 is an ellipse clipped to the panel; anything else a
    // rectangle with a frame of card colour around the picture.
    void setElliptic(bool elliptic);
    bool isElliptic() const { return elliptic_; }

    void setPicture(const QImage& picture);
    bool hasPicture() const { return !picture_.isNull(); }
    const QImage& picture() const { return picture_; }
    void setPictureRect(const QRect& r);
    QRect pictureRect() const { return pictureRect_; }

    void setPieces(const std::array<QString, 6>& captions, const PiecePlacement& placement);
    const std::array<QString, 6>& captions() const { return captions_; }
    const PiecePlacement& placement() const { return placement_; }

    // A collapsed check-off card: a small grey square with a check mark.
    void setCollapsed(bool collapsed);
    bool isCollapsed() const { return collapsed_; }

signals:
    // Mouse events in the coordinates of the card's picture area, whichever
    // part of the card they fall on; `byTouch`: a finger or a pen pressed.
    void pressed(CardWidget* card, QPoint at, Qt::MouseButton button, bool byTouch);
    void moved(CardWidget* card, QPoint at);
    void released(CardWidget* card, QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint inPicture(const QPointF& p) const;
    void updateMask();
    const QPixmap& scaledPicture();

    QColor fill_ = QColor(240, 240, 240);
    QColor text_ = Qt::black;
    bool transparent_ = false;
    bool elliptic_ = false;
    bool collapsed_ = false;
    QSize maskedSize_; // the size the elliptic mask was cut for; empty: no mask
    QImage picture_;
    QPixmap scaled_;
    QRect pictureRect_;
    std::array<QString, 6> captions_;
    PiecePlacement placement_;
};
