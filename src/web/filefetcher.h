#pragma once

#include "web/linkinterception.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QProgressDialog;
class QSaveFile;
class QTimer;
class QWidget;

// Fetches a link's files into the LOGO working folder, one link at a time,
// without freezing the wall: downloads (with a progress bar and Cancel) and
// local copies. A download lands whole or not at all: it goes to a temporary
// file that replaces the old one only after a complete transfer with a
// success status, so an error, a dropped connection, 30 s without data or
// Cancel keeps the old file.
class FileFetcher : public QObject {
    Q_OBJECT
public:
    explicit FileFetcher(QWidget* window);
    ~FileFetcher() override;

    // The start-over question for a destination that exists already (LOGO
    // environment files, whose names hold ".tr", are replaced unasked):
    // true to fetch it anew, false to keep it. The wall window asks with
    // its start-over dialog; left empty, the user is asked in a message box
    // that does not hold up the event loop.
    std::function<bool(const QString& destination)> fetchAnew;

    // How long a download may go without data.
    int stallMs = 30000;

    // Fetches `files` in order. `done(lastOk)` follows with whether the last
    // file (the project, when there is one) was fetched or kept; false when
    // it failed or the user cancelled. While a fetch runs, another is
    // refused with a beep: false then, and `done` is not called.
    bool fetch(const QList<weblink::LinkFetch>& files, std::function<void(bool lastOk)> done);
    bool busy() const;

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
    void fileDone(bool ok);
    void cancel();
    void finish(bool ok);
    void showProgress();

    QPointer<QWidget> window_;
    QNetworkAccessManager* manager_;
    QTimer* stallTimer_;
    QTimer* showTimer_;
    QList<weblink::LinkFetch> files_;
    qsizetype index_ = 0;
    QString source_;
    QString destination_;
    std::function<void(bool)> done_;
    bool busy_ = false;
    bool lastOk_ = false;
    bool cancelled_ = false;
    bool stalled_ = false;
    bool writeFailed_ = false;
    qint64 received_ = 0;
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<QSaveFile> file_;
    QPointer<QProgressDialog> progress_;
    QPointer<QWidget> question_;
};
