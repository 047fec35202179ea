#pragma once

#include "dialogs/copyprogress.h"
#include "dialogs/launchcards.h"
#include "dialogs/replacequestion.h"
#include "platform/userprompts.h"

#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QToolButton;
class WallDocument;

// Turns chosen files into cards that open them: a picture into a card
// leading to a new sub-wall that shows it as its background, a page, a LOGO
// project or any other file into a card that opens it. The blue area is the
// first card: its place and size on the wall are the cards'. Also starts the
// chosen files, or copies them into the wall folder. Cards are made as every
// new card is, and written by the wall's saver; a file of the wall that a card
// or a copy would replace is replaced only when the user says so, in one
// question for all the chosen files.
class LaunchCardMaker : public QDialog { // TForm24
    Q_OBJECT
public:
    LaunchCardMaker(WallDocument& doc, QWidget* wallWindow);

    // What the maker must know of the wall window, as callbacks that answer:
    // whether the LOGO environment is there, and the window's client area on
    // the screen.
    std::function<bool()> logoInstalled;
    std::function<QRect()> wallArea;

    // Where the maker asks, tells and has files chosen; its own dialogs
    // unless another is set.
    void setPrompts(UserPrompts* prompts) { prompts_ = prompts ? prompts : &ownPrompts_; }

    QPlainTextEdit* Memo1;     // the blue template of the first card
    QToolButton* SpeedButton2; // 起動カード
    QToolButton* SpeedButton1; // 起動
    QToolButton* SpeedButton5; // フォルダにコピー

    // How the chosen files are copied; tests make a small file show its
    // progress.
    ProgressCopy copies{this};

    // The first card's place and size, in the wall window's client area.
    QRect templateRect() const;

    void makeCards();
    void startFiles();
    void copyFiles();

signals:
    // What the maker asks of the wall window.
    void noticeRequested(const QString& text, int ms); // MATHU
    void tuckRequested();                              // TAKO
    void startLogoRequested(const QString& project);   // in the LOGO environment
    void reloadWallRequested();                        // cleared and read again

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One chosen file: what it copies into the wall and what else it
    // writes there.
    struct Job {
        QString file;
        QList<FileCopy> copies;
        QStringList written;
        LaunchCard card;
        // The copies, and the other files as written from the chosen one.
        QList<FileCopy> writes() const;
    };

    QStringList chosen();
    // The job of copying `file` into the wall under `copy`, with what goes
    // along: a page's pictures, a LOGO project's sounds.
    Job copyJob(const QString& file, const QString& copy) const;
    // Keeps the jobs that may go ahead: one that would write what an earlier
    // one writes is left out (into `leftOut`); when some would replace files
    // of the wall, one question decides for all of them.
    QList<Job> settle(const QList<Job>& jobs, QStringList& leftOut, const QString& ifNot);
    // Makes a job's copies; false when the user cancelled one.
    bool runCopies(const Job& job, QStringList& failed);

    WallDocument& st;
    QString folder_; // where the file dialog starts
    DialogPrompts ownPrompts_{this};
    UserPrompts* prompts_ = &ownPrompts_;
};
