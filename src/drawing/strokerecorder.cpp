#include "drawing/strokerecorder.h"

#include "drawing/picturecanvas.h"
#include "drawing/strokestep.h"

#include <cstring>

StrokeRecorder::StrokeRecorder(PictureCanvas& canvas, bool* drawn)
    : canvas_(canvas), drawn_(drawn) {}

void StrokeRecorder::begin() {
    before_ = canvas_.picture();
    drawnBefore_ = drawn_ && *drawn_;
    changed_ = QRect();
    recording_ = true;
}

void StrokeRecorder::drew(const QRect& rect) {
    if (recording_)
        changed_ |= rect;
    canvas_.touched(rect);
}

std::unique_ptr<StrokeStep> StrokeRecorder::end() {
    const QImage before = std::move(before_);
    before_ = QImage();
    const QRect changed = changed_ & before.rect();
    const bool recording = recording_;
    cancel();
    const QImage& after = canvas_.picture();
    // Whole bytes per pixel are put back row by row; the canvases hold no
    // other kind, as the pen cannot draw on them.
    if (!recording || changed.isEmpty() || after.size() != before.size() ||
        after.format() != before.format() || after.depth() % 8 != 0)
        return nullptr;
    const QByteArray was = pixelBytes(before, changed);
    const QByteArray is = pixelBytes(after, changed);
    if (was == is)
        return nullptr;
    return std::make_unique<StrokeStep>(canvas_, changed, after.format(), was, is, drawn_,
                                        drawnBefore_);
}

void StrokeRecorder::otherKept(const QRect& rect) {
    const QImage& now = canvas_.picture();
    const QRect area = rect & before_.rect() & now.rect();
    if (!recording_ || area.isEmpty() || now.format() != before_.format() || now.depth() % 8 != 0)
        return;
    const int bytes = now.depth() / 8;
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(before_.scanLine(y) + area.left() * bytes,
                    now.constScanLine(y) + area.left() * bytes, size_t(area.width()) * bytes);
    drawnBefore_ = drawn_ && *drawn_;
}

void StrokeRecorder::takeBack() {
    QImage& now = canvas_.drawable();
    const QRect area = changed_ & before_.rect() & now.rect();
    if (recording_ && !area.isEmpty() && now.format() == before_.format() && now.depth() % 8 == 0) {
        const int bytes = now.depth() / 8;
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::memcpy(now.scanLine(y) + area.left() * bytes,
                        before_.constScanLine(y) + area.left() * bytes,
                        size_t(area.width()) * bytes);
        if (drawn_)
            *drawn_ = drawnBefore_;
        canvas_.touched(area);
    }
    cancel();
}

void StrokeRecorder::cancel() {
    before_ = QImage();
    changed_ = QRect();
    recording_ = false;
}
