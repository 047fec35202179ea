#pragma once

#include <QList>
#include <QString>

class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QToolButton;
class QWidget;

// The card editor's controls, made and laid out on the dialog: the card's
// name, place and size, colours and shape, its texts and link with the link
// buttons, and its picture with the closing buttons beside it. What only
// fills one field from another is wired here; the dialog connects the rest
// to the card.
struct CardEditorForm {
    explicit CardEditorForm(QDialog* dialog);

    // The card colour `cardCode` around the picture and behind the texts, and
    // the text colour `textCode` in them.
    void showColours(int cardCode, int textCode);
    // The picture `name` of the wall in `wallFolder`: its thumbnail, else the
    // picture itself; nothing for no name.
    void showPicture(const QString& name, const QString& wallFolder, const QString& dataFolder);
    // The save button's hint names the card file.
    void showSaveHint(const QString& cardName);

    // A colour button and the colour code it sets.
    struct ColourButton {
        QToolButton* button;
        int code;
    };

    QLineEdit* nameEdit;   // Edit3: the card name
    QLineEdit* leftEdit;   // Edit4
    QLineEdit* topEdit;    // Edit5
    QLineEdit* widthEdit;  // Edit6
    QLineEdit* heightEdit; // Edit7
    QList<ColourButton> cardColourButtons;
    QList<ColourButton> textColourButtons;
    QRadioButton* rectangleButton; // RadioButton1
    QRadioButton* ellipseButton;   // RadioButton2
    QCheckBox* stampBox;           // CheckBox1: スタンプ
    QCheckBox* checkOffBox;        // CheckBox2: ペロリ
    QPlainTextEdit* markMemo;      // Memo5: the mark line
    QPlainTextEdit* textMemo;      // Memo2: the card text
    QPlainTextEdit* flashMemo;     // Memo3: the flash text
    QPlainTextEdit* hintMemo;      // Memo1: the hint
    QLineEdit* linkEdit;           // Edit2: the link or command

    // The link buttons, each writing the link field.
    QToolButton* branchToCardNameButton;    // カード名分岐
    QToolButton* branchToPictureNameButton; // SpeedButton2: カード画名分岐
    QToolButton* branchToFolderButton;      // フォルダ名分岐
    QToolButton* showFilesButton;           // ファイルを表示
    QToolButton* showAsBackgroundButton;    // 背景に表示
    QToolButton* growRightButton;           // 右拡大
    QToolButton* growLeftButton;            // 左拡大
    QToolButton* growUpButton;              // 上拡大
    QToolButton* growDownButton;            // 下拡大

    // The picture column.
    QWidget* colourPanel;             // Panel6: the card colour around the picture
    QLabel* pictureView;              // Image1
    QLineEdit* pictureEdit;           // Edit8: the picture name
    QLineEdit* removedPictureEdit;    // Edit1: a removed picture name, kept to restore it
    QToolButton* pictureButton;       // SpeedButton1: 画像
    QToolButton* cardPictureButton;   // SpeedButton25: カード画
    QToolButton* pasteButton;         // SpeedButton34: ペースト
    QToolButton* removePictureButton; // SpeedButton12: removes or restores the picture name
    QToolButton* saveButton;          // 保存・ていあん
    QToolButton* cancelButton;        // SpeedButton4: キャンセル
};
