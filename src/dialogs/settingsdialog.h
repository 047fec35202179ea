#pragma once

#include "dialogs/replacequestion.h"
#include "storage/windowsettings.h"

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QScrollBar;
class QToolButton;
class QWidget;
class WallDocument;

// The settings of the current wall that are not cards: the web window's page,
// place and ribbon, the file window's kind, mask and place, and the
// background picture. Positions and sizes are in reference units, each an
// edit with a scroll bar beside it and a miniature of the window at 1/20.
// Background changes act at once; the rest is the wall's to save when the
// dialog ends with "保存・ていあん".
class SettingsDialog : public QDialog { // TForm19
    Q_OBJECT
public:
    explicit SettingsDialog(WallDocument& state, QWidget* parent = nullptr);

    // The web and file window settings the dialog shows, and those it holds
    // now. A position or size edit that holds no whole number gives its
    // scroll bar's value.
    void fillFrom(const WindowSettings& s);
    WindowSettings settings() const;

    // Shows the dialog modally; 1 when it ended with "保存・ていあん", else 0.
    int run();

    // Whether pages are made and edited in the word processor (the switch
    // reads "ワード") rather than in the page editor.
    bool wordMode() const { return WINS; }

    // What the dialog asks of the wall; an unset one is skipped.
    std::function<void(const QString& path)> showBackground; // KABEIMAGELOAD
    std::function<void(int mode)> writeBackground;           // KABEBACKSAVE(4) or (3)
    std::function<void()> clearBackground;                   // the plain navy wall
    std::function<void()> redrawCards;
    std::function<void()> pointFileWindow; // at the current wall folder
    std::function<void()> tuck;            // TAKO
    // The folder a page was chosen from: the wall's picture dialog starts
    // there next time.
    std::function<void(const QString& folder)> pageFolderChosen;
    // The page editor, modal, on a page (tag 1 the page as it is, 0 a new
    // page from the template that replaces it when saved); gives the path it
    // was last saved under, or nothing. Unset while there is no page editor:
    // what needs it then does nothing.
    std::function<QString(const QString& path, int tag)> openPageEditor;

    // Where the dialog asks for files and tells the user; tests answer
    // instead.
    std::function<QString(const QString& startFolder)> choosePage;
    std::function<QString(const QString& startFolder)> chooseBackground;
    std::function<void(const QString& text)> tell;
    std::function<bool(const QString& question)> ask;

    // Web window.
    QLineEdit* Edit2;           // start page: a file of the wall or an address
    QLineEdit* Edit8;           // X
    QLineEdit* Edit9;           // Y
    QLineEdit* Edit10;          // width
    QLineEdit* Edit11;          // height
    QScrollBar* ScrollBar5;     // X
    QScrollBar* ScrollBar6;     // Y
    QScrollBar* ScrollBar7;     // width
    QScrollBar* ScrollBar8;     // height
    QWidget* Panel11;           // the web window's miniature
    QWidget* Panel12;           // its ribbon's miniature
    QToolButton* Panel13;       // エディター／ワード
    QToolButton* SpeedButton24; // NEWテキスト
    QToolButton* SpeedButton12; // テキスト編集
    QToolButton* SpeedButton7;  // 参照テキスト
    QToolButton* SpeedButton5;  // WEB窓無くす
    QToolButton* SpeedButton30; // the ribbon switch
    QWidget* placesWithRibbon;  // the five placement buttons shown with a ribbon
    QWidget* placesNoRibbon;    // and those shown without
    // File window.
    QLineEdit* Edit3;       // kind word
    QLineEdit* Edit1;       // mask
    QLineEdit* Edit4;       // X
    QLineEdit* Edit5;       // Y
    QLineEdit* Edit6;       // width
    QLineEdit* Edit7;       // height
    QScrollBar* ScrollBar1; // X
    QScrollBar* ScrollBar2; // Y
    QScrollBar* ScrollBar3; // width
    QScrollBar* ScrollBar4; // height
    QWidget* Panel10;       // the file window's miniature
    // Background.
    QLineEdit* Edit12;          // the picture's name
    QLineEdit* Edit13;          // its original's name
    QToolButton* SpeedButton2;  // 参照画像
    QToolButton* SpeedButton11; // _原画に戻す
    QToolButton* SpeedButton4;  // 背景画像無くす
    // Closing.
    QToolButton* SpeedButton9; // 保存・ていあん
    QToolButton* SpeedButton8; // キャンセル

    // The buttons' own steps, as a click runs them.
    void newPage();
    void editPage();
    void choosePageFile();
    void removeWebWindow();
    void toggleRibbon();
    void chooseBackgroundPicture();
    void restoreBackground();
    void removeBackground();
    void saveClicked();
    void cancelClicked();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One position or size: its edit, its scroll bar and the bar's position
    // when the dialog opened.
    struct Field {
        QLineEdit* edit = nullptr;
        QScrollBar* bar = nullptr;
        int opening = 0;
    };
    enum { WebX, WebY, WebWidth, WebHeight, FileX, FileY, FileWidth, FileHeight, FieldCount };

    void build();
    QToolButton* button(const char* name, const QString& caption, const QString& hint = {});
    QLabel* caption(const QString& text, bool removesWebWindow = false);
    void makeField(int which, const char* edit, const char* bar, int minimum, int maximum);
    int value(int which) const;
    void setValue(int which, int v);
    void editChanged(int which);
    void editLeft(int which);
    void moveMiniatures();
    void showRibbon(bool with);
    void placeWebWindow(int x, int y, int width, int height);
    void placeFileWindow(int x, int y, int width, int height);
    void setWordMode(bool on);
    void refreshBackgroundNames();
    void refreshHint(QObject* control);
    void finish(int result);
    void say(const QString& text);
    // Whether the copies may go ahead: when some would replace files of the
    // wall, the user is asked, naming them.
    bool mayReplace(const QList<FileCopy>& copies);

    WallDocument& st;
    Field fields_[FieldCount];
    int ribbon_ = 0;        // Panel12's tag: > 0 with a ribbon
    int openingRibbon_ = 0; // Panel11's tag: the flag when the dialog opened
    int result_ = 0;        // the save button's tag
    bool WINS = false;
    QList<QLabel*> removingCaptions_;
    QString pageFolder_;       // where "参照テキスト" starts
    QString backgroundFolder_; // where "参照画像" starts
};
