#pragma once

#include "platform/userprompts.h"

#include <QObject>

class CardEditorDialog;
class ChangeDetection;
class QuickCardEditor;
class QWidget;
class WallDocument;

// "カードを作る": the quick editor opens where the next card will appear and
// makes card after card until it is cancelled; "CSV→名札" lays out one name
// tag per line of a list.
class NewCardCommand : public QObject {
    Q_OBJECT
public:
    NewCardCommand(WallDocument& doc, bool& busy, ChangeDetection& changes,
                   QuickCardEditor* quickEditor, CardEditorDialog* cardEditor, QWidget* wallArea);

    // Where the name-tag list is chosen; the command's own dialog unless
    // another is set.
    void setPrompts(UserPrompts* prompts) { prompts_ = prompts ? prompts : &ownPrompts_; }

    // "カードを作る": quick cards one after another until the editor is
    // cancelled.
    void CARDMAKE();
    // "CSV→名札": one name tag per line of a chosen list.
    void MAKEGCARD4();

signals:
    // A command begins: what most commands do first (the pen off, the
    // one-shot right click disarmed) is the wall window's.
    void commandStarting();

private:
    // Makes the quick editor's card; false when the wall is full.
    bool makeQuickCard(const QString& stamp);
    void tell(const QString& message);
    // A Yes/No question above the wall; true for はい.
    bool ask(const QString& question);
    // Whether a card or a file of the wall folder has the file name `name`.
    bool taken(const QString& name) const;

    WallDocument& st;

    bool& busy_; // set while the command runs
    ChangeDetection& changes_;
    QuickCardEditor* TForm18;
    CardEditorDialog* TForm3;
    QWidget* wallArea_;
    QString textFolder_; // where the name-tag dialog starts
    DialogPrompts ownPrompts_;
    UserPrompts* prompts_ = &ownPrompts_;
};
