#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

// The folder structure below the program's folder, shown in a read-only
// text and written to "folder.txt" in the data folder. Modal, no buttons:
// its frame or Escape closes it.
class FolderTreeWindow : public QDialog { // TForm22
    Q_OBJECT
public:
    explicit FolderTreeWindow(QWidget* parent = nullptr);

    // FormShow: builds the folder tree below `top`, shows it and writes it.
    // A "folder.txt" that holds a card (on the root wall, the card named
    // "folder") is left alone, and the window says why.
    void FormShow(const QString& top, const QString& dataFolder);

    QPlainTextEdit* Memo1;
    QLabel* problems; // what could not be done, or hidden
};
