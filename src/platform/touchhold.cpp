#include "platform/touchhold.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace {

// A tap ends before this, so it never flashes a ring.
constexpr int kRingDelayMs = 150;
constexpr double kRingMm = 12.0;

// The ring: a top-level window of its own, so that it shows above anything
// under the finger, which lets every touch through to the window below.
class HoldRing : public QWidget {
public:
    HoldRing()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
        setObjectName(QStringLiteral("holdRing"));
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }
    void showAt(QPointF centre, int diameter, double progress) {
        progress_ = progress;
        const int side = diameter + 8;
        setGeometry(QRect(QPoint(0, 0), QSize(side, side))
                        .translated(centre.toPoint() - QPoint(side / 2, side / 2)));
        if (!isVisible())
            show();
        update();
    }

protected:
    void resizeEvent(QResizeEvent*) override {
        // Only the ring itself: a desktop that cannot show see-through
        // windows would show the square around it.
        const int reach = qRound(lineWidth() / 2) + 2;
        const QRect band = trackRect().toAlignedRect();
        setMask(QRegion(band.adjusted(-reach, -reach, reach, reach), QRegion::Ellipse) -
                QRegion(band.adjusted(reach, reach, -reach, -reach), QRegion::Ellipse));
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal width = lineWidth();
        const QRectF r = trackRect();
        p.setPen(QPen(QColor(128, 128, 128, 160), width));
        p.drawEllipse(r);
        // Dark under light, so the ring shows on any wall.
        const int span = -qRound(360 * 16 * qBound(0.0, progress_, 1.0));
        p.setPen(QPen(QColor(0, 0, 0, 160), width + 2, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(r, 90 * 16, span);
        p.setPen(QPen(QColor(255, 255, 255, 230), width, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(r, 90 * 16, span);
    }

private:
    qreal lineWidth() const { return qMax(3.0, height() / 10.0); }
    QRectF trackRect() const {
        const qreal w = lineWidth();
        return QRectF(rect()).adjusted(w, w, -w, -w);
    }

    double progress_ = 0;
};

} // namespace

bool byFingerOrPen(const QInputEvent* event) {
    const QInputDevice* device = event ? event->device() : nullptr;
    if (!device)
        return false;
    switch (device->type()) {
    case QInputDevice::DeviceType::TouchScreen:
    case QInputDevice::DeviceType::Stylus:
    case QInputDevice::DeviceType::Airbrush:
        return true;
    default:
        return false;
    }
}

int pixelsForMillimetres(const QWidget* widget, double millimetres) {
    const QScreen* screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    double dpi = screen ? screen->physicalDotsPerInch() : 0;
    if (!(dpi > 0) || !std::isfinite(dpi))
        dpi = 96;
    return int(std::lround(millimetres * dpi / 25.4));
}

TouchHold::TouchHold(QWidget* window)
    : QObject(window), window_(window), ring_(std::make_unique<HoldRing>()) {
    tick_ = new QTimer(this);
    tick_->setInterval(16);
    connect(tick_, &QTimer::timeout, this, &TouchHold::tick);
    // The press reaches the window before any of its widgets: held back
    // there, no widget sees it until it is known what it is.
    qApp->installEventFilter(this);
}

TouchHold::~TouchHold() = default;

QWidget* TouchHold::ring() const {
    return ring_.get();
}

bool TouchHold::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick &&
        type != QEvent::TouchCancel)
        return false;
    if (replaying_ || !window_ || watched != window_->windowHandle())
        return false;
    if (type == QEvent::TouchCancel) {
        heldBack_.clear();
        reset();
        return false;
    }
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    if (!holding()) {
        if (type != QEvent::MouseButtonPress || mouse->button() != Qt::LeftButton ||
            !byFingerOrPen(mouse))
            return false;
        target_ = static_cast<QWindow*>(watched);
        begin(mouse);
        return true;
    }
    switch (type) {
    case QEvent::MouseButtonDblClick:
        heldBack_.emplace_back(mouse->clone());
        return true;
    case QEvent::MouseMove:
        if (std::hypot(mouse->globalPosition().x() - start_.x(),
                       mouse->globalPosition().y() - start_.y()) <= slack_)
            return true; // a finger is never quite still
        replay();        // a drag after all
        return false;
    case QEvent::MouseButtonRelease:
        if (mouse->button() == Qt::LeftButton && (complete_ || clock_.elapsed() >= kHoldMs)) {
            rightClick();
            return true;
        }
        replay();
        return false;
    default: // another button: whatever this was, it is no hold
        replay();
        return false;
    }
}

void TouchHold::watchPoint(QPointF global) {
    if (holding())
        return;
    watching_ = true;
    start_ = global;
    slack_ = pixelsForMillimetres(window_, kSlackMm);
    complete_ = false;
    clock_.start();
    tick_->start();
}

bool TouchHold::pointMoved(QPointF global) {
    if (!watching_)
        return false;
    if (std::hypot(global.x() - start_.x(), global.y() - start_.y()) <= slack_)
        return true;
    stopWatching();
    return false;
}

bool TouchHold::pointLifted() {
    const bool held = watching_ && (complete_ || clock_.elapsed() >= kHoldMs);
    stopWatching();
    return held;
}

void TouchHold::stopWatching() {
    if (watching_)
        reset();
}

void TouchHold::rightClickAt(QWidget* widget, QPointF global, const QPointingDevice* device) {
    if (!widget)
        return;
    const QPointF at = widget->mapFromGlobal(global);
    replaying_ = true;
    QMouseEvent down(QEvent::MouseButtonPress, at, at, global, Qt::RightButton, Qt::RightButton,
                     Qt::NoModifier, device);
    QCoreApplication::sendEvent(widget, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, at, global, Qt::RightButton, Qt::NoButton,
                   Qt::NoModifier, device);
    QCoreApplication::sendEvent(widget, &up);
    replaying_ = false;
}

void TouchHold::begin(const QMouseEvent* press) {
    heldBack_.emplace_back(press->clone());
    start_ = press->globalPosition();
    slack_ = pixelsForMillimetres(window_, kSlackMm);
    complete_ = false;
    clock_.start();
    tick_->start();
}

void TouchHold::tick() {
    if ((!holding() && !watching_) || !window_ || !window_->isVisible()) {
        heldBack_.clear();
        reset();
        return;
    }
    const qint64 elapsed = clock_.elapsed();
    complete_ = elapsed >= kHoldMs;
    if (elapsed >= kRingDelayMs)
        static_cast<HoldRing*>(ring_.get())
            ->showAt(start_, pixelsForMillimetres(window_, kRingMm), double(elapsed) / kHoldMs);
    if (complete_)
        tick_->stop(); // the ring stays full until the finger lifts
}

void TouchHold::replay() {
    std::vector<std::unique_ptr<QInputEvent>> events = std::move(heldBack_);
    const QPointer<QWindow> target = target_;
    reset();
    replaying_ = true;
    for (const auto& e : events)
        if (target)
            QCoreApplication::sendEvent(target, e.get());
    replaying_ = false;
}

void TouchHold::rightClick() {
    const auto* press = static_cast<const QMouseEvent*>(heldBack_.front().get());
    const QPointF at = press->position();
    const QPointF global = press->globalPosition();
    const QPointingDevice* device = press->pointingDevice();
    const Qt::KeyboardModifiers modifiers = press->modifiers();
    const QPointer<QWindow> target = target_;
    heldBack_.clear();
    reset();
    if (!target)
        return;
    replaying_ = true;
    QMouseEvent down(QEvent::MouseButtonPress, at, at, global, Qt::RightButton, Qt::RightButton,
                     modifiers, device);
    QCoreApplication::sendEvent(target, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, at, global, Qt::RightButton, Qt::NoButton,
                   modifiers, device);
    QCoreApplication::sendEvent(target, &up);
    replaying_ = false;
}

void TouchHold::reset() {
    tick_->stop();
    watching_ = false;
    complete_ = false;
    target_ = nullptr;
    ring_->hide();
}
