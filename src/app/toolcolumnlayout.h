#pragma once

#include <QHash>
#include <QPoint>
#include <QRect>
#include <QString>

// The arithmetic of the tool column's layout, kept apart from its widgets so
// it can be checked directly.

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
