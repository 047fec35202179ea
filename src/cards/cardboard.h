#pragma once

#include "model/wallstate.h"
#include "pictures/cardpicture.h"

#include <QHash>
#include <QPointer>
#include <QVector>
#include <QWidget>
#include <functional>
#include <optional>

class CardWidget;
class QWidget;

// What a card is made from, named as the card builders name them: the
// geometry in wall pixels, the colour and shape codes, and the texts.
struct CardProps {
    int X = 0, Y = 0, XX = 0, YY = 0; // left, top, width, height
    int P = 0;                        // card colour code
    int PT = 0;                       // text colour code
    int STP = 0;                      // stamp switch
    int R = 0;                        // shape code, 0 elliptical
    QString S1;                       // picture name
    QString S2;                       // hint as stored
    QString S3;                       // link
    QString T;                        // text as stored
    QString FN;                       // file name
    bool FNfromFile = false;          // FN is the file the card was read from
    QString FT;                       // stamp
    QString KF;                       // flash text
    QString KS;                       // mark line
    QString KAKU;                     // check-off state
};

// The cards of the wall: their widgets (one per card, in card order, which
// is also the stacking order) beside the card table of the Wall state, and
// the routines that make, rebuild and lay out cards.
class CardBoard {
public:
    // Component tags keep the card index in their lower three digits.
    static constexpr int kMaxCards = 1000;
    // No card is narrower or lower than this, in pixels.
    static constexpr int kMinWidth = 16;
    static constexpr int kMinHeight = 16;

    CardBoard(WallState& state, QWidget* wallArea);
    ~CardBoard();

    // Called when a card is to be written to its file (mode 1).
    std::function<void(int index)> saveCard;
    // Called before a new card is made: change detection must not run
    // while the card table grows.
    std::function<void()> stopChangeDetection;
    // Called when a pass over every card is done.
    std::function<void()> startChangeDetection;

    // Told of every card widget made, so its mouse events can be wired.
    std::function<void(CardWidget*)> cardCreated;

    // Set while the quick editor collects a new card: no card is made then.
    bool KKFLG = false;

    // Makes a card, or rebuilds and writes the card of the same file name.
    // K = 1 writes a new card to its file. Returns false when the wall is
    // full and no card was made.
    bool PanelMake(int K, CardProps props);
    // Reads ahead the pictures the cards about to be made will show.
    void prefetchPictures(const QVector<CardProps>& cards);
    // Rebuilds card n in place; nothing is written.
    void PanelMake2(int n, CardProps props);
    // Lays out the current card again after its size changed.
    void CardSize();
    // Lays card n's text out again for its present size, and its picture
    // to fill it (after a resize by the mouse or a link command).
    void relayout(int n);
    // Lays out every card's text again (after a stage change).
    void ALLTEIJI();
    // Puts a mark line and the stored text into the current card's first
    // text part.
    void HOSHI(const QString& text);

    // The card editor's live layout of card n: the mark line and the card
    // text cut into pieces and placed for `lines` lines, the filtered hint
    // on the card; the card table gets the texts and the link as typed.
    void HENKOU(int n, const QString& mark, const QString& text, const QString& flash,
                const QString& hint, const QString& link, int lines);
    // Card and text colour codes and the shape of card n, in its tags and
    // on the screen.
    void setCardColour(int n, int code);
    void setTextColour(int n, int code);
    void setShape(int n, bool elliptic);
    // Card n shows the picture `name` (empty: none) and keeps it as its
    // picture name.
    void setPictureName(int n, const QString& name);
    // A collapsed check-off card back at the size stored in its file, shown
    // whole; its state is left to the caller.
    void expandToStoredSize(int n);
    // Card n as a collapsed check-off card: a 20 × 20 grey square with a
    // check mark, state "2".
    void collapse(int n);

    // A copy of card B at X, Y, sized XWidth × YHeight, with stamp switch
    // DES; written at once and made the current card. Returns its index,
    // or -1 when the wall is full.
    int PCOPY(int B, int X, int Y, int XWidth, int YHeight, int DES);
    // Deletes card n and its file.
    void SAKUJO(int n);
    // A file name for a new card: the stamp of the moment + ".txt", with a
    // number added when a card or a file of the wall folder has that name
    // already (two cards made within one second must not share a file).
    QString newCardFileName(const QString& stamp) const;

    // Removes card n from the wall (its file is not touched); the cards
    // after it move down one index and their tags follow.
    void removeCard(int n);
    // Frees every card.
    void clear();

    // The lines a text takes in a box as wide as the wall, at least 1: what
    // the text layout sizes by, for cards and flash texts alike.
    int lineCount(const QString& text) const;

    int count() const { return int(BBs.size()); }
    // The card a widget stands for, or -1.
    int indexOf(const CardWidget* card) const {
        return int(BBs.indexOf(const_cast<CardWidget*>(card)));
    }
    CardWidget* card(int n) const { return BBs.value(n); }
    // The last card whose file name is exactly `name`, or -1.
    int lastIndexOfFile(const QString& name) const;

    // While a whole folder is read in, the cards are found by name through
    // an index instead of a search per card made: every card then comes
    // from a file of its own name, and only this board adds or changes
    // cards. The index is dropped when the reading ends. Many cards are made
    // on a hidden wall area, shown once at the end: a card shown on a
    // visible wall asks the X server where the mouse is and searches every
    // card under it, which for a thousand cards costs more than making them.
    class FolderReading {
    public:
        FolderReading(CardBoard& board, qsizetype cardsToMake);
        ~FolderReading();
        FolderReading(const FolderReading&) = delete;
        FolderReading& operator=(const FolderReading&) = delete;

    private:
        CardBoard& board_;
        bool hidden_ = false;
        QPointer<QWidget> focus_; // given back when the area shows again
    };
    static constexpr qsizetype kHiddenReadingFrom = 100;

private:
    void keepOnWall(CardProps& p) const;
    void layOut(int n, const CardProps& p, const QString& filteredText, bool firstMade);
    void setTags(int n, const CardProps& p);
    void retire(CardWidget* c);
    void indexNames(); // the index of a folder reading, from the cards

    WallState& st;
    QWidget* wallArea_;
    QVector<CardWidget*> BBs;                   // the card panels, with their parts
    std::optional<QHash<QString, int>> byName_; // while a folder is read
    CardPictures pictures_;                     // what the cards show, read once
};
