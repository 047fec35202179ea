#include "web/webprint.h"

#include <QEventLoop>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWebEngineView>

void printPreview(QWebEngineView* view, QWidget* parent) {
    if (!view)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(view->title());
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, view, [view](QPrinter* p) {
        // The engine prints asynchronously; the preview needs the pages now.
        QEventLoop wait;
        QObject::connect(view, &QWebEngineView::printFinished, &wait, &QEventLoop::quit);
        // A window closing meanwhile must not leave the preview waiting.
        QObject::connect(view, &QObject::destroyed, &wait, &QEventLoop::quit);
        view->print(p);
        wait.exec();
    });
    preview.exec();
}
