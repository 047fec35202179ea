#pragma once

#include "document/walldocument.h"
#include "pictures/cardpicture.h"

#include <QObject>
#include <QPointer>
#include <QVector>

class CardWidget;
class QWidget;

// The cards of the wall on the screen: one widget per card of the wall
// document, in card order, which is also the stacking order. The board
// follows the document's changes and lays the cards' texts and pictures out;
// it changes no card itself, except for the layouts a command asks of it.
class CardBoard : public QObject {
    Q_OBJECT
public:
    // `busy` is set while every card is laid out again; `pressState` is the
    // card mouse's press, which a size command consumes.
    CardBoard(WallDocument& doc, bool& busy, int& pressState, QWidget* wallArea);
    ~CardBoard() override;

    // Lays out the current card again after its size changed, keeping it at
    // least 16 pixels each way.
    void CardSize();
    // Lays card n's text out again for its present size, and its picture
    // to fill it (after a resize by the mouse or a link command).
    void relayout(int n);
    // Lays out every card's text again (after a stage change).
    void ALLTEIJI();
    // The card editor's live layout of card n: its mark line and text cut
    // into pieces and placed for `lines` lines.
    void HENKOU(int n, int lines);

    // The lines a text takes in a box as wide as the wall, at least 1: what
    // the text layout sizes by, for cards and flash texts alike.
    int lineCount(const QString& text) const;

    int count() const { return int(BBs.size()); }
    // The card a widget stands for, or -1.
    int indexOf(const CardWidget* card) const {
        return int(BBs.indexOf(const_cast<CardWidget*>(card)));
    }
    CardWidget* card(int n) const { return BBs.value(n); }
    // A rectangle of the wall, on the screen.
    QRect onScreen(const QRect& onWall) const;

    // Many cards are made on a hidden wall area, shown once at the end: a
    // card shown on a visible wall asks the X server where the mouse is and
    // searches every card under it, which for a thousand cards costs more
    // than making them.
    static constexpr qsizetype kHiddenReadingFrom = 100;

signals:
    // Every card widget made, so its mouse events can be wired.
    void cardCreated(CardWidget* card);

private:
    void added(int n);
    void changed(int n, CardChange what);
    void removed(int n);
    void cleared();
    void readingStarted(qsizetype cardsToMake);
    void readingFinished();
    void prefetch(const QVector<CardEntry>& cards);

    void rebuild(int n);
    void HOSHI(int n, const QString& text);
    void layOut(int n, const QString& filteredText, bool firstMade);
    // Card n's picture, read for `size` in the screen's device pixels.
    void showPicture(int n, QSize size);
    void retire(CardWidget* c);

    WallDocument& st;
    bool& busy_;
    int& pressState_;
    QWidget* wallArea_;
    QVector<CardWidget*> BBs; // the card panels, with their parts
    CardPictures pictures_;   // what the cards show, read once
    bool hidden_ = false;     // the wall area is hidden for a folder reading
    QPointer<QWidget> focus_; // given back when the area shows again
};
