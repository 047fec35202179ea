#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct WallState;
class CardBoard;
class WallLoader;
class WallSurface;

// Withdraws the wall's background: the canvas goes plain, "wall.ini" is
// deleted and nothing remembers the picture, so that save and exit writes no
// background for this wall. The picture file itself is never touched.
void withdrawBackground(WallState& st, WallSurface& surface);

// Writes the wall back into its folder: one card file, the background, the
// web-window and file-window settings. Every write replaces its file whole
// (temporary file and rename), so a failed write leaves the old file.
class WallSaver {
public:
    WallSaver(WallState& state, CardBoard& board, WallSurface& surface);

    // Told the name of every card file the program wrote.
    std::function<void(const QString& fileName)> written;

    // Writes card I to its own file in the wall folder. Mode 2 stamps the
    // card anew, mode 1 keeps its stamp. Returns false (and tells the user)
    // when the file could not be written.
    bool PANELSAVE(int I, int N);
    // The background: mode 1 picture (when drawn on) and "wall.ini" with a
    // new stamp, mode 3 removes the background, mode 4 a new stamp only.
    void KABEBACKSAVE(int N);
    // "html.ini" from the page and the settings, or deleted when the page
    // names no file.
    void KABEWEBSAVE(const QString& page);
    // "dir.ini" from the settings, or deleted when the mask is empty.
    void KABEDIRMAKE();

    // What save and exit writes: the background when it was drawn on, then
    // every card at its place on the screen (a collapsed check-off card at
    // its full size). A card file another program changed since it was read
    // is left alone; their names are returned.
    QStringList saveForExit(WallLoader& loader);

    // The path the drawn background is written to, making the wall's own
    // picture name when needed (see KABEBACKSAVE).
    QString backgroundPictureForDrawing();

private:
    void writeWallIni(const QString& stamp);

    WallState& st;
    CardBoard& board_;
    WallSurface& surface_;
};
