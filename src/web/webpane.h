#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class InterceptingPage;
class QLineEdit;
class QToolButton;
class QWebEngineView;
class WebLinkActions;
class WallDocument;

// The web window on the wall: a browser pane at the place the wall's
// settings give it, with an optional ribbon of buttons under it. Its links
// go through the link table first. The browser engine starts only when a
// wall shows a page, so a wall without one starts as fast as ever.
class WebPane : public QWidget { // WebBrowser1 with its ribbon
    Q_OBJECT
public:
    WebPane(WallDocument& state, WebLinkActions& actions, QWidget* wallArea);

    // Places the pane and shows `page` in it: a file (by itself, in the wall
    // folder) or an address; "home" is the help page. An empty page hides
    // the pane.
    void KABEWEBLOAD(const QString& page);
    // No web window: the pane and its ribbon hidden, the address line empty.
    void hidePane();
    // A page was edited: the address line shows it and the pane shows the
    // page it shows anew.
    void showEditedPage(const QString& path);

    QWebEngineView* view() const { return WebBrowser1; }
    InterceptingPage* page() const { return page_; }

    QWidget* Panel3;            // the ribbon
    QToolButton* SpeedButton20; // HOME
    QToolButton* SpeedButton13; // back
    QToolButton* SpeedButton18; // reload
    QToolButton* SpeedButton15; // forward
    QLineEdit* Edit2;           // the address line
    QToolButton* SpeedButton24; // open in the desktop's browser
    QToolButton* SpeedButton21; // print
    QString Edit1;              // the home page as the settings give it

signals:
    // After a hand-off to the desktop's browser, the wall tucks itself away.
    void tuckRequested();

private:
    void ensureBrowser();
    void go(const QUrl& url);
    void home();
    void placeRibbon();

    WallDocument& st;
    WebLinkActions& actions_;
    QWebEngineView* WebBrowser1 = nullptr;
    InterceptingPage* page_ = nullptr;
};
