#pragma once

#include <QImage>

// What saving a wall needs of the window that shows it: the background as
// it stands, with any pen strokes on it.
class WallSurface {
public:
    virtual ~WallSurface() = default;

    virtual QImage canvasImage() const = 0;
};
