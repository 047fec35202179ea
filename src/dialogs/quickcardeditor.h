#pragma once

#include "dialogs/cardrules.h"

#include <QDialog>

class QLineEdit;
class QMenu;
class QTextEdit;
class QToolButton;
class QWidget;

// The small always-on-top editor that floats where the next card will
// appear: its text area looks like the card to be made. The new card command
// reads its results after each modal run.
class QuickCardEditor : public QDialog { // TForm18
    Q_OBJECT
public:
    explicit QuickCardEditor(QWidget* parent = nullptr);

    enum Result { Nothing = 0, MakeCard = 1, MakeNameTags = 8 };

    // Shows the editor modally for the wall folder `wallFolder` over the wall
    // window's screen rectangle `wallWindow`; `taken` tells the file names the
    // wall has. Returns the result code.
    int run(const QString& wallFolder, const QRect& wallWindow, int NOWY, const NameTaken& taken);

    // Places the window's text area with its top left at `topLeft` (screen).
    void placeTextArea(QPoint topLeft);
    // The text area on the screen: where the card will be.
    QRect textAreaOnScreen() const;

    int resultCode = Nothing;  // the tag of ListBox1
    bool moreSettings = false; // the tag of SpeedButton2: open the card editor
    QString DDNAME;            // the card name the text gave
    int textCode = 4;          // the tag of Memo1: text colour, yellow at first
    int cardCode = 10;         // the tag of Memo2: card colour, blue at first

    QTextEdit* Memo1;           // the text: the card's text and name
    QLineEdit* Edit2;           // link and hint of name tags
    QToolButton* SpeedButton9;  // CSV→名札
    QToolButton* SpeedButton2;  // 追加設定
    QToolButton* SpeedButton4;  // 色
    QToolButton* SpeedButton11; // →
    QToolButton* SpeedButton13; // ↓
    QToolButton* SpeedButton14; // ↑
    QToolButton* SpeedButton15; // ←
    QToolButton* SpeedButton12; // 保存・ていあん
    QToolButton* SpeedButton1;  // キャンセル
    QMenu* PopupMenu1;          // colours

    void setTextColour(int code);
    void setCardColour(int code);
    void step(Arrow arrow);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* button(const char* name, const QString& caption, const QString& hint);
    // FSIZE: the text at the size the card will give it.
    void FSIZE();
    void save(bool more);
    void updateHints();

    QWidget* Panel2; // the text panel
    QString wallFolder_;
    QRect wallWindow_;
    int NOWY_ = 1080;
    NameTaken taken_;
};
