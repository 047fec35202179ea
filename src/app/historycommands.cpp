#include "app/historycommands.h"

#include "document/undohistory.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolButton>

namespace {

// "元に戻す：カードの移動", or the bare caption when there is no step.
QString naming(const QString& caption, const QString& step) {
    return step.isEmpty() ? caption : caption + QStringLiteral("：") + step;
}

// A field with an undo of its own: the typing in it is what the user means
// to take back, not the last step on the wall. A page on the wall edits its
// own forms.
bool hasOwnUndo(const QWidget* w) {
    for (const QWidget* up = w; up; up = up->isWindow() ? nullptr : up->parentWidget())
        if (up->inherits("QWebEngineView"))
            return true;
    if (const auto* line = qobject_cast<const QLineEdit*>(w))
        return !line->isReadOnly();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(w))
        return !spin->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w))
        return !plain->isReadOnly();
    if (const auto* rich = qobject_cast<const QTextEdit*>(w))
        return !rich->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->isEditable();
    return false;
}

} // namespace

HistoryCommands::HistoryCommands(UndoHistory& history, const bool& busy, QAction* undo,
                                 QAction* redo, QToolButton* undoButton, QWidget* window)
    : QObject(window), history_(history), busy_(busy), undo_(undo), redo_(redo),
      undoButton_(undoButton), ownPrompts_(window) {
    connect(undo_, &QAction::triggered, this, &HistoryCommands::undo);
    connect(redo_, &QAction::triggered, this, &HistoryCommands::redo);
    connect(undoButton_, &QToolButton::clicked, this, &HistoryCommands::undo);
    connect(&history_, &UndoHistory::changed, this, &HistoryCommands::follow);
    // Told once the history has settled, so the captions behind the notice
    // are those of the steps that are left.
    connect(
        &history_, &UndoHistory::refused, this,
        [this](const QString& message) { prompts_->tell(message); }, Qt::QueuedConnection);
    attach(window);
    follow();
}

void HistoryCommands::attach(QWidget* window) {
    window->addAction(undo_);
    window->addAction(redo_);
    window->installEventFilter(this);
}

void HistoryCommands::undo() {
    if (!busy_)
        history_.undo();
}

void HistoryCommands::redo() {
    if (!busy_)
        history_.redo();
}

void HistoryCommands::follow() {
    const QString undoText = naming(QStringLiteral("元に戻す"), history_.undoName());
    undo_->setText(undoText);
    undo_->setEnabled(history_.canUndo());
    redo_->setText(naming(QStringLiteral("やり直す"), history_.redoName()));
    redo_->setEnabled(history_.canRedo());
    undoButton_->setToolTip(undoText);
    undoButton_->setEnabled(history_.canUndo());
}

bool HistoryCommands::eventFilter(QObject* watched, QEvent* event) {
    // A key of ours that reaches the window unclaimed, from a field that
    // undoes by itself (Ctrl+Y is no redo key to a line edit on every
    // desktop): the field keeps it.
    if (event->type() == QEvent::ShortcutOverride && hasOwnUndo(QApplication::focusWidget())) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(
            QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        if (undo_->shortcuts().contains(pressed) || redo_->shortcuts().contains(pressed)) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
