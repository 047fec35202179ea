#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>

class QPrinter;
class QTimer;
class QWidget;
class WallDocument;

// What the printer tells about its page, in its own pixels.
struct PrintPage {
    int dpiX = 0;
    int dpiY = 0;
    int offX = 0; // the printable area's corner on the paper
    int offY = 0;
    bool landscape = true;
    int scale = 100; // per cent
};

// Where a picture of `bitmap` is printed, in the printable area's
// coordinates: 20 mm from the paper's top left, 264 mm wide in landscape and
// 176 mm in portrait (at scale 100), as high as its proportions make it.
QRect printRectangle(const PrintPage& page, QSize bitmap);

// "画面を印刷[>PRN]": the wall as it shows, with Zavik's windows over it, on
// one page.
class WallPrinter : public QObject {
    Q_OBJECT
public:
    // `busy`: the wall is being loaded or laid out.
    WallPrinter(WallDocument& doc, const bool& busy, QWidget* wallWindow);

    QTimer* Timer3; // lets the wall paint itself without its tools first

    // The printer setup dialog; false when cancelled. Tests answer instead.
    std::function<bool(QPrinter&)> setUpPrinter;

    // Zavik's windows that stand over the wall (the viewer, say), printed
    // where they stand when they show.
    void setWindowsOver(const QList<QWidget*>& windows);

    // The menu entry and ">PRN": not while the wall is busy.
    void N20Click();
    void Timer3Timer();
    // Takes the picture, puts it on the clipboard and prints it. False when
    // the setup was cancelled or printing failed.
    bool IPRINT(int source);
    // The wall, NOWX × NOWY, with the windows over it at their places.
    QImage renderWall() const;

signals:
    // The pen off and the tools hidden before the picture is taken; shown
    // again after.
    void hideToolsRequested();
    void showToolsRequested();

private:
    WallDocument& st;
    const bool& busy_;
    QWidget* wallWindow_;
    QList<QPointer<QWidget>> windowsOver_;
};
