#include "web/interceptingpage.h"

#include "document/walldocument.h"
#include "platform/beep.h"
#include "web/weblinkactions.h"

#include <QAbstractButton>
#include <QAction>
#include <QLayout>
#include <QWebEngineView>

using namespace weblink;

QString linkText(const QUrl& url) {
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

InterceptingPage::InterceptingPage(LinkBrowser browser, QObject* parent)
    : QWebEnginePage(parent), browser_(browser) {}

void InterceptingPage::navigateUnasked(const QUrl& url) {
    unasked_ = url;
    load(url);
}

bool InterceptingPage::acceptNavigationRequest(const QUrl& url, NavigationType type,
                                               bool isMainFrame) {
    // Frames inside a page load with it, unasked, as long as a browser may
    // show them at all.
    if (!isMainFrame)
        return isBrowsableScheme(url.scheme());
    const bool redirect = type == NavigationTypeRedirect;
    if (!unasked_.isEmpty() && url == unasked_) {
        unasked_.clear();
        followingUnasked_ = true;
        return true;
    }
    if (!redirect)
        followingUnasked_ = false;
    LinkDecision decision = decideLink(linkText(url), place ? place() : LinkPlace{}, browser_);
    // Where an unasked navigation is redirected, nothing is fetched again: a
    // project link that redirects to itself would otherwise be fetched for
    // ever. The browser follows the redirects on its own.
    if (followingUnasked_ && redirect &&
        (decision.action == LinkAction::WebProject || !decision.extras.isEmpty())) {
        decision.action = LinkAction::LetThrough;
        decision.extras.clear();
    }
    // The LOGO folders are made only when something is put into them: a
    // page that is merely shown writes nothing.
    if (decision.action == LinkAction::LetThrough && decision.extras.isEmpty()) {
        if (!decision.shown.isEmpty())
            emit addressShown(decision.shown);
        return true;
    }
    // The engine waits for the answer: the work comes after it.
    QMetaObject::invokeMethod(
        this, [this, decision] { emit linkDecided(decision); }, Qt::QueuedConnection);
    return false;
}

QWebEnginePage* InterceptingPage::createWindow(WebWindowType) {
    auto* view = new QWebEngineView;
    view->setAttribute(Qt::WA_DeleteOnClose);
    auto* page = new PlainPage(view);
    view->setPage(page);
    view->resize(1000, 750);
    connect(page, &QWebEnginePage::urlChanged, this, &InterceptingPage::newWindowOpened);
    view->show();
    return page;
}

bool PlainPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
    if (isBrowsableScheme(url.scheme()))
        return true;
    zavikBeep();
    return false;
}

InterceptingPage* interceptLinks(QWidget* parent, LinkBrowser browser, const WallDocument& st,
                                 WebLinkActions& actions,
                                 const std::function<void(const QString&)>& showAddress,
                                 QAbstractButton* back, QAbstractButton* forward) {
    auto* view = new QWebEngineView(parent);
    view->setObjectName(QStringLiteral("WebBrowser1"));
    parent->layout()->addWidget(view);
    auto* page = new InterceptingPage(browser, view);
    page->place = [&st] { return LinkPlace{st.KIJUNDIR, st.KIJUNDIRBAK}; };
    view->setPage(page);
    QObject::connect(page, &InterceptingPage::linkDecided, view,
                     [&actions, page](const LinkDecision& d) { actions.carryOut(d, page); });
    QObject::connect(page, &InterceptingPage::addressShown, view, showAddress);
    QObject::connect(page, &InterceptingPage::newWindowOpened, view,
                     [showAddress](const QUrl& url) { showAddress(url.toString()); });
    // The top-level document finished: the address shows where it is.
    QObject::connect(page, &QWebEnginePage::loadFinished, view, [page, showAddress](bool) {
        const QUrl url = page->url();
        showAddress(url.isLocalFile() ? url.toLocalFile() : url.toString());
    });
    const std::pair<QAbstractButton*, QWebEnginePage::WebAction> history[] = {
        {back, QWebEnginePage::Back}, {forward, QWebEnginePage::Forward}};
    for (const auto& entry : history) {
        QAbstractButton* button = entry.first;
        QAction* action = page->action(entry.second);
        QObject::connect(action, &QAction::changed, button,
                         [button, action] { button->setEnabled(action->isEnabled()); });
    }
    return page;
}
