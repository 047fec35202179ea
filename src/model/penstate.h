#pragma once

#include <QColor>
#include <QPoint>

// The pen shared by the wall, the picture viewer and the picture editor:
// colour, width and line mode survive the pen going off and on.
struct PenState {
    bool MSON = false;   // the pen is on
    bool MSON2 = false;  // the background canvas holds a picture or strokes
    bool PREFLG = false; // straight lines between press and release, else freehand
    int CPEN = 0;        // colour index, see penColour
    int SPENS = 0;       // width in pixels; 0 is taken as 5 at the next move
};

// The pen colours by index: red, blue, yellow, white, black.
inline QColor penColour(int CPEN) {
    switch (CPEN) {
    case 1:
        return QColor(0, 0, 255);
    case 2:
        return QColor(255, 255, 0);
    case 3:
        return QColor(255, 255, 255);
    case 4:
        return QColor(0, 0, 0);
    default:
        return QColor(255, 0, 0);
    }
}

// The widths of the pen menus.
constexpr int kThickPen = 20;
constexpr int kThinPen = 2;
constexpr int kNormalPen = 5;
