#pragma once

#include "document/folderlook.h"
#include "storage/folderlisting.h"
#include "storage/records.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

class WallDocument;
struct CardEntry;

// Reads a wall folder's files into the wall: the settings files, every card
// file in name order, and, every two seconds, whatever other programs
// changed in the folder.
class WallLoader {
public:
    explicit WallLoader(WallDocument& doc);

    // The three settings files: background, web window, file window.
    void KABELOAD();
    void WALLGLOAD();
    void WEBLOAD();
    void DIRLOAD();

    // Every card file of the current wall folder, in name order. Files that
    // cannot be read are skipped and reported together at the end.
    void PANELLOAD();
    // Makes the cards of one card file; throws RecordError when the file is
    // damaged (no card is made from it then).
    void ANAL(const QString& fileName, const QString& text);
    // Rebuilds card `index` from its file.
    void REPANELLOAD(int index, const QString& fileName);
    void ANAL2(int index, const QString& fileName, const QString& text);

    // Change detection: the settings files, new and removed card files, and
    // changed card records. A look at the folder (`lookAtFolder`, which may
    // run on another thread) finds what changed; taking it runs all three on
    // the wall; a look whose folder listing failed changes no card. A look
    // that started before the wall last changed here (a write, a new wall,
    // change detection stopped) is stale and is not taken.
    LookRequest lookRequest() const;
    bool isCurrent(const FolderLook& look) const;
    // False when the look was stale.
    bool takeLook(const FolderLook& look);
    // A look and its taking, on this thread.
    void changeDetectionTick();
    // The settings files alone, on this thread.
    void KOUSHIN();
    void KOUSHIN(const FolderLook& look);
    bool PANELLOADCHK(const FolderLook& look);
    void PANELLOADCHKT(const FolderLook& look);
    // Looks under way at the folder are not taken when they end.
    void dropLooksUnderWay() { ++generation_; }

    // How the folder's files are reached: by default straight from disk.
    void setFolderAccess(std::shared_ptr<const FolderAccess> access) {
        access_ = std::move(access);
    }
    std::shared_ptr<const FolderAccess> folderAccess() const { return access_; }

    // The cards that could not be shown because the wall is full.
    int refusedForSpace() const { return int(fullRefused_.size()); }

    // A card file was written by the program: remember how it looks so that
    // change detection need not read it again.
    void noteWritten(const QString& fileName);

    // Whether another program changed the file of card `e` since this one
    // last read or wrote it. A file written again with the same text (as
    // another program's save and exit does with the cards it did not change)
    // is no change: only what it holds counts, not its time.
    bool changedElsewhere(const CardEntry& e) const;
    // The next change detection compares this card file's records again,
    // however it looks.
    void lookAgain(const QString& fileName) { compared_.remove(fileName); }

private:
    struct CardFileRecords {
        ListedFile file;
        QVector<PosterRecord> records;
        size_t text = 0; // a hash of its text
    };
    // The records of one listed card file as read; none when it went;
    // throws RecordError when it cannot be read or is damaged.
    static std::optional<CardFileRecords> recordsOf(const ListedFile& f, const LookedFile& read);
    // Makes the cards of a file's records and remembers how the file looks.
    void makeCards(const CardFileRecords& read);
    void makeCardsOf(const QString& fileName, const QVector<PosterRecord>& records);
    // The web and file window settings as read.
    void takeWebFile(const LookedSettings<UrlRecord>& web);
    void takeMaskFile(const LookedSettings<MaskRecord>& files);
    CardEntry entryFromRecord(const PosterRecord& r, const QString& fileName) const;
    // The history's steps on card n, changed by another program, are dropped.
    void forgetSteps(int n);
    void markReadFromDisk(const QString& fileName, const FileSignature& sig, size_t text);
    // Card n from a new version of its file: a new stamp is another
    // program's save and is taken; the same stamp with other values (its
    // save and exit) is taken unless the user changed the card here, which
    // then stays for save and exit to report. The user is told of a change
    // of theirs that a new stamp replaced.
    void takeChangedCard(int n, const QVector<PosterRecord>& records, const FileSignature& sig,
                         size_t text, QStringList& replaced);
    void reportDamaged(const QStringList& messages);

    WallDocument& st;
    std::shared_ptr<const FolderAccess> access_ = std::make_shared<FolderAccess>();
    // Counts the changes that make a look under way stale.
    quint64 generation_ = 0;

    // The last listing of the card files, by name.
    QHash<QString, FileSignature> listed_;
    // How each card file looked when its records were last compared.
    QHash<QString, FileSignature> compared_;
    // What each card file held (a hash of its text) when this program last
    // read or wrote it.
    QHash<QString, size_t> seen_;
    // Files that could not be taken, and how they looked then: they are
    // looked at again only when they change.
    QHash<QString, FileSignature> damaged_;
    // Text files that held no card, and how they looked then.
    QHash<QString, FileSignature> barren_;
    QSet<QString> fullRefused_;
    // The card file being read, and whether making its cards wrote it.
    QString reading_;
    bool readingWritten_ = false;
};
