#pragma once

#include "model/wallstate.h"
#include "wall/wallsurface.h"

#include <QImage>
#include <QWidget>
#include <memory>

class QLabel;
class QMenu;
class QAction;
class QTimer;
class QToolButton;
class QListWidget;
class QListWidgetItem;
class CardMenu;
class CardMouse;
class FlashWindow;
class FolderChooserDialog;
class HelpBrowserWindow;
class LogoStarter;
class MediaPlayerBar;
class PictureViewerWindow;
class RestoreWindow;
class CardBoard;
class WallLoader;
class WallSaver;
class StartOverDialog;
class StartOverCancelDialog;

// The full-screen window that shows the wall of one folder at a time, with
// the tool column at its right edge and the grab tab at its bottom right. It
// owns the Wall state.
class WallWindow : public QWidget, public WallSurface { // TForm1
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

    // Runs card n as a click does: check-off and stamp cards, the flash
    // text, then the link.
    void JIKKOU(int n);
    // Follows a link.
    void JIKKOU2(const QString& link);
    // Enters the sub-wall D (relative to the wall folder, ending in "/").
    void BBUNKI(const QString& D);
    // Back one wall, home, and back to the marked wall.
    void goBack();
    void goHome();
    void goToMark();
    // The back-and-home button: left back, right home.
    void backAndHome(Qt::MouseButton button);
    // A click in the file window.
    void FileListBox2Click(const QString& name);
    // Shows or hides the tool buttons.
    void XSHOW(bool on);
    // Turns pen mode off.
    void MSswitchOff();

    // Tool buttons and menus.
    void SpeedButton12Click(); // redisplay
    void SpeedButton14Click(); // hide the wall
    void restoreWall();        // the restore window's button
    void SpeedButton8Click();  // one-shot right click
    void N01Click();           // discard what was not saved
    void setBordered(bool bordered);
    // The grab tab and the left strip: a right press tucks or untucks.
    void tuckOrUntuck();
    // The tool buttons follow the mouse near the left and right edges.
    void wallMouseMove(int x);
    // A left press on the wall background (places an armed stamp copy).
    void wallPress(QPoint at);

    CardMenu& cardMenu() { return *cardMenu_; }

    CardMouse& mouse() { return *mouse_; }
    RestoreWindow* TForm20;       // brings a hidden wall back
    FlashWindow* TForm2;          // the flash-text window
    PictureViewerWindow* TForm21; // the picture viewer
    HelpBrowserWindow* TForm23;   // pages
    FolderChooserDialog* TForm26; // picks a sub-wall as a link
    MediaPlayerBar* MediaPlayer1; // sounds
    LogoStarter* logo;            // the LOGO environment

    // Empties the wall in memory before another load; writes nothing.
    void ALLCLEAR();
    // One pass of change detection, with Timer2 held while it runs.
    void Timer2Timer();

    CardBoard& board() { return *board_; }
    WallLoader& loader() { return *loader_; }
    WallSaver& saver() { return *saver_; }

    // WallSurface
    void KABEIMAGELOAD(const QString& path) override;
    void clearBackground() override;
    QImage canvasImage() const override;
    void setWallCursor(bool arrow) override;
    void KABEWEBLOAD(const QString& page) override;
    void hideWebWindow() override;
    void showFileWindow() override;
    void hideFileWindow() override;
    void refreshFileWindow() override;
    void reportProblems(const QString& title, const QStringList& lines) override;

    // Dialogs other parts of the program borrow.
    StartOverDialog* TForm6;
    StartOverCancelDialog* TForm27;

signals:
    // The wall window closed: the program ends with it.
    void closed();
    // The card menu was asked for at this screen point.
    void cardMenuRequested(QPoint globalPos);
    // Whatever the user was told about files that could not be taken.
    void problemsReported(const QString& title, const QStringList& lines);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    QToolButton* makeToolButton(const char* name, const QString& hint);
    void paintCanvas();
    void placeFixedControls();
    void openMainMenu();
    // Hands the current wall folder's files over to the loaders.
    void loadWall();
    // Changes to another wall folder and loads it.
    void showWall(const QString& folder);
    // The wall is left for the shell: a notice, the hand-off, and the window
    // tucks itself away when it was moved.
    void handToShell(const QString& path, const QString& notice, int ms, bool tuck = true);
    QString bareName(const QString& path) const;

    WallState st;
    QString executablePath_;
    bool formShown_ = false;

    QWidget* Panel2;           // the wall area; cards are its children
    QLabel* Image1;            // the background canvas
    QImage Image2;             // the background picture as loaded, unscaled
    QWidget* Panel4;           // the file window
    QLabel* Label1;            // its caption
    QListWidget* FileListBox2; // its list of files
    QString webPage_;          // the page the web window is to show

    std::unique_ptr<CardBoard> board_;
    std::unique_ptr<WallLoader> loader_;
    std::unique_ptr<WallSaver> saver_;
    CardMouse* mouse_;
    CardMenu* cardMenu_; // the card menu and its commands
    QMenu* PopupMenu5;   // the number notes
    int POMCARD = -1;    // the stamp card that armed stamping
    QAction* N21;        // folder structure
    QAction* N01;        // discard what was not saved
    QAction* CSV1;       // CSV export
    QAction* N20;        // print
    // Dragging the window by its tab or strip.
    bool FBAK = false;
    int FXBAK = 0;
    int FYBAK = 0;

    // What most tool buttons do first: the pen off, the one-shot right click
    // disarmed.
    void prepareCommand();
    void buildMainMenu();
    void connectToolButtons();
    void installShortcuts();
    bool tabEvent(QEvent* event);

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
