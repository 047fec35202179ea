#include "drawing/pictureeditorform.h"

#include "model/penstate.h"

#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>
#include <QToolButton>

namespace {

// A small picture of the line mode: straight, or a wave for freehand.
QPixmap lineGlyph(bool straight) {
    QPixmap glyph(32, 12);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    if (straight) {
        painter.drawLine(2, 10, 30, 2);
    } else {
        QPainterPath wave(QPointF(2, 6));
        wave.cubicTo(9, -2, 11, 14, 16, 6);
        wave.cubicTo(21, -2, 23, 14, 30, 6);
        painter.drawPath(wave);
    }
    return glyph;
}

// A button that keeps its place in the bar while it is hidden, so the bar
// never jumps when it comes and goes.
void keepPlaceWhenHidden(QWidget* w) {
    QSizePolicy keep = w->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    w->setSizePolicy(keep);
}

} // namespace

QToolButton* PictureEditorForm::makeButton(const char* name, const QString& shown) {
    auto* b = new QToolButton(toolBar);
    b->setObjectName(QLatin1String(name));
    // The bar is narrow: long captions are shown on several lines, and the
    // hint holds them whole.
    b->setText(shown);
    b->setToolTip(QString(shown).remove(QLatin1Char('\n')));
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Keys stay with the window, where Escape closes it.
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

PictureEditorForm::PictureEditorForm(QWidget* window) {
    toolBar = new QFrame(window);
    toolBar->setObjectName(QStringLiteral("Panel1"));
    toolBar->setAutoFillBackground(true);
    QFont small = toolBar->font();
    small.setPixelSize(10);
    toolBar->setFont(small);
    auto* grid = new QGridLayout(toolBar);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);
    int row = 0;
    auto place = [&](QWidget* w) { grid->addWidget(w, row++, 0); };
    // Two buttons of which one shows at a time share one place.
    auto sharePlace = [&](QWidget* w) { grid->addWidget(w, row - 1, 0); };
    auto label = [&](const QString& text) {
        auto* l = new QLabel(text, toolBar);
        l->setAlignment(Qt::AlignCenter);
        place(l);
    };
    auto spin = [&](const char* name, int lowest, int highest, int step, int start) {
        auto* s = new QSpinBox(toolBar);
        s->setObjectName(QLatin1String(name));
        s->setRange(lowest, highest);
        s->setSingleStep(step);
        s->setValue(start);
        place(s);
        return s;
    };

    const QString lineMode = QStringLiteral("直線/\n曲線");
    straightButton = makeButton("SpeedButton14", lineMode);
    freehandButton = makeButton("SpeedButton15", lineMode);
    for (QToolButton* b : {straightButton, freehandButton}) {
        b->setIcon(QIcon(lineGlyph(b == straightButton)));
        b->setIconSize(QSize(32, 12));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
    place(straightButton);
    sharePlace(freehandButton);

    const char* chalkNames[] = {"SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5",
                                "SpeedButton6"};
    const QString chalkHints[] = {QStringLiteral("赤"), QStringLiteral("青"), QStringLiteral("黄"),
                                  QStringLiteral("白"), QStringLiteral("黒")};
    for (int i = 0; i < 5; ++i) {
        QToolButton* b = chalkButtons[i] = makeButton(chalkNames[i], chalkHints[i]);
        const QColor colour = penColour(i);
        const QColor ink = colour.lightness() > 128 ? Qt::black : Qt::white;
        b->setStyleSheet(QStringLiteral("QToolButton { background: %1; color: %2; }")
                             .arg(colour.name(), ink.name()));
        place(b);
    }

    chalkColourPanel = new QFrame(toolBar);
    chalkColourPanel->setObjectName(QStringLiteral("Panel2"));
    chalkColourPanel->setToolTip(QStringLiteral("今のチョーク色"));
    chalkColourPanel->setAutoFillBackground(true);
    auto* inside = new QGridLayout(chalkColourPanel);
    inside->setContentsMargins(4, 4, 4, 4);
    seeThroughButton = makeButton("SpeedButton9", QStringLiteral("透明化"));
    seeThroughButton->setParent(chalkColourPanel);
    inside->addWidget(seeThroughButton, 0, 0);
    place(chalkColourPanel);

    label(QStringLiteral("線の太さ"));
    chalkWidthEdit = spin("SpinEdit3", 1, 100, 1, 5);
    rubberButton = makeButton("SpeedButton8", QStringLiteral("グレーの\n透明色で\n消す"));
    place(rubberButton);
    redisplayButton = makeButton("SpeedButton7", QStringLiteral("再表示"));
    place(redisplayButton);
    selectButton = makeButton("SpeedButton10", QStringLiteral("囲んで\n拡大・\n回転"));
    place(selectButton);
    cancelSelectButton =
        makeButton("SpeedButton11", QStringLiteral("拡大・\n回転を\nキャン\nセル"));
    sharePlace(cancelSelectButton);

    label(QStringLiteral("拡大倍率"));
    zoomFactorEdit = spin("SpinEdit1", 0, 10, 1, 2);
    label(QStringLiteral("回転角度"));
    angleEdit = spin("SpinEdit2", -360, 360, 5, 90);

    zoomTurnButton = makeButton("SpeedButton16", QStringLiteral("拡大・\n回転"));
    place(zoomTurnButton);
    removeCutOutButton = makeButton("SpeedButton12", QStringLiteral("加工画像\nを消す"));
    place(removeCutOutButton);
    keepPlaceWhenHidden(zoomTurnButton);
    keepPlaceWhenHidden(removeCutOutButton);
    captureButton = makeButton("SpeedButton13", QStringLiteral("キャプ\nチャー"));
    place(captureButton);
    backButton = makeButton("SpeedButton1", QStringLiteral("もどる"));
    place(backButton);
    grid->setRowStretch(row, 1);

    zoomTurnMenu = new QMenu(window);
    zoomTurnMenu->setObjectName(QStringLiteral("PopupMenu1"));
    zoomInAction = zoomTurnMenu->addAction(QStringLiteral("拡大"));
    zoomOutAction = zoomTurnMenu->addAction(QStringLiteral("縮小"));
    turnRightAction = zoomTurnMenu->addAction(QStringLiteral("右回転"));
    turnLeftAction = zoomTurnMenu->addAction(QStringLiteral("左回転"));
    mirrorLeftRightAction = zoomTurnMenu->addAction(QStringLiteral("左右反転"));
    mirrorUpDownAction = zoomTurnMenu->addAction(QStringLiteral("上下反転"));
}
