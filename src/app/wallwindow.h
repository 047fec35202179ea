#pragma once

#include "app/wallstate.h"

#include <QImage>
#include <QWidget>

class QLabel;
class QMenu;
class QAction;
class QTimer;
class QToolButton;
class StartOverDialog;
class StartOverCancelDialog;

// The full-screen window that shows the wall of one folder at a time, with
// the tool column at its right edge and the grab tab at its bottom right. It
// owns the Wall state.
class WallWindow : public QWidget { // TForm1
    Q_OBJECT
public:
    // `executablePath` is where the program lies; the data and resource
    // folders are derived from it.
    explicit WallWindow(const QString& executablePath, QWidget* parent = nullptr);
    ~WallWindow() override;

    WallState& state() { return st; }
    const WallState& state() const { return st; }

    // Makes the window cover the screen it is on, borderless.
    void showOnScreen();

    // Start-up state, set once when the window is first shown.
    void FormShow();
    // The wall's 16:9 geometry on every resize, then the layout pass.
    void FormResize();
    // The layout pass: places the tool column and, when a fresh load is
    // requested, loads the wall of the current wall folder.
    void SAITEIJI();
    // A short notice in the middle of the wall for `ms` milliseconds.
    void MATHU(const QString& text, int ms);
    // After a hand-off to the desktop shell, a moved window tucks itself into
    // a small bar at the bottom right of the screen.
    void TAKO();
    // Save and exit.
    void OWARI();
    // Exit without saving: nothing is written.
    void exitWithoutSaving();

    // Dialogs other parts of the program borrow.
    StartOverDialog* TForm6;
    StartOverCancelDialog* TForm27;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    QToolButton* makeToolButton(const char* name, const QString& hint);
    void paintCanvas();
    void placeFixedControls();
    void openMainMenu();
    // Hands the current wall folder's files over to the loaders.
    void loadWall();

    WallState st;
    QString executablePath_;
    bool formShown_ = false;

    QWidget* Panel2;            // the wall area; cards are its children
    QLabel* Image1;             // the background canvas
    QImage Image2;              // the background picture as loaded, unscaled
    QWidget* Panel1;            // the notice panel
    QToolButton* SpeedButton9;  // the notice text
    QWidget* Panel6;            // the grab tab
    QToolButton* SpeedButton11; // the tab's button, caption "Zavik"

    QToolButton* SpeedButton1;  // main menu
    QToolButton* SpeedButton5;  // the wall folder; opens it
    QToolButton* SpeedButton7;  // back / home
    QToolButton* SpeedButton16; // number notes
    QToolButton* SpeedButton25; // programming
    QToolButton* SpeedButton14; // hide the wall
    QToolButton* SpeedButton8;  // one-shot right click
    QToolButton* SpeedButton6;  // background settings
    QToolButton* SpeedButton4;  // make cards
    QToolButton* SpeedButton19; // make launch cards
    QToolButton* SpeedButton12; // redisplay
    QToolButton* SpeedButton2;  // pen drawing
    QToolButton* SpeedButton10; // full-screen drawing in 5 seconds
    QToolButton* SpeedButton3;  // clear the strokes
    QToolButton* SpeedButton23; // timed cut-out
    QToolButton* SpeedButton26; // the drag strip along the left edge
    QToolButton* SpeedButton27; // capture (bottom left)

    QMenu* PopupMenu2; // the main menu
    QAction* N3;       // save and exit
    QAction* N32;      // exit without saving

    QTimer* Timer1; // click-or-drag decision on cards
    QTimer* Timer2; // change detection
    QTimer* Timer3; // printing after the tools are hidden
    QTimer* Timer5; // hides the notice
    QTimer* Timer6; // full-screen capture when armed
    QTimer* Timer7; // timed capture
};
