#include "document/wallloader.h"

#include "document/undohistory.h"
#include "document/walldocument.h"
#include "document/wallsaver.h"
#include "storage/pathforms.h"
#include "storage/recorderror.h"
#include "storage/refspace.h"
#include "storage/wallfiles.h"

#include <QDir>
#include <algorithm>

namespace {

const QString kNone = QStringLiteral("0000");
const QString kNil = QStringLiteral("NIL");

// What a card file holds, as a hash of its text; 0 when it cannot be read.
size_t textHash(const QString& path) {
    try {
        if (const auto text = readWallText(path))
            return wallTextHash(text->text);
    } catch (const RecordError&) {
    }
    return 0;
}

} // namespace

WallLoader::WallLoader(WallDocument& doc) : st(doc) {}

void WallLoader::KABELOAD() {
    WALLGLOAD();
    WEBLOAD();
    DIRLOAD();
}

void WallLoader::WALLGLOAD() {
    st.KABEIMAGEOLDTIME = kNone;
    const auto wall = lookAtSettings(st.KIJUNDIR + st.KABE3, *access_, parsePanelRecord);
    if (!wall.exists) {
        st.KABEIMAGEOLDTIME = kNil;
        st.KABEIMAGE.clear();
        emit st.backgroundCleared();
        return;
    }
    if (wall.error)
        reportDamaged({wall.error->message()});
    const auto& r = wall.record;
    if (!r)
        return;
    if (!r->KABEIMAGE.isEmpty())
        st.KABEIMAGE = r->KABEIMAGE;
    st.KABEIMAGEOLDTIME = r->KABEIMAGEOLDTIME;
    const QString picture = ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK);
    const bool exists =
        !st.KABEIMAGE.isEmpty() && access_->entry(picture) == FolderAccess::Entry::File;
    if (exists)
        emit st.backgroundShown(picture);
    emit st.wallCursorChanged(exists);
}

void WallLoader::WEBLOAD() {
    takeWebFile(lookAtSettings(st.KIJUNDIR + st.KABE2, *access_, parseUrlRecord));
}

void WallLoader::takeWebFile(const LookedSettings<UrlRecord>& web) {
    if (!web.exists) {
        emit st.webWindowHidden();
        return;
    }
    if (web.error)
        reportDamaged({web.error->message()});
    if (!web.record)
        return;
    // The reader has already kept the pane clear of the tool column.
    st.settings.web = *web.record;
    emit st.webWindowShown(web.record->page);
}

void WallLoader::DIRLOAD() {
    takeMaskFile(lookAtSettings(st.KIJUNDIR + st.KABE4, *access_, parseMaskRecord));
}

void WallLoader::takeMaskFile(const LookedSettings<MaskRecord>& files) {
    if (!files.exists) {
        emit st.fileWindowHidden();
        return;
    }
    if (files.error)
        reportDamaged({files.error->message()});
    if (!files.record)
        return;
    st.settings.files = *files.record;
    emit st.fileWindowShown();
}

CardEntry WallLoader::entryFromRecord(const PosterRecord& r, const QString& fileName) const {
    // Geometry no screen can show is taken as the farthest a card can be:
    // within ten reference spaces each way, and a negative size at the floor.
    auto within = [](int v, int space) { return std::clamp(v, -10 * space, 10 * space); };
    CardEntry e;
    static_cast<PosterRecord&>(e) = r;
    e.rect =
        QRect(toPixelsX(within(r.XS, ZETTAIX), st.NOWX), toPixelsY(within(r.YS, ZETTAIY), st.NOWY),
              r.XXS < 0 ? WallDocument::kMinWidth : toPixelsX(within(r.XXS, ZETTAIX), st.NOWX),
              r.YYS < 0 ? WallDocument::kMinHeight : toPixelsY(within(r.YYS, ZETTAIY), st.NOWY));
    e.colour = r.colourCode();
    e.textColour = r.textColourCode();
    e.shape = r.shapeCode();
    e.FNAME = fileName;
    e.nameFromFile = true;
    return e;
}

void WallLoader::markReadFromDisk(const QString& fileName, const FileSignature& sig, size_t text) {
    compared_[fileName] = sig;
    seen_[fileName] = text;
    const int n = st.lastIndexOfFile(fileName);
    if (n >= 0)
        st.entryForWriting(n).disk = sig;
}

void WallLoader::noteWritten(const QString& fileName) {
    dropLooksUnderWay();
    const QString path = st.KIJUNDIR + fileName;
    const FileSignature sig = signatureOf(path);
    listed_[fileName] = sig;
    if (fileName == reading_)
        readingWritten_ = true;
    markReadFromDisk(fileName, sig, textHash(path));
}

bool WallLoader::changedElsewhere(const CardEntry& e) const {
    const QString path = st.KIJUNDIR + e.FNAME;
    if (signatureOf(path) == e.disk)
        return false;
    const auto seen = seen_.constFind(e.FNAME);
    return seen == seen_.cend() || *seen != textHash(path);
}

std::optional<WallLoader::CardFileRecords> WallLoader::recordsOf(const ListedFile& f,
                                                                 const LookedFile& read) {
    if (read.readError)
        throw *read.readError;
    if (!read.text)
        return std::nullopt;
    // Every record is read before any card is made, so a damaged file makes
    // no card at all and is never written over.
    if (read.parseError)
        throw *read.parseError;
    return CardFileRecords{f, read.records, read.hash};
}

void WallLoader::makeCards(const CardFileRecords& read) {
    const QString& name = read.file.name;
    // A text file that holds no card (a list of names, notes) is read again
    // only when it changes.
    if (read.records.isEmpty())
        barren_[name] = read.file.signature;
    st.BAKNAME = name;
    // Making the cards of a file of several records writes the file back as
    // one card: what was written is then what the card's file looks like.
    reading_ = name;
    readingWritten_ = false;
    makeCardsOf(name, read.records);
    reading_.clear();
    if (!readingWritten_)
        markReadFromDisk(name, read.file.signature, read.text);
}

void WallLoader::ANAL(const QString& fileName, const QString& text) {
    if (text.contains(QLatin1Char('<')))
        makeCardsOf(fileName, parsePosterRecords(text));
}

void WallLoader::makeCardsOf(const QString& fileName, const QVector<PosterRecord>& records) {
    for (const PosterRecord& r : records) {
        if (!st.PanelMake(0, entryFromRecord(r, fileName))) {
            fullRefused_.insert(fileName);
            return;
        }
    }
}

void WallLoader::ANAL2(int index, const QString& fileName, const QString& text) {
    if (!text.contains(QLatin1Char('<')))
        return;
    const QVector<PosterRecord> records = parsePosterRecords(text);
    for (const PosterRecord& r : records)
        st.PanelMake2(index, entryFromRecord(r, fileName));
}

void WallLoader::REPANELLOAD(int index, const QString& fileName) {
    const QString path = st.KIJUNDIR + fileName;
    const FileSignature sig = signatureOf(path);
    try {
        const auto text = readWallText(path);
        if (!text)
            return;
        ANAL2(index, fileName, text->text);
        markReadFromDisk(fileName, sig, wallTextHash(text->text));
    } catch (RecordError& e) {
        e.setFile(path);
        reportDamaged({e.message()});
    }
}

void WallLoader::PANELLOAD() {
    dropLooksUnderWay();
    listed_.clear();
    compared_.clear();
    seen_.clear();
    damaged_.clear();
    barren_.clear();
    fullRefused_.clear();
    QStringList problems;
    const auto files = access_->list(st.KIJUNDIR, CardOrder::ByName);
    if (!files) {
        problems << QStringLiteral("フォルダ「%1」を読めません。").arg(st.KIJUNDIR);
    } else {
        // Every file is read first, so that the pictures of all the cards can
        // be read ahead together; the cards are then made in name order.
        QVector<CardFileRecords> read;
        const QVector<LookedFile> looked = readLookedFiles(st.KIJUNDIR, *files, *access_);
        for (qsizetype i = 0; i < files->size(); ++i) {
            const ListedFile& f = files->at(i);
            listed_[f.name] = f.signature;
            try {
                if (auto records = recordsOf(f, looked[i]))
                    read.append(std::move(*records));
            } catch (RecordError& e) {
                e.setFile(st.KIJUNDIR + f.name);
                damaged_[f.name] = f.signature;
                problems << e.message();
            }
        }
        QVector<CardEntry> cards;
        for (const CardFileRecords& r : read)
            for (const PosterRecord& record : r.records)
                cards.append(entryFromRecord(record, r.file.name));
        emit st.picturesWanted(cards);
        const WallDocument::FolderReading reading(st, cards.size());
        for (const CardFileRecords& r : read)
            makeCards(r);
    }
    reportDamaged(problems);
}

void WallLoader::reportDamaged(const QStringList& messages) {
    QStringList lines = messages;
    if (!fullRefused_.isEmpty())
        lines << QStringLiteral("このかべには%1枚までのカードしか表示できません。表示していないカー"
                                "ドファイル（%2個）はそのまま残っています。")
                     .arg(WallDocument::kMaxCards)
                     .arg(fullRefused_.size());
    if (!lines.isEmpty())
        emit st.problems(QStringLiteral("読めないファイルがあります"), lines);
}

LookRequest WallLoader::lookRequest() const {
    LookRequest r;
    r.folder = st.KIJUNDIR;
    r.root = st.KIJUNDIRBAK;
    r.wallIni = st.KABE3;
    r.htmlIni = st.KABE2;
    r.dirIni = st.KABE4;
    r.background = st.KABEIMAGE;
    // Copies of the tables cost nothing here until one of them changes.
    r.compared = compared_;
    r.damaged = damaged_;
    r.barren = barren_;
    r.onWall.reserve(st.count());
    for (const CardEntry& e : st.cards())
        r.onWall.append(e.FNAME);
    if (st.count() >= WallDocument::kMaxCards)
        r.refused = fullRefused_;
    r.generation = generation_;
    return r;
}

bool WallLoader::isCurrent(const FolderLook& look) const {
    return look.generation == generation_ && look.folder == st.KIJUNDIR;
}

bool WallLoader::takeLook(const FolderLook& look) {
    if (!isCurrent(look))
        return false;
    KOUSHIN(look);
    if (PANELLOADCHK(look))
        PANELLOADCHKT(look);
    return true;
}

void WallLoader::changeDetectionTick() {
    takeLook(lookAtFolder(lookRequest(), *access_));
}

void WallLoader::KOUSHIN() {
    KOUSHIN(lookAtFolder(lookRequest(), *access_, false));
}

void WallLoader::KOUSHIN(const FolderLook& look) {
    // Background. A file that cannot be read right now (being written by
    // another program) changes nothing; only a stored "0000" withdraws it.
    if (look.wall.exists) {
        if (const auto& r = look.wall.record) {
            if (!r->KABEIMAGE.isEmpty())
                st.KABEIMAGE = r->KABEIMAGE;
            const QString stamp = r->KABEIMAGEOLDTIME;
            const QString picture = ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK);
            const bool isFile = look.pictureIsFile && picture == look.picture;
            if (stamp != st.KABEIMAGEOLDTIME && isFile) {
                if (stamp == kNone) {
                    withdrawBackground(st);
                } else {
                    emit st.backgroundShown(picture);
                    st.KABEIMAGEOLDTIME = stamp;
                }
            }
        }
    } else if (st.KABEIMAGEOLDTIME != kNil) {
        withdrawBackground(st);
    }

    // File window and web window: reloaded when their stamps change.
    if (!look.files.exists)
        st.settings.files.DIROLDTIME = kNone;
    else if (!look.files.error && (look.files.record ? look.files.record->DIROLDTIME : kNone) !=
                                      st.settings.files.DIROLDTIME)
        takeMaskFile(look.files);
    if (!look.web.exists)
        st.settings.web.WEBOLDTIME = kNone;
    else if (!look.web.error &&
             (look.web.record ? look.web.record->WEBOLDTIME : kNone) != st.settings.web.WEBOLDTIME)
        takeWebFile(look.web);
}

bool WallLoader::PANELLOADCHK(const FolderLook& look) {
    // Most ticks find nothing new: the folder is looked up, not sorted, and
    // only the files to take are put into name order.
    if (!look.listing)
        return false; // a listing that failed says nothing about the cards
    const QVector<ListedFile>& files = *look.listing;
    listed_.clear();
    listed_.reserve(files.size());
    QSet<QString> onWall;
    onWall.reserve(st.count());
    for (const CardEntry& e : st.cards())
        onWall.insert(e.FNAME);
    QVector<ListedFile> fresh;
    for (const ListedFile& f : files) {
        listed_[f.name] = f.signature;
        if (onWall.contains(f.name))
            continue;
        if (fullRefused_.contains(f.name) && st.count() >= WallDocument::kMaxCards)
            continue;
        const auto damaged = damaged_.constFind(f.name);
        if (damaged != damaged_.cend() && *damaged == f.signature)
            continue; // already reported; looked at again when it changes
        const auto barren = barren_.constFind(f.name);
        if (barren != barren_.cend() && *barren == f.signature)
            continue;
        fresh.append(f);
    }
    sortByCardName(fresh);
    QStringList problems;
    for (const ListedFile& f : fresh) {
        const auto read = look.read.constFind(f.name);
        if (read == look.read.cend())
            continue; // not read by this look: the next one reads it
        const QString path = st.KIJUNDIR + f.name;
        // Another program made this file: no step puts one of ours there.
        st.history().dropFile(f.name);
        try {
            if (const auto records = recordsOf(f, *read))
                makeCards(*records);
            damaged_.remove(f.name);
        } catch (RecordError& e) {
            e.setFile(path);
            damaged_[f.name] = f.signature;
            problems << e.message();
        }
    }
    // A card whose file is gone leaves the wall. Its file is never deleted
    // here: a listing that misses files must not cost the user any card.
    QStringList gone;
    for (int n = 0; n < st.count() && n < st.count();) {
        if (!listed_.contains(st.card(n).FNAME)) {
            if (st.card(n).unsaved)
                gone << QDir::toNativeSeparators(st.KIJUNDIR + st.card(n).FNAME);
            forgetSteps(n);
            st.removeCard(n);
        } else
            ++n;
    }
    if (!problems.isEmpty())
        reportDamaged(problems);
    if (!gone.isEmpty())
        emit st.problems(QStringLiteral("ほかのコンピューターかプログラムがカードのファイルを"
                                        "消しました。ここでの変更は保存されていません："),
                         gone);
    return true;
}

void WallLoader::forgetSteps(int n) {
    // Another program changed the card: taking back a step of ours on it
    // would write over that change.
    st.history().dropCard(st.card(n).id);
    st.history().dropFile(st.card(n).FNAME);
}

void WallLoader::PANELLOADCHKT(const FolderLook& look) {
    QStringList replaced;
    for (int n = 0; n < st.count() && n < st.count(); ++n) {
        const QString name = st.card(n).FNAME;
        const FileSignature sig = listed_.value(name);
        // A file that looks as it did when last compared holds the same stamps.
        if (!sig.exists() || compared_.value(name) == sig)
            continue;
        // A card whose file cannot be read now keeps what it shows, and one
        // this look did not read is read by the next.
        const auto read = look.read.constFind(name);
        if (read == look.read.cend() || read->readError)
            continue;
        compared_[name] = sig;
        if (!read->text)
            continue;
        if (seen_.value(name) == read->hash)
            st.entryForWriting(n).disk = sig; // written again as it was
        else if (!read->parseError)
            takeChangedCard(n, read->records, sig, read->hash, replaced);
    }
    if (!replaced.isEmpty())
        emit st.problems(QStringLiteral("ほかのコンピューターかプログラムがカードを保存したので、"
                                        "そちらにかえました。ここでの変更は保存されていません："),
                         replaced);
}

void WallLoader::takeChangedCard(int n, const QVector<PosterRecord>& records,
                                 const FileSignature& sig, size_t text, QStringList& replaced) {
    const QString name = st.card(n).FNAME;
    for (const PosterRecord& r : records) {
        const CardEntry& e = st.card(n);
        const bool restamped = r.FTIME != e.FTIME;
        // A file of several records is made one card when it is read; only
        // a new stamp picks out a record of such a file.
        if (!restamped && (e.unsaved || records.size() != 1))
            continue;
        if (e.unsaved)
            replaced << QDir::toNativeSeparators(st.KIJUNDIR + name);
        forgetSteps(n);
        st.PanelMake2(n, entryFromRecord(r, name));
        st.entryForWriting(n).disk = sig;
        seen_[name] = text;
    }
}
