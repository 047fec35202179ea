#include "web/helpbrowserwindow.h"

#include "cards/menuitems.h"
#include "document/walldocument.h"
#include "storage/refspace.h"
#include "web/interceptingpage.h"
#include "web/weblinkactions.h"
#include "web/webprint.h"

#include <QAction>
#include <QHBoxLayout>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

using namespace weblink;

namespace {

QUrl addressOf(const QString& pathOrAddress) {
    return pathOrAddress.contains(QLatin1String("://")) ? QUrl(pathOrAddress)
                                                        : QUrl::fromLocalFile(pathOrAddress);
}

} // namespace

HelpBrowserWindow::HelpBrowserWindow(WallDocument& state, WebLinkActions& actions,
                                     QWidget* wallWindow)
    : QWidget(wallWindow, Qt::Window), st(state), actions_(actions), wallWindow_(wallWindow) {
    setObjectName(QStringLiteral("TForm23"));
    resize(1000, 750);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(2);
    column->addLayout(bar);
    auto button = [this, bar](const char* name, const QString& caption, const QString& hint) {
        return addToolButton(this, bar, name, caption, hint);
    };
    SpeedButton1 = button("SpeedButton1", QStringLiteral("HOME"), QStringLiteral("最初の画面"));
    SpeedButton8 =
        button("SpeedButton8", QStringLiteral("▶"), QStringLiteral("プログラミングをはじめる"));
    SpeedButton2 = button("SpeedButton2", QStringLiteral("◀"), QStringLiteral("もどる"));
    SpeedButton3 = button("SpeedButton3", QStringLiteral("↻"), QStringLiteral("開き直す"));
    SpeedButton4 = button("SpeedButton4", QStringLiteral("▶▶"), QStringLiteral("進む"));
    SpeedButton5 = button("SpeedButton5", QStringLiteral("命令語"), QStringLiteral("LOGOの命令語"));
    SpeedButton6 = button("SpeedButton6", QStringLiteral("作り方"), QStringLiteral("作品の作り方"));
    SpeedButton7 = button("SpeedButton7", QStringLiteral("テクニック"),
                          QStringLiteral("作品作りのテクニック"));
    SpeedButton9 = button("SpeedButton9", QStringLiteral("印刷"), QStringLiteral("ページを印刷"));
    bar->addStretch();
    SpeedButton2->setEnabled(false);
    SpeedButton4->setEnabled(false);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { go(HOME); });
    connect(SpeedButton8, &QToolButton::clicked, this,
            &HelpBrowserWindow::startProgrammingRequested);
    connect(SpeedButton2, &QToolButton::clicked, this, [this] {
        if (WebBrowser1)
            WebBrowser1->back();
    });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] {
        if (WebBrowser1)
            WebBrowser1->reload();
    });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] {
        if (WebBrowser1)
            WebBrowser1->forward();
    });
    const QList<std::pair<QToolButton*, const char*>> help{
        {SpeedButton5, "TRVOC"}, {SpeedButton6, "TRTOPICS"}, {SpeedButton7, "TRERROR"}};
    for (const auto& [b, folder] : help)
        connect(b, &QToolButton::clicked, this, [this, folder = QLatin1String(folder)] {
            go(st.KIJUNEX + QStringLiteral("TURX/HELP/%1/INDEX.HTM").arg(folder));
        });
    connect(SpeedButton9, &QToolButton::clicked, this, [this] { printPreview(WebBrowser1, this); });
}

void HelpBrowserWindow::ensureBrowser() {
    if (WebBrowser1)
        return;
    page_ = interceptLinks(
        this, LinkBrowser::HelpBrowser, st, actions_,
        [this](const QString& address) { setWindowTitle(address); }, SpeedButton2, SpeedButton4);
    WebBrowser1 = QWebEngineView::forPage(page_);
}

void HelpBrowserWindow::go(const QString& pathOrAddress) {
    ensureBrowser();
    WebBrowser1->load(addressOf(pathOrAddress));
}

void HelpBrowserWindow::showPage(const QString& path) {
    setWindowTitle(path);
    FormShow();
    show();
    raise();
    activateWindow();
}

void HelpBrowserWindow::FormShow() {
    HOME = windowTitle();
    SpeedButton1->setToolTip(HOME);
    // At the top of the screen, to the right of the wall's first third.
    const int w = wallWindow_ ? wallWindow_->width() : 1366;
    const int h = wallWindow_ ? wallWindow_->height() : 768;
    resize(scaleHalfEven(qint64(w) + 300, 1, 2), h - 5);
    move(scaleHalfEven(w, 1, 3), 0);
    go(HOME);
}
