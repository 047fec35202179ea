#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// What the wall's loaders and savers need of the window that shows the wall:
// its background canvas, its web and file windows, and a way to tell the user.
class WallSurface {
public:
    virtual ~WallSurface() = default;

    // Loads a picture file as the wall's background, fitted to the wall.
    virtual void KABEIMAGELOAD(const QString& path) = 0;
    // Empties the canvas to the plain navy wall.
    virtual void clearBackground() = 0;
    // What the wall shows as its background, with any pen strokes.
    virtual QImage canvasImage() const = 0;
    // The wall area's cursor: an arrow over a background picture, else a hand.
    virtual void setWallCursor(bool arrow) = 0;

    // Puts the wall window back to borderless full screen, as at start, when
    // it is not already: a saved background is what the full wall shows.
    virtual void restoreFullScreen() = 0;

    // The web window: placed from the settings and navigated to a page, or
    // hidden.
    virtual void KABEWEBLOAD(const QString& page) = 0;
    virtual void hideWebWindow() = 0;

    // The file window, from the mask, label and place in the settings.
    virtual void showFileWindow() = 0;
    virtual void hideFileWindow() = 0;
    virtual void refreshFileWindow() = 0;

    // Tells the user about files that could not be taken, one line each.
    virtual void reportProblems(const QString& title, const QStringList& lines) = 0;
};
