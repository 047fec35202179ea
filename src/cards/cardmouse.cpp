#include "cards/cardmouse.h"

#include "cards/cardboard.h"
#include "cards/cardwidget.h"
#include "document/walldocument.h"
#include "platform/touchhold.h"

#include <QTimer>
#include <QWidget>

namespace {

// Pointer jumps larger than this between two move events are not applied.
constexpr int kJump = 10;
constexpr int kMinSide = 16;
constexpr int kNarrowest = 18;
constexpr double kTouchGripMm = 8.0;

// The width of the band along an edge of `side` pixels that resizes rather
// than drags: a finger's is 8 mm, yet at most a quarter of the side, so that
// a small card can still be dragged by its middle.
int grip(int mouseGrip, bool byTouch, int touchGrip, int side) {
    return byTouch ? qMax(mouseGrip, qMin(touchGrip, side / 4)) : mouseGrip;
}

} // namespace

CardMouse::CardMouse(WallDocument& doc, const bool& busy, bool& oneShotArmed, int& pressState,
                     CardBoard& board, QWidget* wallWindow)
    : QObject(wallWindow), doc_(doc), busy_(busy), oneShotArmed_(oneShotArmed), RFLG(pressState),
      board_(board), wallWindow_(wallWindow) {
    Timer1 = new QTimer(wallWindow);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] { RFLG = 0; });
}

void CardMouse::press(CardWidget* card, QPoint at, Qt::MouseButton button, bool byTouch) {
    const int n = board_.indexOf(card);
    if (n < 0)
        return;
    IMGPX = at.x();
    IMGPY = at.y();
    doc_.PBAN = n;
    OLDH = card->y() + card->height();
    OLDW = card->x() + card->width();
    card->raise();
    if (!Timer1->isActive())
        Timer1->start();
    if (button == Qt::RightButton) {
        RFLG = 1;
        IMGPFLG = false;
        return;
    }
    RFLG = -1;
    IMGPFLG = true;
    // An ellipse gives its edges a wider grip than a rectangle.
    const int m = doc_.card(n).elliptic() ? 8 : 3;
    const QRect picture = card->pictureRect();
    const int touch = byTouch ? pixelsForMillimetres(card, kTouchGripMm) : 0;
    const int mx = grip(m, byTouch, touch, picture.width());
    const int my = grip(m, byTouch, touch, picture.height());
    MON1 = MON1 || at.x() > picture.width() - mx;
    MON2 = MON2 || at.y() > picture.height() - my;
    MON3 = MON3 || at.x() < mx;
    MON4 = MON4 || at.y() < my;
}

void CardMouse::move(CardWidget* card, QPoint at) {
    if (doc_.PBAN >= board_.count() || board_.card(doc_.PBAN) != card)
        return;
    const int x = at.x();
    const int y = at.y();
    if (qAbs(OLDX - x) > kJump || qAbs(OLDY - y) > kJump || RFLG != 0) {
        OLDX = x;
        OLDY = y;
        return;
    }
    OLDX = x;
    OLDY = y;
    if (!IMGPFLG)
        return;
    if (!MON1 && !MON2 && !MON3 && !MON4) {
        card->move(card->x() + x - IMGPX, card->y() + y - IMGPY);
        return;
    }
    RFLG = 0;
    QRect g = card->geometry();
    if (MON1) {
        g.setWidth(x + 4 < kNarrowest ? kMinSide : x + 4);
    }
    if (MON2) {
        g.setHeight(y + 4 < kMinSide ? kMinSide : y + 4);
    }
    if (MON3) {
        const int left = g.left() + x - IMGPX - 2;
        g = QRect(left, g.top(), qMax(kMinSide, OLDW - left), g.height());
    }
    if (MON4) {
        const int top = g.top() + y - IMGPY - 2;
        g = QRect(g.left(), top, g.width(), qMax(kMinSide, OLDH - top));
    }
    card->setGeometry(g);
    board_.relayout(doc_.PBAN);
}

void CardMouse::release(CardWidget* card, QPoint at) {
    const int n = board_.indexOf(card);
    if (n < 0)
        return;
    // However far the card was dragged or resized, the wall document takes
    // it once, where it was let go: one step to take back.
    {
        const bool resized = MON1 || MON2 || MON3 || MON4;
        const WallDocument::UserStep step(doc_, resized ? QStringLiteral("カードの大きさ")
                                                        : QStringLiteral("カードの移動"));
        doc_.setRect(n, card->geometry());
    }
    if (busy_)
        return;
    IMGPFLG = false;
    CARDX = at.x();
    CARDY = at.y();
    CARDW = card->width();
    CARDH = card->height();
    MON1 = MON2 = MON3 = MON4 = false;
    const QPoint corner = card->mapToGlobal(QPoint(0, 0));
    PGKX = corner.x();
    PGKY = corner.y();
    if (RFLG == 1 || oneShotArmed_) {
        oneShotArmed_ = false;
        emit oneShotDisarmed();
        emit penOff();
        emit cardMenuRequested(corner + at + QPoint(-186, 10));
    } else if (RFLG == -1) {
        emit penOff();
        emit runCard(doc_.PBAN);
    }
}
