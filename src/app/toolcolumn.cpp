#include "app/toolcolumn.h"

#include "app/toolcolumnlayout.h"
#include "app/toolglyphs.h"
#include "app/wallmodes.h"
#include "document/walldocument.h"
#include "model/wallgeometry.h"
#include "platform/beep.h"
#include "platform/touchhold.h"
#include "storage/refspace.h"

#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

namespace {

// The strip and the capture corner keep these sizes on every wall.
constexpr int kStripWidth = 10;  // SpeedButton26
constexpr int kCaptureSide = 40; // SpeedButton27
constexpr int kTouchShowMs = 5000;

} // namespace

ToolColumn::ToolColumn(WallDocument& doc, WallModes& modes, QWidget* wallArea)
    : QObject(wallArea), st(doc), modes_(modes), wallArea_(wallArea) {
    SpeedButton1 = makeToolButton("SpeedButton1", QStringLiteral("終了・メニュー"));
    SpeedButton5 = makeToolButton("SpeedButton5", QStringLiteral("フォルダを開く"));
    SpeedButton5->setToolButtonStyle(Qt::ToolButtonTextOnly);
    SpeedButton7 = makeToolButton("SpeedButton7", QStringLiteral("左もどる/右HOME"));
    SpeedButton7->hide();
    SpeedButton16 = makeToolButton("SpeedButton16", QStringLiteral("数字ノート"));
    SpeedButton25 =
        makeToolButton("SpeedButton25", QStringLiteral("左：プログラミング　／右：クリックで新規"));
    SpeedButton14 = makeToolButton("SpeedButton14", QStringLiteral("かくす"));
    SpeedButton8 =
        makeToolButton("SpeedButton8", QStringLiteral("1回だけ、左クリックを右クリックとする"));
    SpeedButton8->setCheckable(true);
    SpeedButton6 = makeToolButton("SpeedButton6", QStringLiteral("背景の設定"));
    SpeedButton4 = makeToolButton("SpeedButton4", QStringLiteral("カードを作る"));
    SpeedButton19 = makeToolButton("SpeedButton19", QStringLiteral("表示カードを作る"));
    SpeedButton12 = makeToolButton("SpeedButton12", QStringLiteral("再表示"));
    SpeedButton28 = makeToolButton("SpeedButton28", QStringLiteral("元に戻す"));
    SpeedButton2 = makeToolButton("SpeedButton2", QStringLiteral("背景に線画"));
    SpeedButton10 = makeToolButton("SpeedButton10", QStringLiteral("5秒後に全画面に線画"));
    SpeedButton3 = makeToolButton("SpeedButton3", QStringLiteral("背景の線画を消す"));
    SpeedButton23 = makeToolButton("SpeedButton23", QStringLiteral("タイマーで画面の切取り"));
    SpeedButton26 = makeToolButton(
        "SpeedButton26",
        QStringLiteral("画面ドラッグ（右クリックでフィット）　下のアンコウで画面の切取り"));
    SpeedButton26->setAutoRaise(true);
    SpeedButton26->setBackgroundRole(QPalette::Window);
    SpeedButton26->setAutoFillBackground(true);
    SpeedButton27 = makeToolButton("SpeedButton27", QStringLiteral("キャプチャー"));
    SpeedButton27->setAutoRaise(true);

    Panel6 = new QWidget(wallArea);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->move(0, 1); // anywhere but the top: a tab at 0, 0 means "tucked"
    SpeedButton11 = new QToolButton(Panel6);
    SpeedButton11->setObjectName(QStringLiteral("SpeedButton11"));
    SpeedButton11->setText(QStringLiteral("Zavik"));
    SpeedButton11->setToolTip(QStringLiteral("画面のドラッグ（右クリックでフィット）"));
    SpeedButton11->setToolTipDuration(3000);
    SpeedButton11->setFocusPolicy(Qt::NoFocus);

    // The back and programming buttons answer both mouse buttons.
    SpeedButton7->installEventFilter(this);
    SpeedButton25->installEventFilter(this);
    connect(SpeedButton8, &QToolButton::clicked, this, &ToolColumn::SpeedButton8Click);
    SpeedButton2->setCheckable(true); // pressed while the pen is on

    touchHideTimer = new QTimer(this);
    touchHideTimer->setObjectName(QStringLiteral("touchHideTimer"));
    touchHideTimer->setSingleShot(true);
    touchHideTimer->setInterval(kTouchShowMs);
    connect(touchHideTimer, &QTimer::timeout, this, [this] { XSHOW(false); });
    // A touch on any of the tools keeps them showing.
    QList<QWidget*> tools = shownTogether();
    tools << SpeedButton7;
    for (QWidget* w : tools)
        w->installEventFilter(this);
}

QToolButton* ToolColumn::makeToolButton(const char* name, const QString& hint) {
    auto* b = new QToolButton(wallArea_);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setToolTipDuration(3000);
    b->setAutoRaise(false);
    b->setFocusPolicy(Qt::NoFocus);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QList<QToolButton*> ToolColumn::column() const {
    return {SpeedButton1,  SpeedButton7, SpeedButton16, SpeedButton25, SpeedButton14,
            SpeedButton8,  SpeedButton6, SpeedButton4,  SpeedButton19, SpeedButton12,
            SpeedButton28, SpeedButton2, SpeedButton10, SpeedButton3,  SpeedButton23};
}

QList<QWidget*> ToolColumn::tabWidgets() const {
    return {Panel6, SpeedButton10, SpeedButton11, SpeedButton26, SpeedButton27};
}

void ToolColumn::place(int clientHeight, const QFont& font, qreal devicePixelRatio) {
    const int side = toolButtonSide(st.NOWY);
    const QList<QToolButton*> buttons = column();
    for (QToolButton* b : buttons) {
        b->resize(side, side);
        b->setIconSize(QSize(side - 6, side - 6));
        b->setIcon(toolGlyph(b->objectName(), side - 6, devicePixelRatio));
    }
    Panel6->resize(side, qMax(18, scaleToWallY(32, st.NOWY)));
    SpeedButton11->setGeometry(Panel6->rect());
    QFont tabFont = font;
    tabFont.setPixelSize(qMax(8, Panel6->height() * 2 / 5));
    SpeedButton11->setFont(tabFont);
    SpeedButton27->setIcon(
        toolGlyph(QStringLiteral("SpeedButton27"), kCaptureSide - 4, devicePixelRatio));
    SpeedButton27->setIconSize(QSize(kCaptureSide - 4, kCaptureSide - 4));
    QPalette strip = SpeedButton26->palette();
    strip.setBrush(QPalette::Window, QBrush(toolGlyph(QStringLiteral("SpeedButton26"), kStripWidth,
                                                      devicePixelRatio)));
    SpeedButton26->setPalette(strip);

    QString below = st.KIJUNDIR;
    if (below.startsWith(st.KIJUNDIRBAK))
        below = below.mid(st.KIJUNDIRBAK.size());
    SpeedButton5->setText(below);
    SpeedButton5->setToolTip(below + QStringLiteral("フォルダを開く"));
    const FolderButtonGeometry folder =
        folderButtonGeometry(int(below.size()), st.NOWY, st.ZETTAIX0, SpeedButton1->width());
    SpeedButton5->setGeometry(folder.rect);
    QFont folderFont = font;
    folderFont.setPointSize(qMax(1, folder.fontSize));
    SpeedButton5->setFont(folderFont);

    ToolColumnInput in;
    in.ZETTAIX0 = st.ZETTAIX0;
    in.NOWY = st.NOWY;
    in.clientHeight = clientHeight;
    in.panel6Height = Panel6->height();
    for (QToolButton* b : buttons)
        in.widths[b->objectName()] = b->width();
    const QHash<QString, QPoint> at = toolColumnPositions(in);
    for (QToolButton* b : buttons)
        b->move(at.value(b->objectName()));
    Panel6->move(at.value(QStringLiteral("Panel6")));
}

void ToolColumn::placeFixed(int clientHeight) {
    SpeedButton27->setGeometry(0, clientHeight - 2 * kCaptureSide, kCaptureSide, kCaptureSide);
    SpeedButton26->setGeometry(0, -30 - 2 * kCaptureSide, kStripWidth, 2 * clientHeight);
    SpeedButton27->raise();
}

QList<QWidget*> ToolColumn::shownTogether() const {
    return {SpeedButton1,  SpeedButton19, Panel6,        SpeedButton10, SpeedButton12,
            SpeedButton23, SpeedButton2,  SpeedButton3,  SpeedButton4,  SpeedButton5,
            SpeedButton6,  SpeedButton8,  SpeedButton11, SpeedButton26, SpeedButton27,
            SpeedButton14, SpeedButton16, SpeedButton25, SpeedButton28};
}

void ToolColumn::XSHOW(bool on) {
    modes_.XFLG = on;
    if (!on)
        touchHideTimer->stop();
    for (QWidget* w : shownTogether())
        w->setVisible(on);
}

bool ToolColumn::inMiddle(int x, int clientWidth) const {
    // Round(width − 160 × NOWX / 1920), computed exactly.
    const int right = scaleHalfEven(qint64(clientWidth) * 1920 - 160LL * st.NOWX, 1, 1920);
    return scaleToWallX(80, st.NOWX) <= x && x <= right;
}

void ToolColumn::followMouse(int x, int clientWidth) {
    touchHideTimer->stop(); // the mouse's hover rule rules again
    const bool middle = inMiddle(x, clientWidth);
    if (middle == modes_.XFLG)
        XSHOW(!middle);
}

void ToolColumn::followTouch(int x, int clientWidth) {
    if (inMiddle(x, clientWidth)) {
        touchedElsewhere();
        return;
    }
    if (!modes_.XFLG)
        XSHOW(true);
    touchHideTimer->start();
}

void ToolColumn::followWall(const QMouseEvent* event, int x, int clientWidth) {
    const bool finger = byFingerOrPen(event);
    if (event->type() == QEvent::MouseMove && !finger &&
        event->source() == Qt::MouseEventNotSynthesized)
        followMouse(x, clientWidth);
    else if (event->type() == QEvent::MouseButtonPress && finger)
        followTouch(x, clientWidth);
}

void ToolColumn::cardPressed(bool byTouch) {
    if (byTouch)
        touchedElsewhere();
}

void ToolColumn::touchedElsewhere() {
    if (modes_.XFLG)
        XSHOW(false);
}

void ToolColumn::prepareCommand() {
    emit penOffRequested();
    modes_.RFLGK = false;
    SpeedButton8->setChecked(false);
}

void ToolColumn::SpeedButton8Click() {
    if (modes_.BUSY)
        return;
    modes_.RFLGK = !modes_.RFLGK;
    SpeedButton8->setChecked(modes_.RFLGK);
    zavikBeep();
}

void ToolColumn::showOneShotDisarmed() {
    SpeedButton8->setChecked(false);
}

bool ToolColumn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && touchHideTimer->isActive() &&
        byFingerOrPen(static_cast<QMouseEvent*>(event)))
        touchHideTimer->start();
    if ((watched == SpeedButton7 || watched == SpeedButton25) &&
        event->type() == QEvent::MouseButtonRelease) {
        auto* b = static_cast<QToolButton*>(watched);
        const auto* e = static_cast<QMouseEvent*>(event);
        b->setDown(false);
        if (b->rect().contains(e->position().toPoint())) {
            if (b == SpeedButton7)
                emit backOrHome(e->button());
            else
                emit programming(e->button());
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}
