#pragma once

#include <QObject>
#include <functional>

class CardBoard;
class QMenu;
class QWidget;
class WallLoader;
class WallSaver;
struct WallState;

// The menu a right click on a card opens, and its commands on the current
// card: marks, sizes, colours, copy, delete and save. Marks, sizes and
// colours change the screen only, until the card is saved.
class CardMenu : public QObject {
    Q_OBJECT
public:
    CardMenu(WallState& state, CardBoard& board, WallLoader& loader, WallSaver& saver,
             QWidget* parent);

    QMenu* PopupMenu1; // the card menu

    // Told to close the flash text before a card is deleted, and to restart
    // change detection after a copy.
    std::function<void()> closeFlash;
    std::function<void()> restartChangeDetection;

    void HOSHIMark(const QString& mark);
    void scaleCard(int multiply, int divide);
    void setTextColour(int code);
    void setCardColour(int code);
    void copyCard();
    void deleteCard();
    // Writes the card with a new stamp; a collapsed check-off card is
    // written with its full size and state and stays collapsed.
    void saveCard();

private:
    WallState& st;
    CardBoard& board_;
    WallLoader& loader_;
    WallSaver& saver_;
};
