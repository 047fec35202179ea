#pragma once

#include "storage/records.h"

// The web-window and file-window settings of the current wall, in reference
// units: the records of "html.ini" and "dir.ini" as last read or set. The
// loaders fill them when a wall is read; the settings dialog edits them; a
// wall without a settings file leaves them as the previous wall did. The
// starting places are those the dialog holds before any wall is read.
struct WindowSettings {
    UrlRecord web{QString(), QString(), 870, 150, 990, 800, 0};
    MaskRecord files{QString(), QString(), QString(), 870, 800, 970, 240};
};
