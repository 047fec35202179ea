#pragma once

#include <QObject>

class CardBoard;
class QMenu;
class QWidget;
class WallDocument;

// The menu a right click on a card opens, and its commands on the current
// card: marks, sizes, colours, copy, delete and save. Marks, sizes and
// colours change the wall document only, until the card is saved.
class CardMenu : public QObject {
    Q_OBJECT
public:
    // `busy`: the wall is being loaded or laid out.
    CardMenu(WallDocument& doc, const bool& busy, CardBoard& board, QWidget* parent);

    QMenu* PopupMenu1; // the card menu

    void HOSHIMark(const QString& mark);
    void scaleCard(int multiply, int divide);
    void setTextColour(int code);
    void setCardColour(int code);
    void copyCard();
    void deleteCard();
    // Writes the card with a new stamp; a collapsed check-off card is
    // written with its full size and state and stays collapsed.
    void saveCard();

signals:
    // "カードに書く": the card editor on the current card. Cards open no
    // editors themselves; the wall window does.
    void cardEditorRequested();
    // A card is about to be deleted: its flash text and editor close.
    void aboutToDelete();

private:
    WallDocument& st;
    const bool& busy_;
    CardBoard& board_;
};
