#include "cards/cardboard.h"

#include "cards/cardwidget.h"
#include "cards/textcutting.h"
#include "cards/textplacing.h"
#include "platform/beep.h"
#include "platform/fonts.h"
#include "storage/refspace.h"
#include "storage/stagefilter.h"
#include "storage/timestamp.h"
#include "storage/wallfiles.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// The hidden memo that counts a card's lines is as wide as the wall and
// uses the wall's font at its default size.
constexpr int kMemoPointSize = 9;

// The smallest card the size commands leave.
constexpr int kNarrowest = 18;

// The card table's entry for a card made from `p`.
CardEntry entryFrom(const CardProps& p) {
    CardEntry e;
    e.POST = p.S1;
    e.XS = p.X;
    e.YS = p.Y;
    e.XXS = p.XX;
    e.YYS = p.YY;
    e.P = p.P;
    e.PT = p.PT;
    e.STP = p.STP;
    e.R = p.R;
    e.S2 = p.S2;
    e.NOTE = p.S3;
    e.TT = p.T;
    e.FNAME = p.FN;
    e.nameFromFile = p.FNfromFile;
    e.FTIME = p.FT;
    e.KFLG = p.KF;
    e.KSU = p.KS;
    e.KAKUSU = p.KAKU;
    return e;
}

} // namespace

CardBoard::CardBoard(WallState& state, QWidget* wallArea) : st(state), wallArea_(wallArea) {}

CardBoard::~CardBoard() = default;

int CardBoard::lineCount(const QString& text) const {
    return countMemoLines(text, st.NOWX, cardFont(kMemoPointSize));
}

void CardBoard::keepOnWall(CardProps& p) const {
    if (p.X > st.ZETTAIX0 || p.X + p.XX < 0)
        p.X = 0;
    if (p.Y > st.ZETTAIY0 || p.Y + p.YY < 0)
        p.Y = 0;
}

CardBoard::FolderReading::FolderReading(CardBoard& board, qsizetype cardsToMake) : board_(board) {
    board_.byName_.emplace();
    board_.indexNames();
    QWidget* area = board_.wallArea_;
    if (cardsToMake >= kHiddenReadingFrom && area->isVisible() && !area->isWindow()) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && area->isAncestorOf(focus))
            focus_ = focus;
        hidden_ = true;
        area->hide();
    }
}

CardBoard::FolderReading::~FolderReading() {
    board_.byName_.reset();
    if (hidden_) {
        board_.wallArea_->show();
        if (focus_ && focus_->isVisible())
            focus_->setFocus();
    }
}

void CardBoard::indexNames() {
    byName_->clear();
    for (int i = 0; i < st.cards.size(); ++i)
        byName_->insert(st.cards[i].FNAME, i);
}

int CardBoard::lastIndexOfFile(const QString& name) const {
    if (byName_) {
        const int i = byName_->value(name, -1);
        if (i < 0 || (i < st.cards.size() && st.cards[i].FNAME == name))
            return i;
    }
    for (int i = int(st.cards.size()) - 1; i >= 0; --i)
        if (st.cards[i].FNAME == name)
            return i;
    return -1;
}

void CardBoard::setTags(int n, const CardProps& p) {
    CardWidget* c = BBs[n];
    c->panelTag = p.P * 1000 + n;
    c->pictureTag = p.R * 1000 + n;
    c->textTags.fill(p.PT * 1000 + n);
}

void CardBoard::layOut(int n, const CardProps& p, const QString& filteredText, bool firstMade) {
    CardWidget* c = BBs[n];
    const int lines = lineCount(filteredText);
    const QString shown =
        firstMade ? p.KS + filteredText : STANA(p.KS + filteredText, st.ST1, st.ST2);
    const TextPieces pieces = cutCardText(shown);
    c->setPieces(pieces.piece, placeCardText(pieces, QSize(p.XX, p.YY), lines, !p.S1.isEmpty(),
                                             st.NOWY, firstMade));
}

bool CardBoard::PanelMake(int K, CardProps p) {
    if (KKFLG)
        return true;
    keepOnWall(p);
    if (!st.cards.isEmpty() && !p.FN.isEmpty()) {
        const int same = lastIndexOfFile(p.FN);
        if (same >= 0) {
            PanelMake2(same, p);
            if (saveCard)
                saveCard(same);
            return true;
        }
    }
    if (count() >= kMaxCards)
        return false;
    if (stopChangeDetection)
        stopChangeDetection();

    const int n = count();
    const QString filteredText = STANA(p.T, st.ST1, st.ST2);
    auto* c = new CardWidget(wallArea_);
    if (cardCreated)
        cardCreated(c);
    c->setGeometry(p.X, p.Y, p.XX, p.YY);
    c->setToolTip(STANA(p.S2, st.ST1, st.ST2));
    c->setCardColourCode(p.P);
    c->setElliptic(p.R == 0);
    BBs.append(c);
    setTags(n, p);
    c->setPictureRect(QRect(2, 2, p.XX - 4, p.YY - 4));
    c->setPicture(pictures_.load(p.S1, st.KIJUNDIR, st.KIJUNDIRBAK, QSize(p.XX, p.YY)));
    c->setTextColourCode(p.PT);
    layOut(n, p, filteredText, true);
    c->show();

    st.PBANSU = count();
    st.PBAN = st.PBANSU - 1;
    const bool named = !p.FN.isEmpty();
    if (!named) {
        const QString stamp = makeTimestamp();
        p.FN = newCardFileName(stamp);
        p.FT = stamp;
    }
    st.cards.append(entryFrom(p));
    st.cards.last().newFile = !named;
    if (byName_)
        byName_->insert(p.FN, st.PBAN);
    if (K == 1 && saveCard)
        saveCard(st.PBAN);

    // A check-off card stored as "1" comes up collapsed; stored "2" full.
    CardEntry& made = st.cards[st.PBAN];
    if (p.KAKU == QLatin1String("1")) {
        collapse(st.PBAN);
    } else if (p.KAKU == QLatin1String("2")) {
        made.KAKUSU = QStringLiteral("1");
    }
    return true;
}

void CardBoard::prefetchPictures(const QVector<CardProps>& cards) {
    QVector<CardPictures::Wanted> wanted;
    for (const CardProps& p : cards)
        if (!p.S1.isEmpty())
            wanted.append({p.S1, QSize(p.XX, p.YY)});
    pictures_.prefetch(wanted, st.KIJUNDIR, st.KIJUNDIRBAK);
}

void CardBoard::PanelMake2(int n, CardProps p) {
    if (n < 0 || n >= count())
        return;
    keepOnWall(p);
    CardWidget* c = BBs[n];
    c->setCollapsed(false);
    c->setGeometry(p.X, p.Y, p.XX, p.YY);
    setTags(n, p);
    c->setToolTip(STANA(p.S2, st.ST1, st.ST2));
    c->setCardColourCode(p.P);
    c->setTextColourCode(p.PT);
    // A rebuilt rectangle loses an ellipse it had before.
    c->setElliptic(p.R == 0);
    const int inset = scaleHalfEven(2, st.NOWY, ZETTAIY);
    c->setPictureRect(QRect(inset, inset, p.XX - 4, p.YY - 4));
    c->setPicture(pictures_.load(p.S1, st.KIJUNDIR, st.KIJUNDIRBAK, QSize(p.XX, p.YY)));
    layOut(n, p, STANA(p.T, st.ST1, st.ST2), false);

    // The disk signature stays: a rebuild does not say where the values came from.
    const FileSignature disk = st.cards[n].disk;
    st.cards[n] = entryFrom(p);
    st.cards[n].disk = disk;
}

void CardBoard::CardSize() {
    const int n = st.PBAN;
    if (n < 0 || n >= count() || n >= st.cards.size())
        return;
    CardWidget* c = BBs[n];
    st.RFLG = 0;
    if (c->width() < kNarrowest) {
        zavikBeep();
        c->resize(CardBoard::kMinWidth, c->height());
    }
    if (c->height() < CardBoard::kMinHeight) {
        zavikBeep();
        c->resize(c->width(), CardBoard::kMinHeight);
    }
    relayout(n);
}

void CardBoard::relayout(int n) {
    if (n < 0 || n >= count() || n >= st.cards.size())
        return;
    CardWidget* c = BBs[n];
    const auto& captions = c->captions();
    const int lines =
        qMax(lineCount(captions[0]), qMax(lineCount(captions[2]), lineCount(captions[5])));
    TextPieces pieces;
    pieces.piece = captions;
    c->setPieces(captions, placeCardText(pieces, c->size(), lines, !st.cards[n].POST.isEmpty(),
                                         st.NOWY, false));
    const int inset = scaleHalfEven(2, st.NOWY, ZETTAIY);
    c->setPictureRect(QRect(2, inset, c->width() - 4, c->height() - 4));
    // A card grown past its picture has it read again at the new size.
    const QSize picture = c->picture().size();
    if (!st.cards[n].POST.isEmpty() &&
        (c->width() > picture.width() || c->height() > picture.height()))
        c->setPicture(pictures_.load(st.cards[n].POST, st.KIJUNDIR, st.KIJUNDIRBAK, c->size()));
}

void CardBoard::ALLTEIJI() {
    st.BUSY = true;
    if (stopChangeDetection)
        stopChangeDetection();
    for (int n = 0; n < count() && n < st.cards.size(); ++n) {
        const CardEntry& e = st.cards[n];
        CardWidget* c = BBs[n];
        c->setToolTip(STANA(e.S2, st.ST1, st.ST2));
        const QString text = STANA(e.TT, st.ST1, st.ST2);
        const TextPieces pieces = cutCardText(e.KSU + text);
        c->setPieces(pieces.piece, placeCardText(pieces, c->size(), lineCount(text),
                                                 !e.POST.isEmpty(), st.NOWY, false));
    }
    st.BUSY = false;
    if (startChangeDetection)
        startChangeDetection();
}

void CardBoard::HOSHI(const QString& text) {
    const int n = st.PBAN;
    if (n < 0 || n >= count())
        return;
    CardWidget* c = BBs[n];
    std::array<QString, 6> captions = c->captions();
    PiecePlacement placement = c->placement();
    captions[0] = text;
    if (c->width() < kNarrowest)
        c->resize(CardBoard::kMinWidth, c->height());
    std::array<int, 6> widths{};
    for (int i = 0; i < 6; ++i)
        widths[i] = pieceSize(cardFont(placement.pointSize[i]), captions[i]).width();
    const std::array<int, 6> lefts = placeRow(widths, c->width());
    for (int i = 0; i < 6; ++i) {
        placement.rect[i].moveLeft(lefts[i]);
        placement.rect[i].setWidth(widths[i]);
    }
    const QSize first = pieceSize(cardFont(placement.pointSize[0]), captions[0]);
    placement.rect[0].setHeight(first.height());
    c->setPieces(captions, placement);
    c->setPictureRect(QRect(2, c->pictureRect().top(), c->width() - 4, c->pictureRect().height()));
}

void CardBoard::HENKOU(int n, const QString& mark, const QString& text, const QString& flash,
                       const QString& hint, const QString& link, int lines) {
    if (n < 0 || n >= count() || n >= st.cards.size())
        return;
    CardWidget* c = BBs[n];
    CardEntry& e = st.cards[n];
    const TextPieces pieces = cutCardText(mark + STANA(text, st.ST1, st.ST2));
    c->setPieces(pieces.piece,
                 placeCardText(pieces, c->size(), lines, !e.POST.isEmpty(), st.NOWY, false));
    c->setToolTip(STANA(hint, st.ST1, st.ST2));
    e.S2 = hint;
    e.NOTE = link;
    e.TT = text;
    e.KFLG = flash;
    e.KSU = mark;
}

void CardBoard::setCardColour(int n, int code) {
    if (n < 0 || n >= count())
        return;
    CardWidget* c = BBs[n];
    c->panelTag = c->panelTag % 1000 + code * 1000;
    c->setCardColourCode(code);
}

void CardBoard::setTextColour(int n, int code) {
    if (n < 0 || n >= count())
        return;
    CardWidget* c = BBs[n];
    for (int& tag : c->textTags)
        tag = tag % 1000 + code * 1000;
    c->setTextColourCode(code);
}

void CardBoard::setShape(int n, bool elliptic) {
    if (n < 0 || n >= count())
        return;
    CardWidget* c = BBs[n];
    c->pictureTag = c->pictureTag % 1000 + (elliptic ? 0 : 1000);
    c->setElliptic(elliptic);
}

void CardBoard::setPictureName(int n, const QString& name) {
    if (n < 0 || n >= count() || n >= st.cards.size())
        return;
    st.cards[n].POST = name;
    BBs[n]->setPicture(pictures_.load(name, st.KIJUNDIR, st.KIJUNDIRBAK, BBs[n]->size()));
}

void CardBoard::expandToStoredSize(int n) {
    if (n < 0 || n >= count() || n >= st.cards.size())
        return;
    CardWidget* c = BBs[n];
    if (const auto stored = CARD(st.KIJUNDIR + st.cards[n].FNAME))
        c->resize(toPixelsX(stored->width(), st.NOWX), toPixelsY(stored->height(), st.NOWY));
    c->setCollapsed(false);
}

void CardBoard::collapse(int n) {
    if (n < 0 || n >= count() || n >= st.cards.size())
        return;
    st.cards[n].KAKUSU = QStringLiteral("2");
    BBs[n]->resize(20, 20);
    BBs[n]->setCollapsed(true);
}

QString CardBoard::newCardFileName(const QString& stamp) const {
    auto taken = [this](const QString& name) {
        return lastIndexOfFile(name) >= 0 || QFileInfo::exists(st.KIJUNDIR + name);
    };
    QString name = stamp + QStringLiteral(".txt");
    for (int n = 2; taken(name); ++n)
        name = stamp + QStringLiteral("_%1.txt").arg(n);
    return name;
}

int CardBoard::PCOPY(int B, int X, int Y, int XWidth, int YHeight, int DES) {
    if (B < 0 || B >= count() || B >= st.cards.size())
        return -1;
    const CardEntry& e = st.cards[B];
    const CardWidget* c = BBs[B];
    CardProps p;
    p.X = X;
    p.Y = Y;
    p.XX = XWidth;
    p.YY = YHeight;
    p.P = c->panelTag / 1000;
    p.PT = c->textTags[0] / 1000;
    p.STP = DES;
    p.R = c->pictureTag / 1000;
    p.S1 = e.POST;
    p.S2 = e.S2;
    p.S3 = e.NOTE;
    p.T = e.TT;
    // No name: the copy is named by the time of its making, in a file of
    // its own.
    p.KF = e.KFLG;
    p.KS = e.KSU;
    p.KAKU = e.KAKUSU;
    if (!PanelMake(1, p))
        return -1;
    return st.PBAN;
}

void CardBoard::SAKUJO(int n) {
    if (n < 0 || n >= count() || n >= st.cards.size())
        return;
    QFile::remove(st.KIJUNDIR + st.cards[n].FNAME);
    removeCard(n);
}

void CardBoard::retire(CardWidget* c) {
    // A click on a card can clear the wall it lies on (a link to another
    // wall): the card is still inside its own mouse handler then, so it goes
    // once the event is done, not at once.
    c->hide();
    c->disconnect();
    c->deleteLater();
}

void CardBoard::removeCard(int n) {
    if (n < 0 || n >= count())
        return;
    retire(BBs.takeAt(n));
    if (n < st.cards.size())
        st.cards.removeAt(n);
    if (byName_)
        indexNames();
    for (int i = n; i < count(); ++i) {
        CardWidget* c = BBs[i];
        c->panelTag = c->panelTag / 1000 * 1000 + i;
        c->pictureTag = c->pictureTag / 1000 * 1000 + i;
        for (int& t : c->textTags)
            t = t / 1000 * 1000 + i;
    }
    st.PBANSU = count();
}

void CardBoard::clear() {
    for (CardWidget* c : BBs)
        retire(c);
    BBs.clear();
    st.cards.clear();
    if (byName_)
        byName_->clear();
    st.PBAN = 0;
    st.PBANSU = 0;
}
