#pragma once

#include "model/linkrules.h"

#include <QObject>
#include <QPoint>

class CardBoard;
class CardMenu;
class CardMouse;
class ChangeDetection;
class FlashWindow;
class HelpBrowserWindow;
class LaunchCardMaker;
class LogoStarter;
class MediaPlayerBar;
class Navigator;
class NoticePanel;
class PictureViewerWindow;
class QWidget;
class ToolColumn;
class WindowModes;
class WallDocument;
struct WallModes;

// What the link interpreter works with; the wall window owns all of it.
struct LinkRunnerParts {
    WallDocument& st;
    WallModes& flags; // the window's modes
    QWidget* window;  // for the window's place and as the parent of messages
    CardBoard& board;
    ChangeDetection& changes;
    CardMouse& mouse;
    CardMenu& cardMenu;
    ToolColumn& tools;
    NoticePanel& notice;
    Navigator& navigator;
    WindowModes& modes;
    FlashWindow* TForm2;
    PictureViewerWindow* TForm21;
    HelpBrowserWindow* TForm23;
    MediaPlayerBar* MediaPlayer1;
    LogoStarter* logo;
};

// The link interpreter. It runs a clicked card (check-off and stamp cards,
// the flash text, then the link) and carries out what a link means, as the
// link rules decide it: exits, navigation, card commands, pictures in the
// viewer, sounds, pages, LOGO projects, and everything else handed to the
// desktop shell. The file window's clicks, the help entry and the
// programming button come here too.
class LinkRunner : public QObject {
    Q_OBJECT
public:
    LinkRunner(const LinkRunnerParts& parts, QObject* parent);

    // Runs card n as a click does.
    void JIKKOU(int n);
    // Follows a link.
    void JIKKOU2(const QString& L);
    // A click in the file window.
    void FileListBox2Click(const QString& name);
    // A left press on the wall background places an armed stamp copy.
    void wallPress(QPoint at);
    // The folder button: the wall folder in the desktop's file manager.
    void openWallFolder();
    // The main menu's help entry.
    void openHelp();
    // "カード情報をCSV保存[>CSV]": the wall's cards into a CSV file in its
    // folder; nothing while the wall is busy.
    void CSV1Click();
    // "フォルダ構成": the folders below the program's folder.
    void N21Click();
    // "表示カードを作る": the launch-card maker, with change detection held.
    void SpeedButton19Click();
    // The programming button: left the programming page, right (or with the
    // one-shot right click) the LOGO environment on a new project.
    void programming(Qt::MouseButton button);

signals:
    void saveAndExitRequested();
    void exitWithoutSavingRequested();
    // ">PRN": the wall on paper.
    void printRequested();
    // A page the page editor wrote was clicked in the file window.
    void pageEditRequested(const QString& path);

private:
    LaunchCardMaker* TForm24 = nullptr; // made at its first use
    // The wall is left for the shell: a notice, the hand-off, and the window
    // tucks itself away when it was moved.
    void handToShell(const QString& path, const QString& notice, int ms, bool tuck = true);
    void runCardCommand(const QString& L, const CardCommand& command);
    void openPictures(const QString& L, const QString& pictureList);

    LinkRunnerParts p;
    // The stamp card that armed stamping.
    int POMCARD = -1;
};
