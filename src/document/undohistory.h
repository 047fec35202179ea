#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <memory>

// One thing the user did on the wall that can be taken back and made again:
// an edit of cards (with their files), a pen stroke.
class HistoryStep {
public:
    virtual ~HistoryStep() = default;
    // What the menu calls it: "カードの移動".
    virtual QString name() const = 0;
    // Takes the step back, or makes it again. When the step cannot be (a
    // file it wrote was changed by another program meanwhile) nothing is
    // changed, false is returned and `why` says what stood in the way.
    virtual bool undo(QString* why) = 0;
    virtual bool redo(QString* why) = 0;
    // What the step concerns, so that a change from elsewhere can drop it:
    // a card (by its id on the wall), a file of the wall folder, a canvas.
    virtual bool touchesCard(quint64 id) const {
        Q_UNUSED(id);
        return false;
    }
    virtual bool touchesFile(const QString& name) const {
        Q_UNUSED(name);
        return false;
    }
    virtual const void* canvas() const { return nullptr; }
    // The bytes it keeps (in memory or temporary files) to be taken back.
    virtual qint64 bytesKept() const { return 0; }
};

// The steps the user can take back on one wall, newest last, and those taken
// back that can be made again. Steps are dropped from anywhere in it when
// what they concern changed from elsewhere: the others stay, as they concern
// other cards.
class UndoHistory : public QObject {
    Q_OBJECT
public:
    // Steps kept; older ones are forgotten, and so they are while the steps
    // together keep more bytes than this (pen strokes over the whole screen;
    // the temporary folder may be in memory too).
    static constexpr int kMaxSteps = 200;
    static constexpr qint64 kMaxBytesKept = 256 * 1024 * 1024;

    explicit UndoHistory(QObject* parent = nullptr);
    ~UndoHistory() override;

    // A new step, just done: what was taken back can no longer be made again.
    void push(std::unique_ptr<HistoryStep> step);

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    // The names of the steps the next undo and redo concern; empty when none.
    QString undoName() const;
    QString redoName() const;
    int undoCount() const { return int(done_.size()); }
    int redoCount() const { return int(undone_.size()); }

    // Takes the newest step back / makes the last one taken back again. A
    // step that cannot be is forgotten, and `refused` says why.
    void undo();
    void redo();

    // Forgets every step.
    void clear();
    // Forgets the steps `which` picks.
    void dropWhere(const std::function<bool(const HistoryStep&)>& which);
    void dropCard(quint64 id);
    void dropFile(const QString& name);
    void dropCanvas(const void* canvas);

signals:
    // What can be taken back or made again changed.
    void changed();
    // A step could not be taken back or made again, and was forgotten.
    void refused(const QString& message);

private:
    using Steps = std::deque<std::unique_ptr<HistoryStep>>;
    void move(Steps& from, Steps& to, bool undo);

    Steps done_;   // oldest first
    Steps undone_; // most recently taken back last
};
