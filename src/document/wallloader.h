#pragma once

#include "storage/folderlisting.h"
#include "storage/records.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
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
    // changed card records. One tick runs all three; a tick whose folder
    // listing fails does nothing.
    void changeDetectionTick();
    void KOUSHIN();
    bool PANELLOADCHK();
    void PANELLOADCHKT();

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
    // The records of one listed card file; none when it cannot be read now;
    // throws RecordError when it is damaged.
    std::optional<CardFileRecords> readCardRecords(const ListedFile& f);
    // Makes the cards of a file's records and remembers how the file looks.
    void makeCards(const CardFileRecords& read);
    void makeCardsOf(const QString& fileName, const QVector<PosterRecord>& records);
    // readCardRecords then makeCards.
    void takeCardFile(const ListedFile& f);
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
    // A settings file's record; none (and the user told) when it is damaged.
    template <typename Read>
    auto readSettings(const QString& path, Read read) -> decltype(read(path));

    WallDocument& st;

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
