#include "drawing/touchpens.h"

#include "document/undohistory.h"
#include "drawing/picturecanvas.h"
#include "drawing/strokestep.h"
#include "model/penstate.h"
#include "platform/touchhold.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabletEvent>
#include <QTouchEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

struct TouchPens::Point {
    Point(PictureCanvas& canvas, StrokeRules rules, bool* drawn)
        : stroke(rules), recorder(canvas, drawn) {}
    PenStroke stroke;
    StrokeRecorder recorder;
    bool drew = false;
};

PenInk penInk(const PenState& pen) {
    return PenInk{penColour(pen.CPEN), pen.SPENS > 0 ? pen.SPENS : kNormalPen, pen.PREFLG};
}

void watchTouches(QPointer<QWindow>& watched, QWindow* window, QObject* filter) {
    if (!window || window == watched)
        return;
    if (watched)
        watched->removeEventFilter(filter);
    watched = window;
    window->installEventFilter(filter);
}

bool isTouch(const QEvent* event) {
    const QEvent::Type type = event->type();
    return type == QEvent::TouchBegin || type == QEvent::TouchUpdate || type == QEvent::TouchEnd ||
           type == QEvent::TouchCancel;
}

qreal pressureWidth(int width, double pressure) {
    const double p = std::clamp(std::isfinite(pressure) ? pressure : 1.0, 0.0, 1.0);
    const double least = width / 3.0;
    return least + (width - least) * p;
}

TouchPens::TouchPens(PictureCanvas& canvas, StrokeRules rules, bool* drawn)
    : canvas_(canvas), rules_(rules), drawn_(drawn) {}

TouchPens::~TouchPens() = default;

bool TouchPens::down(int id, QPoint at) {
    if (has(id) || points_.size() >= size_t(kMostPoints))
        return false;
    auto point = std::make_unique<Point>(canvas_, rules_, drawn_);
    point->stroke.press(canvas_.toPicture(at));
    point->recorder.begin();
    points_.emplace(id, std::move(point));
    return true;
}

bool TouchPens::hasDrawn(int id) const {
    const auto it = points_.find(id);
    return it != points_.end() && it->second->drew;
}

bool TouchPens::hasDrawnAny() const {
    return std::any_of(points_.begin(), points_.end(),
                       [](const auto& point) { return point.second->drew; });
}

bool TouchPens::stylus(QTabletEvent* event, const PenInk& ink, UndoHistory* history) {
    const QPoint at = event->position().toPoint();
    switch (event->type()) {
    case QEvent::TabletPress:
        if (event->button() != Qt::LeftButton)
            return false;
        if (down(kStylus, at))
            watchAlone(kStylus, event->globalPosition());
        break;
    case QEvent::TabletMove:
        if (!has(kStylus))
            return false;
        if (watchedId_ == kStylus && !hold_->pointMoved(event->globalPosition()))
            watchedId_ = kNobody;
        moveTo(kStylus, at, ink, event->pressure());
        break;
    case QEvent::TabletRelease:
        if (!has(kStylus))
            return false;
        // A pen held still is the right button, as a finger is.
        if (heldStill(kStylus))
            hold_->rightClickAt(&canvas_, event->globalPosition(), event->pointingDevice());
        else
            up(kStylus, at, ink, history);
        break;
    default:
        return false;
    }
    event->accept();
    return true;
}

QRect TouchPens::moveTo(int id, QPoint at, const PenInk& ink, double pressure) {
    const auto it = points_.find(id);
    if (it == points_.end())
        return QRect();
    Point& point = *it->second;
    const QRect changed =
        point.stroke.move(canvas_.drawable(), canvas_.toPicture(at), true, true, ink.straight,
                          ink.colour, canvas_.penWidth(pressureWidth(ink.width, pressure)));
    if (!changed.isEmpty()) {
        point.drew = true;
        if (drawn_)
            *drawn_ = true;
        point.recorder.drew(changed);
    }
    return changed;
}

void TouchPens::up(int id, QPoint at, const PenInk& ink, UndoHistory* history) {
    const auto it = points_.find(id);
    if (it == points_.end())
        return;
    std::unique_ptr<Point> point = std::move(it->second);
    points_.erase(it);
    if (ink.straight) {
        const QRect changed = point->stroke.release(canvas_.drawable(), canvas_.toPicture(at),
                                                    ink.colour, canvas_.penWidth(ink.width));
        if (!changed.isEmpty()) {
            if (drawn_)
                *drawn_ = true;
            point->recorder.drew(changed);
        }
    }
    std::unique_ptr<StrokeStep> step = point->recorder.end();
    if (!step)
        return;
    for (auto& [other, running] : points_)
        running->recorder.otherKept(step->rect());
    if (history)
        history->push(std::move(step));
}

void TouchPens::cancel() {
    for (auto& [id, point] : points_)
        point->recorder.cancel();
    points_.clear();
    if (hold_ && watchedId_ != kNobody)
        hold_->stopWatching();
    watchedId_ = kNobody;
}

void TouchPens::takeWindowTouch(QWidget* window, QTouchEvent* event, const PenInk& ink,
                                UndoHistory* history) {
    event->accept();
    for (const QEventPoint& point : event->points()) {
        const QPoint global = point.globalPosition().toPoint();
        const QPoint at = canvas_.mapFromGlobal(global);
        const int id = point.id();
        if (id == mouseId_) {
            mouseFromTouch(window, point, event);
            continue;
        }
        switch (point.state()) {
        case QEventPoint::State::Pressed: {
            QWidget* under = window->childAt(window->mapFromGlobal(global));
            if (under == &canvas_ && down(id, at))
                watchAlone(id, point.globalPosition());
            else if (!mouseTarget_ && under)
                mouseFromTouch(window, point, event);
            break;
        }
        case QEventPoint::State::Released:
            if (heldStill(id)) {
                hold_->rightClickAt(&canvas_, point.globalPosition(), event->pointingDevice());
                break;
            }
            up(id, at, ink, history);
            break;
        case QEventPoint::State::Updated:
            if (id == watchedId_ && !hold_->pointMoved(point.globalPosition()))
                watchedId_ = kNobody;
            moveTo(id, at, ink);
            break;
        default:
            break;
        }
    }
    if (event->type() == QEvent::TouchCancel) {
        cancel();
        mouseTarget_ = nullptr;
        mouseId_ = -1;
    }
}

void TouchPens::watchAlone(int id, QPointF global) {
    if (!hold_)
        return;
    // A second finger makes it drawing, whatever the first was doing.
    if (points_.size() == 1 && !mouseTarget_) {
        hold_->watchPoint(global);
        watchedId_ = id;
    } else if (watchedId_ != kNobody) {
        hold_->stopWatching();
        watchedId_ = kNobody;
    }
}

bool TouchPens::heldStill(int id) {
    if (id != watchedId_)
        return false;
    watchedId_ = kNobody;
    if (!hold_->pointLifted())
        return false;
    const auto it = points_.find(id);
    if (it != points_.end()) {
        it->second->recorder.takeBack();
        points_.erase(it);
    }
    return true;
}

void TouchPens::mouseFromTouch(QWidget* window, const QEventPoint& point, QTouchEvent* event) {
    const QPoint global = point.globalPosition().toPoint();
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    Qt::MouseButtons held = Qt::LeftButton;
    if (point.state() == QEventPoint::State::Pressed) {
        mouseTarget_ = window->childAt(window->mapFromGlobal(global));
        mouseId_ = point.id();
        type = QEvent::MouseButtonPress;
        button = Qt::LeftButton;
    } else if (point.state() == QEventPoint::State::Released) {
        type = QEvent::MouseButtonRelease;
        button = Qt::LeftButton;
        held = Qt::NoButton;
        mouseId_ = -1;
    } else if (point.state() == QEventPoint::State::Stationary) {
        return;
    }
    QPointer<QWidget> target = mouseTarget_;
    if (held == Qt::NoButton)
        mouseTarget_ = nullptr;
    if (!target)
        return;
    const QPointF local = target->mapFromGlobal(point.globalPosition());
    QMouseEvent mouse(type, local, point.scenePosition(), point.globalPosition(), button, held,
                      event->modifiers(), event->pointingDevice());
    QApplication::sendEvent(target, &mouse);
}
