#pragma once

#include <QObject>
#include <functional>

class CardEditorDialog;
class ChangeDetection;
class QuickCardEditor;
class QWidget;
class WallDocument;
struct WallModes;

// "カードを作る": the quick editor opens where the next card will appear and
// makes card after card until it is cancelled; "CSV→名札" lays out one name
// tag per line of a list.
class NewCardCommand : public QObject {
    Q_OBJECT
public:
    NewCardCommand(WallDocument& doc, WallModes& modes, ChangeDetection& changes,
                   QuickCardEditor* quickEditor, CardEditorDialog* cardEditor, QWidget* wallArea);

    // What most commands do first (the pen off, the one-shot right click
    // disarmed), from the wall window.
    std::function<void()> prepareCommand;
    // Where the name-tag list comes from; tests answer instead of a dialog.
    std::function<QString(const QString& startFolder)> chooseTextFile;

    void CARDMAKE();
    void MAKEGCARD4();

private:
    // Makes the quick editor's card; false when the wall is full.
    bool makeQuickCard(const QString& stamp);
    void tell(const QString& message);
    // A Yes/No question above the wall; true for はい.
    bool ask(const QString& question);
    // Whether a card or a file of the wall folder has the file name `name`.
    bool taken(const QString& name) const;

    WallDocument& st;

    WallModes& modes_;
    ChangeDetection& changes_;
    QuickCardEditor* TForm18;
    CardEditorDialog* TForm3;
    QWidget* wallArea_;
    QString textFolder_; // where the name-tag dialog starts
};
