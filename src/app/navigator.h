#pragma once

#include <QObject>

class ChangeDetection;
class MediaPlayerBar;
class ToolColumn;
class WallDocument;
struct WallModes;

// Moving between walls: into a sub-wall, back along the history, home to
// the data folder and back to the marked wall. The history is the window
// modes' list of wall folders, newest last.
class Navigator : public QObject {
    Q_OBJECT
public:
    Navigator(WallDocument& doc, WallModes& modes, ChangeDetection& changes, ToolColumn& tools,
              MediaPlayerBar* player, QObject* parent);

    // Makes `folder` the current wall folder (made when missing) and shows
    // its wall; the history is left as it is.
    void showWall(const QString& folder);
    // Steps into the wall of `folder`, remembering the wall it leaves; with
    // `markReturn` that wall also becomes the return mark.
    void enter(const QString& folder, bool markReturn);
    // Enters the sub-wall D (relative to the wall folder, ending in "/").
    void BBUNKI(const QString& D);
    void goBack();
    void goHome();
    void goToMark();
    // The back-and-home button: left back, right home.
    void backAndHome(Qt::MouseButton button);
    // The current wall cleared and read again from its folder.
    void reload();

signals:
    // The wall window empties the wall, and lays out the next one.
    void clearWall();
    void layOut();

private:
    WallDocument& st;
    WallModes& modes_;
    ChangeDetection& changes_;
    ToolColumn& tools_;
    MediaPlayerBar* MediaPlayer1;
};
