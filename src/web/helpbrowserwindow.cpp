#include "web/helpbrowserwindow.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

HelpBrowserWindow::HelpBrowserWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TForm23"));
    resize(1000, 750);
    new QVBoxLayout(this);
    layout()->setContentsMargins(0, 0, 0, 0);
}

void HelpBrowserWindow::showPage(const QString& path) {
    page_ = path;
    setWindowTitle(path);
    if (!view_) {
        view_ = new QWebEngineView(this);
        view_->setObjectName(QStringLiteral("WebBrowser1"));
        layout()->addWidget(view_);
    }
    view_->load(path.contains(QLatin1String("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}
