#pragma once

#include <QDialog>
#include <functional>

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

    // Where "参照" asks for a file; tests answer instead.
    std::function<QString(const QString& startFolder)> chooseFile;

    QLineEdit* Edit1;          // the target
    QToolButton* SpeedButton1; // 参照
    QToolButton* SpeedButton2; // リンク
    QToolButton* SpeedButton3; // キャンセル

private:
    void browse();

    QString startFolder_;
};
