#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Asks what to do with a page file that already exists: make it anew
// ("はじめから"), open the page that is there ("つづきから") or cancel.
class StartOverCancelDialog : public QDialog { // TForm27
    Q_OBJECT
public:
    enum Result { Cancel = 0, Continue = 1, Restart = 2 };

    explicit StartOverCancelDialog(QWidget* parent = nullptr);

    // The file name the dialog is about.
    void setFileName(const QString& name);
    QString fileName() const;
    // The button's result; 0 when the dialog was closed without one.
    int result() const { return result_; }
    int exec() override;

private:
    void finishWith(int result);

    QLineEdit* Edit1; // the file name
    QPushButton* BitBtn1;
    int result_ = Cancel;
};

// The page a "continue" opens: the bare file name with the extension ".htm".
QString continuationPageName(const QString& fileName);
