#pragma once

#include <QString>

// The web-window and file-window settings of the current wall, in reference
// units. The loaders fill them when a wall is read; the settings dialog edits
// them; a wall without a settings file leaves them as the previous wall did.
// The starting values are those the dialog holds before any wall is read.
struct WindowSettings {
    // Web window.
    QString webPage;
    int webX = 870;
    int webY = 150;
    int webWidth = 990;
    int webHeight = 800;
    int ribbon = 0; // > 0: the ribbon is shown under the pane

    // File window.
    QString fileLabel;
    QString fileMask;
    int fileX = 870;
    int fileY = 800;
    int fileWidth = 970;
    int fileHeight = 240;
};
