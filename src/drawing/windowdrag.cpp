#include "drawing/windowdrag.h"

#include <QMouseEvent>
#include <QWidget>

void WindowDrag::press(QWidget* window, const QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        press_ = Press::Right;
        return;
    }
    press_ = Press::Left;
    dragging_ = true;
    offset_ = event->globalPosition().toPoint() - window->pos();
}

void WindowDrag::drag(QWidget* window, const QMouseEvent* event) const {
    if (dragging_)
        window->move(event->globalPosition().toPoint() - offset_);
}

WindowDrag::Press WindowDrag::release() {
    const Press press = press_;
    press_ = Press::None;
    dragging_ = false;
    return press;
}

bool WindowDrag::follow(QWidget* window, const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        press(window, static_cast<const QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        drag(window, static_cast<const QMouseEvent*>(event));
        return true;
    default:
        return false;
    }
}
