#include "drawing/touchgesture.h"

#include <QGuiApplication>
#include <QLineF>
#include <QStyleHints>
#include <QTouchEvent>
#include <algorithm>

namespace {

// Fingers closer than this do not make a pinch that can be measured.
constexpr double kLeastDistance = 8;

} // namespace

bool TouchGesture::twoFingers(int* first, int* second) const {
    if (fingers_.size() < 2)
        return false;
    auto byOrder = [](const auto& a, const auto& b) { return a.second.order < b.second.order; };
    std::vector<std::pair<int, Finger>> sorted(fingers_.begin(), fingers_.end());
    std::sort(sorted.begin(), sorted.end(), byOrder);
    *first = sorted[0].first;
    *second = sorted[1].first;
    return true;
}

double TouchGesture::factor() const {
    const auto a = fingers_.find(first_);
    const auto b = fingers_.find(second_);
    if (a == fingers_.end() || b == fingers_.end())
        return 1;
    return std::max(QLineF(a->second.at, b->second.at).length(), kLeastDistance) / startDistance_;
}

QPointF TouchGesture::centre() const {
    const auto a = fingers_.find(first_);
    const auto b = fingers_.find(second_);
    if (a == fingers_.end() || b == fingers_.end())
        return startCentre_;
    return (a->second.at + b->second.at) / 2;
}

TouchGesture::Step TouchGesture::follow(const QTouchEvent* event) {
    const QStyleHints* hints = QGuiApplication::styleHints();
    const qint64 now = qint64(event->timestamp());
    // No finger was down before: whatever was left of an earlier touch
    // (a window closed under it) goes.
    if (event->type() == QEvent::TouchBegin) {
        fingers_.clear();
        pressed_ = 0;
        pinching_ = false;
    }
    Step step = Step::None;
    bool tapped = false;
    QPointF tapAt;
    for (const QEventPoint& point : event->points()) {
        const QPointF at = point.globalPosition();
        switch (point.state()) {
        case QEventPoint::State::Pressed:
            fingers_[point.id()] = Finger{at, at, now, pressed_++, false};
            break;
        case QEventPoint::State::Released: {
            const auto it = fingers_.find(point.id());
            if (it == fingers_.end())
                break;
            // One finger that went down and up without moving is a tap.
            if (pressed_ == 1 && !it->second.moved &&
                now - it->second.pressedMs <= hints->mouseDoubleClickInterval()) {
                tapped = true;
                tapAt = at;
            }
            if (pinching_ && (point.id() == first_ || point.id() == second_)) {
                pinching_ = false;
                step = Step::PinchEnded;
            }
            fingers_.erase(it);
            break;
        }
        default: {
            const auto it = fingers_.find(point.id());
            if (it == fingers_.end())
                break;
            it->second.at = at;
            if (QLineF(at, it->second.pressedAt).length() > hints->startDragDistance())
                it->second.moved = true;
            break;
        }
        }
    }
    if (!pinching_ && step != Step::PinchEnded && twoFingers(&first_, &second_)) {
        pinching_ = true;
        const QPointF a = fingers_[first_].at;
        const QPointF b = fingers_[second_].at;
        startDistance_ = std::max(QLineF(a, b).length(), kLeastDistance);
        startCentre_ = (a + b) / 2;
        step = Step::PinchStarted;
    } else if (pinching_) {
        step = Step::Pinched;
    }
    if (tapped) {
        const bool twice = lastTapValid_ && now - lastTapMs_ <= hints->mouseDoubleClickInterval() &&
                           QLineF(tapAt, lastTapAt_).length() <= 4 * hints->startDragDistance();
        lastTapValid_ = !twice;
        lastTapAt_ = tapAt;
        lastTapMs_ = now;
        if (twice)
            step = Step::DoubleTap;
    }
    if (fingers_.empty()) {
        pressed_ = 0;
    }
    return step;
}
