#pragma once

#include "pageeditor/pagedocument.h"

#include <QDialog>
#include <functional>
#include <memory>

class DialogPrompts;
class PageEditorPictures;
class QPlainTextEdit;
class UserPrompts;
struct PageEditorForm;

// The page editor: one page of the wall's web window edited through fields
// (title, headings, framed and unframed text, picture or link) instead of
// HTML; answers in parentheses become a quiz when it is written. Made once
// by the wall window: the body tag of the page last read is kept for new
// pages. Its controls are built by `PageEditorForm`; its pictures are
// `PageEditorPictures`.
class PageEditorWindow : public QDialog { // TForm4
    Q_OBJECT
public:
    explicit PageEditorWindow(QWidget* wallWindow);
    ~PageEditorWindow() override;

    // Opens the page at `path` modally: tag 1 the page as it is (a new one
    // when the file is missing), 0 a new page from the template that replaces
    // the file when saved. Title and background pictures are kept in
    // `wallFolder`. Returns the path the page was saved under, or nothing
    // when it was not saved.
    QString openPage(const QString& path, int tag, const QString& wallFolder);

    // Where the editor asks, tells and has files chosen; its own dialogs
    // until this is called. `prompts` must outlive the editor.
    void setPrompts(UserPrompts& prompts);

    // What the link and ruby dialogs answer: the link's target, or nothing;
    // the reading of `base`, or nothing. The wall window lends them.
    struct MarkupAnswers {
        std::function<QString()> link;
        std::function<QString(const QString& base)> ruby;
    };
    void setMarkupAnswers(MarkupAnswers answers) { answers_ = std::move(answers); }

    QString page() const { return windowTitle(); }

signals:
    // A page was written at `path`: the wall's file window shows it.
    void pageWritten(const QString& path);
    // The wall steps aside for a program started from here.
    void tuckRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectForm();
    // FormShow: reads the page into the fields and shows it; false when it cannot be shown.
    bool FormShow(int tag, const QString& wallFolder);
    // Reads the page `text` of the file at `path` into the document when the
    // text fields can show it quickly; if not, says so and changes nothing.
    bool loadShowable(const QString& text, const QString& path);
    // FormClose: forgets the picture's state for the next page.
    void FormClose();
    void showFields();
    void takeFields();
    // MEMO_SAVE: writes the fields as the page at `path`; false when it could not.
    bool MEMO_SAVE(const QString& path);
    // The source view's edits taken into the fields; false when they cannot be.
    bool sourceReadIn();
    void saveOver();     // BitBtn4
    void saveAs();       // BitBtn1
    void toggleSource(); // SpeedButton28
    void clearTexts();   // SpeedButton27
    void setKind(int kind);
    // FormShow2: the alignments and the placement shown as the page was read.
    void FormShow2();
    // FormShow3: the fields dressed in the current kind's fonts and colours.
    void FormShow3();
    // A button sets the tags; after a reading only the buttons and fields
    // show what the tags say.
    void alignHeading(int heading, int align, bool setTag);
    void alignFramed(int which, bool setTags);
    void wrapSelection(const QString& start, const QString& end); // markup buttons
    void insertRuby();                                            // SpeedButton31
    void insertLink();                                            // SpeedButton16
    void emptyHeadingsAndText();                                  // SpeedButton3's right click
    void growFields();

    PageMemory memory_;
    PageDocument document_{memory_};
    std::unique_ptr<PageEditorForm> form_;
    std::unique_ptr<DialogPrompts> ownPrompts_;
    UserPrompts* prompts_;
    // Gone before the form, whose buttons it watches.
    std::unique_ptr<PageEditorPictures> pictures_;
    MarkupAnswers answers_;
    bool sourceShown_ = false;          // SpeedButton28's tag
    QPlainTextEdit* focused_ = nullptr; // the text field the markup buttons act on
    // The page holds what the fields cannot keep: saving over it asks first.
    bool keepsAll_ = true;
    QString savedAs_;
};
