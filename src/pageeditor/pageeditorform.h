#pragma once

#include <QList>
#include <QString>
#include <array>

class QBoxLayout;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollBar;
class QToolButton;
class QWidget;
struct PageFields;

// The picture's display width on the size bar, in pixels.
constexpr int kPictureBarMin = 16;
constexpr int kPictureBarMax = 1265;

// A markup button and the tags it wraps a selection in.
struct MarkupButton {
    QToolButton* button;
    QString start;
    QString end;
};

// The page editor's controls, built and laid out in the editor's window;
// the window's behaviour connects them. Each control carries its form name
// as its object name.
struct PageEditorForm {
    explicit PageEditorForm(QWidget* window);

    // The fields shown from the page's fields, and taken back into them.
    void showFields(const PageFields& fields);
    void takeFields(PageFields& fields) const;
    // The picture's name, size and link, after the picture changed.
    void showPictureFields(const PageFields& fields);
    // The four text fields the markup buttons act on.
    QList<QPlainTextEdit*> texts() const;

    // The bar of commands.
    QToolButton* saveOverButton;   // BitBtn4 上書き保存
    QToolButton* saveAsButton;     // BitBtn1 名付けて保存
    QToolButton* closeButton;      // BitBtn2 閉じる
    QToolButton* sourceButton;     // SpeedButton28, the source view
    QToolButton* clearTextsButton; // SpeedButton27 DEL

    // The page's design: the kinds, the alignments (left, centre, right) of
    // the headings and of the framed text, the placements of the picture.
    QToolButton* coverButton;                             // SpeedButton13, kind 4
    QToolButton* itemButton;                              // SpeedButton18, kind 3
    QToolButton* presentationButton;                      // SpeedButton14, kind 2
    QToolButton* noteButton;                              // SpeedButton15, kind 1
    std::array<QToolButton*, 3> bigHeadingAlignButtons;   // SpeedButton4 to 6
    std::array<QToolButton*, 3> smallHeadingAlignButtons; // SpeedButton7 to 9
    std::array<QToolButton*, 3> framedAlignButtons;       // SpeedButton19 to 21
    QToolButton* pictureLeftButton;                       // SpeedButton10
    QToolButton* centredButton;                           // SpeedButton11
    QToolButton* pictureRightButton;                      // SpeedButton12
    QToolButton* textOnlyButton; // SpeedButton3 (right click: texts emptied)
    QList<MarkupButton> markupButtons;
    QToolButton* rubyButton;       // SpeedButton31
    QToolButton* insertLinkButton; // SpeedButton16

    // Pictures: load (right click: delete), paint (right click: a new
    // picture), link (right click: none) in the picture panel and below the
    // fields, a picture into the text, the title picture, the background.
    QToolButton* loadPictureButton;      // SpeedButton1
    QToolButton* paintButton;            // SpeedButton2
    QToolButton* linkPictureButton;      // SpeedButton37
    QToolButton* linkPictureBelowButton; // SpeedButton17
    QToolButton* insertPictureButton;    // SpeedButton34
    QToolButton* titlePictureButton;     // SpeedButton22
    QToolButton* backgroundButton;       // SpeedButton40

    // The fields, top to bottom as the page shows them.
    QWidget* fieldsPanel;
    QLineEdit* titleEdit;             // Edit1
    QPlainTextEdit* bigHeadingEdit;   // Memo4
    QPlainTextEdit* smallHeadingEdit; // Memo5
    QFrame* headingRule;              // Panel10
    QWidget* framedPanel;             // the framed text between its docking spaces
    QPlainTextEdit* framedTextEdit;   // Memo1
    QBoxLayout* pictureRow;           // the picture panel beside the unframed text
    QWidget* picturePanel;            // Panel6
    QLabel* picturePreview;           // Image1
    QLineEdit* pictureNameEdit;       // Gname
    QLineEdit* pictureWidthEdit;      // GX
    QLineEdit* pictureHeightEdit;     // GY
    QLineEdit* linkFileEdit;          // Edit2
    QLineEdit* linkTextEdit;          // Edit3 (hidden)
    QScrollBar* pictureSizeBar;       // ScrollBar1
    QPlainTextEdit* unframedTextEdit; // Memo2
    QWidget* coverPanel;              // hides the text area of a page whose table has more cells

    // The page source, shown instead of the fields.
    QWidget* sourcePanel;
    QPlainTextEdit* sourceEdit; // Memo82

private:
    QBoxLayout* buildCommandBar(QWidget* window);
    QWidget* buildDesignBar(QWidget* window);
    QWidget* buildFields(QWidget* window);
    QWidget* buildPicturePanel(QWidget* fields);
    QWidget* buildSource(QWidget* window);
};
