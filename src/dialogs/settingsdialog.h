#pragma once

#include "dialogs/replacequestion.h"
#include "dialogs/settingsform.h"
#include "platform/userprompts.h"
#include "storage/windowsettings.h"

#include <QDialog>
#include <QString>
#include <functional>

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

    // The page editor, modal, on a page (tag 1 the page as it is, 0 a new
    // page from the template that replaces it when saved); gives the path it
    // was last saved under, or nothing. Unset while there is no page editor:
    // what needs it then does nothing. A callback, as the dialog needs the
    // answer.
    std::function<QString(const QString& path, int tag)> openPageEditor;

    // Where the dialog asks, tells and has files chosen; its own dialogs
    // unless another is set.
    void setPrompts(UserPrompts* prompts) { prompts_ = prompts ? prompts : &ownPrompts_; }

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

signals:
    // What the dialog asks of the wall.
    void showBackgroundRequested(const QString& path); // WallPen::KABEIMAGELOAD
    void writeBackgroundRequested(int mode);           // KABEBACKSAVE(4) or (3)
    void clearBackgroundRequested();                   // the plain navy wall
    void redrawCardsRequested();
    void pointFileWindowRequested(); // at the current wall folder
    void tuckRequested();            // TAKO
    // The folder a page was chosen from: the wall's picture dialog starts
    // there next time.
    void pageFolderChosen(const QString& folder);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectForm();
    int value(int which) const;
    void setValue(int which, int v);
    void editChanged(int which);
    void editLeft(int which);
    void moveMiniatures();
    void showRibbon(bool with);
    void placeWindow(int first, const QRect& place);
    void setWordMode(bool on);
    void refreshBackgroundNames();
    void refreshHint(QObject* control);
    void finish(int result);
    // Whether the copies may go ahead: when some would replace files of the
    // wall, the user is asked, naming them.
    bool mayReplace(const QList<FileCopy>& copies);

    WallDocument& st;
    SettingsForm form_;
    DialogPrompts ownPrompts_{this};
    UserPrompts* prompts_ = &ownPrompts_;
    int opening_[SettingsForm::FieldCount] = {}; // each bar's position when the dialog opened
    WindowSettings filled_;                      // what the dialog was filled from
    int ribbon_ = 0;                             // Panel12's tag: > 0 with a ribbon
    int openingRibbon_ = 0;                      // Panel11's tag: the flag when the dialog opened
    int result_ = 0;                             // the save button's tag
    bool WINS = false;
    QString pageFolder_;       // where "参照テキスト" starts
    QString backgroundFolder_; // where "参照画像" starts
};
