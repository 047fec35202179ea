#pragma once

#include <QDialog>

// Asks whether a file that already exists is to be replaced by a new one
// ("はじめから") or opened as it is ("つづきから").
class StartOverDialog : public QDialog { // TForm6
    Q_OBJECT
public:
    enum Result { Closed = 0, Restart = 1, Continue = 2 };

    explicit StartOverDialog(QWidget* parent = nullptr);

    // 0 until a button is pressed (so 0 when the dialog is closed otherwise).
    int tag() const { return tag_; }
    int exec() override;

private:
    int tag_ = Closed;
};
