#include "document/cardstep.h"

#include "document/walldocument.h"
#include "document/wallloader.h"
#include "storage/atomicfile.h"
#include "storage/filereading.h"

#include <QDir>
#include <algorithm>

namespace {

bool sameBytes(const std::optional<KeptBytes>& a, const std::optional<KeptBytes>& b) {
    if (!a || !b)
        return !a && !b;
    const auto bytes = b->bytes();
    return bytes && *a == *bytes;
}

} // namespace

CardStep::CardStep(WallDocument& doc, const QString& name) : doc_(doc), name_(name) {}

CardStep::~CardStep() = default;

void CardStep::touchCard(int n) {
    if (!doc_.has(n))
        return;
    const quint64 id = doc_.card(n).id;
    if (touchesCard(id))
        return;
    cards_.push_back({id, doc_.card(n), std::nullopt, n, -1});
}

void CardStep::cardMade(int n) {
    if (doc_.has(n) && !touchesCard(doc_.card(n).id))
        cards_.push_back({doc_.card(n).id, std::nullopt, std::nullopt, -1, -1});
}

bool CardStep::readNow(const QString& name, std::optional<KeptBytes>* into) const {
    const FileRead read = readRegularFile(doc_.KIJUNDIR + name, kMaxWallFileBytes);
    if (read.problem == FileRead::Problem::Missing) {
        into->reset();
        return true;
    }
    if (read.problem != FileRead::Problem::None)
        return false;
    into->emplace(read.bytes);
    return true;
}

void CardStep::touchFile(const QString& name) {
    if (touchesFile(name))
        return;
    FilePart f;
    f.name = name;
    f.kept = readNow(name, &f.before);
    files_.push_back(std::move(f));
}

void CardStep::fileTrashed(const QString& name, const TrashedFile& where) {
    for (FilePart& f : files_)
        if (f.name == name)
            f.aside = where;
}

bool CardStep::finish() {
    for (CardPart& c : cards_) {
        c.afterIndex = doc_.indexOfId(c.id);
        if (c.afterIndex >= 0)
            c.after = doc_.card(c.afterIndex);
    }
    cards_.erase(std::remove_if(cards_.begin(), cards_.end(),
                                [](const CardPart& c) {
                                    if (!c.before || !c.after)
                                        return !c.before && !c.after;
                                    return sameCard(*c.before, *c.after);
                                }),
                 cards_.end());
    for (FilePart& f : files_)
        if (!readNow(f.name, &f.after))
            f.kept = false;
    files_.erase(
        std::remove_if(files_.begin(), files_.end(),
                       [](const FilePart& f) { return f.kept && sameBytes(f.before, f.after); }),
        files_.end());
    return !cards_.empty() || !files_.empty();
}

bool CardStep::touchesCard(quint64 id) const {
    return std::any_of(cards_.begin(), cards_.end(),
                       [id](const CardPart& c) { return c.id == id; });
}

bool CardStep::touchesFile(const QString& name) const {
    return std::any_of(files_.begin(), files_.end(),
                       [&name](const FilePart& f) { return f.name == name; });
}

qint64 CardStep::bytesKept() const {
    qint64 kept = 0;
    for (const FilePart& f : files_)
        kept += (f.before ? f.before->size() : 0) + (f.after ? f.after->size() : 0);
    return kept;
}

bool CardStep::checkFrom(bool back, QString* why) const {
    for (const FilePart& f : files_) {
        const QString path = QDir::toNativeSeparators(doc_.KIJUNDIR + f.name);
        std::optional<KeptBytes> now;
        if (!f.kept) {
            *why = QStringLiteral("「%1」は読めなかったので、元の形を残せていません。").arg(path);
            return false;
        }
        if (!readNow(f.name, &now) || !sameBytes(back ? f.after : f.before, now)) {
            *why = QStringLiteral("「%1」はそのあとで書きかえられています。ほかのプログラムの変更を"
                                  "消さないよう、何も変えませんでした。")
                       .arg(path);
            return false;
        }
    }
    for (const CardPart& c : cards_) {
        const auto& from = back ? c.after : c.before;
        if (from && doc_.indexOfId(c.id) < 0) {
            *why = QStringLiteral("カード「%1」はもうかべにありません。").arg(from->FNAME);
            return false;
        }
    }
    return true;
}

bool CardStep::moveFile(FilePart& f, bool back, QString* why) {
    const auto& from = back ? f.after : f.before;
    const auto& to = back ? f.before : f.after;
    const QString path = doc_.KIJUNDIR + f.name;
    QString error;
    if (!to) {
        // The file goes as a deletion goes: into the trash, never for good.
        f.aside = putAside(path, doc_.asideFolder(), &error);
        if (f.aside)
            return true;
        *why = error;
        return false;
    }
    const auto bytes = to->bytes();
    if (!bytes) {
        *why = QStringLiteral("「%1」の元の形を一時ファイルから読めません。")
                   .arg(QDir::toNativeSeparators(path));
        return false;
    }
    bool written = false;
    if (!from) {
        // Back from the trash, as it was; from what was kept where the trash
        // lost it.
        const std::optional<TrashedFile> aside = std::exchange(f.aside, std::nullopt);
        if (aside && bringBack(*aside, path, &error)) {
            const FileRead read = readRegularFile(path, kMaxWallFileBytes);
            written = (read.problem == FileRead::Problem::None && read.bytes == *bytes) ||
                      writeFileAtomically(path, *bytes, &error);
        } else {
            bool taken = false;
            written = writeNewFileAtomically(path, *bytes, &taken, &error);
            if (taken)
                error = QStringLiteral("同じ名前のファイルがもうあります。");
        }
    } else {
        written = writeFileAtomically(path, *bytes, &error);
    }
    if (!written)
        *why = QStringLiteral("「%1」：%2").arg(QDir::toNativeSeparators(path), error);
    return written;
}

void CardStep::moveCards(bool back) {
    auto from = [back](const CardPart& c) -> const std::optional<CardEntry>& {
        return back ? c.after : c.before;
    };
    auto to = [back](const CardPart& c) -> const std::optional<CardEntry>& {
        return back ? c.before : c.after;
    };
    int current = -1;
    for (const CardPart& c : cards_) {
        const int n = doc_.indexOfId(c.id);
        if (from(c) && !to(c) && n >= 0) {
            doc_.removeCard(n);
        } else if (from(c) && to(c) && n >= 0) {
            doc_.restoreCard(n, *to(c));
            current = n;
        }
    }
    // Cards coming back take their places in the stack, lowest first.
    std::vector<const CardPart*> coming;
    for (const CardPart& c : cards_)
        if (!from(c) && to(c))
            coming.push_back(&c);
    std::sort(coming.begin(), coming.end(), [back](const CardPart* a, const CardPart* b) {
        return (back ? a->beforeIndex : a->afterIndex) < (back ? b->beforeIndex : b->afterIndex);
    });
    for (const CardPart* c : coming) {
        const int at = std::clamp(back ? c->beforeIndex : c->afterIndex, 0, doc_.count());
        doc_.insertCard(at, *to(*c));
        current = at;
    }
    // The card the step concerns is the current one; with none left, the
    // current card stays a card of the wall.
    if (doc_.has(current))
        doc_.PBAN = current;
    if (!doc_.has(doc_.PBAN))
        doc_.PBAN = std::max(0, doc_.count() - 1);
}

bool CardStep::apply(bool back, QString* why) {
    if (!checkFrom(back, why))
        return false;
    // The files first: a file that cannot be written leaves every card and
    // every file of the step as it was.
    std::vector<FilePart*> moved;
    for (FilePart& f : files_) {
        if (!moveFile(f, back, why)) {
            for (auto m = moved.rbegin(); m != moved.rend(); ++m) {
                QString ignored;
                moveFile(**m, !back, &ignored);
            }
            for (FilePart* m : moved)
                doc_.loader().noteWritten(m->name);
            return false;
        }
        moved.push_back(&f);
    }
    moveCards(back);
    for (const FilePart& f : files_)
        doc_.loader().noteWritten(f.name);
    if (!files_.empty())
        emit doc_.filesChanged();
    return true;
}
