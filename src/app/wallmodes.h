#pragma once

#include "model/penstate.h"

#include <QString>
#include <QStringList>

// The modes of the wall window: what the user has armed or switched on, and
// what the window is in the middle of. The wall itself (its folder, cards,
// background and settings) is the wall document's. The window hands each
// part only the modes it needs, as references to these values.
struct WallModes {
    bool BUSY = false;    // a load or layout is running
    bool SHOWFLG = false; // the next layout pass reloads the wall
    bool XFLG = false;    // the tool buttons are shown
    bool RFLGK = false;   // one-shot right click armed
    bool TAKOFL = false;  // ignore the next resize
    PenState pen;         // on or off, colour, width and line mode
    // The last press on a card: -1 a left press not yet held 300 ms (its
    // release is a click), 1 a right press, 0 held or consumed.
    int RFLG = 0;
    QString DIRPOINT;      // the return mark: a wall folder
    bool POM = false;      // a stamp card was clicked: the next press on the wall stamps it
    double KAKUDAI = 1.0;  // zoom handed to the picture viewer
    QStringList ListBox11; // navigation history: wall folders, newest last
};
