#pragma once

#include "drawing/penstroke.h"
#include "drawing/strokerecorder.h"

#include <QColor>
#include <QPointer>
#include <QRect>
#include <map>
#include <memory>

class PictureCanvas;
class QEvent;
class QObject;
class QTabletEvent;
class QTouchEvent;
class QWidget;
class QWindow;
class TouchHold;
class UndoHistory;
struct PenState;

// What a stroke draws with.
struct PenInk {
    QColor colour;
    int width = 1;
    bool straight = false;
};

// The pen as the wall and the viewer share it; an unset width is the normal one.
PenInk penInk(const PenState& pen);

// Puts `filter` on `window`, off the one it was on (`watched`): touches
// reach a window before Qt hands them to its widgets, so that fingers on a
// canvas and on the widgets over it can be told apart there.
void watchTouches(QPointer<QWindow>& watched, QWindow* window, QObject* filter);
bool isTouch(const QEvent* event);

// A stylus's pressure (0 to 1) sets a segment's width between a third of the
// pen's width and all of it.
qreal pressureWidth(int width, double pressure);

// Several pens drawing on one canvas at once, one for each touch point (and
// one for a stylus), each stroke its own step. A stroke that ends is kept
// over the pixels the others had drawn in its rectangle, and they take those
// as there before them, so that the steps can be taken back in any order
// they were kept.
class TouchPens {
public:
    // The id a tablet stylus draws under.
    static constexpr int kStylus = -1;
    // Fingers beyond this many draw nothing.
    static constexpr int kMostPoints = 10;

    // `drawn`, when given, is set once a stroke drew.
    TouchPens(PictureCanvas& canvas, StrokeRules rules, bool* drawn = nullptr);
    ~TouchPens();

    // Points are in the canvas's widget coordinates.
    bool down(int id, QPoint at);
    QRect moveTo(int id, QPoint at, const PenInk& ink, double pressure = 1.0);
    // The point lifted: its stroke goes into `history`, when there is one.
    void up(int id, QPoint at, const PenInk& ink, UndoHistory* history);
    // Every stroke under way is drawn and not kept.
    void cancel();

    bool has(int id) const { return points_.count(id) > 0; }
    bool hasDrawn(int id) const;
    bool hasDrawnAny() const;
    bool drawing() const { return !points_.empty(); }
    // Fingers of a touch that began with the pen on are still down: the
    // touch ends as it began.
    bool holdsTouch() const { return drawing() || !mouseTarget_.isNull(); }

    // A stylus on the canvas, with the pen on: its pressure sets the width.
    // A press of its buttons is left to the mouse Qt makes of it: false.
    bool stylus(QTabletEvent* event, const PenInk& ink, UndoHistory* history);

    // A touch event on the window that shows the canvas, with the pen on:
    // each point that lands on the canvas draws, and one point at a time
    // that lands on another widget (a card, a button) works it as the mouse
    // would, since Qt makes only one mouse of all the fingers and gives it
    // to the first of them. The event is used up.
    void takeWindowTouch(QWidget* window, QTouchEvent* event, const PenInk& ink,
                         UndoHistory* history);
    // A lone finger held still on the canvas is a right click there, as on
    // every window, watched by the window's `hold`.
    void setHold(TouchHold* hold) { hold_ = hold; }

private:
    struct Point;
    void watchAlone(int id, QPointF global);
    // The watched lone finger lifted after the hold's time: its pixels go.
    bool heldStill(int id);
    void mouseFromTouch(QWidget* window, const class QEventPoint& point, QTouchEvent* event);

    PictureCanvas& canvas_;
    StrokeRules rules_;
    bool* drawn_;
    std::map<int, std::unique_ptr<Point>> points_;
    QPointer<QWidget> mouseTarget_; // the widget the one mouse finger works
    int mouseId_ = -1;
    TouchHold* hold_ = nullptr;
    // The lone finger (or the stylus) the hold watches; none is kNobody.
    static constexpr int kNobody = -2;
    int watchedId_ = kNobody;
};
