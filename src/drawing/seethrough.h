#pragma once

#include <QRegion>

class QImage;
class QWidget;

// Pixels of exactly grey (128, 128, 128) in the picture viewer and the flash
// window are see-through: the wall shows where they are.

// The region of `shown` that stays visible: every pixel but the grey ones.
QRegion seeThroughMask(const QImage& shown);

// Masks the grey pixels of what `window` shows now out of it; a window
// showing no such grey keeps no mask.
void applySeeThroughGrey(QWidget* window);
