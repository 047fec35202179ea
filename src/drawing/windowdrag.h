#pragma once

#include <QPoint>

class QEvent;
class QMouseEvent;
class QWidget;

// Dragging a small window by any point of it: a left press grabs the window,
// a right press only remembers itself (it decides what the release does).
class WindowDrag {
public:
    enum class Press { None, Left, Right };

    void press(QWidget* window, const QMouseEvent* event);
    void drag(QWidget* window, const QMouseEvent* event) const;
    // Feeds any event of the window or one of its parts to the drag: true
    // for a press or a move, which it took. A release is left to the
    // caller, which decides what it means.
    bool follow(QWidget* window, const QEvent* event);
    // Ends the drag and gives back the press it ended.
    Press release();
    void cancel() { release(); }
    Press pressed() const { return press_; }

private:
    Press press_ = Press::None;
    bool dragging_ = false;
    QPoint offset_; // from the window's corner to the grabbing point
};
