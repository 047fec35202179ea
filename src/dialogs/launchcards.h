#pragma once

#include "model/cardentry.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

// What the launch-card maker makes of chosen files, as plain rules: where
// each card goes, and what each kind of file becomes.

// The places of `count` cards of the template's size, in wall pixels:
// columns from the template's place down the wall, a gap of an eighth of the
// card's height; a card that would pass the wall's bottom starts a new
// column at the top. Nothing when a card would pass the wall's right edge
// (or a first card is taller than the wall): then no card is made at all.
std::optional<QList<QPoint>> launchSlots(const QRect& first, int count, const QSize& wall);

enum class LaunchKind { Picture, Page, Logo, Other };

// Whether a file is a LOGO project, by its extension.
bool isLogoProject(const QString& file);

// One launch card: its kind, the card's properties (without place, size and
// stamp), and the files to copy for it.
struct LaunchCard {
    LaunchKind kind = LaunchKind::Other;
    CardEntry card;   // colours, text, link, picture, file name
    QString copy;     // where the chosen file is copied to
    QString subWall;  // pictures: the new sub-wall's folder, with "/"
    QString original; // pictures: the untouched "_" copy in the sub-wall
};

// The card for the chosen `file` on the wall in `wallFolder` (with "/"). Its
// file name is made one that Windows can hold too.
LaunchCard planLaunchCard(const QString& file, const QString& wallFolder);

// Whether the link reader would take a file's link for something else: a
// ">" starts a command, a "\" on Linux is no separator in a name.
bool linkReadsOtherwise(const QString& file);
