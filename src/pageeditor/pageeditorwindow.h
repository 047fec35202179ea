#pragma once

#include "pageeditor/pagedocument.h"
#include "pageeditor/pagepictures.h"

#include <QDialog>
#include <QImage>
#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollBar;
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
    // The link dialog (the target, or nothing) and the ruby dialog (the
    // reading of `base`, or nothing); the wall window lends them.
    std::function<QString()> askLink;
    std::function<QString(const QString& base)> askRuby;
    // Where pictures and linked files are chosen; tests answer instead.
    std::function<QString(const QString& startFolder)> choosePicture;
    std::function<QString(const QString& startFolder)> chooseLinkFile;
    // The wall folder, where title and background pictures are kept.
    std::function<QString()> wallFolder;

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

    // The page's design: kinds (4 表紙, 3 アイテム, 2 プレゼン, 1 ノート),
    // heading alignments (big: left, centre, right; small: the same), the
    // framed text's alignments, the placements of the picture, the markup
    // buttons, ruby, link, and the picture's size bar.
    QToolButton* SpeedButton13;
    QToolButton* SpeedButton18;
    QToolButton* SpeedButton14;
    QToolButton* SpeedButton15;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;
    QToolButton* SpeedButton6;
    QToolButton* SpeedButton7;
    QToolButton* SpeedButton8;
    QToolButton* SpeedButton9;
    QToolButton* SpeedButton19; // 枠文字左
    QToolButton* SpeedButton20; // 枠文字中央
    QToolButton* SpeedButton21; // 文字左枠右
    QToolButton* SpeedButton10; // picture left
    QToolButton* SpeedButton11; // centred
    QToolButton* SpeedButton12; // picture right
    QToolButton* SpeedButton3;  // text only (right click: texts emptied)
    QToolButton* SpeedButton16; // リンクの挿入
    QToolButton* SpeedButton31; // ルビ
    QScrollBar* ScrollBar1;     // the picture's width
    // Pictures: load (right click: delete), paint (right click: a new
    // picture), link (right click: none), a picture into the text, the
    // title picture, the background.
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton37;
    QToolButton* SpeedButton17;
    QToolButton* SpeedButton34;
    QToolButton* SpeedButton22;
    QToolButton* SpeedButton40;

    PageDocument& document() { return document_; }
    QString page() const { return windowTitle(); }

    // The buttons' own steps, as a click runs them.
    void saveOver();                                              // BitBtn4
    void saveAs();                                                // BitBtn1
    void toggleSource();                                          // SpeedButton28
    void clearTexts();                                            // SpeedButton27
    void setKind(int kind);                                       // the kind buttons
    void place(Placement placement);                              // the placement buttons
    void wrapSelection(const QString& start, const QString& end); // markup buttons
    void insertRuby();                                            // SpeedButton31
    void insertLink();                                            // SpeedButton16
    Placement placement() const { return placement_; }
    void loadPicture();           // SpeedButton1
    void deletePicture();         // SpeedButton1, right click
    void paintPicture(bool anew); // SpeedButton2 (anew: right click)
    void linkPicture();           // SpeedButton37, SpeedButton17
    void unlinkPicture();         // their right click
    void insertPicture();         // SpeedButton34
    void titlePicture();          // SpeedButton22
    void backgroundPicture();     // SpeedButton40
    bool painting() const { return painter_ != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    bool FormShow(int tag);
    // Reads the page `text` of the file at `path` into the document when the
    // text fields can show it quickly; if not, says so and changes nothing.
    bool loadShowable(const QString& text, const QString& path);
    void FormClose();
    void showFields();
    void takeFields();
    void showPicture();
    bool MEMO_SAVE(const QString& path);
    // The source view's edits taken into the fields; false when they cannot be.
    bool sourceReadIn();
    void say(const QString& text);
    QWidget* buildDesignBar();
    void FormShow2();
    void FormShow3();
    // A button sets the tags; after a reading only the buttons and fields
    // show what the tags say.
    void alignHeading(int heading, int align, bool setTag);
    void alignFramed(int which, bool setTags);
    void showPlacement(Placement placement);
    void Gsize(const QString& path);
    void sizeFromBar(int position);
    void emptyHeadingsAndText(); // SpeedButton3's right click
    void showPictureFields();
    void showPreview(QSize size);
    void GCHECK(Placement placement);
    bool copyInto(const QString& from, const QString& to);
    QString chosenPicture();
    QString wallPictureFrom(const QString& chosen);
    void paintingEnded(const QString& path);
    void growFields();

    PageMemory memory_;
    PageDocument document_{memory_};
    QWidget* sourcePanel_;
    QWidget* fieldsPanel_;
    bool sourceShown_ = false;          // SpeedButton28's tag
    QPlainTextEdit* focused_ = nullptr; // the text field the markup buttons act on
    PictureSaves saves_;
    Placement placement_ = Placement::TextOnly; // Panel6's tag
    double XToY_ = 0;
    QImage preview_;        // the picture, at most the size bar's width
    QString pictureFolder_; // where the picture dialogs start
    QString linkFolder_;    // where the link's file dialog starts
    class QProcess* painter_ = nullptr;
    QWidget* picturePanel_;
    QWidget* framedPanel_;
    QWidget* coverPanel_; // hides the text area of a page whose table has more cells
    class QBoxLayout* middle_;
    // The page holds what the fields cannot keep: saving over it asks first.
    bool keepsAll_ = true;
    QString savedAs_;
};
