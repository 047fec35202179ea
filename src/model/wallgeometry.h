#pragma once

#include "storage/windowsettings.h"

#include <QRect>

// The arithmetic of the wall's geometry: its 16:9 size on a screen, sizes
// that follow the wall, and where the web and file windows stand on it.

struct WallSize {
    int NOWX = 0;
    int NOWY = 0;
    bool operator==(const WallSize& o) const { return NOWX == o.NOWX && NOWY == o.NOWY; }
};

// The 16:9 wall for a client area of W × H: it fills the width of a screen up
// to a ratio just above 16:9 (1921:1080) and the height of wider or portrait
// screens.
WallSize wallSizeFor(int W, int H);

// The layout pass never lets the wall be larger than the client area first
// measured (a portrait screen's wall is cut to its width).
WallSize clampWallSize(WallSize size, int ZETTAIX0, int ZETTAIY0);

// units × NOWY / 1080 (or × NOWX / 1920), halves to even: how every size that
// is designed for a 1080-line wall follows the real one.
int scaleToWallY(int units, int NOWY);
int scaleToWallX(int units, int NOWX);

// Hints are shown in this point size.
int hintFontSize(int NOWY);

// The web and file windows' rectangles on the wall, from reference units.
QRect webWindowRect(const WindowSettings& s, int NOWX, int NOWY);
QRect fileWindowRect(const WindowSettings& s, int NOWX, int NOWY);
// The web window's ribbon height.
int ribbonHeight(int NOWY);
