#pragma once

#include "web/linkinterception.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QProgressDialog;
class QTimer;
class QWidget;
class UserPrompts;

// Whether `folder`, which need not exist yet, lies in `root` (or is `root`)
// once every link on the way that exists is followed.
bool folderStaysIn(const QString& root, const QString& folder);
// Makes `folder` with its missing parents, only when it stays in `root`.
bool makeFolderIn(const QString& root, const QString& folder);

// Fetches a link's files into the LOGO working folder, one link at a time,
// without freezing the wall: downloads (with a progress bar and Cancel) and
// local copies. A file lands whole or not at all: it is written through the
// atomic writer only after a complete transfer with a success status, so an
// error, a dropped connection, 30 s without data or Cancel keeps the old
// file, and a link standing where the file goes is replaced, never written
// through. A file larger than `maxBytes`, or one whose folder leads out of
// the LOGO folder, is refused, and the user is told once the link is done.
class FileFetcher : public QObject {
    Q_OBJECT
public:
    explicit FileFetcher(QWidget* window);
    ~FileFetcher() override;

    // The start-over question for a destination that exists already (LOGO
    // environment files, whose names hold ".tr", are replaced unasked):
    // true to fetch it anew, false to keep it. The wall window asks with
    // its start-over dialog, which is no yes-or-no question; left empty, the
    // user is asked in a message box that does not hold up the event loop.
    std::function<bool(const QString& destination)> fetchAnew;
    // Where the user is told what was refused or could not be written.
    // Unset, a message box above the window that does not hold up the event
    // loop: the link goes on (a project starts) while the user reads it.
    void setPrompts(UserPrompts* prompts) { prompts_ = prompts; }

    // How long a download may go without data.
    int stallMs = 30000;
    // The largest file fetched.
    qint64 maxBytes = weblink::maxLogoFileBytes;

    // Fetches `files` in order, each into a folder inside `within`.
    // `done(lastOk)` follows with whether the last file (the project, when
    // there is one) was fetched or kept; false when it failed, was refused or
    // the user cancelled. While a fetch runs, another is refused with a
    // beep: false then, and `done` is not called.
    bool fetch(const QString& within, const QList<weblink::LinkFetch>& files,
               std::function<void(bool lastOk)> done);
    bool busy() const;
    // Whether the last file was refused (too large, or out of the folder)
    // rather than failed: the browser should not try it either.
    bool lastRefused() const { return lastRefused_; }

    // The last file's result, as the link table reads it: 1 fetched or kept,
    // 0 failed.
    int DLFLG = 0;

private:
    void next();
    void ask(const QString& destination);
    void transfer();
    void download();
    void take();
    void downloadFinished();
    void copyLocally();
    bool writeOut(const QByteArray& bytes);
    void refuse(const QString& message);
    void fileDone(bool ok, bool refused = false);
    void cancel();
    void finish(bool ok);
    void report(const QString& message);
    void showProgress();

    QPointer<QWidget> window_;
    UserPrompts* prompts_ = nullptr;
    QNetworkAccessManager* manager_;
    QTimer* stallTimer_;
    QTimer* showTimer_;
    QString within_;
    QList<weblink::LinkFetch> files_;
    qsizetype index_ = 0;
    QString source_;
    QString destination_;
    std::function<void(bool)> done_;
    bool busy_ = false;
    bool lastOk_ = false;
    bool lastRefused_ = false;
    bool cancelled_ = false;
    bool stalled_ = false;
    bool tooLarge_ = false;
    QByteArray body_;
    QStringList problems_;
    QPointer<QNetworkReply> reply_;
    QPointer<QProgressDialog> progress_;
    QPointer<QWidget> question_;
};
