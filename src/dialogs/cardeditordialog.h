#pragma once

#include "dialogs/cardeditorfiles.h"
#include "dialogs/cardeditorform.h"
#include "model/cardentry.h"
#include "platform/userprompts.h"

#include <QDialog>
#include <QStringList>

class CardBoard;
class ChangeDetection;
class FolderChooserDialog;
class QLineEdit;
class WallSaver;
class WallDocument;

// The card editor: every property of one card of the wall, changed on the
// wall as it is typed. "保存・ていあん" writes the card, "キャンセル" puts it
// back as it was when the editor opened; the close box does neither.
class CardEditorDialog : public QDialog { // TForm3
    Q_OBJECT
public:
    CardEditorDialog(WallDocument& doc, const bool& busy, CardBoard& board, WallSaver& saver,
                     ChangeDetection& changes, FolderChooserDialog* folderChooser,
                     QWidget* parent = nullptr);

    // Opens the editor on card n, modally, with change detection held until
    // it closes; nothing while the wall is busy. The quick editor's opener
    // also fills in the mark line.
    void openOn(int n, bool withMark = false);

    // Where the editor has pictures and files chosen; its own dialogs unless
    // another is set.
    void setPrompts(UserPrompts* prompts) { prompts_ = prompts ? prompts : &ownPrompts_; }
    // The picture dialog starts in `folder` next time.
    void startPicturesIn(const QString& folder) { pictureFolder_ = folder; }

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
    struct Snapshot {
        QString mark, picture, hint, link, text, flash;
        int stamp = 0;
        bool elliptic = false;
        int colour = 0;
        int textColour = 0;
        CheckOff checkOff = CheckOff::None;
        bool collapsed = false; // opened as a collapsed check-off card
    };

    void connectForm();
    void fill(int n, bool withMark);
    void prepare();
    // Lays the card out again from the editor's texts and stores them in it.
    void HENKOU();
    // Puts card n back as it was when the editor opened.
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
    void branchToPictureName();
    void branchToFolder();
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

    const bool& busy_; // the wall is being loaded or laid out
    CardBoard& board_;
    WallSaver& saver_;
    ChangeDetection& changes_;
    FolderChooserDialog* TForm26;
    Snapshot bak_;
    CardEditorFiles files_{this, st}; // what the buttons wrote since the editor opened
    CardEditorForm form_;
    DialogPrompts ownPrompts_{this};
    UserPrompts* prompts_ = &ownPrompts_;
    int PBANBK = 0;
    bool saveRequested_ = false;
    QString openedPicture_; // the picture name as stored when the editor opened
    QString pictureFolder_; // where the picture dialog starts
    QString filesFolder_;   // where "ファイルを表示" starts
};
