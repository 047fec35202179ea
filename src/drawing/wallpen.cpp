#include "drawing/wallpen.h"

#include "document/changedetection.h"
#include "document/undohistory.h"
#include "document/walldocument.h"
#include "document/wallsaver.h"
#include "drawing/picturecanvas.h"
#include "drawing/pictureviewerwindow.h"
#include "drawing/strokestep.h"
#include "model/bgrcolor.h"
#include "model/penstate.h"
#include "pictures/backgroundfit.h"
#include "platform/shell.h"
#include "storage/pathforms.h"
#include "storage/underscorecopy.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTabletEvent>
#include <QTouchEvent>
#include <QWindow>

WallPen::WallPen(WallDocument& doc, PenState& pen, const bool& busy, const bool& oneShotArmed,
                 const bool& stampArmed, QWidget* wallArea)
    : QObject(wallArea), st(doc), pen_(pen), busy_(busy), oneShotArmed_(oneShotArmed),
      stampArmed_(stampArmed), wallArea_(wallArea), changes_(doc.changes()) {
    Image1 = new PictureCanvas(wallArea);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);
    strokes_ = std::make_unique<StrokeRecorder>(*Image1, &st.canvasDrawn);
    touches_ = std::make_unique<TouchPens>(*Image1, kWallStrokes, &st.canvasDrawn);
    connect(Image1, &PictureCanvas::pictureReplaced, this, &WallPen::dropStrokes);
    // A stroke under way when an undo puts pixels back would keep them as
    // its own: it is drawn, and not kept as a step.
    connect(Image1, &PictureCanvas::pixelsPutBack, this, [this] {
        strokes_->cancel();
        touches_->cancel();
    });
    connect(&st, &WallDocument::backgroundPictureWritten, this, &WallPen::dropStrokes);

    PopupMenu3 = new QMenu(wallArea);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    auto item = [this](const char* name, const QString& caption, auto slot) {
        QAction* a = PopupMenu3->addAction(caption, this, slot);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    N68 = item("N68", QStringLiteral("線画"), [this] { togglePen(); });
    N69 = item("N69", QStringLiteral("ドラッグ間－描画"), [this] { toggleStraight(); });
    const char16_t* colours[] = {u"赤ペン", u"青ペン", u"黄ペン", u"白ペン", u"黒ペン"};
    for (int c = 0; c < 5; ++c)
        PopupMenu3->addAction(QString::fromUtf16(colours[c]), this, [this, c] { chooseColour(c); });
    PopupMenu3->addAction(QStringLiteral("太ペン"), this, [this] { chooseWidth(kThickPen); });
    PopupMenu3->addAction(QStringLiteral("細ペン"), this, [this] { chooseWidth(kThinPen); });
    PopupMenu3->addAction(QStringLiteral("標準太さペン"), this,
                          [this] { chooseWidth(kNormalPen); });
    PopupMenu3->addAction(QStringLiteral("ビュアー"), this, [this] { openOutside(false); });
    PopupMenu3->addAction(QStringLiteral("編集"), this, [this] { openOutside(true); });
    PopupMenu3->addAction(QStringLiteral("_原画にもどす"), this, [this] { restoreOriginal(); });
    PopupMenu3->addAction(QStringLiteral("ペンの絵を消す"), this, [this] { wipe(); });
    PopupMenu3->addAction(QStringLiteral("保存・ていあん"), this, [this] { save(); });
    connect(PopupMenu3, &QMenu::aboutToShow, this, [this] {
        N68->setText(pen_.MSON ? QStringLiteral("OFF") : QStringLiteral("ON"));
        captionStraight();
        if (!pen_.PREFLG)
            resetCounter();
    });
}

UndoHistory& WallPen::history() {
    return st.history();
}

void WallPen::keepStroke() {
    if (std::unique_ptr<StrokeStep> step = strokes_->end())
        st.history().push(std::move(step));
}

// The strokes on the canvas went into a picture file, or went with the
// picture: they can no longer be taken back one by one.
void WallPen::dropStrokes() {
    strokes_->cancel();
    touches_->cancel();
    st.history().dropCanvas(Image1);
}

int WallPen::counter() const {
    return stroke_.counter;
}

void WallPen::setTouchHold(TouchHold* hold) {
    touches_->setHold(hold);
}

void WallPen::resetCounter() {
    stroke_.counter = 0;
}

QSize WallPen::canvasPixels() const {
    const qreal ratio = Image1->devicePixelRatioF();
    return QSize(qMax(1, qRound(st.NOWX * ratio)), qMax(1, qRound(st.NOWY * ratio)));
}

void WallPen::showOnCanvas(const QImage& picture) {
    Image1->setPicture(picture, st.NOWX > 0 ? double(picture.width()) / st.NOWX : 1.0);
}

void WallPen::showBackground(const QImage& picture) {
    Image1->setGeometry(0, 0, st.NOWX, st.NOWY);
    showOnCanvas(picture);
    Image2 = picture;
    pen_.MSON2 = true;
    st.canvasDrawn = false;
}

void WallPen::KABEIMAGELOAD(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        clearToNavy();
        return;
    }
    st.KABEIMG = path;
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext != QLatin1String("bmp") && ext != QLatin1String("jpg") &&
        ext != QLatin1String("jpeg") && ext != QLatin1String("gif"))
        return;
    st.KABEIMAGE = path;
    const QSize pixels = canvasPixels();
    showBackground(composeBackground(path, pixels.width(), pixels.height(), bgrColor(kNavy)));
}

void WallPen::clearToNavy() {
    Image1->setGeometry(0, 0, st.NOWX, st.NOWY);
    QImage navy(canvasPixels(), QImage::Format_RGB32);
    navy.fill(bgrColor(kNavy));
    showOnCanvas(navy);
    Image2 = navy;
    pen_.MSON2 = false;
    st.canvasDrawn = false;
}

QImage WallPen::canvasImage() const {
    return Image1->picture();
}

void WallPen::MSswitch(bool on) {
    pen_.MSON = on;
    if (!on) {
        resetCounter();
        // An empty background starts again as the plain wall of this size.
        if (!pen_.MSON2)
            clearToNavy();
    }
    emit penSwitched(on);
    setCursors();
}

void WallPen::setCursors() {
    const Qt::CursorShape shape = pen_.MSON ? Qt::ArrowCursor : Qt::PointingHandCursor;
    Image1->setCursor(shape);
    if (viewer)
        viewer->setPictureCursor(shape);
}

void WallPen::penOn() {
    MSswitch(true);
}

void WallPen::togglePen() {
    if (busy_)
        return;
    emit oneShotDisarmed();
    MSswitch(!pen_.MSON);
}

void WallPen::chooseColour(int CPEN) {
    pen_.CPEN = CPEN;
    penOn();
    resetCounter();
}

void WallPen::chooseWidth(int SPENS) {
    pen_.SPENS = SPENS;
    penOn();
    if (SPENS == kNormalPen)
        resetCounter();
}

void WallPen::toggleStraight() {
    penOn();
    resetCounter();
    pen_.PREFLG = !pen_.PREFLG;
    captionStraight();
}

void WallPen::captionStraight() {
    N69->setText(pen_.PREFLG ? QStringLiteral("－－－直線－－－")
                             : QStringLiteral("～～～曲線～～～"));
}

void WallPen::wipe() {
    resetCounter();
    if (busy_)
        return;
    emit oneShotDisarmed();
    MSswitch(false);
    if (viewer && viewer->isOpen()) {
        viewer->reloadPicture();
        return;
    }
    if (QFileInfo(st.KABEIMG).isFile()) {
        showOnCanvas(Image2);
        st.canvasDrawn = false;
    } else {
        clearToNavy();
    }
}

void WallPen::restoreOriginal() {
    resetCounter();
    emit oneShotDisarmed();
    MSswitch(false);
    const QString picture =
        st.KABEIMG.isEmpty() ? ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK) : st.KABEIMG;
    if (!st.KABEIMAGE.isEmpty() && restoreUnderscoreCopy(picture)) {
        // Shown at once, both layers: the strokes are gone with the drawing
        // that was saved into the picture.
        emit st.backgroundShown(picture);
        return;
    }
    // Without an original there is nothing to go back to but the picture
    // as loaded, or the plain wall.
    if (QFileInfo(picture).isFile() && !st.KABEIMAGE.isEmpty()) {
        showOnCanvas(Image2);
        st.canvasDrawn = false;
    } else {
        clearToNavy();
    }
}

void WallPen::save() {
    resetCounter();
    QString failure;
    if (!st.saver().KABEBACKSAVE(1, &failure))
        QMessageBox::warning(wallArea_->window(), QStringLiteral("Zavik"),
                             QStringLiteral("背景の絵を保存できませんでした。\n%1\n"
                                            "ディスクの空きと書き込みの許可を確かめてください。")
                                 .arg(failure));
}

void WallPen::openOutside(bool edit) {
    resetCounter();
    if (busy_)
        return;
    QString picture = ZETTAI(st.KABEIMG, st.KIJUNDIR, st.KIJUNDIRBAK);
    if (st.KABEIMG.isEmpty() || !QFileInfo(picture).isFile()) {
        save();
        picture = ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK);
    }
    if (st.KABEIMAGE.isEmpty() || !QFileInfo(picture).isFile())
        return;
    if (edit)
        openInPaintProgram(picture);
    else
        openWithShell(picture);
    emit tuckRequested();
}

bool WallPen::touchDraws() const {
    return pen_.MSON && !busy_ && !oneShotArmed_ && !stampArmed_;
}

bool WallPen::tablet(QTabletEvent* event) {
    if (!touchDraws() && !touches_->has(TouchPens::kStylus))
        return false;
    pen_.MSON2 = true;
    return touches_->stylus(event, penInk(pen_), &st.history());
}

bool WallPen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watched_ && !watched_.isNull()) {
        // A touch that began with the pen on ends as it began.
        if (isTouch(event) && (touchDraws() || touches_->holdsTouch())) {
            touches_->takeWindowTouch(Image1->window(), static_cast<QTouchEvent*>(event),
                                      penInk(pen_), &st.history());
            pen_.MSON2 = pen_.MSON2 || st.canvasDrawn;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
    if (watched == Image1) {
        switch (event->type()) {
        case QEvent::Show:
            watchTouches(watched_, Image1->window()->windowHandle(), this);
            break;
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
            return tablet(static_cast<QTabletEvent*>(event));
        case QEvent::MouseButtonPress:
            press(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            move(static_cast<QMouseEvent*>(event));
            break; // the wall follows the mouse too
        case QEvent::MouseButtonRelease:
            release(static_cast<QMouseEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void WallPen::press(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    stroke_.press(Image1->toPicture(event->position()));
    if (event->button() == Qt::LeftButton)
        strokes_->begin();
    if (busy_)
        return;
    ChangeDetection::Pause pause(changes_);
    if (event->button() == Qt::RightButton || oneShotArmed_) {
        emit oneShotDisarmed();
        openMenu(event->globalPosition().toPoint() - QPoint(10, 30));
    } else if (stampArmed_) {
        emit stampRequested(Image1->mapTo(wallArea_, at));
    }
}

void WallPen::openMenu(QPoint globalPos) {
    PopupMenu3->popup(globalPos);
}

void WallPen::move(QMouseEvent* event) {
    if (pen_.SPENS == 0)
        pen_.SPENS = kNormalPen;
    const bool leftDown = event->buttons() & Qt::LeftButton;
    if (pen_.MSON && leftDown)
        pen_.MSON2 = true;
    const QRect changed =
        stroke_.move(Image1->drawable(), Image1->toPicture(event->position()), leftDown, pen_.MSON,
                     pen_.PREFLG, penColour(pen_.CPEN), Image1->penWidth(pen_.SPENS));
    if (!changed.isEmpty()) {
        st.canvasDrawn = true;
        strokes_->drew(changed);
    }
}

void WallPen::release(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (pen_.MSON && pen_.PREFLG) {
        const int width = pen_.SPENS > 0 ? pen_.SPENS : kNormalPen;
        const QRect changed =
            stroke_.release(Image1->drawable(), Image1->toPicture(event->position()),
                            penColour(pen_.CPEN), Image1->penWidth(width));
        if (!changed.isEmpty()) {
            pen_.MSON2 = true;
            st.canvasDrawn = true;
            strokes_->drew(changed);
        }
    }
    keepStroke();
}
