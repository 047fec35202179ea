#pragma once

#include "model/cardentry.h"
#include "storage/windowsettings.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>
#include <memory>
#include <optional>

class CardStep;
class ChangeDetection;
class UndoHistory;
class WallLoader;
class WallSaver;
class WallSurface;

// What changed in a card, so that what shows it can follow.
enum class CardChange {
    Rebuilt,    // everything, from its file or an editor
    Geometry,   // its rectangle
    Colour,     // its card colour
    TextColour, // its text colour
    Shape,      // elliptic or rectangular
    Texts,      // text, mark, flash text, hint or link
    Mark,       // the mark line put before its text
    Picture,    // the picture it shows
    CheckOff,   // collapsed to a square or expanded to its stored size
    Other,      // a field nothing shows (stamp switch, link, check-off state)
};

// The wall of one folder, with no widget in it: the card table, the
// background, the web and file window settings and their stamps. It loads
// the folder, saves into it and follows what other programs change there,
// and tells every change with a signal; the cards on the screen draw what
// it holds and send their edits to it. Folders are held with "/" separators
// and a trailing "/".
class WallDocument : public QObject {
    Q_OBJECT
public:
    // Card indexes ride in the stored colour and shape fields' lower three
    // digits.
    static constexpr int kMaxCards = 1000;
    // No card is narrower or lower than this, in pixels.
    static constexpr int kMinWidth = 16;
    static constexpr int kMinHeight = 16;

    explicit WallDocument(QObject* parent = nullptr);
    ~WallDocument() override;

    // Where a drawn background is taken from when it is saved; none: the
    // background is never drawn on.
    void setSurface(WallSurface* surface) { surface_ = surface; }
    WallSurface* surface() const { return surface_; }

    WallLoader& loader() { return *loader_; }
    WallSaver& saver() { return *saver_; }
    ChangeDetection& changes() { return *changes_; }
    // What the user did on this wall and can take back; it starts afresh
    // with every wall shown.
    UndoHistory& history() { return *history_; }

    QString KIJUNDIR;    // current wall folder
    QString KIJUNDIRBAK; // data folder, the root wall
    QString KIJUNEX;     // resource folder

    // The settings file names of every wall folder.
    QString KABE3 = QStringLiteral("wall.ini"); // background
    QString KABE2 = QStringLiteral("html.ini"); // web window
    QString KABE4 = QStringLiteral("dir.ini");  // file window

    QString KABEIMAGE; // background picture path as read, absolute once loaded
    QString KABEIMG;   // absolute path of the background actually loaded
    QString KABEIMAGEOLDTIME = QStringLiteral("NIL");
    QString BAKNAME; // card file last read or written
    QString MEMO;    // description of the records, never written
    // The background was drawn on since its picture was loaded: only then is
    // the picture written back.
    bool canvasDrawn = false;

    // The wall on the screen: the client size as first measured, and the
    // wall in pixels, which card rectangles are in.
    int ZETTAIX0 = 0;
    int ZETTAIY0 = 0;
    int NOWX = 0;
    int NOWY = 0;

    int PBAN = 0; // current card
    // Set while the quick editor collects a new card: no card is made then.
    bool KKFLG = false;
    int ST1 = 0, ST2 = 0; // stage counters: which parts of card texts show

    // Where the web and file windows stand.
    WindowSettings settings;

    // The cards, index = card number = stacking order.
    const QVector<CardEntry>& cards() const { return cards_; }
    const CardEntry& card(int n) const { return cards_[n]; }
    int count() const { return int(cards_.size()); }
    bool has(int n) const { return n >= 0 && n < count(); }
    // The last card whose file name is exactly `name`, or -1.
    int lastIndexOfFile(const QString& name) const;
    // The card with this id, or -1.
    int indexOfId(quint64 id) const;
    // A file name for a new card: the stamp of the moment + ".txt", with a
    // number added when a card or a file of the wall folder has that name
    // already (two cards made within one second must not share a file).
    QString newCardFileName(const QString& stamp) const;

    // Makes a card from `e`, a card as its file holds it (its check-off
    // field as stored), or rebuilds and writes the card of the same file
    // name. K = 1 writes a new card to its file. Returns false when the wall
    // is full and no card was made.
    bool PanelMake(int K, CardEntry e);
    // Rebuilds card n in place from `e`, as above; nothing is written.
    void PanelMake2(int n, CardEntry e);

    // The edits of one card, each told as a change.
    void setRect(int n, const QRect& rect);
    void setColour(int n, int code);
    void setTextColour(int n, int code);
    void setShape(int n, bool elliptic);
    void setPicture(int n, const QString& name);
    void setMark(int n, const QString& mark);
    void setTexts(int n, const QString& mark, const QString& text, const QString& flash,
                  const QString& hint, const QString& link);
    void setLink(int n, const QString& link);
    void setStampSwitch(int n, int STP);
    void setCheckOff(int n, CheckOff state);
    // A collapsed check-off card: a 20 × 20 square at its place. `asStored`:
    // as its file holds it (read so, or just written), no change of the user.
    void collapse(int n, bool asStored = false);
    // A collapsed check-off card back at the size stored in its file, shown
    // whole; its state is left to the caller.
    void expandToStoredSize(int n);
    // Sets the stage counters; the cards' texts show the new stage.
    void setStage(int ST1, int ST2);

    // A copy of card B at `rect` with stamp switch DES, written at once and
    // made the current card. Returns its index, or -1 when the wall is full.
    int PCOPY(int B, const QRect& rect, int DES);
    // Deletes card n; its file goes to the desktop's trash (or, where there
    // is none, to the data folder's own, `asideFolder`), so that it can be
    // brought back. False, the card kept and the user told, when the file
    // cannot be moved.
    bool SAKUJO(int n);
    QString asideFolder() const;
    // Removes card n from the wall (its file is not touched).
    void removeCard(int n);
    // Frees every card.
    void clear();

    // While a whole folder is read in, cards are found by name through an
    // index instead of a search per card made: every card then comes from a
    // file of its own name. The index is dropped when the reading ends.
    class FolderReading {
    public:
        FolderReading(WallDocument& doc, qsizetype cardsToMake);
        ~FolderReading();
        FolderReading(const FolderReading&) = delete;
        FolderReading& operator=(const FolderReading&) = delete;

    private:
        WallDocument& doc_;
    };

    // Called by the saver: the card's entry after a write.
    CardEntry& entryForWriting(int n) { return cards_[n]; }
    // Called by the saver: card n and a file of the wall folder are about to
    // be written.
    void aboutToChange(int n);
    void aboutToWrite(const QString& fileName);

    // One thing the user does, for as long as it lives: every change of
    // cards and card files made meanwhile becomes one step of the history,
    // which takes them back together. Nested, the outermost one counts.
    class UserStep {
    public:
        UserStep(WallDocument& doc, const QString& name);
        ~UserStep();
        UserStep(const UserStep&) = delete;
        UserStep& operator=(const UserStep&) = delete;

    private:
        WallDocument& doc_;
        bool outermost_;
    };

signals:
    void cardAdded(int n);
    void cardChanged(int n, CardChange what);
    void cardRemoved(int n);
    // Every card went.
    void cardsCleared();
    // The stage changed: every card's text shows again.
    void stageChanged();
    // A folder reading of many cards begins and ends, and the pictures its
    // cards will show can be read ahead.
    void readingStarted(qsizetype cardsToMake);
    void readingFinished();
    void picturesWanted(const QVector<CardEntry>& cards);

    // The background, web and file windows.
    void backgroundShown(const QString& path);
    void backgroundCleared();
    void wallCursorChanged(bool arrow);
    void webWindowShown(const QString& page);
    void webWindowHidden();
    void fileWindowShown();
    void fileWindowHidden();
    // Files of the wall folder were written or deleted.
    void filesChanged();
    // A background is about to be saved: the wall must be the full screen.
    void fullWallNeeded();
    // The drawn background was written into its picture file.
    void backgroundPictureWritten();
    // Files that could not be taken or written, one line each.
    void problems(const QString& title, const QStringList& lines);

private:
    friend class CardStep;
    // A card given back its former self, or put back at its place in the
    // stack, by a step taken back or made again.
    void restoreCard(int n, CardEntry e);
    void insertCard(int n, const CardEntry& e);
    void keepOnWall(CardEntry& e) const;
    void indexNames();
    // Every edit of one card: the change made, then told.
    template <typename Change> void edit(int n, CardChange what, Change change) {
        if (!has(n))
            return;
        aboutToChange(n);
        change(cards_[n]);
        if (what != CardChange::Rebuilt)
            cards_[n].unsaved = true;
        emit cardChanged(n, what);
    }

    QVector<CardEntry> cards_;
    std::optional<QHash<QString, int>> byName_; // while a folder is read
    WallSurface* surface_ = nullptr;
    std::unique_ptr<WallSaver> saver_;
    std::unique_ptr<WallLoader> loader_;
    ChangeDetection* changes_;
    UndoHistory* history_;
    std::unique_ptr<CardStep> recording_; // the user's step being done
    quint64 lastId_ = 0;
};
