#include "drawing/pictureviewerwindow.h"

#include "document/undohistory.h"
#include "drawing/colourwipe.h"
#include "drawing/picturecanvas.h"
#include "drawing/seethrough.h"
#include "drawing/strokestep.h"
#include "drawing/wallpen.h"
#include "model/penstate.h"
#include "pictures/picturelayer.h"
#include "platform/shell.h"
#include "platform/touchhold.h"
#include "storage/underscorecopy.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTabletEvent>
#include <QTimer>
#include <QTouchEvent>
#include <QWindow>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr QChar kSeparator = QLatin1Char('&');

// The largest zoomed viewer: wall windows each way, and pixels a side.
constexpr double kMostScreens = 4.0;
constexpr double kMostSide = 16384.0;

// 95 % of a length, truncated: the viewer leaves a little of the wall free.
long long nearlyAll(long long length) {
    return length * 95 / 100;
}

// The smallest a pinch makes the viewer, against zoom 1: still large
// enough to take two fingers again.
constexpr double kLeastZoom = 0.25;

// A mouse that Qt made of a finger.
bool fromTouch(const QMouseEvent* event) {
    return event->pointingDevice() &&
           event->pointingDevice()->type() == QInputDevice::DeviceType::TouchScreen;
}

// A list names a series when it joins at least two file names.
bool isSeries(const QString& list) {
    return list.contains(kSeparator) && list.count(QLatin1Char('.')) >= 2;
}

bool isPictureExtension(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == QLatin1String("bmp") || ext == QLatin1String("jpg") ||
           ext == QLatin1String("jpeg") || ext == QLatin1String("png") ||
           ext == QLatin1String("gif");
}

} // namespace

QRect viewerGeometry(QSize picture, QSize wall, QSize wallClient, double zoom, QPoint cardCorner) {
    long long w = nearlyAll(wall.width());
    long long h = nearlyAll(wall.height());
    const long long pw = picture.width();
    const long long ph = picture.height();
    const long long cw = wallClient.width();
    const long long ch = wallClient.height();
    // Without a picture there are no proportions to follow.
    if (pw > 0 && ph > 0) {
        if (ph > pw) {
            h = ch;
            w = nearlyAll(pw * h / ph);
        } else {
            w = nearlyAll(cw);
            h = nearlyAll(ph * w / pw);
            if (h > ch) {
                w = h > 0 ? nearlyAll(w * ch / h) : w;
                h = ch;
            }
        }
    }
    if (!(zoom > 0) || !std::isfinite(zoom))
        zoom = 1;
    // A zoom stops at what can be shown: four wall windows each way and never
    // a side above 16384 pixels. Beyond that the window and its stretched
    // picture would take gigabytes.
    if (w > 0 && h > 0) {
        double most = std::min(kMostSide / double(w), kMostSide / double(h));
        if (cw > 0 && ch > 0)
            most = std::min({most, kMostScreens * double(cw) / double(w),
                             kMostScreens * double(ch) / double(h)});
        zoom = std::min(zoom, most);
    }
    const int vw = int(double(w) * zoom);
    const int vh = int(double(h) * zoom);
    const int spareX = wallClient.width() - vw;
    const int spareY = wallClient.height() - vh;
    const int left = cardCorner.x() < spareX ? cardCorner.x() : spareX / 2;
    const int top = cardCorner.y() < spareY ? cardCorner.y() : spareY / 2;
    return QRect(std::max(left, 0), std::max(top, 0), vw, vh);
}

PictureViewerWindow::PictureViewerWindow(QWidget* parent, PenState* pen, const bool* busy,
                                         bool* oneShotArmed)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), pen_(pen), busy_(busy),
      oneShotArmed_(oneShotArmed) {
    setObjectName(QStringLiteral("TForm21"));
    setAutoFillBackground(true);

    Panel1 = new PictureCanvas(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setCursor(Qt::PointingHandCursor);
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);
    strokes_ = std::make_unique<StrokeRecorder>(*Panel1);
    touches_ = std::make_unique<TouchPens>(*Panel1, kViewerStrokes);
    connect(Panel1, &PictureCanvas::pictureReplaced, this, &PictureViewerWindow::dropStrokes);
    // An undone stroke may bring the see-through grey back. A stroke under
    // way is drawn and not kept as a step, as on the wall.
    connect(Panel1, &PictureCanvas::pixelsPutBack, this, [this] {
        strokes_->cancel();
        touches_->cancel();
        if (isVisible())
            applySeeThroughGrey(this);
    });
    buildMenu();

    tapClose_ = new QTimer(this);
    tapClose_->setSingleShot(true);
    tapClose_->setInterval(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    connect(tapClose_, &QTimer::timeout, this, &PictureViewerWindow::closeViewer);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, &PictureViewerWindow::nextStep);
    // A finger held still opens the menu, the pen on or off.
    touches_->setHold(new TouchHold(this));
}

void PictureViewerWindow::setStepDelays(int normalMs, int lastMs) {
    normalMs_ = normalMs;
    lastMs_ = lastMs;
}

bool PictureViewerWindow::openLink(const QString& caption, const QString& list,
                                   const QColor& cardColour, double zoom, QPoint cardCorner,
                                   QSize wall, const QRect& wallWindow) {
    if (open_) {
        const bool sameList = list == list_;
        closeViewer();
        if (sameList)
            return true; // a second click on the card closes its pictures
    }
    return openViewer(caption, list, cardColour, zoom, cardCorner, wall, wallWindow);
}

bool PictureViewerWindow::openViewer(const QString& caption, const QString& list,
                                     const QColor& cardColour, double zoom, QPoint cardCorner,
                                     QSize wall, const QRect& wallWindow) {
    if (caption.isEmpty())
        return false;
    // The first picture is read once, here: one that does not decode opens
    // no viewer.
    Panel1->clearPicture();
    TFLG = false;
    open_ = true;
    list_ = list;
    setWindowTitle(caption);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, cardColour);
    setPalette(pal);

    GALL = GGG = list;
    if (isSeries(list)) {
        const int first = int(list.indexOf(kSeparator));
        GGG = list.left(first);
        GLOAD(GGG);
        TFLG = true;
        Timer2->start(normalMs_);
        // Every picture still to come is followed by "&", so the last one
        // can be told by its "&" ending the list.
        GALL = list.mid(first + 1) + kSeparator;
    } else {
        GLOAD(GALL);
    }
    if (picture().isNull()) {
        resetState();
        return false;
    }
    XXX = picture().width();
    YYY = picture().height();
    wall_ = wall;
    wallClient_ = wallWindow.size();
    cardCorner_ = cardCorner;
    setGeometry(viewerGeometry(QSize(XXX, YYY), wall, wallWindow.size(), zoom, cardCorner));
    openedSize_ = size();
    show();
    watchTouches(watched_, windowHandle(), this);
    applySeeThroughGrey(this);
    return true;
}

void PictureViewerWindow::closeViewer() {
    close();
    resetState();
}

void PictureViewerWindow::resetState() {
    const bool wasOpen = open_;
    open_ = false;
    drag_.cancel();
    Timer2->stop();
    tapClose_->stop();
    TFLG = false;
    if (wasOpen)
        dropStrokes();
    // The pen was for this picture.
    if (wasOpen && pen)
        pen->MSswitch(false);
    else if (wasOpen && pen_)
        pen_->MSON = false;
}

QImage PictureViewerWindow::picture() const {
    return Panel1->picture();
}

bool PictureViewerWindow::penOn() const {
    return pen_ && pen_->MSON;
}

void PictureViewerWindow::closeEvent(QCloseEvent* event) {
    resetState();
    event->accept();
}

void PictureViewerWindow::GLOAD(const QString& path) {
    if (TFLG)
        Timer2->stop();
    if (QFileInfo::exists(path)) {
        if (isPictureExtension(path)) {
            const PictureRead read = readPicture(path);
            if (read.image.isNull())
                qWarning("Picture %s not shown: %s", qPrintable(path), qPrintable(read.error));
            else
                setPicture(read.image, path);
        }
    } else {
        TFLG = false; // a missing picture ends the series where it is
    }
    if (TFLG) {
        const int first = int(GALL.indexOf(kSeparator));
        const bool last = first >= 0 && first == GALL.size() - 1;
        Timer2->start(last ? lastMs_ : normalMs_);
    }
}

void PictureViewerWindow::setPicture(const QImage& picture, const QString& path) {
    shownPath_ = path;
    Panel1->setPicture(picture.convertToFormat(QImage::Format_RGB32));
    if (isVisible())
        applySeeThroughGrey(this);
    emit pictureShown(path);
}

void PictureViewerWindow::nextStep() {
    Timer2->stop();
    const int first = int(GALL.indexOf(kSeparator));
    if (first < 0) {
        closeViewer();
        return;
    }
    GLOAD(GALL.left(first)); // starts the timer again while the series runs
    GALL.remove(0, first + 1);
}

void PictureViewerWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Panel1->setGeometry(rect());
    if (isVisible())
        applySeeThroughGrey(this);
}

bool PictureViewerWindow::onPicture(QPoint panelPos) const {
    return !picture().isNull() && Panel1->rect().contains(panelPos);
}

void PictureViewerWindow::releaseAt(QPoint panelPos, QPoint globalPos) {
    const WindowDrag::Press press = drag_.release();
    if (onPicture(panelPos)) {
        const bool oneShot = oneShotArmed_ && *oneShotArmed_;
        if (press == WindowDrag::Press::Right || (oneShot && press == WindowDrag::Press::Left)) {
            if (oneShot) {
                *oneShotArmed_ = false;
                emit oneShotDisarmed();
            }
            emit menuRequested(globalPos);
            if (!GALL.isEmpty())
                openMenu(globalPos + QPoint(16, 0));
        } else if (press == WindowDrag::Press::Left) {
            const int first = int(GALL.indexOf(kSeparator));
            if (first >= 0)
                GALL.remove(0, first + 1); // skip the next picture of the series
            else if (!penOn())
                closeViewer();
        }
    } else if (press == WindowDrag::Press::Right) {
        closeViewer();
    }
}

void PictureViewerWindow::mousePressEvent(QMouseEvent* event) {
    if (!touchUsed_)
        drag_.press(this, event);
}

void PictureViewerWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!touchUsed_)
        drag_.drag(this, event);
}

void PictureViewerWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (std::exchange(touchUsed_, false))
        return;
    releaseAt(Panel1->mapFrom(this, event->position().toPoint()),
              event->globalPosition().toPoint());
}

double PictureViewerWindow::zoom() const {
    const QSize one = sizeAt(1);
    return one.width() > 0 ? double(width()) / one.width() : 1.0;
}

QSize PictureViewerWindow::sizeAt(double zoom) const {
    return viewerGeometry(QSize(XXX, YYY), wall_, wallClient_, zoom, cardCorner_).size();
}

void PictureViewerWindow::resetZoom() {
    QRect shown(QPoint(), sizeAt(1));
    shown.moveCenter(geometry().center());
    setGeometry(shown);
}

// The picture grows or shrinks with the fingers' distance, bounded as any
// zoom of the viewer is, and its point under the fingers' middle follows it.
void PictureViewerWindow::pinchTo(double factor, QPointF centre) {
    const QRect& from = pinchStart_;
    const double startZoom = from.width() / double(std::max(1, sizeAt(1).width()));
    const QSize size = sizeAt(std::max(startZoom * factor, kLeastZoom));
    if (from.isEmpty() || size.isEmpty())
        return;
    const QPointF held = gesture_.startCentre() - QPointF(from.topLeft());
    const QPointF scale(double(size.width()) / from.width(), double(size.height()) / from.height());
    const QPointF corner(centre.x() - held.x() * scale.x(), centre.y() - held.y() * scale.y());
    setGeometry(QRect(corner.toPoint(), size));
}

bool PictureViewerWindow::touchDraws() const {
    return penOn() && !(busy_ && *busy_);
}

bool PictureViewerWindow::touched(QTouchEvent* event) {
    const TouchGesture::Step step = gesture_.follow(event);
    const bool draws = touchDraws() || touches_->holdsTouch();
    if (step == TouchGesture::Step::PinchStarted) {
        pinchWins_ = !draws || !touches_->hasDrawnAny();
        if (pinchWins_) {
            touches_->cancel();
            drag_.cancel();
            touchUsed_ = !draws;
            pinchStart_ = geometry();
        }
    }
    const bool pinch =
        pinchWins_ && (gesture_.pinching() || step == TouchGesture::Step::PinchEnded);
    if (pinch && gesture_.pinching())
        pinchTo(gesture_.factor(), gesture_.centre());
    if (step == TouchGesture::Step::DoubleTap) {
        tapClose_->stop();
        resetZoom();
        touchUsed_ = !draws;
    }
    if (event->type() == QEvent::TouchEnd || event->type() == QEvent::TouchCancel)
        pinchWins_ = false;
    // With the pen off the fingers stay Qt's, which makes the first a mouse.
    if (!draws)
        return false;
    if (!pinch && step != TouchGesture::Step::DoubleTap) {
        if (touchDraws())
            pen_->MSON2 = true;
        touches_->takeWindowTouch(this, event, penInk(*pen_), history());
        applySeeThroughGrey(this);
    }
    event->accept();
    return true;
}

bool PictureViewerWindow::tablet(QTabletEvent* event) {
    if (!touchDraws() && !touches_->has(TouchPens::kStylus))
        return false;
    pen_->MSON2 = true;
    const bool used = touches_->stylus(event, penInk(*pen_), history());
    if (used && event->type() == QEvent::TabletRelease)
        applySeeThroughGrey(this);
    return used;
}

bool PictureViewerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watched_ && !watched_.isNull())
        return isTouch(event) ? touched(static_cast<QTouchEvent*>(event))
                              : QWidget::eventFilter(watched, event);
    if (watched != Panel1)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return tablet(static_cast<QTabletEvent*>(event));
    case QEvent::MouseButtonPress:
        if (!touchUsed_)
            pressOnPicture(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        if (!touchUsed_)
            moveOnPicture(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (std::exchange(touchUsed_, false))
            return true;
        strokeReleased(mouse);
        // A tap that would close a pinched viewer waits to see whether a
        // second makes it a double tap.
        if (fromTouch(mouse) && size() != openedSize_ && !penOn() && !GALL.contains(kSeparator) &&
            drag_.pressed() == WindowDrag::Press::Left && onPicture(mouse->position().toPoint())) {
            drag_.release();
            tapClose_->start();
            return true;
        }
        releaseAt(mouse->position().toPoint(), mouse->globalPosition().toPoint());
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void PictureViewerWindow::pressOnPicture(QMouseEvent* event) {
    drag_.follow(this, event);
    stroke_.press(Panel1->toPicture(event->position()));
    if (event->button() == Qt::LeftButton)
        strokes_->begin();
}

void PictureViewerWindow::moveOnPicture(QMouseEvent* event) {
    const bool leftDown = event->buttons() & Qt::LeftButton;
    // With the pen on, a drag draws on the picture; else it moves the window.
    if (!penOn() || !leftDown) {
        drag_.follow(this, event);
        if (!penOn())
            return;
    }
    PenState& pen = *pen_;
    if (pen.SPENS == 0)
        pen.SPENS = kNormalPen;
    if (leftDown)
        pen_->MSON2 = true;
    const QRect changed =
        stroke_.move(Panel1->drawable(), Panel1->toPicture(event->position()), leftDown, true,
                     pen.PREFLG, penColour(pen.CPEN), Panel1->penWidth(pen.SPENS));
    strokes_->drew(changed);
}

void PictureViewerWindow::strokeReleased(QMouseEvent* event) {
    if (penOn() && pen_->PREFLG && drag_.pressed() == WindowDrag::Press::Left) {
        const int width = pen_->SPENS > 0 ? pen_->SPENS : kNormalPen;
        const QRect changed =
            stroke_.release(Panel1->drawable(), Panel1->toPicture(event->position()),
                            penColour(pen_->CPEN), Panel1->penWidth(width));
        strokes_->drew(changed);
        // Strokes over the see-through grey are no longer see-through.
        if (!changed.isEmpty())
            applySeeThroughGrey(this);
    }
    if (event->button() == Qt::LeftButton)
        keepStroke();
}

UndoHistory* PictureViewerWindow::history() const {
    return pen ? &pen->history() : nullptr;
}

void PictureViewerWindow::keepStroke() {
    std::unique_ptr<StrokeStep> step = strokes_->end();
    if (step && history())
        history()->push(std::move(step));
}

// The strokes went with the picture, or into its file.
void PictureViewerWindow::dropStrokes() {
    strokes_->cancel();
    touches_->cancel();
    if (history())
        history()->dropCanvas(Panel1);
}

void PictureViewerWindow::buildMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto withPen = [this](auto command) {
        return [this, command] {
            if (pen)
                command(*pen);
        };
    };
    N16 = PopupMenu1->addAction(QStringLiteral("ドラッグ間－描画"), this,
                                withPen([](WallPen& p) { p.toggleStraight(); }));
    N16->setObjectName(QStringLiteral("N16"));
    const char16_t* colours[] = {u"赤ペン", u"青ペン", u"黄ペン", u"白ペン", u"黒ペン"};
    for (int c = 0; c < 5; ++c)
        PopupMenu1->addAction(QString::fromUtf16(colours[c]), this,
                              withPen([c](WallPen& p) { p.chooseColour(c); }));
    for (const auto& [caption, width] :
         {std::pair{u"太ペン", kThickPen}, {u"細ペン", kThinPen}, {u"標準太さペン", kNormalPen}})
        PopupMenu1->addAction(QString::fromUtf16(caption), this,
                              withPen([w = width](WallPen& p) { p.chooseWidth(w); }));
    N9 = PopupMenu1->addAction(QStringLiteral("画面の赤色を消す"), this,
                               &PictureViewerWindow::wipeColour);
    N9->setObjectName(QStringLiteral("N9"));
    PopupMenu1->addAction(QStringLiteral("直前のペンの絵を消す"), this,
                          &PictureViewerWindow::reloadPicture);
    PopupMenu1->addAction(QStringLiteral("原画に戻す"), this,
                          &PictureViewerWindow::restoreOriginal);
    PopupMenu1->addAction(QStringLiteral("上書き保存"), this, [this] { saveOver(); });
    PopupMenu1->addAction(QStringLiteral("編集"), this, [this] { openOutside(true); });
    PopupMenu1->addAction(QStringLiteral("ビュアー"), this, [this] { openOutside(false); });
    N15 = PopupMenu1->addAction(QStringLiteral("線画"), this,
                                withPen([](WallPen& p) { p.togglePen(); }));
    N15->setObjectName(QStringLiteral("N15"));
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] {
        const bool straight = pen_ && pen_->PREFLG;
        N16->setText(straight ? QStringLiteral("曲線～描画") : QStringLiteral("ドラッグ間－描画"));
        N15->setText(penOn() ? QStringLiteral("線画解除") : QStringLiteral("線画"));
        const char16_t* names[] = {u"赤", u"青", u"黄", u"白", u"黒"};
        const int c = pen_ ? pen_->CPEN : 0;
        N9->setText(QStringLiteral("画面の%1色を消す").arg(QString::fromUtf16(names[c % 5])));
    });
}

void PictureViewerWindow::openMenu(QPoint globalPos) {
    PopupMenu1->popup(globalPos);
}

void PictureViewerWindow::setPictureCursor(Qt::CursorShape shape) {
    Panel1->setCursor(shape);
}

void PictureViewerWindow::reloadPicture() {
    if (!shownPath_.isEmpty())
        GLOAD(shownPath_);
}

void PictureViewerWindow::wipeColour() {
    if (picture().isNull())
        return;
    Panel1->setPicture(wipePenColour(picture(), pen_ ? pen_->CPEN : 0));
    applySeeThroughGrey(this);
}

void PictureViewerWindow::restoreOriginal() {
    if (shownPath_.isEmpty() || !restoreUnderscoreCopy(shownPath_))
        return;
    if (isPictureExtension(shownPath_))
        GLOAD(shownPath_);
}

bool PictureViewerWindow::saveOver() {
    if (shownPath_.isEmpty() || picture().isNull())
        return false;
    // The first original stays beside the picture, for "原画に戻す".
    QString error;
    const QString ext = QFileInfo(shownPath_).suffix().toLower();
    if (ext != QLatin1String("bmp") && ext != QLatin1String("jpg") &&
        ext != QLatin1String("jpeg")) {
        error = QStringLiteral("この形式には書けません（.jpg、.jpeg、.bmp だけ）");
    } else if (!keepUnderscoreCopy(shownPath_)) {
        error = QStringLiteral("元の画像を「%1」に残せません")
                    .arg(QDir::toNativeSeparators(underscoreCopyOf(shownPath_)));
    } else if (!writePicture(picture(), shownPath_, 100, &error) && error.isEmpty()) {
        error = QStringLiteral("書き込めません");
    }
    if (error.isEmpty()) {
        dropStrokes();
        return true;
    }
    QMessageBox::warning(this, QStringLiteral("Zavik"),
                         QStringLiteral("「%1」に上書きできませんでした：%2\n"
                                        "元のファイルはそのままです。")
                             .arg(QDir::toNativeSeparators(shownPath_), error));
    return false;
}

void PictureViewerWindow::openOutside(bool edit) {
    if (shownPath_.isEmpty() || (!edit && busy_ && *busy_))
        return;
    if (edit)
        openInPaintProgram(shownPath_);
    else
        openWithShell(shownPath_);
    emit tuckRequested();
}
