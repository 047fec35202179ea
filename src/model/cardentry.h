#pragma once

#include "storage/folderlisting.h"
#include "storage/records.h"

#include <QRect>
#include <QString>

// Where a check-off card stands. A file stores "1" for a card that comes up
// collapsed and "2" for one that comes up whole; the program holds the state
// by name and converts only where a card file is read or written.
enum class CheckOff {
    None,      // no check-off card
    Armed,     // shown whole: a click collapses it
    Collapsed, // a small grey square with a check mark
    LinkMoved, // placed by a link command: save and exit puts it back first
};

// The state of a card made from a file that stores `stored`.
CheckOff checkOffMade(const QString& stored);
// The state of a card rebuilt in place from its file: it is shown whole.
CheckOff checkOffRebuilt(const QString& stored);
// What a card file stores for `state`; `asRead` is what the file held, kept
// for a card that is no check-off card ("" and "0" both mean none).
QString storedCheckOff(CheckOff state, const QString& asRead);

// One card of the wall: its record, and what the card is now. The record's
// texts, link, hint, picture, name, stamp, flash text and mark are the
// card's own (the picture path and the link as the program holds them);
// its geometry, colour, shape and check-off fields are as the file last held
// them. The members below are the card as it stands on the wall.
struct CardEntry : PosterRecord {
    QRect rect;         // on the wall, in pixels
    int colour = 0;     // card colour code
    int textColour = 0; // text colour code
    int shape = 0;      // shape code, 0 elliptical
    CheckOff checkOff = CheckOff::None;

    // FNAME names a file the card was read from or written to, and goes
    // back there as it is; any other name (one a user typed) is cleaned
    // before it is written.
    bool nameFromFile = false;
    // FNAME was made from the time for a new card that has no file yet: its
    // first write makes a new file and never replaces one (another machine
    // on a shared wall may make a card in the same second).
    bool newFile = false;

    // How the card's file looked when the card was last read from it or
    // written to it; a file that looks different was changed by someone else.
    FileSignature disk;
    // The user changed the card since it was last read from its file or
    // written to it: a change another program saves to that file meanwhile
    // must not pass over it unseen.
    bool unsaved = false;

    // Which card of the wall this is, for as long as the program runs: it
    // stays through moves, renames and rebuilds, and a card taken back and
    // brought again is the same card.
    quint64 id = 0;

    bool elliptic() const { return shape == 0; }
};

// Whether two cards are the same card as the user sees and stores it: the
// record, where and how it stands, its name's origin; not how its file
// looked, whether it was saved, or which card of the wall it is.
bool sameCard(const CardEntry& a, const CardEntry& b);
