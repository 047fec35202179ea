#pragma once

#include <QWidget>

class QWebEngineView;

// Shows local pages: the help, the programming start page and the HTML pages
// cards link to. The browser engine is started at the first page, not with
// the program.
class HelpBrowserWindow : public QWidget { // TForm23
    Q_OBJECT
public:
    explicit HelpBrowserWindow(QWidget* parent = nullptr);

    // Shows the page at `path` (a file) with the path as the window's title.
    void showPage(const QString& path);
    QString page() const { return page_; }

private:
    QWebEngineView* view_ = nullptr;
    QString page_;
};
