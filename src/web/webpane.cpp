#include "web/webpane.h"

#include "cards/menuitems.h"
#include "document/walldocument.h"
#include "model/wallgeometry.h"
#include "platform/beep.h"
#include "platform/shell.h"
#include "storage/pathforms.h"
#include "web/interceptingpage.h"
#include "web/weblinkactions.h"
#include "web/webprint.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

using namespace weblink;

namespace {

QToolButton* ribbonButton(QWidget* ribbon, const char* name, const QString& caption,
                          const QString& hint) {
    QToolButton* b = makeToolButton(ribbon, name, caption, hint);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// The address a file is shown at.
QUrl fileAddress(const QString& path) {
    return QUrl::fromLocalFile(path);
}

} // namespace

WebPane::WebPane(WallDocument& state, WebLinkActions& actions, QWidget* wallArea)
    : QWidget(wallArea), st(state), actions_(actions) {
    setObjectName(QStringLiteral("WebPane"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);

    Panel3 = new QWidget(wallArea);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(Panel3);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    SpeedButton20 = ribbonButton(Panel3, "SpeedButton20", QStringLiteral("HOME"),
                                 QStringLiteral("最初のページ"));
    SpeedButton13 =
        ribbonButton(Panel3, "SpeedButton13", QStringLiteral("戻る"), QStringLiteral("戻る"));
    SpeedButton18 =
        ribbonButton(Panel3, "SpeedButton18", QStringLiteral("再表示"), QStringLiteral("再表示"));
    SpeedButton15 =
        ribbonButton(Panel3, "SpeedButton15", QStringLiteral("進む"), QStringLiteral("進む"));
    Edit2 = new QLineEdit(Panel3);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    SpeedButton24 = ribbonButton(Panel3, "SpeedButton24", QStringLiteral("ブラウザで起動"),
                                 QStringLiteral("ブラウザで起動"));
    SpeedButton21 =
        ribbonButton(Panel3, "SpeedButton21", QStringLiteral("印刷"), QStringLiteral("印刷"));
    for (QWidget* w :
         std::initializer_list<QWidget*>{SpeedButton20, SpeedButton13, SpeedButton18, SpeedButton15,
                                         Edit2, SpeedButton24, SpeedButton21})
        row->addWidget(w, w == Edit2 ? 1 : 0);
    SpeedButton13->setEnabled(false);
    SpeedButton15->setEnabled(false);

    connect(SpeedButton20, &QToolButton::clicked, this, &WebPane::home);
    connect(SpeedButton13, &QToolButton::clicked, this, [this] {
        if (!WebBrowser1 || !WebBrowser1->history()->canGoBack()) {
            zavikBeep();
            return;
        }
        WebBrowser1->back();
    });
    connect(SpeedButton15, &QToolButton::clicked, this, [this] {
        if (!WebBrowser1 || !WebBrowser1->history()->canGoForward()) {
            zavikBeep();
            return;
        }
        WebBrowser1->forward();
    });
    connect(SpeedButton18, &QToolButton::clicked, this, [this] {
        if (WebBrowser1)
            WebBrowser1->reload();
    });
    connect(SpeedButton24, &QToolButton::clicked, this, [this] {
        openWithShell(Edit2->text());
        emit tuckRequested();
    });
    connect(SpeedButton21, &QToolButton::clicked, this,
            [this] { printPreview(WebBrowser1, window()); });
    hidePane();
}

void WebPane::showEditedPage(const QString& path) {
    Edit2->setText(path);
    if (WebBrowser1)
        WebBrowser1->reload();
}

void WebPane::ensureBrowser() {
    if (WebBrowser1)
        return;
    page_ = interceptLinks(
        this, LinkBrowser::WallPane, st, actions_,
        [this](const QString& address) { Edit2->setText(address); }, SpeedButton13, SpeedButton15);
    WebBrowser1 = QWebEngineView::forPage(page_);
}

void WebPane::go(const QUrl& url) {
    ensureBrowser();
    WebBrowser1->load(url);
}

void WebPane::hidePane() {
    hide();
    Panel3->hide();
    Edit2->clear();
}

void WebPane::placeRibbon() {
    const WindowSettings& s = st.settings;
    if (s.web.ribbon <= 0) {
        Panel3->hide();
        return;
    }
    Panel3->setGeometry(x(), y() + height(), width(), ribbonHeight(st.NOWY));
    Panel3->show();
}

void WebPane::KABEWEBLOAD(const QString& pageText) {
    QString page = pageText;
    QString localHelp;
    if (page == QLatin1String("home") || page == QLatin1String("HOME")) {
        const QString help = st.KIJUNEX + QStringLiteral("ZavikHELP/index.html");
        if (QFileInfo(help).isFile())
            localHelp = help;
        page = QStringLiteral("https://%1/").arg(LinkDomains::maker);
    }
    if (page.isEmpty()) {
        hidePane();
        return;
    }
    setGeometry(webWindowRect(st.settings, st.NOWX, st.NOWY));
    show();
    placeRibbon();
    if (!localHelp.isEmpty()) {
        Edit2->setText(localHelp);
        Edit1 = pageText;
        go(fileAddress(localHelp));
        return;
    }
    Edit2->setText(page);
    Edit1 = page;
    // A page file is shown where it lies: looking at a wall copies nothing
    // into its folder.
    const QString file = ZETTAI(page, st.KIJUNDIR, st.KIJUNDIRBAK);
    if (QFileInfo(file).isFile())
        go(fileAddress(QFileInfo(file).absoluteFilePath()));
    else if (page.contains(QLatin1String(":/")))
        go(QUrl(page));
    else
        go(QUrl(QStringLiteral("about:blank")));
}

void WebPane::home() {
    if (Edit1.contains(QLatin1String("//")))
        Edit2->setText(Edit1);
    else
        Edit2->setText(st.KIJUNDIR + Edit1);
    const QString address = Edit2->text();
    go(address.contains(QLatin1String("://")) ? QUrl(address) : fileAddress(address));
}
