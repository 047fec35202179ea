#include "drawing/wallprinter.h"

#include "document/walldocument.h"
#include "pictures/stretchdraw.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

QRect printRectangle(const PrintPage& page, QSize bitmap) {
    // Integer arithmetic, each division truncating, in this order: the
    // printout comes out the same size on every printer.
    const qint64 S = page.scale > 0 ? page.scale : 100;
    const qint64 W = page.landscape ? 1200 : 800; // in 0.22 mm
    const qint64 dpiX = page.dpiX;
    const qint64 dpiY = page.dpiY;
    const qint64 m = dpiX * 2000 * 100 / S / 2540;
    const qint64 n = dpiY * 2000 * 100 / S / 2540;
    const qint64 left = m - page.offX;
    const qint64 top = n - page.offY;
    const qint64 right = m + W * 22 * dpiX * 100 / S / 2540 - page.offX;
    const qint64 H = bitmap.width() > 0 ? qint64(bitmap.height()) * W / bitmap.width() : 0;
    const qint64 bottom = n + dpiY * H * 22 * 100 / S / 2540 - page.offY;
    return QRect(QPoint(int(left), int(top)), QPoint(int(right) - 1, int(bottom) - 1));
}

WallPrinter::WallPrinter(WallDocument& doc, const bool& busy, QWidget* wallWindow)
    : QObject(wallWindow), st(doc), busy_(busy), wallWindow_(wallWindow) {
    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setSingleShot(true);
    Timer3->setInterval(500);
    connect(Timer3, &QTimer::timeout, this, &WallPrinter::Timer3Timer);
    setUpPrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, wallWindow_);
        return dialog.exec() == QDialog::Accepted;
    };
}

void WallPrinter::N20Click() {
    if (busy_)
        return;
    emit hideToolsRequested();
    Timer3->start();
}

void WallPrinter::Timer3Timer() {
    Timer3->stop();
    IPRINT(1);
    emit showToolsRequested();
}

void WallPrinter::setWindowsOver(const QList<QWidget*>& windows) {
    windowsOver_.clear();
    for (QWidget* w : windows)
        windowsOver_ << w;
}

QImage WallPrinter::renderWall() const {
    const QSize wall(qMax(1, st.NOWX), qMax(1, st.NOWY));
    // The wall's own painting, the same the screen shows.
    QImage picture = wallWindow_->grab(QRect(QPoint(0, 0), wall)).toImage();
    QPainter painter(&picture);
    const QPoint corner = wallWindow_->mapToGlobal(QPoint(0, 0));
    for (const QPointer<QWidget>& w : windowsOver_)
        if (w && w->isVisible())
            painter.drawPixmap(w->mapToGlobal(QPoint(0, 0)) - corner, w->grab());
    painter.end();
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    out.setDevicePixelRatio(1);
    return out;
}

bool WallPrinter::IPRINT(int /*source: the whole wall on every platform*/) {
    const QImage bitmap = renderWall();
    QApplication::clipboard()->setImage(bitmap);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Zavik"));
    if (!setUpPrinter || !setUpPrinter(printer))
        return false; // the picture stays on the clipboard
    PrintPage page;
    page.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    page.dpiX = printer.logicalDpiX();
    page.dpiY = printer.logicalDpiY();
    // Qt paints from the printable area's corner; the rectangle is measured
    // from the paper's. Qt has no printer scale: always 100.
    const QRect printable = printer.pageRect(QPrinter::DevicePixel).toRect();
    page.offX = printable.left();
    page.offY = printable.top();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    StretchDrawBitmap(painter, printRectangle(page, bitmap.size()), bitmap);
    return painter.end();
}
