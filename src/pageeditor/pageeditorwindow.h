#pragma once

#include "pageeditor/pagedocument.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;
class QWidget;

// The page editor: one page of the wall's web window edited through fields
// (title, headings, framed and unframed text, picture or link) instead of
// HTML; answers in parentheses become a quiz when it is written. Made once
// by the wall window: the body tag of the page last read is kept for new
// pages.
class PageEditorWindow : public QDialog { // TForm4
    Q_OBJECT
public:
    explicit PageEditorWindow(QWidget* wallWindow);

    // Whether the page at `path` is one this editor wrote: it carries the
    // marker "WebTXT_TEXT" in its head. Other pages open elsewhere.
    static bool isEditorPage(const QString& path);

    // Opens the page at `path` modally: tag 1 the page as it is (a new one
    // when the file is missing), 0 a new page from the template that replaces
    // the file when saved. Returns the path the page was saved under, or
    // nothing when it was not saved.
    QString openPage(const QString& path, int tag);

    // The wall's file window shows what was saved; the wall steps aside for
    // a program started from here.
    std::function<void()> refreshFileWindow;
    std::function<void()> tuck; // TAKO

    // Where the editor asks and tells; tests answer instead.
    std::function<QString(const QString& suggested)> chooseSaveName;
    std::function<bool(const QString& question)> ask;
    std::function<void(const QString& text)> tell;

    // The fields, by their roles.
    QLineEdit* Edit1;           // title
    QPlainTextEdit* Memo4;      // big heading
    QPlainTextEdit* Memo5;      // small heading
    QPlainTextEdit* Memo1;      // framed text
    QPlainTextEdit* Memo2;      // unframed text
    QLabel* Image1;             // the picture's preview
    QLineEdit* Gname;           // the picture's file name
    QLineEdit* GX;              // its width
    QLineEdit* GY;              // its height
    QLineEdit* Edit2;           // link file
    QLineEdit* Edit3;           // link text (hidden)
    QPlainTextEdit* Memo82;     // the page source, for editing by hand
    QToolButton* BitBtn4;       // 上書き保存
    QToolButton* BitBtn1;       // 名付けて保存
    QToolButton* BitBtn2;       // 閉じる
    QToolButton* SpeedButton28; // the source view
    QToolButton* SpeedButton27; // DEL

    PageDocument& document() { return document_; }
    QString page() const { return windowTitle(); }

    // The buttons' own steps, as a click runs them.
    void saveOver();     // BitBtn4
    void saveAs();       // BitBtn1
    void toggleSource(); // SpeedButton28
    void clearTexts();   // SpeedButton27

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    bool FormShow(int tag);
    void FormClose();
    void showFields();
    void takeFields();
    void showPicture();
    bool MEMO_SAVE(const QString& path);
    void say(const QString& text);

    PageMemory memory_;
    PageDocument document_{memory_};
    QWidget* sourcePanel_;
    QWidget* fieldsPanel_;
    bool sourceShown_ = false; // SpeedButton28's tag
    // The page holds what the fields cannot keep: saving over it asks first.
    bool keepsAll_ = true;
    QString savedAs_;
};
