#pragma once

#include "dialogs/cardeditorfiles.h"
#include "model/cardentry.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class CardBoard;
class ChangeDetection;
class FolderChooserDialog;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QToolButton;
class WallSaver;
class WallDocument;
struct WallModes;

// The card editor: every property of one card of the wall, changed on the
// wall as it is typed. "保存・ていあん" writes the card, "キャンセル" puts it
// back as it was when the editor opened; the close box does neither.
class CardEditorDialog : public QDialog { // TForm3
    Q_OBJECT
public:
    CardEditorDialog(WallDocument& doc, WallModes& modes, CardBoard& board, WallSaver& saver,
                     ChangeDetection& changes, FolderChooserDialog* folderChooser,
                     QWidget* parent = nullptr);

    // Opens the editor on card n, modally, with change detection held until
    // it closes; nothing while the wall is busy. The quick editor's opener
    // also fills in the mark line.
    void openOn(int n, bool withMark = false);

    // Where the editor asks for files; tests answer instead of a dialog.
    // A picture: a path, "画像無し", or nothing when cancelled.
    std::function<QString(const QString& startFolder)> choosePicture;
    // Files for "ファイルを表示" and pictures for "背景に表示".
    std::function<QStringList(const QString& startFolder)> chooseFiles;
    std::function<QStringList(const QString& startFolder)> chooseBackgroundPictures;
    // The picture dialog starts in `folder` next time.
    void startPicturesIn(const QString& folder) { pictureFolder_ = folder; }

    // The fields, named as the card's properties are edited.
    QLineEdit* Edit3;           // card name
    QLineEdit* Edit4;           // left
    QLineEdit* Edit5;           // top
    QLineEdit* Edit6;           // width
    QLineEdit* Edit7;           // height
    QPlainTextEdit* Memo5;      // mark line
    QPlainTextEdit* Memo2;      // card text
    QPlainTextEdit* Memo3;      // flash text
    QPlainTextEdit* Memo1;      // hint
    QLineEdit* Edit2;           // link or command
    QLineEdit* Edit8;           // picture name
    QLineEdit* Edit1;           // a removed picture name, kept to restore it
    QLabel* Image1;             // the picture
    QWidget* Panel6;            // the card colour
    QCheckBox* CheckBox1;       // stamp
    QCheckBox* CheckBox2;       // check-off ("ペロリ")
    QRadioButton* RadioButton1; // rectangle
    QRadioButton* RadioButton2; // ellipse
    QToolButton* SpeedButton1;  // 画像
    QToolButton* SpeedButton25; // カード画
    QToolButton* SpeedButton34; // ペースト
    QToolButton* SpeedButton12; // removes or restores the picture name
    QToolButton* SpeedButton2;  // カード画名分岐
    QToolButton* SpeedButton4;  // キャンセル
    QToolButton* saveButton;    // 保存・ていあん

    // The buttons' own steps, as a click runs them.
    void saveClicked();
    void cancelClicked();
    void setCardColour(int code);
    void setTextColour(int code);
    void setShape(bool elliptic);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Moves the dialog off the card it edits, so the edits show as made.
    void placeBesideCard();
    // Tells the user a picture could not be written into the wall.
    void notWritten(const QString& path, const QString& why);
    struct Snapshot {
        QString mark, picture, hint, link, text, flash;
        int stamp = 0;
        bool elliptic = false;
        int colour = 0;
        int textColour = 0;
        CheckOff checkOff = CheckOff::None;
        bool collapsed = false; // opened as a collapsed check-off card
    };

    void buildFields();
    QToolButton* linkButton(const QString& caption, const QString& hint,
                            const std::function<void()>& action);
    void fill(int n, bool withMark);
    void prepare();
    void HENKOU();
    void MODOSU(int n);
    void finishClosing();
    void refillFromSnapshot();
    void previewColours();
    void showPicture(const QString& name);
    void geometryEdited(QLineEdit* field, int which);
    int memoLines() const;

    // Picture and link commands.
    void pictureFromFile();
    void pictureFromClipboard();
    void removeOrRestorePicture();
    void showFiles();
    void showAsBackground();
    // The card file name the typed name gives.
    QString typedFileName() const;
    // The typed name, checked; empty (after telling the user) when unusable.
    QString checkedFileName();
    // What the user is asked before the card is saved as `name`, which a
    // card or another file of the wall has; empty when nothing is replaced.
    QString renameQuestion(const QString& name) const;
    // The card's picture when it lies in the wall folder, by its name there.
    QString ownPicture() const;
    // Whether the buttons may write `paths` (asking, see CardEditorFiles).
    bool mayReplace(const QStringList& paths);
    // Every file a button wrote back as it was, and the card's picture with
    // it.
    void putFilesBack();

    WallDocument& st;

    WallModes& modes_;
    CardBoard& board_;
    WallSaver& saver_;
    ChangeDetection& changes_;
    FolderChooserDialog* TForm26;
    Snapshot bak_;
    CardEditorFiles files_{this, st}; // what the buttons wrote since the editor opened
    int PBANBK = 0;
    bool saveRequested_ = false;
    QString openedPicture_; // the picture name as stored when the editor opened
    QString pictureFolder_; // where the picture dialog starts
    QString filesFolder_;   // where "ファイルを表示" starts
};
