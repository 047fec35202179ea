#pragma once

#include <QObject>
#include <functional>

class CardBoard;
class QMenu;
class QWidget;
struct WallState;

// The menu a right click on a card opens, and its commands on the current
// card: marks, sizes, colours, copy, delete and save. Marks, sizes and
// colours change the screen only, until the card is saved.
class CardMenu : public QObject {
    Q_OBJECT
public:
    CardMenu(WallState& state, CardBoard& board, QWidget* parent);

    QMenu* PopupMenu1; // the card menu

    // Told to close the flash text (and the card editor) before a card is
    // deleted, and to restart change detection after a copy.
    std::function<void()> closeFlash;
    // "カードに書く": the card editor on the current card. Cards open no
    // editors themselves; the wall window does.
    std::function<void()> openCardEditor;
    std::function<void()> restartChangeDetection;
    // How a card is read back from its file and written to it; the wall
    // that owns the files provides both.
    std::function<void(int index, const QString& fileName)> reloadCard;
    std::function<bool(int index, int mode)> writeCard;

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
};
