#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWindow>
#include <memory>
#include <vector>

class QInputEvent;
class QPointingDevice;
class QMouseEvent;
class QTimer;
class QWidget;

// Whether an event came from a finger on the screen or a pen, rather than
// a mouse or a touchpad: Qt hands on unhandled touches and pen strokes as
// mouse events that still name the device.
bool byFingerOrPen(const QInputEvent* event);

// How many of the widget's pixels make `millimetres` on its screen, from the
// screen's physical size (96 dots per inch when the screen does not say).
int pixelsForMillimetres(const QWidget* widget, double millimetres);

// Press and hold as the right button, for a finger or a pen on one window.
// A left press by finger or pen is held back; while it stays within a few
// millimetres a ring grows under it, full after 600 ms. Lifted then, the
// window gets a right press and release at the place instead, so every
// right-click meaning works by touch. Lifted sooner, or moved farther first,
// the window gets the held-back press as it came and all that follows: a tap
// and a drag are what they always were. The mouse is never held back.
class TouchHold : public QObject {
    Q_OBJECT
public:
    static constexpr int kHoldMs = 600;
    static constexpr double kSlackMm = 4.0;

    explicit TouchHold(QWidget* window);
    ~TouchHold() override;

    // A press is being held back.
    bool holding() const { return !heldBack_.empty(); }
    // The ring is full: lifting now is a right click.
    bool complete() const { return complete_; }
    // The ring under the finger, shown while a press is held.
    QWidget* ring() const;

    // For a surface of the window that takes its touches itself (the pen
    // drawing with every finger): one point is watched as a held press is,
    // with the same ring. `pointMoved` is false, and the watch over, once
    // it went beyond the slack; `pointLifted` ends it and says whether the
    // ring was full, when `rightClickAt` gives the place its right click.
    void watchPoint(QPointF global);
    bool pointMoved(QPointF global);
    bool pointLifted();
    void stopWatching();
    bool watching() const { return watching_; }
    void rightClickAt(QWidget* widget, QPointF global, const QPointingDevice* device);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void begin(const QMouseEvent* press);
    void tick();
    // Hands the held-back events to the window as they came, and forgets them.
    void replay();
    void rightClick();
    void reset();

    QPointer<QWidget> window_;
    QPointer<QWindow> target_; // the window the press came to
    std::vector<std::unique_ptr<QInputEvent>> heldBack_;
    QPointF start_; // global
    double slack_ = 0;
    bool complete_ = false;
    bool replaying_ = false;
    bool watching_ = false;
    QElapsedTimer clock_;
    QTimer* tick_;
    std::unique_ptr<QWidget> ring_;
};
