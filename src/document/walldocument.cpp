#include "document/walldocument.h"

#include "document/cardstep.h"
#include "document/changedetection.h"
#include "document/undohistory.h"
#include "document/wallloader.h"
#include "document/wallsaver.h"
#include "storage/refspace.h"
#include "storage/timestamp.h"
#include "storage/wallfiles.h"

#include <QFile>
#include <QFileInfo>

WallDocument::WallDocument(QObject* parent)
    : QObject(parent), saver_(std::make_unique<WallSaver>(*this)),
      loader_(std::make_unique<WallLoader>(*this)), changes_(new ChangeDetection(*loader_, this)),
      history_(new UndoHistory(this)) {}

WallDocument::~WallDocument() = default;

int WallDocument::lastIndexOfFile(const QString& name) const {
    if (byName_) {
        const int i = byName_->value(name, -1);
        if (i < 0 || (i < count() && cards_[i].FNAME == name))
            return i;
    }
    for (int i = count() - 1; i >= 0; --i)
        if (cards_[i].FNAME == name)
            return i;
    return -1;
}

int WallDocument::indexOfId(quint64 id) const {
    for (int i = 0; i < count(); ++i)
        if (cards_[i].id == id)
            return i;
    return -1;
}

void WallDocument::aboutToChange(int n) {
    if (recording_)
        recording_->touchCard(n);
}

void WallDocument::aboutToWrite(const QString& fileName) {
    if (recording_)
        recording_->touchFile(fileName);
}

WallDocument::UserStep::UserStep(WallDocument& doc, const QString& name)
    : doc_(doc), outermost_(!doc.recording_) {
    if (outermost_)
        doc_.recording_ = std::make_unique<CardStep>(doc_, name);
}

WallDocument::UserStep::~UserStep() {
    if (!outermost_)
        return;
    std::unique_ptr<CardStep> step = std::move(doc_.recording_);
    if (step->finish())
        doc_.history_->push(std::move(step));
}

QString WallDocument::newCardFileName(const QString& stamp) const {
    auto taken = [this](const QString& name) {
        return lastIndexOfFile(name) >= 0 || QFileInfo::exists(KIJUNDIR + name);
    };
    QString name = stamp + QStringLiteral(".txt");
    for (int n = 2; taken(name); ++n)
        name = stamp + QStringLiteral("_%1.txt").arg(n);
    return name;
}

void WallDocument::keepOnWall(CardEntry& e) const {
    QRect& r = e.rect;
    if (r.x() > ZETTAIX0 || r.x() + r.width() < 0)
        r.moveLeft(0);
    if (r.y() > ZETTAIY0 || r.y() + r.height() < 0)
        r.moveTop(0);
}

WallDocument::FolderReading::FolderReading(WallDocument& doc, qsizetype cardsToMake) : doc_(doc) {
    doc_.byName_.emplace();
    doc_.indexNames();
    emit doc_.readingStarted(cardsToMake);
}

WallDocument::FolderReading::~FolderReading() {
    doc_.byName_.reset();
    emit doc_.readingFinished();
}

void WallDocument::indexNames() {
    byName_->clear();
    for (int i = 0; i < count(); ++i)
        byName_->insert(cards_[i].FNAME, i);
}

bool WallDocument::PanelMake(int K, CardEntry e) {
    if (KKFLG)
        return true;
    keepOnWall(e);
    if (!cards_.isEmpty() && !e.FNAME.isEmpty()) {
        const int same = lastIndexOfFile(e.FNAME);
        if (same >= 0) {
            PanelMake2(same, e);
            saver_->PANELSAVE(same, 1);
            return true;
        }
    }
    if (count() >= kMaxCards)
        return false;
    changes_->stop();

    const bool named = !e.FNAME.isEmpty();
    if (!named) {
        const QString stamp = makeTimestamp();
        e.FNAME = newCardFileName(stamp);
        e.FTIME = stamp;
    }
    e.newFile = !named;
    e.id = ++lastId_;
    // A check-off card stored as "1" comes up collapsed, one stored as "2"
    // whole; a new card is written at its full size first.
    const CheckOff state = checkOffMade(e.KAKUSU);
    e.checkOff = state == CheckOff::Collapsed ? CheckOff::Armed : state;
    cards_.append(e);
    PBAN = count() - 1;
    if (byName_)
        byName_->insert(e.FNAME, PBAN);
    emit cardAdded(PBAN);
    const int made = PBAN;
    if (recording_)
        recording_->cardMade(made);
    if (K == 1)
        saver_->PANELSAVE(made, 1);
    if (state == CheckOff::Collapsed)
        collapse(made, true);
    return true;
}

void WallDocument::PanelMake2(int n, CardEntry e) {
    if (!has(n))
        return;
    keepOnWall(e);
    // The disk signature stays: a rebuild does not say where the values came from.
    e.disk = cards_[n].disk;
    e.newFile = cards_[n].newFile;
    e.id = cards_[n].id;
    e.checkOff = checkOffRebuilt(e.KAKUSU);
    edit(n, CardChange::Rebuilt, [&](CardEntry& held) { held = e; });
}

void WallDocument::setRect(int n, const QRect& rect) {
    if (has(n) && cards_[n].rect != rect)
        edit(n, CardChange::Geometry, [&](CardEntry& e) { e.rect = rect; });
}

void WallDocument::setColour(int n, int code) {
    edit(n, CardChange::Colour, [&](CardEntry& e) { e.colour = code; });
}

void WallDocument::setTextColour(int n, int code) {
    edit(n, CardChange::TextColour, [&](CardEntry& e) { e.textColour = code; });
}

void WallDocument::setShape(int n, bool elliptic) {
    edit(n, CardChange::Shape, [&](CardEntry& e) { e.shape = elliptic ? 0 : 1; });
}

void WallDocument::setPicture(int n, const QString& name) {
    edit(n, CardChange::Picture, [&](CardEntry& e) { e.POST = name; });
}

void WallDocument::setMark(int n, const QString& mark) {
    edit(n, CardChange::Mark, [&](CardEntry& e) { e.KSU = mark; });
}

void WallDocument::setTexts(int n, const QString& mark, const QString& text, const QString& flash,
                            const QString& hint, const QString& link) {
    edit(n, CardChange::Texts, [&](CardEntry& e) {
        e.S2 = hint;
        e.NOTE = link;
        e.TT = text;
        e.KFLG = flash;
        e.KSU = mark;
    });
}

void WallDocument::setLink(int n, const QString& link) {
    edit(n, CardChange::Other, [&](CardEntry& e) { e.NOTE = link; });
}

void WallDocument::setStampSwitch(int n, int STP) {
    edit(n, CardChange::Other, [&](CardEntry& e) { e.STP = STP; });
}

void WallDocument::setCheckOff(int n, CheckOff state) {
    // The card keeps its look: only collapsing and expanding change it.
    if (has(n) && cards_[n].checkOff != state)
        edit(n, CardChange::Other, [&](CardEntry& e) { e.checkOff = state; });
}

void WallDocument::collapse(int n, bool asStored) {
    const bool unsaved = has(n) && cards_[n].unsaved;
    edit(n, CardChange::CheckOff, [](CardEntry& e) {
        e.checkOff = CheckOff::Collapsed;
        e.rect.setSize(QSize(20, 20));
    });
    if (asStored && has(n))
        cards_[n].unsaved = unsaved;
}

void WallDocument::expandToStoredSize(int n) {
    edit(n, CardChange::CheckOff, [this](CardEntry& e) {
        if (const auto stored = CARD(KIJUNDIR + e.FNAME))
            e.rect.setSize(
                QSize(toPixelsX(stored->width(), NOWX), toPixelsY(stored->height(), NOWY)));
        if (e.checkOff == CheckOff::Collapsed)
            e.checkOff = CheckOff::Armed;
    });
}

void WallDocument::setStage(int st1, int st2) {
    ST1 = st1;
    ST2 = st2;
    changes_->stop();
    emit stageChanged();
    changes_->start();
}

int WallDocument::PCOPY(int B, const QRect& rect, int DES) {
    if (!has(B))
        return -1;
    CardEntry copy = cards_[B];
    copy.rect = rect;
    copy.STP = DES;
    // No name: the copy is named by the time of its making, in a file of
    // its own; it comes up in the state its original would be stored in.
    copy.FNAME.clear();
    copy.FTIME.clear();
    copy.nameFromFile = false;
    copy.KAKUSU = storedCheckOff(copy.checkOff, copy.KAKUSU);
    copy.disk = {};
    if (!PanelMake(1, copy))
        return -1;
    return PBAN;
}

bool WallDocument::SAKUJO(int n) {
    if (!has(n))
        return false;
    const QString name = cards_[n].FNAME;
    const QString path = KIJUNDIR + name;
    const QFileInfo file(path);
    if (file.isFile()) {
        if (recording_)
            recording_->touchFile(name);
        QString error;
        const std::optional<TrashedFile> aside = putAside(path, asideFolder(), &error);
        if (!aside) {
            emit problems(QStringLiteral("カードを消せません"),
                          {error + QStringLiteral("カードはそのまま残しました。")});
            return false;
        }
        if (recording_)
            recording_->fileTrashed(name, *aside);
        loader_->noteWritten(name);
        emit filesChanged();
    }
    removeCard(n);
    return true;
}

QString WallDocument::asideFolder() const {
    return KIJUNDIRBAK + kAsideFolderName + QLatin1Char('/');
}

void WallDocument::removeCard(int n) {
    if (!has(n))
        return;
    aboutToChange(n);
    cards_.removeAt(n);
    if (byName_)
        indexNames();
    emit cardRemoved(n);
}

void WallDocument::restoreCard(int n, CardEntry e) {
    CardEntry& held = cards_[n];
    e.id = held.id;
    e.disk = held.disk;
    // What shows the card follows the one thing that changed, where only
    // one did; a card otherwise is rebuilt.
    auto onlyChanged = [&](auto field) {
        CardEntry probe = held;
        field(probe) = field(e);
        return sameCard(probe, e);
    };
    CardChange what = CardChange::Rebuilt;
    if (held.rect.size() == e.rect.size() &&
        onlyChanged([](CardEntry& c) -> QRect& { return c.rect; }))
        what = CardChange::Geometry;
    else if (onlyChanged([](CardEntry& c) -> int& { return c.colour; }))
        what = CardChange::Colour;
    else if (onlyChanged([](CardEntry& c) -> int& { return c.textColour; }))
        what = CardChange::TextColour;
    else if (onlyChanged([](CardEntry& c) -> int& { return c.shape; }))
        what = CardChange::Shape;
    else if (onlyChanged([](CardEntry& c) -> QString& { return c.KSU; }))
        what = CardChange::Mark;
    held = e;
    if (byName_)
        indexNames();
    emit cardChanged(n, what);
    if (what == CardChange::Rebuilt && e.checkOff == CheckOff::Collapsed)
        emit cardChanged(n, CardChange::CheckOff);
}

void WallDocument::insertCard(int n, const CardEntry& e) {
    cards_.insert(n, e);
    PBAN = n;
    if (byName_)
        indexNames();
    emit cardAdded(n);
    if (e.checkOff == CheckOff::Collapsed)
        emit cardChanged(n, CardChange::CheckOff);
}

void WallDocument::clear() {
    loader_->dropLooksUnderWay();
    history_->clear();
    cards_.clear();
    if (byName_)
        byName_->clear();
    PBAN = 0;
    emit cardsCleared();
}
