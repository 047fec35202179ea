#pragma once

#include "drawing/penstroke.h"
#include "drawing/strokerecorder.h"
#include "drawing/touchpens.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>

class ChangeDetection;
class PictureCanvas;
class PictureViewerWindow;
class QAction;
class QMenu;
class QMouseEvent;
class QTabletEvent;
class QWindow;
class QWidget;
class TouchHold;
class UndoHistory;
class WallDocument;
struct PenState;

// The wall's background as a drawing surface: the shown layer the pen draws
// on (Image1), the background as loaded (Image2), the pen commands that the
// wall and the picture viewer share, and the pen menu a right click on the
// background opens.
class WallPen : public QObject {
    Q_OBJECT
public:
    // The pen the window holds, whether the wall is busy, and what the user
    // armed: the one-shot right click, a stamp to place.
    WallPen(WallDocument& doc, PenState& pen, const bool& busy, const bool& oneShotArmed,
            const bool& stampArmed, QWidget* wallArea);

    PictureCanvas* Image1; // the background as shown, with the strokes
    QMenu* PopupMenu3;     // the pen menu
    QAction* N68;          // "線画": the pen on or off ("ON"/"OFF" when the menu opens)
    QAction* N69;          // "ドラッグ間－描画": straight lines or freehand

    // The picture viewer, whose picture the pen also draws on.
    PictureViewerWindow* viewer = nullptr;

    // The background layers, made at the screen's device pixels so that
    // strokes are as sharp as text; a saved background keeps that size.
    QSize canvasPixels() const;                 // the wall's size in them
    void showBackground(const QImage& picture); // both layers, as loaded
    void clearToNavy();                         // both layers, the plain wall
    // Loads a picture file as the wall's background, fitted to the wall at
    // the canvas's pixels; a file that is gone leaves the plain wall.
    void KABEIMAGELOAD(const QString& path);
    QImage canvasImage() const;

    // The pen on or off. Off on an empty background resets it to navy.
    void MSswitch(bool on);
    // "背景に線画" and "線画": the pen on when off, off when on.
    void togglePen();
    void chooseColour(int CPEN);
    void chooseWidth(int SPENS);
    // "ドラッグ間－描画": straight lines or freehand, the pen on.
    void toggleStraight();
    // "ペンの絵を消す": the strokes go, the background as loaded shows.
    void wipe();
    // "_原画にもどす": the background picture from the original kept beside it.
    void restoreOriginal();
    // "保存・ていあん": the strokes become part of the background picture.
    void save();
    // "ビュアー" and "編集": the background picture in another program.
    void openOutside(bool edit);

    // The wall's history, where the strokes on the wall and in the viewer go.
    UndoHistory& history();

    // The window's press and hold, which a lone finger held still on the
    // canvas answers with the pen on too.
    void setTouchHold(TouchHold* hold);

    // The point counter of the current stroke sequence.
    int counter() const;
    void resetCounter();

signals:
    // The pen went on or off: the tool column's pen button follows.
    void penSwitched(bool on);
    // The one-shot right click is used up (or called off) by the pen menu.
    void oneShotDisarmed();
    // The background went to another program: the wall tucks itself away.
    void tuckRequested();
    // A left press on the background, in the wall's coordinates, while
    // stamps are armed.
    void stampRequested(QPoint at);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(QMouseEvent* event);
    void move(QMouseEvent* event);
    void release(QMouseEvent* event);
    void openMenu(QPoint globalPos);
    void showOnCanvas(const QImage& picture);
    void penOn();
    void setCursors();
    void captionStraight();
    void keepStroke();
    void dropStrokes();
    // Touches and a stylus draw only while a press would draw with the mouse.
    bool touchDraws() const;
    bool tablet(QTabletEvent* event);

    WallDocument& st;

    PenState& pen_;
    const bool& busy_;
    const bool& oneShotArmed_;
    const bool& stampArmed_;
    QWidget* wallArea_;
    ChangeDetection& changes_;
    QImage Image2; // the background as loaded
    PenStroke stroke_{kWallStrokes};
    std::unique_ptr<StrokeRecorder> strokes_;
    std::unique_ptr<TouchPens> touches_;
    QPointer<QWindow> watched_; // the wall's window, whose touches the pen takes
};
