#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Sends `w` one mouse event at its point `at`: a press or a release of
// `button`, or a move with `button` held (Qt::NoButton for a hover).
inline void sendMouse(QWidget* w, QEvent::Type type, QPoint at,
                      Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : button;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, w->mapToGlobal(at), changed, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
