#pragma once

#include <QString>
#include <QStringList>

struct CardEntry;
struct PosterRecord;
class WallDocument;
class WallLoader;
class WallSurface;

// Withdraws the wall's background: the canvas goes plain, "wall.ini" is
// deleted and nothing remembers the picture, so that save and exit writes no
// background for this wall. The picture file itself is never touched.
void withdrawBackground(WallDocument& doc);

// Writes the wall back into its folder: one card file, the background, the
// web-window and file-window settings. Every write replaces its file whole
// (temporary file and rename), so a failed write leaves the old file.
class WallSaver {
public:
    explicit WallSaver(WallDocument& doc);

    // Writes card I to its own file in the wall folder. Mode 2 stamps the
    // card anew, mode 1 keeps its stamp. Returns false when the file could
    // not be written, and tells the user, or puts the reason in `failure`
    // when one is given.
    bool PANELSAVE(int I, int N, QString* failure = nullptr);
    // The background: mode 1 picture (when drawn on) and "wall.ini" with a
    // new stamp, mode 3 removes the background, mode 4 a new stamp only.
    // False, with the reason in `failure`, when a write failed.
    bool KABEBACKSAVE(int N, QString* failure = nullptr);
    // "html.ini" from the page and the settings, or deleted when the page
    // names no file. False, with the reason in `failure`, when the file could
    // not be written or deleted.
    bool KABEWEBSAVE(const QString& page, QString* failure = nullptr);
    // "dir.ini" from the settings, or deleted when the mask is empty; false
    // as above.
    bool KABEDIRMAKE(QString* failure = nullptr);
    // What the settings dialog's save writes: the background with a new
    // stamp, the web window, the file window and the web window again, so
    // that its record is the last one written. What failed, for the user.
    QStringList saveSettings();

    // What save and exit writes: the background when it was drawn on, then
    // every card at its place on the screen (a collapsed check-off card at
    // its full size). A card file another program changed since it was read
    // is left alone, unless `everyCard` (the wall folder was made anew).
    struct ExitSave {
        QStringList leftAlone; // card files changed by another program
        QStringList failed;    // what could not be written, and why
    };
    ExitSave saveForExit(WallLoader& loader, bool everyCard = false);

    // The path the drawn background is written to, making the wall's own
    // picture name when needed (see KABEBACKSAVE).
    QString backgroundPictureForDrawing();

private:
    // Writes card entry e's record r to its file; a new card's file only
    // where there is none, under the next free name when its own was taken.
    bool writeCard(CardEntry& e, PosterRecord& r, QString* error);
    bool writeWallIni(const QString& stamp, QString* failure = nullptr);

    WallDocument& st;
};
