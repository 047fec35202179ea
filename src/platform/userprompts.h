#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What a file dialog is asked for: its caption, where it starts (for a save,
// the suggested file), its name filters (";;" apart) and how many files.
struct FileRequest {
    enum Mode {
        Open,        // one existing file
        OpenMany,    // any number of existing files
        OpenOrTyped, // one file, or the name in `typed`, which names none
        Save,        // a name to write to; `typed` is the default suffix
    };
    Mode mode = Open;
    QString title;
    QString folder;
    QString filter;
    QString typed;
};

// Where a window asks the user a question, tells the user something, or has
// files chosen. The wall window answers with dialogs that stand above the
// wall; tests answer instead.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A yes-or-no question; "いいえ" is the default answer.
    virtual bool ask(const QString& question) = 0;
    // A notice the user acknowledges.
    virtual void tell(const QString& text) = 0;
    // The files chosen; empty when the user cancelled. One at most unless
    // the request is for many.
    virtual QStringList chooseFiles(const FileRequest& request) = 0;

    // The one file chosen, or nothing.
    QString chooseFile(const FileRequest& request) { return chooseFiles(request).value(0); }
};

// The prompts as dialogs in front of the window the user is working in (or
// of `owner` when none is active), with Japanese buttons.
class DialogPrompts : public UserPrompts {
public:
    explicit DialogPrompts(QWidget* owner) : owner_(owner) {}

    bool ask(const QString& question) override;
    void tell(const QString& text) override;
    QStringList chooseFiles(const FileRequest& request) override;

private:
    QWidget* inFront() const;

    QWidget* owner_;
};
