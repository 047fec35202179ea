#pragma once

#include "model/penstate.h"
#include "storage/folderlisting.h"
#include "storage/windowsettings.h"

#include <QString>
#include <QStringList>
#include <QVector>

// One card of the wall as the program holds it, in the order the cards were
// loaded. Positions and sizes are wall pixels as the card was made.
struct CardEntry {
    QString POST;  // picture path
    int XS = 0;    // left
    int YS = 0;    // top
    int XXS = 0;   // width
    int YYS = 0;   // height
    QString S2;    // hint
    QString NOTE;  // link
    int P = 0;     // card colour code
    QString TT;    // text as stored, before stage filtering
    int PT = 0;    // text colour code
    int STP = 0;   // stamp switch
    int R = 0;     // shape code (0 elliptical)
    QString FNAME; // file name in the wall folder
    // FNAME names a file the card was read from or written to, and goes
    // back there as it is; any other name (one a user typed) is cleaned
    // before it is written.
    bool nameFromFile = false;
    // FNAME was made from the time for a new card that has no file yet: its
    // first write makes a new file and never replaces one (another machine
    // on a shared wall may make a card in the same second).
    bool newFile = false;
    QString FTIME;  // stamp
    QString KFLG;   // flash text
    QString KSU;    // mark
    QString KAKUSU; // check-off state, in-memory value

    // How the card's file looked when the card was last read from it or
    // written to it; a file that looks different was changed by someone else.
    FileSignature disk;
};

// The state of the wall window that every part of the program reads and
// writes. Folders are held with "/" separators and a trailing "/".
struct WallState {
    QString KIJUNDIR;    // current wall folder
    QString KIJUNDIRBAK; // data folder, the root wall
    QString KIJUNEX;     // resource folder

    // The settings file names of every wall folder.
    QString KABE3 = QStringLiteral("wall.ini"); // background
    QString KABE2 = QStringLiteral("html.ini"); // web window
    QString KABE4 = QStringLiteral("dir.ini");  // file window

    QString KABEIMAGE; // background picture path as read, absolute once loaded
    QString KABEIMG;   // absolute path of the background actually loaded
    QString KABEIMAGEOLDTIME = QStringLiteral("NIL");
    QString WEBOLDTIME;
    QString DIROLDTIME;
    QString BAKNAME; // card file last read or written
    QString MEMO;    // description of the records, never written

    int ZETTAIX = 1920; // reference space
    int ZETTAIY = 1080;
    int ZETTAIX0 = 0; // client size as first measured
    int ZETTAIY0 = 0;
    int NOWX = 0; // the wall in pixels
    int NOWY = 0;

    int PBANSU = 0; // number of cards
    int PBAN = 0;   // current card

    bool BUSY = false;    // a load or layout is running
    bool SHOWFLG = false; // the next layout pass reloads the wall
    bool XFLG = false;    // the tool buttons are shown
    bool RFLGK = false;   // one-shot right click armed
    bool TAKOFL = false;  // ignore the next resize
    int ST1 = 0;          // stage counters
    int ST2 = 0;
    bool MSON = false;  // pen mode
    PenState pen;       // colour, width and line mode
    bool MSON2 = false; // the background canvas holds a picture or strokes
    // The canvas was drawn on since its picture was loaded: only then is the
    // background picture written back.
    bool canvasDrawn = false;
    // The last press on a card: -1 a left press not yet held 300 ms (its
    // release is a click), 1 a right press, 0 held or consumed.
    int RFLG = 0;
    QString DIRPOINT;     // the return mark: a wall folder
    bool POM = false;     // a stamp card was clicked: the next press on the wall stamps it
    double KAKUDAI = 1.0; // zoom handed to the picture viewer

    QVector<CardEntry> cards; // the card table, index = card number
    QStringList ListBox11;    // navigation history: wall folders, newest last

    // Where the web and file windows stand; edited by the settings dialog.
    WindowSettings settings;
};
