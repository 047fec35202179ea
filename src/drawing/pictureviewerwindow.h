#pragma once

#include "drawing/penstroke.h"
#include "drawing/strokerecorder.h"
#include "drawing/touchgesture.h"
#include "drawing/touchpens.h"
#include "drawing/windowdrag.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

class PictureCanvas;
class QAction;
class QMenu;
class QTabletEvent;
class QTimer;
class QTouchEvent;
class QWindow;
class UndoHistory;
class WallPen;
struct PenState;

// The viewer's client rect in screen coordinates for a picture of natural
// size `picture` opened from a card at `cardCorner` on a wall of `wall`
// pixels whose window has `wallClient` pixels inside. The panel fills nearly
// the whole wall in one direction and follows the picture's proportions in
// the other, then `zoom` (1 for none) enlarges it, up to four wall windows
// each way and 16384 pixels a side. It opens at the card's
// corner when it fits there, else centred, and never above or left of the
// screen's corner.
QRect viewerGeometry(QSize picture, QSize wall, QSize wallClient, double zoom, QPoint cardCorner);

// The window a card's link opens to show one picture or a series of them.
// A series runs by itself; a left click skips ahead, a right click opens the
// menu. The wall's pen draws on the picture, which can then be wiped of a
// pen colour, saved over its file or put back from its original.
class PictureViewerWindow : public QWidget { // TForm21
    Q_OBJECT
public:
    // `state` holds the pen shared with the wall; without it the pen is off.
    // The wall window lends its pen, whether the wall is busy, and the one-shot
    // right click; a viewer without them draws nothing.
    explicit PictureViewerWindow(QWidget* parent = nullptr, PenState* pen = nullptr,
                                 const bool* busy = nullptr, bool* oneShotArmed = nullptr);

    // The wall's pen commands, which the menu runs.
    WallPen* pen = nullptr;

    // A click on a card with a picture link: opens the viewer on `list` (one
    // path, or paths joined by "&"), closes it when it already shows this
    // list, or shows the new list instead. Nothing opens without a caption,
    // nor when the first picture does not decode: false then.
    bool openLink(const QString& caption, const QString& list, const QColor& cardColour,
                  double zoom, QPoint cardCorner, QSize wall /*NOWX,NOWY*/,
                  const QRect& wallWindow);
    void closeViewer();
    bool isOpen() const { return open_; }
    // The list the viewer was opened with.
    QString list() const { return list_; }

    // Shows the picture in `path` and, in a series, sets the time until the
    // next one.
    void GLOAD(const QString& path);

    void setStepDelays(int normalMs, int lastMs);

    // The picture shown, with any strokes, and the file it came from.
    QImage picture() const;
    QString shownPath() const { return shownPath_; }

    // How much larger than at zoom 1 the viewer is: the zoom it opened with,
    // as two fingers pinched it since.
    double zoom() const;
    // Back to the size of zoom 1, about the same middle.
    void resetZoom();

    // The picture read again from its file: the strokes go.
    void reloadPicture();
    // The pen's cursor over the picture.
    void setPictureCursor(Qt::CursorShape shape);

    // The menu's file commands, on the picture shown.
    void wipeColour();      // "画面の〇色を消す"
    void restoreOriginal(); // "原画に戻す"
    bool saveOver();        // "上書き保存"
    void openOutside(bool edit);

    QMenu* PopupMenu1; // the viewer's menu
    QAction* N16;      // straight lines or freehand
    QAction* N9;       // wipe the pen colour
    QAction* N15;      // the pen on or off

    QString GALL;      // the pictures still to come, each followed by "&" in a series
    QString GGG;       // the first picture as opened
    bool TFLG = false; // a series is running
    int XXX = 0;       // natural size of the picture shown at opening
    int YYY = 0;

signals:
    void menuRequested(QPoint globalPos);
    void pictureShown(const QString& path);
    // The one-shot right click is used up by the picture's menu.
    void oneShotDisarmed();
    // The picture went to another program: the wall tucks itself away.
    void tuckRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool openViewer(const QString& caption, const QString& list, const QColor& cardColour,
                    double zoom, QPoint cardCorner, QSize wall, const QRect& wallWindow);
    void nextStep();
    void setPicture(const QImage& picture, const QString& path);
    bool onPicture(QPoint panelPos) const;
    void releaseAt(QPoint panelPos, QPoint globalPos);
    void resetState();
    bool penOn() const;
    void buildMenu();
    void openMenu(QPoint globalPos);
    void pressOnPicture(QMouseEvent* event);
    void moveOnPicture(QMouseEvent* event);
    void strokeReleased(QMouseEvent* event);
    // The wall's history, which the viewer's strokes go into: the pen's.
    UndoHistory* history() const;
    void keepStroke();
    void dropStrokes();
    bool touchDraws() const;
    bool tablet(QTabletEvent* event);
    // A touch event on the viewer's window; true when it is used up.
    bool touched(QTouchEvent* event);
    void pinchTo(double factor, QPointF centre);
    QSize sizeAt(double zoom) const;

    PenState* pen_;
    const bool* busy_;
    bool* oneShotArmed_;
    PictureCanvas* Panel1;
    QTimer* Timer2;

    bool open_ = false;
    QString list_;
    QImage picture_;
    QString shownPath_;
    int normalMs_ = 700;
    int lastMs_ = 4000;
    WindowDrag drag_;
    PenStroke stroke_{kViewerStrokes};
    std::unique_ptr<StrokeRecorder> strokes_;
    std::unique_ptr<TouchPens> touches_;
    QPointer<QWindow> watched_; // the viewer's window, whose touches it follows
    TouchGesture gesture_;
    // With the pen on, two fingers pinch only when they land before either
    // drew; once a finger draws, every finger draws.
    bool pinchWins_ = false;
    // A pinch or a double tap used these fingers: the mouse Qt makes of the
    // first of them does nothing until it is released.
    bool touchUsed_ = false;
    QRect pinchStart_; // the window when the pinch started
    QSize openedSize_;
    QTimer* tapClose_; // a tap closes a pinched viewer unless a second follows
    // What the viewer was opened over, to size it again.
    QSize wall_;
    QSize wallClient_;
    QPoint cardCorner_;
};
