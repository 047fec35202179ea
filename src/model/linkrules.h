#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What a card's link means. The rules are pure: they decide, the wall window
// carries the decision out.

enum class LinkAction {
    ExitWithoutSaving, // "<<<"
    SaveAndExit,       // "<<"
    BackToMark,        // "<@"
    Home,              // "<\"
    Back,              // "<"
    CopyToDesktop,     // ">DL…"
    OpenFolder,        // "…\>" or ">"
    Print,             // ">PRN"
    Csv,               // ">CSV"
    Background,        // "…>BG"
    CardCommand,       // ">R20", ">SW30", …
    Target             // files, folders and web addresses
};

// The largest step a card command takes, in pixels: ten walls wide.
constexpr int kLongestCardStep = 10 * 1920;

// A command that moves or resizes the clicked card.
struct CardCommand {
    QChar kind;           // R L U D W w H h
    bool save = false;    // "S" after ">": written with a new stamp
    std::optional<int> n; // none when the rest is not an integer
    QString rest;         // the text after the command, for the message
};

struct LinkDecision {
    LinkAction action = LinkAction::Target;
    QString argument; // OpenFolder: the folder part; Background: the picture; CopyToDesktop: R
    CardCommand card;
};

LinkDecision decideLink(const QString& L);

// A card's new geometry after a card command, given the click point inside
// the card and the card's size at the click. A grow makes the card no larger
// than the wall, `wall` in pixels.
struct CardGeometry {
    int left, top, width, height;
};
CardGeometry applyCardCommand(CardGeometry g, const CardCommand& c, int CARDX, int CARDY, int CARDW,
                              int CARDH, QSize wall);

// Files, folders and web addresses.
enum class TargetKind {
    Beep,
    Picture,
    Sound,
    Page,
    Logo,
    OtherFile,
    Wall,
    MissingFolder, // a folder on a Windows drive: it is not made here
    WebAddress,
    Nothing
};

struct TargetDecision {
    TargetKind kind = TargetKind::Nothing;
    QString path;        // absolute file, folder (ending in "/") or address
    QString pictureList; // pictures joined by "&", each absolute
    double zoom = 1.0;
    bool markReturn = false; // the link ended in "\@": the wall clicked on is the return mark
};

TargetDecision decideTarget(const QString& link, const QString& wallFolder,
                            const QString& dataFolder,
                            const std::function<bool(const QString&)>& isFile);

// The stage switch carried by a link: bare opening markers move the stage
// counters; a link holding a complete block switches nothing.
struct StageSwitch {
    QString link;
    int ST1 = 0;
    int ST2 = 0;
    bool changed = false;
};
// STANA2: takes the stage markers out of link `S` and moves the counters ST1 and ST2 by them.
StageSwitch STANA2(const QString& S, int ST1, int ST2);

// Where ">DL…" copies from and to what name on the desktop.
struct DesktopCopy {
    QString source; // absolute folder, ending in "/"
    QString name;
    bool outsideTheWall = false; // the source climbs out of the wall: refused
};
DesktopCopy desktopCopyFor(const QString& link, const QString& wallFolder);

// Navigation over the history of walls (newest last). Each returns the new
// current wall folder and changes the history (and the mark) as it goes.
QString navigateBack(QStringList& history, const QString& dataFolder);
QString navigateHome(QStringList& history, QString& mark, const QString& dataFolder);
QString navigateToMark(QStringList& history, const QString& mark, const QString& dataFolder);
