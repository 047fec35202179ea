#pragma once

#include "storage/windowsettings.h"

#include <QHash>
#include <QPoint>
#include <QRect>
#include <QString>

// The arithmetic of the wall window's geometry and layout pass, kept apart
// from the window so it can be checked directly.

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
// The tool buttons are squares of this side.
int toolButtonSide(int NOWY);

// The folder button shows the wall folder below the data folder.
struct FolderButtonGeometry {
    QRect rect;
    int fontSize = 0;
};
FolderButtonGeometry folderButtonGeometry(int captionLength, int NOWY, int ZETTAIX0,
                                          int button1Width);

// Where the layout pass puts each button of the tool column and the grab tab
// (`Panel6`), keyed by objectName. `widths` gives each button's own width
// (SpeedButton7, SpeedButton16 and SpeedButton1 stand flush with the right
// edge by their own width, the others by the width of SpeedButton1).
struct ToolColumnInput {
    int ZETTAIX0 = 0;
    int NOWY = 0;
    int clientHeight = 0;
    int panel6Height = 0;
    QHash<QString, int> widths;
};
QHash<QString, QPoint> toolColumnPositions(const ToolColumnInput& in);

// The order of the column below SpeedButton8, top to bottom.
const QStringList& toolColumnOrder();

// The web and file windows' rectangles on the wall, from reference units.
QRect webWindowRect(const WindowSettings& s, int NOWX, int NOWY);
QRect fileWindowRect(const WindowSettings& s, int NOWX, int NOWY);
// The web window's ribbon height.
int ribbonHeight(int NOWY);
