#include "drawing/pictureeditorwindow.h"

#include "drawing/touchpens.h"

#include "model/penstate.h"
#include "pictures/pictureops.h"
#include "platform/beep.h"
#include "platform/touchhold.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QToolButton>
#include <QTouchEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kToolBarWidth = 50;
const QColor kSilver(192, 192, 192);
// The largest cut-out: four screens' worth of pixels, and pixels a side.
constexpr double kMostScreens = 4.0;
constexpr double kMostSide = 16384.0;

// The frame a rubber band covers, a pixel wider all round.
QRegion outline(const QRect& r) {
    if (r.isEmpty())
        return QRegion();
    return QRegion(r.adjusted(-1, -1, 1, 1)) - QRegion(r.adjusted(2, 2, -2, -2));
}

} // namespace

PictureEditorWindow::PictureEditorWindow(PenState& pen, QWidget* parent)
    : QWidget(parent, Qt::Window), pen_(pen), form_(this), key_(kSilver), chalk_(penColour(0)) {
    setObjectName(QStringLiteral("TForm25"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    connectForm();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void PictureEditorWindow::connectForm() {
    auto onClick = [this](QToolButton* button, auto slot) {
        connect(button, &QToolButton::clicked, this, slot);
    };
    onClick(form_.straightButton, [this] { SpeedButton14Click(); });
    onClick(form_.freehandButton, [this] { SpeedButton14Click(); });
    for (int i = 0; i < int(form_.chalkButtons.size()); ++i)
        onClick(form_.chalkButtons[i], [this, i] { chalkClick(i); });
    onClick(form_.seeThroughButton, [this] { SpeedButton9Click(); });
    onClick(form_.rubberButton, [this] { SpeedButton8Click(); });
    onClick(form_.redisplayButton, [this] { SpeedButton7Click(); });
    onClick(form_.selectButton, [this] { SpeedButton10Click(); });
    onClick(form_.cancelSelectButton, [this] { SpeedButton11Click(); });
    onClick(form_.zoomTurnButton, [this] { openMenu(); });
    onClick(form_.removeCutOutButton, [this] { SpeedButton12Click(); });
    onClick(form_.captureButton, [this] { SpeedButton13Click(); });
    onClick(form_.backButton, [this] { close(); });

    auto onMenu = [this](QAction* action, auto slot) {
        connect(action, &QAction::triggered, this, slot);
    };
    onMenu(form_.zoomInAction, [this] { zoomClick(true); });
    onMenu(form_.zoomOutAction, [this] { zoomClick(false); });
    onMenu(form_.turnRightAction, [this] { turnClick(1); });
    onMenu(form_.turnLeftAction, [this] { turnClick(-1); });
    onMenu(form_.mirrorLeftRightAction, [this] { mirrorClick(true); });
    onMenu(form_.mirrorUpDownAction, [this] { mirrorClick(false); });
}

void PictureEditorWindow::openOn(const QImage& screenshot, const EditorPlacement& placement) {
    dpr_ = screenshot.devicePixelRatio() > 0 ? screenshot.devicePixelRatio() : 1.0;
    Image2 = screenshot.convertToFormat(QImage::Format_RGB32);
    Image2.setDevicePixelRatio(dpr_);
    Image1 = Image2.copy();
    view_ = Image2.copy();
    QGuiApplication::clipboard()->setImage(screenshot.convertToFormat(QImage::Format_RGB888));

    KESU = 1;
    stroke_.counter = 0;
    selectionTag_ = 0;
    toolBarRight_ = placement.toolBarRight;
    CCPEN = 0;
    key_ = kSilver;
    chalk_ = penColour(CCPEN);
    showChalkColour();

    XYFLG = RFLG = RFLG2 = FDrag = false;
    cutOutShown_ = false;
    Image3 = QImage();
    R = RBAK = QRect();
    form_.selectButton->show();
    form_.cancelSelectButton->hide();
    form_.removeCutOutButton->hide();
    form_.zoomTurnButton->hide();
    showLineMode();
    setPointer(Qt::ArrowCursor);

    // A wall narrower than the screen is a window of its own, and so is the
    // editor then; otherwise the editor covers the screen without a frame.
    const bool bordered = placement.NOWX < placement.ZETTAIX0;
    setWindowFlag(Qt::FramelessWindowHint, !bordered);
    setWindowFlag(Qt::WindowStaysOnTopHint, !bordered);
    QSize size(placement.ZETTAIX0, placement.ZETTAIY0);
    if (size.isEmpty())
        size = logicalSize(Image2);
    const QPoint origin = screen() ? screen()->geometry().topLeft() : QPoint();
    setWindowState(Qt::WindowNoState);
    setGeometry(QRect(origin, size));
    placeToolBar();
    if (bordered)
        showMaximized();
    else
        show();
    raise();
    activateWindow();
    setFocus();
    update();
    watchTouches(watched_, windowHandle(), this);
}

QSize PictureEditorWindow::logicalSize(const QImage& picture) const {
    return (QSizeF(picture.size()) / dpr_).toSize();
}

QRect PictureEditorWindow::toPixels(const QRect& area) const {
    if (dpr_ == 1.0)
        return area;
    return QRectF(QPointF(area.topLeft()) * dpr_, QSizeF(area.size()) * dpr_).toAlignedRect();
}

QRect PictureEditorWindow::cutOutRect() const {
    if (!RFLG2 || !cutOutShown_ || Image3.isNull())
        return QRect();
    return QRect(Image3Pos, logicalSize(Image3));
}

// Tool bar -----------------------------------------------------------------

void PictureEditorWindow::placeToolBar() {
    form_.toolBar->setGeometry(toolBarRight_ ? width() - kToolBarWidth : 0, 0, kToolBarWidth,
                               height());
}

bool PictureEditorWindow::onToolBar(QPoint at) const {
    return form_.toolBar->geometry().contains(at);
}

void PictureEditorWindow::showChalkColour() {
    QPalette pal = form_.chalkColourPanel->palette();
    pal.setColor(QPalette::Window, chalk_);
    form_.chalkColourPanel->setPalette(pal);
}

void PictureEditorWindow::showLineMode() {
    form_.straightButton->setVisible(pen_.PREFLG);
    form_.freehandButton->setVisible(!pen_.PREFLG);
}

int PictureEditorWindow::chalkWidth() const {
    return form_.chalkWidthEdit->value() * KESU;
}

// Most commands start the stroke counting again and end selection mode.
void PictureEditorWindow::resetTags() {
    stroke_.counter = 0;
    selectionTag_ = 0;
    if (RFLG)
        SpeedButton11Click();
}

void PictureEditorWindow::setKey(const QColor& key) {
    if (key_ == key)
        return;
    key_ = key;
    recompose(view_.rect());
    update();
}

void PictureEditorWindow::chalkClick(int index) {
    KESU = 1;
    resetTags();
    // The first colour click after a cut-out only puts it down for good.
    if (RFLG2) {
        burnInCutOut();
        return;
    }
    CCPEN = index;
    chalk_ = penColour(CCPEN);
    setKey(kSilver);
    showChalkColour();
}

void PictureEditorWindow::SpeedButton9Click() {
    KESU = 1;
    resetTags();
    if (RFLG2)
        burnInCutOut();
    else
        setKey(chalk_); // all chalk of this colour disappears
}

void PictureEditorWindow::SpeedButton8Click() {
    KESU = 4;
    resetTags();
    chalk_ = kSilver; // rubbing paints the key colour: the screenshot shows
    setKey(kSilver);
    showChalkColour();
}

void PictureEditorWindow::SpeedButton7Click() {
    KESU = 1;
    resetTags();
    Image1 = Image2.copy();
    key_ = kSilver;
    CCPEN = 0;
    chalk_ = penColour(CCPEN);
    showChalkColour();
    recompose(view_.rect());
    update();
}

void PictureEditorWindow::SpeedButton14Click() {
    resetTags();
    pen_.PREFLG = !pen_.PREFLG;
    showLineMode();
}

void PictureEditorWindow::SpeedButton13Click() {
    resetTags();
    emit captureMenuRequested(QCursor::pos() - QPoint(120, 0));
}

// Selection and the cut-out ----------------------------------------------

void PictureEditorWindow::SpeedButton10Click() {
    selectionTag_ = 1;
    stroke_.counter = 0;
    RFLG = true;
    setPointer(Qt::CrossCursor);
    form_.selectButton->hide();
    form_.cancelSelectButton->show();
}

void PictureEditorWindow::SpeedButton11Click() {
    selectionTag_ = 0;
    stroke_.counter = 0;
    if (FDrag)
        update(outline(R));
    RFLG = FDrag = false;
    R = QRect();
    setPointer(Qt::ArrowCursor);
    form_.selectButton->show();
    form_.cancelSelectButton->hide();
    form_.removeCutOutButton->hide();
}

void PictureEditorWindow::SpeedButton12Click() {
    resetTags();
    form_.zoomTurnButton->hide();
    update(cutOutRect());
    RFLG2 = cutOutShown_ = XYFLG = false;
    Image3 = QImage();
    setPointer(Qt::ArrowCursor);
    form_.selectButton->show();
    form_.removeCutOutButton->hide();
}

void PictureEditorWindow::openMenu() {
    const int top = form_.zoomTurnButton->mapTo(this, QPoint(0, 0)).y();
    form_.zoomTurnMenu->popup(mapToGlobal(QPoint(form_.toolBar->x() - 200, top)));
}

// The rectangle selected, cut out of what is shown (the screenshot where the
// chalk is see-through), becomes the cut-out at the same place. It shows once
// a menu entry has acted on it.
void PictureEditorWindow::HCOPY(int width, int height) {
    const QRect selected(RBAK.topLeft(), QSize(width, height));
    Image3 = selected.isEmpty() ? QImage() : view_.copy(toPixels(selected));
    Image3.setDevicePixelRatio(dpr_);
    ownCutOut_ = Image3;
    Image3Pos = selected.topLeft();
    cutOutShown_ = false;
    RFLG2 = true;
    form_.selectButton->hide();
    form_.cancelSelectButton->hide();
    form_.removeCutOutButton->show();
    form_.zoomTurnButton->show();
    PPBAI = form_.zoomFactorEdit->value();
    RFLG = false;
    setPointer(Qt::ArrowCursor);
    openMenu();
}

// Flattens the picture as shown into both layers, then removes the cut-out.
// It is rendered by the painting the window itself uses, so the tool bar
// never ends up in the picture.
void PictureEditorWindow::burnInCutOut() {
    Image2 = renderPicture();
    Image1 = Image2.copy();
    recompose(view_.rect());
    update();
    SpeedButton12Click();
}

bool PictureEditorWindow::fitsEditor(QSize pixels) const {
    const double most = kMostScreens * double(Image2.width()) * double(Image2.height());
    return pixels.width() <= kMostSide && pixels.height() <= kMostSide &&
           double(pixels.width()) * double(pixels.height()) <= most;
}

void PictureEditorWindow::replaceCutOut(const QImage& picture) {
    update(cutOutRect());
    Image3 = picture;
    Image3.setDevicePixelRatio(dpr_);
    ownCutOut_ = Image3;
    update(cutOutRect());
}

double PictureEditorWindow::cutOutZoom() const {
    return ownCutOut_.width() > 0 ? double(Image3.width()) / ownCutOut_.width() : 1.0;
}

// The cut-out at `zoom` of its own size, made again from it each time so that
// a pinch loses nothing, and never larger than the menu's zoom may make it.
// Its point at `heldAt` (where the pinch began) goes to `centre`.
void PictureEditorWindow::zoomCutOut(double zoom, QPointF heldAt, QPointF centre) {
    const QSize own = ownCutOut_.size();
    if (own.isEmpty() || pinchFrom_.isEmpty())
        return;
    const double area = double(own.width()) * own.height();
    const double most =
        std::min({kMostSide / own.width(), kMostSide / own.height(),
                  std::sqrt(kMostScreens * double(Image2.width()) * Image2.height() / area)});
    zoom = std::min(zoom, most);
    const QSize size(std::max(1, int(own.width() * zoom)), std::max(1, int(own.height() * zoom)));
    const QImage zoomed =
        size == own ? ownCutOut_ : BitmapResize_Bilinear(ownCutOut_, size.width(), size.height());
    if (zoomed.isNull())
        return;
    update(cutOutRect());
    Image3 = zoomed;
    Image3.setDevicePixelRatio(dpr_);
    const QRect& from = pinchFrom_;
    const QSize shown = logicalSize(Image3);
    const QPointF held = heldAt - QPointF(from.topLeft());
    Image3Pos = QPoint(int(std::lround(centre.x() - held.x() * shown.width() / from.width())),
                       int(std::lround(centre.y() - held.y() * shown.height() / from.height())));
    update(cutOutRect());
}

void PictureEditorWindow::touched(QTouchEvent* event) {
    const TouchGesture::Step step = gesture_.follow(event);
    const QRect shown = cutOutRect();
    if (step == TouchGesture::Step::PinchStarted && !shown.isEmpty()) {
        pinchFrom_ = shown;
        touchUsed_ = true;
        XYFLG = false;
    } else if (step == TouchGesture::Step::Pinched) {
        const double zoom =
            double(pinchFrom_.width()) / std::max(1, logicalSize(ownCutOut_).width());
        zoomCutOut(zoom * gesture_.factor(), mapFromGlobal(gesture_.startCentre()),
                   mapFromGlobal(gesture_.centre()));
    } else if (step == TouchGesture::Step::PinchEnded) {
        pinchFrom_ = QRect();
    } else if (step == TouchGesture::Step::DoubleTap && !shown.isEmpty()) {
        pinchFrom_ = shown;
        const QPointF middle = QRectF(shown).center();
        zoomCutOut(1, middle, middle);
        pinchFrom_ = QRect();
        touchUsed_ = true;
    }
}

bool PictureEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    // The fingers stay Qt's, which makes the first of them a mouse.
    if (watched == watched_ && !watched_.isNull() && isTouch(event))
        touched(static_cast<QTouchEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

void PictureEditorWindow::KAKUDAI(double factor) {
    KESU = 1;
    const double w = std::floor(Image3.width() * factor);
    const double h = std::floor(Image3.height() * factor);
    if (!(w >= 1 && h >= 1))
        return; // nothing would be left to show: the cut-out stays as it was
    if (w > kMostSide || h > kMostSide || !fitsEditor(QSize(int(w), int(h)))) {
        zavikBeep();
        return;
    }
    const QImage zoomed = BitmapResize_Bilinear(Image3, int(w), int(h));
    if (zoomed.isNull()) {
        zavikBeep(); // no memory for it
        return;
    }
    replaceCutOut(zoomed);
}

void PictureEditorWindow::KAITEN(double angle) {
    KESU = 1;
    const QSize turned = rotatedSize(Image3.size(), angle);
    if (turned.isEmpty())
        return;
    if (!fitsEditor(turned)) {
        zavikBeep();
        return;
    }
    const QImage picture = Rotate(Image3, angle);
    if (picture.isNull()) {
        zavikBeep();
        return;
    }
    replaceCutOut(picture);
}

void PictureEditorWindow::zoomClick(bool larger) {
    if (!RFLG2)
        return;
    PPBAI = form_.zoomFactorEdit->value();
    if (PPBAI < 1) {
        PPBAI = 1;
        form_.zoomFactorEdit->setValue(1);
    }
    KAKUDAI(larger ? PPBAI : 1 / PPBAI);
    showCutOutAfterMenu();
}

void PictureEditorWindow::turnClick(int direction) {
    if (!RFLG2)
        return;
    KAITEN(direction * form_.angleEdit->value());
    showCutOutAfterMenu();
}

void PictureEditorWindow::mirrorClick(bool leftRight) {
    if (!RFLG2)
        return;
    replaceCutOut(leftRight ? SAYU(Image3) : JOUGE(Image3));
    showCutOutAfterMenu();
}

void PictureEditorWindow::showCutOutAfterMenu() {
    cutOutShown_ = true;
    XYFLG = false;
    update(cutOutRect());
}

// Mouse ------------------------------------------------------------------

void PictureEditorWindow::setPointer(Qt::CursorShape shape) {
    if (cursor().shape() != shape)
        setCursor(shape);
}

void PictureEditorWindow::pointTo(QPoint at) {
    if (cutOutRect().contains(at))
        setPointer(Qt::SizeAllCursor);
    else
        setPointer(RFLG ? Qt::CrossCursor : Qt::ArrowCursor);
}

QRect PictureEditorWindow::cutOutGrip(bool byTouch) const {
    const QRect cut = cutOutRect();
    if (!byTouch || cut.isEmpty())
        return cut;
    // A finger grabs a small cut-out by a square of 8 mm about its middle.
    const int side = pixelsForMillimetres(this, 8.0);
    const QSize grip = cut.size().expandedTo(QSize(side, side));
    return QRect(QPoint(0, 0), grip)
        .translated(cut.center() - QPoint(grip.width() / 2, grip.height() / 2));
}

void PictureEditorWindow::mousePressEvent(QMouseEvent* event) {
    if (touchUsed_ || event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (cutOutGrip(byFingerOrPen(event)).contains(at)) {
        XYFLG = true;
        XBAK = at.x();
        YBAK = at.y();
        return;
    }
    if (onToolBar(at))
        return;
    if (pen_.PREFLG)
        stroke_.press(at);
    if (RFLG && !RFLG2) {
        DownPt = at;
        FDrag = true;
        R = RBAK = QRect(at, QSize(0, 0));
        RRX = RRY = 0;
    }
}

void PictureEditorWindow::mouseMoveEvent(QMouseEvent* event) {
    if (touchUsed_)
        return;
    const QPoint at = event->position().toPoint();
    if (XYFLG) {
        update(cutOutRect());
        Image3Pos += QPoint(at.x() - XBAK, at.y() - YBAK);
        XBAK = at.x();
        YBAK = at.y();
        update(cutOutRect());
        return;
    }
    if (FDrag) {
        const QRegion before = outline(R);
        R = RBAK = QRect(QPoint(std::min(DownPt.x(), at.x()), std::min(DownPt.y(), at.y())),
                         QSize(std::abs(at.x() - DownPt.x()), std::abs(at.y() - DownPt.y())));
        RRX = R.width();
        RRY = R.height();
        update(before + outline(R));
        return;
    }
    if (event->buttons() == Qt::NoButton)
        pointTo(at);
    if (RFLG || onToolBar(at))
        return;
    const bool chalk = (event->buttons() & Qt::LeftButton) && selectionTag_ < 1;
    if (chalk)
        pen_.MSON2 = true;
    showChalk(stroke_.move(Image1, at, chalk, true, pen_.PREFLG, chalk_, chalkWidth()));
}

void PictureEditorWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || std::exchange(touchUsed_, false))
        return;
    const QPoint at = event->position().toPoint();
    if (XYFLG) {
        XYFLG = false;
        return;
    }
    if (FDrag) {
        FDrag = false;
        update(outline(R));
        R = QRect();
        HCOPY(RRX, RRY);
        return;
    }
    if (RFLG || onToolBar(at) || !pen_.PREFLG || selectionTag_ >= 1)
        return;
    const QRect changed = stroke_.release(Image1, at, chalk_, chalkWidth());
    if (!changed.isEmpty())
        pen_.MSON2 = true;
    showChalk(changed);
}

// Painting ---------------------------------------------------------------

void PictureEditorWindow::showChalk(const QRect& changed) {
    if (changed.isEmpty())
        return;
    recompose(toPixels(changed));
    update(changed);
}

// Only what changed is composed again: a chalk line touches a few hundred
// pixels of a screen of millions.
void PictureEditorWindow::recompose(const QRect& pixels) {
    const QRect area = pixels & view_.rect() & Image1.rect() & Image2.rect();
    const QRgb key = key_.rgb() & 0xFFFFFF;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* chalk = reinterpret_cast<const QRgb*>(Image1.constScanLine(y));
        const auto* below = reinterpret_cast<const QRgb*>(Image2.constScanLine(y));
        auto* shown = reinterpret_cast<QRgb*>(view_.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            shown[x] = (chalk[x] & 0xFFFFFF) == key ? below[x] : chalk[x];
    }
}

void PictureEditorWindow::paintLayers(QPainter& painter, const QRect& area) const {
    if (!QRect(QPoint(0, 0), logicalSize(view_)).contains(area))
        painter.fillRect(area, Qt::black);
    const QRect pixels = toPixels(area) & view_.rect();
    if (!pixels.isEmpty())
        painter.drawImage(QRectF(QPointF(pixels.topLeft()) / dpr_, QSizeF(pixels.size()) / dpr_),
                          view_, QRectF(pixels));
    const QRect cut = cutOutRect();
    const QRect covered = cut & area;
    if (!covered.isEmpty())
        painter.drawImage(covered, Image3, toPixels(covered.translated(-cut.topLeft())));
}

QImage PictureEditorWindow::renderPicture() const {
    if (view_.isNull())
        return QImage();
    QImage picture(view_.size(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(dpr_);
    QPainter painter(&picture);
    paintLayers(painter, QRect(QPoint(0, 0), logicalSize(view_)));
    return picture;
}

void PictureEditorWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    for (const QRect& area : event->region())
        paintLayers(painter, area);
    if (FDrag && !R.isEmpty()) {
        // Inverting keeps the band visible over any picture.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(R.adjusted(0, 0, -1, -1));
    }
}

void PictureEditorWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeToolBar();
}

void PictureEditorWindow::closeEvent(QCloseEvent* event) {
    form_.zoomTurnMenu->hide();
    RFLG2 = cutOutShown_ = XYFLG = FDrag = RFLG = false;
    Image3 = QImage();
    // Every opening starts from a new screenshot: the layers go with it.
    Image1 = Image2 = view_ = QImage();
    event->accept();
}
