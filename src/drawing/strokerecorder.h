#pragma once

#include <QImage>
#include <QRect>
#include <memory>

class PictureCanvas;
class StrokeStep;

// Follows one pen stroke on a canvas, from the left press to the release,
// and makes it a step. At the press it keeps the picture as it is: a shared
// copy, which the stroke's first pixel parts from the canvas's once; at the
// release only the changed rectangle of it is kept and the copy goes.
class StrokeRecorder {
public:
    // `drawn`, when given, is the flag the strokes set on the canvas's owner:
    // the picture was drawn on.
    explicit StrokeRecorder(PictureCanvas& canvas, bool* drawn = nullptr);

    // A left press: a stroke may begin.
    void begin();
    // A line changed `rect` of the picture: painted again, and kept in mind.
    void drew(const QRect& rect);
    // The release: the stroke as a step, or none when it changed no pixel.
    std::unique_ptr<StrokeStep> end();
    // Another stroke drawn at the same time was kept as a step over `rect`:
    // its pixels there count as there before this stroke.
    void otherKept(const QRect& rect);
    // The picture went while a stroke was under way: there is nothing to keep.
    void cancel();
    // The stroke was no stroke after all (a finger held still for the menu):
    // the few pixels it drew go again, and nothing is kept.
    void takeBack();

private:
    PictureCanvas& canvas_;
    bool* drawn_;
    QImage before_;
    bool drawnBefore_ = false;
    QRect changed_;
    bool recording_ = false;
};
