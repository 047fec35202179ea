#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>

class QObject;
class QWidget;

// A picture of the whole screen, or why there is none.
struct ScreenGrab {
    QImage image; // in the screen's own pixels; its device pixel ratio is set
    QString problem;
    bool cancelled = false; // the user called it off: there is nothing to say
};

using GrabDone = std::function<void(const ScreenGrab&)>;

// Whether this session lets a program see the screen: an X11 session does;
// Wayland (XWayland included) and the offscreen platform do not.
bool screenCanBeGrabbed();

// The message for a desktop where the screen cannot be photographed at all:
// `portal` says what is wrong with the desktop portal.
QString captureUnavailable(const QString& portal);

// Grabs the primary screen through X11. Where the session does not allow it,
// or the grab comes back empty, the image is null and `problem` says so.
ScreenGrab grabWholeScreen();

// Photographs the primary screen: through X11 where that works, else through
// the desktop portal, whose answer comes later. `done` is called once, now or
// later, and never after `owner` is gone. `parentWindow` is the window a
// desktop's dialog stands over.
void photographScreen(QObject* owner, const QWidget* parentWindow, GrabDone done);

// The primary screen's part of a portal's picture of the whole desktop
// (`desktop` in Qt's coordinates, `primary` within it), with the device pixel
// ratio that shows it at the screen's size. A picture smaller than the
// desktop is kept whole, at the screen's own ratio.
QImage fitToPrimaryScreen(const QImage& shot, const QRect& desktop, const QRect& primary,
                          qreal screenRatio);
