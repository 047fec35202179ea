#pragma once

#include <QObject>
#include <QPoint>

class CardBoard;
class CardWidget;
class QTimer;
class QWidget;
class WallDocument;

// The mouse on the cards: a quick left click runs the card, a press held
// 300 ms drags it or, near an edge (wider for a finger), resizes it, and a
// right click opens the card menu. A drag or a resize moves the card on the
// screen and ends as one edit of the wall document; nothing is written.
class CardMouse : public QObject {
    Q_OBJECT
public:
    // `busy`: the wall is being loaded or laid out; `oneShotArmed`: the
    // one-shot right click; `pressState`: the last press on a card (see RFLG).
    CardMouse(WallDocument& doc, const bool& busy, bool& oneShotArmed, int& pressState,
              CardBoard& board, QWidget* wallWindow);

    // A finger or a pen (`byTouch`) gets wider edges to resize by.
    void press(CardWidget* card, QPoint at, Qt::MouseButton button, bool byTouch = false);
    void move(CardWidget* card, QPoint at);
    void release(CardWidget* card, QPoint at);

    QTimer* Timer1; // ends the time in which a release counts as a click

    // The press point and edge zones, in the card's picture coordinates.
    int IMGPX = 0, IMGPY = 0;
    bool IMGPFLG = false;
    bool MON1 = false, MON2 = false, MON3 = false, MON4 = false; // right, bottom, left, top
    int OLDX = 0, OLDY = 0; // last pointer position seen while moving
    int OLDW = 0, OLDH = 0; // right and bottom edge at the press
    // The release point and the card's size then, read by the link commands.
    int CARDX = 0, CARDY = 0, CARDW = 0, CARDH = 0;
    // The card's top-left corner on the screen at the release.
    int PGKX = 0, PGKY = 0;

signals:
    // A left click: run card n.
    void runCard(int n);
    // A right click, or a left click with the one-shot right click armed.
    void cardMenuRequested(QPoint globalPos);
    // A click turns the pen off first.
    void penOff();
    // The one-shot right click was used up.
    void oneShotDisarmed();

private:
    WallDocument& doc_;
    const bool& busy_;
    bool& oneShotArmed_;
    // The last press on a card: -1 a left press not yet held 300 ms (its
    // release is a click), 1 a right press, 0 held or consumed.
    int& RFLG;
    CardBoard& board_;
    QWidget* wallWindow_;
};
