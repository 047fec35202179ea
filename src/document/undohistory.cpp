#include "document/undohistory.h"

#include <algorithm>

UndoHistory::UndoHistory(QObject* parent) : QObject(parent) {}

UndoHistory::~UndoHistory() = default;

void UndoHistory::push(std::unique_ptr<HistoryStep> step) {
    if (!step)
        return;
    undone_.clear();
    done_.push_back(std::move(step));
    qint64 kept = 0;
    for (const auto& s : done_)
        kept += s->bytesKept();
    while (int(done_.size()) > kMaxSteps || (done_.size() > 1 && kept > kMaxBytesKept)) {
        kept -= done_.front()->bytesKept();
        done_.pop_front();
    }
    emit changed();
}

QString UndoHistory::undoName() const {
    return done_.empty() ? QString() : done_.back()->name();
}

QString UndoHistory::redoName() const {
    return undone_.empty() ? QString() : undone_.back()->name();
}

void UndoHistory::move(Steps& from, Steps& to, bool undo) {
    if (from.empty())
        return;
    std::unique_ptr<HistoryStep> step = std::move(from.back());
    from.pop_back();
    QString why;
    if (undo ? step->undo(&why) : step->redo(&why)) {
        to.push_back(std::move(step));
    } else {
        const QString what =
            undo ? QStringLiteral("元に戻せませんでした") : QStringLiteral("やり直せませんでした");
        emit refused(QStringLiteral("「%1」は%2。\n%3").arg(step->name(), what, why));
    }
    emit changed();
}

void UndoHistory::undo() {
    move(done_, undone_, true);
}

void UndoHistory::redo() {
    move(undone_, done_, false);
}

void UndoHistory::clear() {
    if (done_.empty() && undone_.empty())
        return;
    done_.clear();
    undone_.clear();
    emit changed();
}

void UndoHistory::dropWhere(const std::function<bool(const HistoryStep&)>& which) {
    const auto before = done_.size() + undone_.size();
    for (Steps* steps : {&done_, &undone_})
        steps->erase(
            std::remove_if(steps->begin(), steps->end(),
                           [&](const std::unique_ptr<HistoryStep>& s) { return which(*s); }),
            steps->end());
    if (done_.size() + undone_.size() != before)
        emit changed();
}

void UndoHistory::dropCard(quint64 id) {
    dropWhere([id](const HistoryStep& s) { return s.touchesCard(id); });
}

void UndoHistory::dropFile(const QString& name) {
    dropWhere([&name](const HistoryStep& s) { return s.touchesFile(name); });
}

void UndoHistory::dropCanvas(const void* canvas) {
    dropWhere([canvas](const HistoryStep& s) { return s.canvas() == canvas; });
}
