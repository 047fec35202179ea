#pragma once

#include "platform/userprompts.h"

#include <QDialog>

class QLineEdit;
class QToolButton;

// Asks the page editor's link target: a typed address or a chosen file.
// Made once and reused: the typed target stays for the next time.
class LinkDialog : public QDialog { // TForm15
    Q_OBJECT
public:
    explicit LinkDialog(QWidget* parent = nullptr);

    // Shows the dialog modally; the target, or nothing when the user chose
    // no link ("キャンセル", the close box, or an empty target).
    QString ask();

    // Where "参照" has a file chosen; the dialog's own unless another is set.
    void setPrompts(UserPrompts* prompts) { prompts_ = prompts ? prompts : &ownPrompts_; }

    QLineEdit* Edit1;          // the target
    QToolButton* SpeedButton1; // 参照
    QToolButton* SpeedButton2; // リンク
    QToolButton* SpeedButton3; // キャンセル

private:
    void browse();

    QString startFolder_;
    DialogPrompts ownPrompts_{this};
    UserPrompts* prompts_ = &ownPrompts_;
};
