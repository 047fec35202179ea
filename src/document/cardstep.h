#pragma once

#include "document/undohistory.h"
#include "model/cardentry.h"
#include "platform/trash.h"
#include "storage/keptbytes.h"

#include <optional>
#include <vector>

class WallDocument;

// One edit of the wall's cards as the user made it (a drag, a colour, the
// card editor's save, new cards, a deletion) with the card files it wrote or
// put aside: each card as it was before and after, each file's bytes before
// and after. Taking it back gives every card its former self and every file
// its former bytes (a deleted card's file comes back from the trash,
// unchanged); making it again does the opposite. Either is refused, with
// nothing changed, when a file is no longer as the step left it: another
// program's edit is never written over.
class CardStep : public HistoryStep {
public:
    CardStep(WallDocument& doc, const QString& name);
    ~CardStep() override;

    // While the step is being done: card n is about to change or go, card n
    // was just made, a file of the wall folder is about to be written or put
    // aside, and where it went.
    void touchCard(int n);
    void cardMade(int n);
    void touchFile(const QString& name);
    void fileTrashed(const QString& name, const TrashedFile& where);
    // The step is done: what changed is taken. False when nothing did.
    bool finish();

    QString name() const override { return name_; }
    bool undo(QString* why) override { return apply(true, why); }
    bool redo(QString* why) override { return apply(false, why); }
    bool touchesCard(quint64 id) const override;
    bool touchesFile(const QString& name) const override;
    qint64 bytesKept() const override;

private:
    struct CardPart {
        quint64 id = 0;
        std::optional<CardEntry> before, after; // none: not on the wall
        int beforeIndex = -1, afterIndex = -1;
    };
    struct FilePart {
        QString name;
        std::optional<KeptBytes> before, after; // none: no file
        bool kept = true;                       // false: the file could not be read to be kept
        std::optional<TrashedFile> aside;       // where it is while it is gone
    };
    // The file as it is now: none when there is none; false when it cannot
    // be read whole.
    bool readNow(const QString& name, std::optional<KeptBytes>* into) const;
    bool apply(bool back, QString* why);
    bool checkFrom(bool back, QString* why) const;
    bool moveFile(FilePart& f, bool back, QString* why);
    void moveCards(bool back);

    WallDocument& doc_;
    QString name_;
    std::vector<CardPart> cards_;
    std::vector<FilePart> files_;
};
