#pragma once

#include "drawing/windowdrag.h"

#include <QObject>

class QRect;
class QWidget;
class RestoreWindow;
class ToolColumn;
class WallDocument;
struct WallModes;

// How the wall window stands on the desktop: full screen, hidden behind the
// restore window, tucked into its grab tab at a corner, or in a frame. The
// tab and the strip at the left edge drag the window; a right press on either
// tucks or untucks it.
//
// Window managers refuse windows moved off the screen, so a tucked window
// becomes the tab's size at a corner rather than sliding out of view, and a
// hidden one is hidden rather than moved away.
class WindowModes : public QObject {
    Q_OBJECT
public:
    WindowModes(WallDocument& doc, WallModes& modes, QWidget* window, ToolColumn& tools,
                RestoreWindow* restore);

    // "かくす": the wall hides and the restore window shows.
    void SpeedButton14Click();
    // The restore window's button: the wall comes back full screen.
    void restoreWall();
    // After a hand-off to the desktop shell, a moved window tucks itself into
    // a small bar at the bottom right of the screen.
    void TAKO();
    // The tab's right press: tucks the full-screen window near the top right
    // corner, or brings a tucked one back.
    void tuckOrUntuck();
    // With a frame (maximised) or without (full screen at 0, 0).
    void setBordered(bool bordered);
    // Borderless full screen at 0, 0 again, unless the window is so already.
    void restoreFullScreen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window stays above others, or not; a press on the tab or the
    // strip makes it an ordinary window again.
    void keepOnTop(bool on);
    // The window becomes rectangle r showing only the tab and its fellows.
    void tuckInto(const QRect& r);

    WallDocument& st;

    WallModes& modes_;
    QWidget* window_;
    ToolColumn& tools_;
    RestoreWindow* TForm20;
    // The tab's button and the left strip, by which the window is dragged;
    // kept here, as the tool column may go before them when the wall closes.
    QWidget* grip_;
    QWidget* strip_;
    // Dragging the window by its tab or strip.
    WindowDrag drag_;
};
