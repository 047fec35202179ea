#pragma once

#include "drawing/penstroke.h"
#include "drawing/pictureeditorform.h"
#include "drawing/touchgesture.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QWidget>

class QTouchEvent;
class QWindow;
struct PenState;

// Where the editor opens, as the wall measures it.
struct EditorPlacement {
    int ZETTAIX0 = 0; // the wall window's client size as first measured
    int ZETTAIY0 = 0;
    int NOWX = 0; // the wall's width now: narrower than ZETTAIX0 gives a sizeable border
    // The wall's grab tab lies right of the screen's middle: the tool bar
    // goes to the right edge then, else to the left.
    bool toolBarRight = false;
};

// A full-screen chalkboard over a screenshot. The screenshot stays untouched
// below (Image2); chalk goes onto a copy of it (Image1), whose pixels of the
// key colour let the screenshot show through. A rectangle of what is shown
// can be cut out (Image3), zoomed, turned, mirrored and dragged about, until
// the next chalk colour burns it into both layers. Nothing is saved: the
// screenshot goes to the clipboard when the editor opens, and the wall's
// capture menu keeps a result.
class PictureEditorWindow : public QWidget { // TForm25
    Q_OBJECT
public:
    // The editor shares the wall's pen mode (PREFLG) and tells the wall that
    // it drew (MSON2).
    explicit PictureEditorWindow(PenState& pen, QWidget* parent = nullptr);

    // Shows the editor, not modally, over `screenshot` (the whole screen).
    void openOn(const QImage& screenshot, const EditorPlacement& placement);

    // The layers, in the screenshot's pixels.
    const QImage& chalkLayer() const { return Image1; }
    const QImage& screenshotLayer() const { return Image2; }
    const QImage& cutOut() const { return Image3; }
    // Where the cut-out stands in the window; empty while there is none or
    // it is not shown yet.
    QRect cutOutRect() const;
    bool hasCutOut() const { return RFLG2; }
    QColor keyColour() const { return key_; }
    QColor chalkColour() const { return chalk_; }

    // What the editor shows below its tool bar: the screenshot, the chalk
    // over it and the cut-out at its place, as one picture.
    QImage renderPicture() const;

    // Zoom and turn the cut-out. A result that would be empty keeps the
    // cut-out; one too large to hold beeps and keeps it too.
    void KAKUDAI(double factor);
    void KAITEN(double angle);
    // How much larger two fingers made the cut-out than it was made by the
    // menu or the selection; a double tap brings it back to 1.
    double cutOutZoom() const;

signals:
    // "キャプチャー": the wall opens its capture menu at `globalPos`.
    void captureMenuRequested(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectForm();

    void chalkClick(int index);
    void SpeedButton7Click();  // "再表示": the chalk goes, the screenshot shows again
    void SpeedButton8Click();  // the rubber: wide chalk of the see-through colour
    void SpeedButton9Click();  // "透明化": chalk of the current colour becomes see-through
    void SpeedButton10Click(); // selection mode: the next drag cuts out
    void SpeedButton11Click(); // selection mode off
    void SpeedButton12Click(); // the cut-out goes
    void SpeedButton13Click(); // asks the wall for its capture menu
    void SpeedButton14Click(); // straight lines or freehand

    void zoomClick(bool larger);
    void turnClick(int direction);
    void mirrorClick(bool leftRight);
    void showCutOutAfterMenu();

    void resetTags();
    void burnInCutOut();
    void HCOPY(int width, int height); // cuts out the rectangle selected
    void openMenu();
    void replaceCutOut(const QImage& picture);
    // Two fingers on the window: they zoom and move the cut-out.
    void touched(QTouchEvent* event);
    void zoomCutOut(double zoom, QPointF heldAt, QPointF centre);
    bool fitsEditor(QSize pixels) const;

    void setKey(const QColor& key);
    void showChalkColour();
    void showLineMode();
    void placeToolBar();
    bool onToolBar(QPoint at) const;
    // Where a press takes hold of the cut-out: its rectangle, at least 8 mm
    // for a finger or a pen.
    QRect cutOutGrip(bool byTouch) const;
    int chalkWidth() const;
    void pointTo(QPoint at);
    void setPointer(Qt::CursorShape shape);

    void showChalk(const QRect& changed);
    void recompose(const QRect& pixels);
    void paintLayers(QPainter& painter, const QRect& area) const;
    QRect toPixels(const QRect& area) const;
    QSize logicalSize(const QImage& picture) const;

    PenState& pen_; // the pen the wall and the viewer share
    PictureEditorForm form_;

    QImage Image1; // the chalk layer
    QImage Image2; // the screenshot
    QImage Image3; // the cut-out
    QImage view_;  // Image1 over Image2 as the key makes it: what is painted
    double dpr_ = 1.0;
    QColor key_;   // Image1's see-through colour
    QColor chalk_; // what the chalk draws
    bool toolBarRight_ = false;

    PenStroke stroke_{kEditorStrokes}; // its counter is SpeedButton15's tag
    int selectionTag_ = 0;             // SpeedButton10's tag: 1 stops the chalk
    int KESU = 1;                      // chalk width factor, 4 for the rubber
    int CCPEN = 0;                     // chalk colour index
    bool RFLG = false;                 // selection mode: the next drag cuts out
    bool RFLG2 = false;                // a cut-out exists
    bool cutOutShown_ = false;         // the cut-out shows once a menu entry acted
    QPoint Image3Pos;                  // the cut-out's top left in the window
    bool FDrag = false;                // a selection is being dragged
    QPoint DownPt;
    QRect R;    // the rubber band
    QRect RBAK; // the last rectangle selected
    int RRX = 0;
    int RRY = 0;
    bool XYFLG = false; // the cut-out is being dragged
    int XBAK = 0;
    int YBAK = 0;
    double PPBAI = 2; // zoom factor

    QImage ownCutOut_; // the cut-out as the menu or the selection made it
    QPointer<QWindow> watched_;
    TouchGesture gesture_;
    QRect pinchFrom_; // the cut-out where the pinch started
    // A pinch or a double tap used these fingers: the mouse Qt makes of the
    // first of them does nothing until it is released.
    bool touchUsed_ = false;
};
