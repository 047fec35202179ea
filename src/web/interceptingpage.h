#pragma once

#include "web/linkinterception.h"

#include <QUrl>
#include <QWebEnginePage>
#include <functional>

class QAbstractButton;
class QWidget;
class WebLinkActions;
class WallDocument;

// A browser page whose links are looked at before they are followed (the
// web pane's and the help browser's). The answer to a navigation request is
// given at once; whatever the program does instead (play, fetch, copy,
// launch, ask) runs afterwards, from the event loop, never inside the
// engine's callback.
class InterceptingPage : public QWebEnginePage {
    Q_OBJECT
public:
    InterceptingPage(weblink::LinkBrowser browser, QObject* parent);

    // Where the links are looked at from, asked at each navigation.
    std::function<weblink::LinkPlace()> place;

    // Goes to `url` without looking at it first: the link table already
    // decided, or a failed project download lets the browser try itself.
    void navigateUnasked(const QUrl& url);

signals:
    // The program acts instead of the browser.
    void linkDecided(const weblink::LinkDecision& decision);
    // The browser goes on; the address line (or caption) shows this.
    void addressShown(const QString& shown);
    // A page asked for a new window; it opens plainly, at this address.
    void newWindowOpened(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    weblink::LinkBrowser browser_;
    QUrl unasked_;
    bool followingUnasked_ = false; // the redirects of an unasked navigation arrive
};

// The page of a plain new window: no link table, and only the schemes a
// browser may show.
class PlainPage : public QWebEnginePage {
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};

// The link as the link table reads it: a file URL as its local path, any
// other URL as text that keeps "&&&" and "###".
QString linkText(const QUrl& url);

// A browser view ("WebBrowser1") at the end of `parent`'s layout, with an
// intercepting page for `browser`: its links are looked at from the wall's
// folders and carried out by `actions`; whatever address the browser shows
// goes to `showAddress`, and `back` and `forward` are enabled as the history
// allows. Returns the page; QWebEngineView::forPage gives the view.
InterceptingPage* interceptLinks(QWidget* parent, weblink::LinkBrowser browser,
                                 const WallDocument& st, WebLinkActions& actions,
                                 const std::function<void(const QString&)>& showAddress,
                                 QAbstractButton* back, QAbstractButton* forward);
