#pragma once

#include "app/wallmodes.h"
#include "document/walldocument.h"
#include "document/wallsurface.h"
#include "platform/folders.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>

class QLabel;
class QMessageBox;
class CardBoard;
class CardEditorDialog;
class CardMenu;
class CardMouse;
class ChangeDetection;
class FileWindow;
class FlashWindow;
class FolderChooserDialog;
class HistoryCommands;
class HelpBrowserWindow;
class SettingsDialog;
class PageEditorWindow;
class LinkDialog;
class RubyDialog;
class LinkRunner;
class LogoStarter;
class MainMenu;
class MediaPlayerBar;
class Navigator;
class WallPen;
class NoticePanel;
class NewCardCommand;
class NumberNotesMenu;
class PictureEditorWindow;
class PictureViewerWindow;
class QuickCardEditor;
class RestoreWindow;
class ScreenCapture;
class WallPrinter;
class WebLinkActions;
class WebPane;
class StartOverCancelDialog;
class StartOverDialog;
class ToolColumn;
class WallLoader;
class WallSaver;
class WindowModes;

// The full-screen window that shows the wall of one folder at a time. It owns
// the wall document and the window's modes, creates the parts of the wall
// once, lays them out and wires them together; what each part does lives in
// its own class.
class WallWindow : public QWidget, public WallSurface { // TForm1
    Q_OBJECT
public:
    // `executablePath` is where the program lies; the data and resource
    // folders are derived from it.
    // On the folders derived from the executable's path (tests), or on the
    // folders the start chose.
    explicit WallWindow(const QString& executablePath, QWidget* parent = nullptr);
    explicit WallWindow(const WallFolders& folders, QWidget* parent = nullptr);
    ~WallWindow() override;

    // The wall on show, and the window's modes.
    WallDocument& document() { return st; }
    const WallDocument& document() const { return st; }
    WallModes& flags() { return flags_; }

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
    // Save and exit. When something cannot be written, or the wall folder
    // has gone, the user decides whether to exit all the same. Both exits
    // wait while the wall is being loaded.
    void OWARI();
    // Exit without saving: nothing is written.
    void exitWithoutSaving();
    // Empties the wall in memory before another load; writes nothing.
    void ALLCLEAR();
    // The pen on or off; off on an empty background resets it to navy.
    void MSswitch(bool on);

    // Redisplay: the wall read again from its folder.
    void SpeedButton12Click();
    // Discards what was not saved: the same, with change detection held.
    void N01Click();
    // The settings of the web window, the file window and the background;
    // saved and read again when the dialog ends with its save command.
    void SpeedButton6Click();

    // The parts of the wall.
    CardBoard& board() { return *board_; }
    WallLoader& loader() { return st.loader(); }
    WallSaver& saver() { return st.saver(); }
    ChangeDetection& changes() { return st.changes(); }
    CardMenu& cardMenu() { return *cardMenu_; }
    CardMouse& mouse() { return *mouse_; }
    ToolColumn& tools() { return *tools_; }
    LinkRunner& links() { return *links_; }
    Navigator& navigation() { return *navigator_; }
    WindowModes& modes() { return *modes_; }
    WallPen& pen() { return *pen_; }
    ScreenCapture& capture() { return *capture_; }
    WallPrinter& printer() { return *printer_; }
    WebPane& webPane() { return *webPane_; }
    HistoryCommands& historyCommands() { return *history_; }

    // Windows made once and kept for the program's life.
    RestoreWindow* TForm20;       // brings a hidden wall back
    FlashWindow* TForm2;          // the flash-text window
    PictureViewerWindow* TForm21; // the picture viewer
    PictureEditorWindow* TForm25; // chalk over a screenshot
    HelpBrowserWindow* TForm23;   // pages
    FolderChooserDialog* TForm26; // picks a sub-wall as a link
    StartOverDialog* TForm6;      // start over or continue
    CardEditorDialog* TForm3;     // the card editor
    QuickCardEditor* TForm18;     // the quick card editor
    NewCardCommand* newCards;     // "カードを作る" and the name tags
    StartOverCancelDialog* TForm27;
    SettingsDialog* TForm19;      // web window, file window, background
    PageEditorWindow* TForm4;     // pages edited through fields
    LinkDialog* TForm15;          // a link target, for the page editor
    RubyDialog* TForm13;          // a reading, for the page editor
    MediaPlayerBar* MediaPlayer1; // sounds
    LogoStarter* logo;            // the LOGO environment

    // WallSurface: the background with any pen strokes.
    QImage canvasImage() const override;
    void refreshFileWindow();
    // Tells the user about files that could not be taken, one line each.
    void reportProblems(const QString& title, const QStringList& lines);

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
    void makeParts();
    void wireCards();
    void wireTools();
    void wireMenus();
    void wireDrawing();
    void wireWeb();
    void wireSettings();
    void installShortcuts();
    // The quick card editor waits at the wall's left, half way down.
    void placeQuickEditor();
    // Shows a notice or question above the wall, once the wall is on the
    // screen.
    void showAboveWall(QWidget* notice);
    // The window follows the wall document's background and windows.
    void followDocument();

    WallModes flags_;
    WallDocument* doc_;
    WallDocument& st; // the wall document, by its short name
    WallFolders folders_;
    bool formShown_ = false;

    QWidget* Panel2; // the wall area; cards are its children
    // Notices made before the wall was on the screen.
    QList<QPointer<QWidget>> pendingNotices_;
    // The notice of files that could not be taken, while it is open.
    QPointer<QMessageBox> problemBox_;

    NoticePanel* Panel1;         // the notice
    FileWindow* Panel4;          // the file window
    ToolColumn* tools_;          // the tool column, the grab tab, the left strip
    MainMenu* PopupMenu2;        // the main menu
    NumberNotesMenu* PopupMenu5; // the number notes

    CardBoard* board_;
    ChangeDetection* changes_;
    CardMouse* mouse_;
    CardMenu* cardMenu_;
    Navigator* navigator_;
    WindowModes* modes_;
    LinkRunner* links_;
    WallPen* pen_; // the background canvas, its pen and pen menu
    ScreenCapture* capture_;
    WallPrinter* printer_;
    WebLinkActions* webActions_; // what the web pane's and help browser's links do
    WebPane* webPane_;           // the web window on the wall
    HistoryCommands* history_;   // undo and redo: menu, button and keys
};
