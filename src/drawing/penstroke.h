#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

class QImage;

// How many points of a stroke sequence only move the pen before lines are
// drawn: the wall, the viewer and the picture editor count differently.
struct StrokeRules {
    int freehandSkips = 1; // moves with the button down that draw nothing
    int straightSkips = 1; // releases in straight-line mode that draw nothing
};

constexpr StrokeRules kWallStrokes{1, 1};
constexpr StrokeRules kViewerStrokes{0, 0};
constexpr StrokeRules kEditorStrokes{2, 1};

// One pen on one picture, as the mouse moves it. Like a drawing canvas it has
// a current position that lines start from; `pre` is the point the next line
// is measured from (the last point in freehand mode, the press point in
// straight-line mode). Lines replace the pixels they cover, without
// antialiasing, so that a colour wipe or a colour key finds exactly the pen's
// colour.
class PenStroke {
public:
    explicit PenStroke(StrokeRules rules) : rules_(rules) {}

    // The counter of the stroke sequence; most pen commands start it again.
    int counter = 0;
    QPoint pre;    // where the next line is measured from
    QPoint penPos; // the current position, where a line starts

    // A press: the point becomes `pre`.
    void press(QPoint at) { pre = at; }
    // A move; with the left button down and the pen on, freehand mode draws
    // from `pre`. Returns the picture's rectangle that changed (empty when
    // nothing was drawn).
    QRect move(QImage& picture, QPoint at, bool leftDown, bool penOn, bool straight,
               const QColor& colour, int width);
    // A release in straight-line mode with the pen on: a line from the
    // current position, once the rules let it.
    QRect release(QImage& picture, QPoint at, const QColor& colour, int width);

private:
    QRect lineTo(QImage& picture, QPoint to, const QColor& colour, int width);

    StrokeRules rules_;
};
