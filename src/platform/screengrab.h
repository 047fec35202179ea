#pragma once

#include <QImage>
#include <QString>

// A picture of the whole screen, or why there is none.
struct ScreenGrab {
    QImage image; // in the screen's own pixels; its device pixel ratio is set
    QString problem;
};

// Whether this session lets a program see the screen: an X11 session does;
// Wayland (XWayland included) and the offscreen platform do not.
bool screenCanBeGrabbed();

// The message for a session where the screen cannot be captured.
QString captureNeedsX11();

// Grabs the primary screen. Where the session does not allow it, or the grab
// comes back empty, the image is null and `problem` says so.
ScreenGrab grabWholeScreen();
