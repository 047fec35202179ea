#include "cards/cardwidget.h" // the wall document reaching up to the widgets
#include "model/cardentry.h"
