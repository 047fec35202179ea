#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

// Asks the reading to put over a selected text as ruby. Made once and
// reused.
class RubyDialog : public QDialog { // TForm13
    Q_OBJECT
public:
    explicit RubyDialog(QWidget* parent = nullptr);

    // Shows `base` and asks its reading, modally; nothing when the user
    // cancelled. The window's close box keeps what was typed, as OK does.
    QString ask(const QString& base);

    QLabel* Label1;            // the base text
    QLineEdit* Edit1;          // the reading
    QToolButton* SpeedButton1; // OK
    QToolButton* SpeedButton2; // キャンセル

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
