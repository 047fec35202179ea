#pragma once

#include <QList>
#include <QObject>

class QFont;
class QMouseEvent;
class QTimer;
class QToolButton;
class QWidget;
class WallDocument;
struct WallModes;

// The tool buttons down the right edge of the wall with the folder button
// beside them, the grab tab at the bottom right, and the drag strip and
// capture corner at the left edge. The tools show while the mouse is near
// either edge and hide while it is over the middle of the wall; a finger's
// tap near an edge shows them for a few seconds.
class ToolColumn : public QObject {
    Q_OBJECT
public:
    ToolColumn(WallDocument& doc, WallModes& modes, QWidget* wallArea);

    // The layout pass's part: every button sized and drawn for the wall of
    // the moment and put in its place; the folder button names the current
    // wall folder below the data folder.
    void place(int clientHeight, const QFont& font, qreal devicePixelRatio);
    // The drag strip and the capture corner keep to the left edge.
    void placeFixed(int clientHeight);
    // Shows or hides the tools; the back button keeps its own visibility.
    void XSHOW(bool on);
    // The tools follow the mouse near the left and right edges.
    void followMouse(int x, int clientWidth);
    // A finger has no hover: a tap near either edge shows the tools for a
    // while, a tap on the wall's middle hides them.
    void followTouch(int x, int clientWidth);
    // A tap on the wall away from the tools, such as on a card.
    void touchedElsewhere();
    // The pointer on the wall at `x`: a mouse's own moves follow the hover
    // rule, a finger's or pen's press the touch rule. Moves Qt makes up
    // when widgets show or hide under the point a tap left are no hover.
    void followWall(const QMouseEvent* event, int x, int clientWidth);
    // A card pressed: by a finger or pen, the tools it showed go.
    void cardPressed(bool byTouch);

    // What most commands do first: the pen off, the one-shot right click
    // disarmed.
    void prepareCommand();
    // Arms or disarms the one-shot right click, with a beep.
    void SpeedButton8Click();
    // The one-shot right click was used up or called off.
    void showOneShotDisarmed();

    // What a window tucked into its tab still shows.
    QList<QWidget*> tabWidgets() const;

    QToolButton* SpeedButton1;  // main menu
    QToolButton* SpeedButton5;  // the wall folder; opens it
    QToolButton* SpeedButton7;  // back / home
    QToolButton* SpeedButton16; // number notes
    QToolButton* SpeedButton25; // programming
    QToolButton* SpeedButton14; // hide the wall
    QToolButton* SpeedButton8;  // one-shot right click
    QToolButton* SpeedButton6;  // background settings
    QToolButton* SpeedButton4;  // make cards
    QToolButton* SpeedButton19; // make launch cards
    QToolButton* SpeedButton12; // redisplay
    QToolButton* SpeedButton28; // take the last step back
    QToolButton* SpeedButton2;  // pen drawing
    QToolButton* SpeedButton10; // full-screen drawing in 5 seconds
    QToolButton* SpeedButton3;  // clear the strokes
    QToolButton* SpeedButton23; // timed cut-out
    QToolButton* SpeedButton26; // the drag strip along the left edge
    QToolButton* SpeedButton27; // capture (bottom left)
    QWidget* Panel6;            // the grab tab
    QToolButton* SpeedButton11; // the tab's button, caption "Zavik"
    // Hides tools a tap showed, 5 s after the last touch on them.
    QTimer* touchHideTimer;

signals:
    // Asked for by prepareCommand.
    void penOffRequested();
    // The back button: left back, right home.
    void backOrHome(Qt::MouseButton button);
    // The programming button, by mouse button.
    void programming(Qt::MouseButton button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* makeToolButton(const char* name, const QString& hint);
    // The square buttons of the column, top to bottom.
    QList<QToolButton*> column() const;
    // What shows and hides with the tools.
    QList<QWidget*> shownTogether() const;
    // Whether the x of the wall window lies between the edge bands.
    bool inMiddle(int x, int clientWidth) const;

    WallDocument& st;

    WallModes& modes_;
    QWidget* wallArea_;
};
