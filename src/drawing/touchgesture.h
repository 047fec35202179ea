#pragma once

#include <QPointF>
#include <map>

class QTouchEvent;

// Follows the fingers on a window through its touch events: two of them
// pinch (their distance) and pan (their middle), and one finger tapped twice
// in quick succession near the same place is a double tap. Positions are the
// screen's.
class TouchGesture {
public:
    enum class Step { None, PinchStarted, Pinched, PinchEnded, DoubleTap };

    Step follow(const QTouchEvent* event);

    bool pinching() const { return pinching_; }
    // How far apart the two fingers are now against when the pinch started.
    double factor() const;
    QPointF centre() const;
    QPointF startCentre() const { return startCentre_; }

private:
    struct Finger {
        QPointF at;
        QPointF pressedAt;
        qint64 pressedMs = 0;
        int order = 0;
        bool moved = false;
    };

    bool twoFingers(int* first, int* second) const;

    std::map<int, Finger> fingers_;
    int pressed_ = 0; // fingers of this sequence
    bool pinching_ = false;
    int first_ = -1;
    int second_ = -1;
    double startDistance_ = 1;
    QPointF startCentre_;
    bool lastTapValid_ = false;
    QPointF lastTapAt_;
    qint64 lastTapMs_ = 0;
};
