#pragma once

#include "platform/userprompts.h"

#include <QObject>

class QAction;
class QToolButton;
class QWidget;
class UndoHistory;

// What the user presses to take steps of the wall's history back and make
// them again: the main menu's two entries, the tool column's undo button and
// their keys in every window they are attached to. Captions and the hint name
// the step concerned; with nothing to take back or make again they are greyed.
class HistoryCommands : public QObject {
    Q_OBJECT
public:
    // `undo` and `redo` carry their keys; `busy` holds them all back while
    // the wall is loading.
    HistoryCommands(UndoHistory& history, const bool& busy, QAction* undo, QAction* redo,
                    QToolButton* undoButton, QWidget* window);

    // Where a step that could not be taken back is told; the window's own
    // dialogs when none is set.
    void setPrompts(UserPrompts* prompts) { prompts_ = prompts ? prompts : &ownPrompts_; }
    // The keys work in `window` as well, on the same history.
    void attach(QWidget* window);

    void undo();
    void redo();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    UndoHistory& history_;
    const bool& busy_;
    QAction* undo_;
    QAction* redo_;
    QToolButton* undoButton_;
    DialogPrompts ownPrompts_;
    UserPrompts* prompts_ = &ownPrompts_;
};
