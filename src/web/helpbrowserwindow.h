#pragma once

#include <QString>
#include <QWidget>

class InterceptingPage;
class QToolButton;
class QWebEngineView;
class WebLinkActions;
class WallDocument;

// Shows local pages: the help, the programming start page, the LOGO
// environment's help and the HTML pages cards link to. Its links go through
// the link table, so that LOGO projects linked from a page are copied or
// fetched and started. The browser engine starts at the first page, not
// with the program; closing the window only hides it.
class HelpBrowserWindow : public QWidget { // TForm23
    Q_OBJECT
public:
    HelpBrowserWindow(WallDocument& state, WebLinkActions& actions, QWidget* wallWindow);

    // Shows the page at `path` (a file or an address) as the home page: the
    // window takes its place beside the wall and goes there.
    void showPage(const QString& path);
    // The home page.
    QString page() const { return HOME; }

    QWebEngineView* view() const { return WebBrowser1; }

    QToolButton* SpeedButton1; // HOME
    QToolButton* SpeedButton8; // start programming
    QToolButton* SpeedButton2; // back
    QToolButton* SpeedButton3; // reload
    QToolButton* SpeedButton4; // forward
    QToolButton* SpeedButton5; // the LOGO command words
    QToolButton* SpeedButton6; // how to make a work
    QToolButton* SpeedButton7; // techniques
    QToolButton* SpeedButton9; // print

signals:
    // "プログラミングをはじめる": a new LOGO project.
    void startProgrammingRequested();

private:
    // FormShow: takes the caption as the home page, places the window beside the wall, goes home.
    void FormShow();
    void ensureBrowser();
    void go(const QString& pathOrAddress);

    WallDocument& st;
    WebLinkActions& actions_;
    QWidget* wallWindow_;
    QWebEngineView* WebBrowser1 = nullptr;
    InterceptingPage* page_ = nullptr;
    QString HOME;
};
