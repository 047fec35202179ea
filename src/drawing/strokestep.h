#pragma once

#include "document/undohistory.h"
#include "storage/keptbytes.h"

#include <QImage>
#include <QPointer>
#include <QRect>

class PictureCanvas;

// One pen stroke as a step that can be taken back: the pixels of the
// rectangle the stroke changed, as they were before and after it. Only that
// rectangle is kept, and a large one in a temporary file, so that a long
// history of strokes never holds a picture whole.
class StrokeStep : public HistoryStep {
public:
    // `before` and `after` are the rectangle's pixels (`pixelBytes`) in the
    // canvas's picture of `format`. `drawn`, when given, is the flag that
    // says the picture was drawn on; it was `drawnBefore` before the stroke.
    StrokeStep(PictureCanvas& canvas, const QRect& rect, QImage::Format format,
               const QByteArray& before, const QByteArray& after, bool* drawn, bool drawnBefore);

    QString name() const override;
    bool undo(QString* why) override;
    bool redo(QString* why) override;
    const void* canvas() const override { return key_; }
    qint64 bytesKept() const override { return before_.size() + after_.size(); }

    QRect rect() const { return rect_; }
    // Whether the pixels are kept in temporary files.
    bool spilled() const { return before_.spilled() && after_.spilled(); }

private:
    // Puts `wanted` into the rectangle when it still holds `expected`.
    bool put(const KeptBytes& expected, const KeptBytes& wanted, QString* why);

    const void* key_;
    QPointer<PictureCanvas> canvas_;
    QRect rect_;
    QImage::Format format_;
    KeptBytes before_;
    KeptBytes after_;
    bool* drawn_;
    bool drawnBefore_;
};

// The raw bytes of `rect` of `picture`, as `QImage::copy` lays them out.
QByteArray pixelBytes(const QImage& picture, const QRect& rect);
