#include "cards/cardboard.h"

#include "cards/cardwidget.h"
#include "cards/textcutting.h"
#include "cards/textplacing.h"
#include "platform/beep.h"
#include "platform/fonts.h"
#include "storage/refspace.h"
#include "storage/stagefilter.h"

#include <QApplication>

namespace {

// The hidden memo that counts a card's lines is as wide as the wall and
// uses the wall's font at its default size.
constexpr int kMemoPointSize = 9;

// The smallest card the size commands leave.
constexpr int kNarrowest = 18;

} // namespace

CardBoard::CardBoard(WallDocument& doc, bool& busy, int& pressState, QWidget* wallArea)
    : QObject(wallArea), st(doc), busy_(busy), pressState_(pressState), wallArea_(wallArea) {
    connect(&st, &WallDocument::cardAdded, this, &CardBoard::added);
    connect(&st, &WallDocument::cardChanged, this, &CardBoard::changed);
    connect(&st, &WallDocument::cardRemoved, this, &CardBoard::removed);
    connect(&st, &WallDocument::cardsCleared, this, &CardBoard::cleared);
    connect(&st, &WallDocument::stageChanged, this, &CardBoard::ALLTEIJI);
    connect(&st, &WallDocument::readingStarted, this, &CardBoard::readingStarted);
    connect(&st, &WallDocument::readingFinished, this, &CardBoard::readingFinished);
    connect(&st, &WallDocument::picturesWanted, this, &CardBoard::prefetch);
}

CardBoard::~CardBoard() = default;

QRect CardBoard::onScreen(const QRect& onWall) const {
    return QRect(wallArea_->mapToGlobal(onWall.topLeft()), onWall.size());
}

int CardBoard::lineCount(const QString& text) const {
    return countMemoLines(text, st.NOWX, cardFont(kMemoPointSize));
}

void CardBoard::readingStarted(qsizetype cardsToMake) {
    QWidget* area = wallArea_;
    if (cardsToMake >= kHiddenReadingFrom && area->isVisible() && !area->isWindow()) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && area->isAncestorOf(focus))
            focus_ = focus;
        hidden_ = true;
        area->hide();
    }
}

void CardBoard::readingFinished() {
    if (!std::exchange(hidden_, false))
        return;
    wallArea_->show();
    if (focus_ && focus_->isVisible())
        focus_->setFocus();
}

void CardBoard::prefetch(const QVector<CardEntry>& cards) {
    QVector<CardPictures::Wanted> wanted;
    for (const CardEntry& e : cards)
        if (!e.POST.isEmpty())
            wanted.append({e.POST, e.rect.size()});
    pictures_.prefetch(wanted, st.KIJUNDIR, st.KIJUNDIRBAK, wallArea_->devicePixelRatioF());
}

void CardBoard::showPicture(int n, QSize size) {
    BBs[n]->setPicture(pictures_.load(st.card(n).POST, st.KIJUNDIR, st.KIJUNDIRBAK, size,
                                      wallArea_->devicePixelRatioF()));
}

void CardBoard::layOut(int n, const QString& filteredText, bool firstMade) {
    const CardEntry& e = st.card(n);
    CardWidget* c = BBs[n];
    const int lines = lineCount(filteredText);
    const QString shown =
        firstMade ? e.KSU + filteredText : STANA(e.KSU + filteredText, st.ST1, st.ST2);
    const TextPieces pieces = cutCardText(shown);
    c->setPieces(pieces.piece, placeCardText(pieces, e.rect.size(), lines, !e.POST.isEmpty(),
                                             st.NOWY, firstMade));
}

void CardBoard::added(int n) {
    const CardEntry& e = st.card(n);
    auto* c = new CardWidget(wallArea_);
    emit cardCreated(c);
    c->setGeometry(e.rect);
    c->setToolTip(STANA(e.S2, st.ST1, st.ST2));
    c->setCardColourCode(e.colour);
    c->setElliptic(e.elliptic());
    BBs.insert(n, c);
    // A card put back into the stack lies under the cards above it.
    if (n + 1 < BBs.size())
        c->stackUnder(BBs[n + 1]);
    c->setPictureRect(QRect(2, 2, e.rect.width() - 4, e.rect.height() - 4));
    showPicture(n, e.rect.size());
    c->setTextColourCode(e.textColour);
    layOut(n, STANA(e.TT, st.ST1, st.ST2), true);
    c->show();
}

void CardBoard::rebuild(int n) {
    const CardEntry& e = st.card(n);
    CardWidget* c = BBs[n];
    c->setCollapsed(false);
    c->setGeometry(e.rect);
    c->setToolTip(STANA(e.S2, st.ST1, st.ST2));
    c->setCardColourCode(e.colour);
    c->setTextColourCode(e.textColour);
    // A rebuilt rectangle loses an ellipse it had before.
    c->setElliptic(e.elliptic());
    const int inset = scaleHalfEven(2, st.NOWY, ZETTAIY);
    c->setPictureRect(QRect(inset, inset, e.rect.width() - 4, e.rect.height() - 4));
    showPicture(n, e.rect.size());
    layOut(n, STANA(e.TT, st.ST1, st.ST2), false);
}

void CardBoard::changed(int n, CardChange what) {
    if (n < 0 || n >= count())
        return;
    const CardEntry& e = st.card(n);
    CardWidget* c = BBs[n];
    switch (what) {
    case CardChange::Rebuilt:
        rebuild(n);
        break;
    case CardChange::Geometry:
        c->setGeometry(e.rect);
        break;
    case CardChange::Colour:
        c->setCardColourCode(e.colour);
        break;
    case CardChange::TextColour:
        c->setTextColourCode(e.textColour);
        break;
    case CardChange::Shape:
        c->setElliptic(e.elliptic());
        break;
    case CardChange::Texts:
        c->setToolTip(STANA(e.S2, st.ST1, st.ST2));
        break;
    case CardChange::Mark:
        HOSHI(n, e.KSU + e.TT);
        break;
    case CardChange::Picture:
        showPicture(n, c->size());
        break;
    case CardChange::CheckOff:
        c->setGeometry(e.rect);
        c->setCollapsed(e.checkOff == CheckOff::Collapsed);
        break;
    case CardChange::Other:
        break;
    }
}

void CardBoard::CardSize() {
    const int n = st.PBAN;
    if (n < 0 || n >= count() || !st.has(n))
        return;
    pressState_ = 0;
    QRect r = st.card(n).rect;
    if (r.width() < kNarrowest) {
        zavikBeep();
        r.setWidth(WallDocument::kMinWidth);
    }
    if (r.height() < WallDocument::kMinHeight) {
        zavikBeep();
        r.setHeight(WallDocument::kMinHeight);
    }
    st.setRect(n, r);
    relayout(n);
}

void CardBoard::relayout(int n) {
    if (n < 0 || n >= count() || !st.has(n))
        return;
    CardWidget* c = BBs[n];
    const auto& captions = c->captions();
    const int lines =
        qMax(lineCount(captions[0]), qMax(lineCount(captions[2]), lineCount(captions[5])));
    TextPieces pieces;
    pieces.piece = captions;
    const bool pictured = !st.card(n).POST.isEmpty();
    c->setPieces(captions, placeCardText(pieces, c->size(), lines, pictured, st.NOWY, false));
    const int inset = scaleHalfEven(2, st.NOWY, ZETTAIY);
    c->setPictureRect(QRect(2, inset, c->width() - 4, c->height() - 4));
    // A card grown past its picture has it read again at the new size.
    const QSize picture = c->picture().size();
    const QSize shown = inDevicePixels(c->size(), wallArea_->devicePixelRatioF());
    if (pictured && (shown.width() > picture.width() || shown.height() > picture.height()))
        showPicture(n, c->size());
}

void CardBoard::ALLTEIJI() {
    busy_ = true;
    for (int n = 0; n < count() && n < st.count(); ++n) {
        const CardEntry& e = st.card(n);
        CardWidget* c = BBs[n];
        c->setToolTip(STANA(e.S2, st.ST1, st.ST2));
        const QString text = STANA(e.TT, st.ST1, st.ST2);
        const TextPieces pieces = cutCardText(e.KSU + text);
        c->setPieces(pieces.piece, placeCardText(pieces, c->size(), lineCount(text),
                                                 !e.POST.isEmpty(), st.NOWY, false));
    }
    busy_ = false;
}

void CardBoard::HOSHI(int n, const QString& text) {
    CardWidget* c = BBs[n];
    std::array<QString, 6> captions = c->captions();
    PiecePlacement placement = c->placement();
    captions[0] = text;
    if (c->width() < kNarrowest) {
        QRect r = st.card(n).rect;
        r.setWidth(WallDocument::kMinWidth);
        st.setRect(n, r);
    }
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

void CardBoard::HENKOU(int n, int lines) {
    if (n < 0 || n >= count() || !st.has(n))
        return;
    const CardEntry& e = st.card(n);
    CardWidget* c = BBs[n];
    const TextPieces pieces = cutCardText(e.KSU + STANA(e.TT, st.ST1, st.ST2));
    c->setPieces(pieces.piece,
                 placeCardText(pieces, c->size(), lines, !e.POST.isEmpty(), st.NOWY, false));
}

void CardBoard::retire(CardWidget* c) {
    // A click on a card can clear the wall it lies on (a link to another
    // wall): the card is still inside its own mouse handler then, so it goes
    // once the event is done, not at once.
    c->hide();
    c->disconnect();
    c->deleteLater();
}

void CardBoard::removed(int n) {
    if (n < 0 || n >= count())
        return;
    retire(BBs.takeAt(n));
}

void CardBoard::cleared() {
    for (CardWidget* c : BBs)
        retire(c);
    BBs.clear();
}
