#include "web/filefetcher.h"

#include "platform/beep.h"
#include "storage/pathforms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>
#include <climits>

using namespace weblink;

namespace {

// The reply holds at most this much before the fetcher has written it out,
// so that a large file never sits in memory.
constexpr qint64 kReadBuffer = 1 << 20;

bool isLocalSource(const QString& source) {
    return source.contains(QLatin1Char('\\')) || source.startsWith(QLatin1Char('/'));
}

// A local copy keeps a destination that is there already; the copy comes
// out writable even from a read-only original, so that it can be replaced.
bool FFCOPY(const QString& from, const QString& to) {
    if (QFileInfo::exists(to))
        return true;
    if (!QFile::copy(from, to))
        return false;
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner |
                                  QFileDevice::WriteUser);
    return true;
}

} // namespace

FileFetcher::FileFetcher(QWidget* window)
    : QObject(window), window_(window), manager_(new QNetworkAccessManager(this)),
      stallTimer_(new QTimer(this)), showTimer_(new QTimer(this)) {
    stallTimer_->setSingleShot(true);
    connect(stallTimer_, &QTimer::timeout, this, [this] {
        stalled_ = true;
        if (reply_)
            reply_->abort();
    });
    // A quick link comes and goes without a window flashing up.
    showTimer_->setSingleShot(true);
    showTimer_->setInterval(300);
    connect(showTimer_, &QTimer::timeout, this, [this] {
        if (progress_)
            progress_->show();
    });
}

FileFetcher::~FileFetcher() {
    done_ = nullptr;
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
    file_.reset(); // never committed: the old file stays
    delete progress_;
    delete question_;
}

bool FileFetcher::busy() const {
    return busy_;
}

bool FileFetcher::fetch(const QList<LinkFetch>& files, std::function<void(bool lastOk)> done) {
    if (busy_) {
        zavikBeep();
        return false;
    }
    busy_ = true;
    files_ = files;
    index_ = 0;
    done_ = std::move(done);
    lastOk_ = true;
    cancelled_ = false;
    // Each step starts from the event loop, never inside the caller or a
    // reply's signal.
    QTimer::singleShot(0, this, [this] { next(); });
    return true;
}

void FileFetcher::next() {
    if (cancelled_ || index_ >= files_.size()) {
        finish(!cancelled_ && lastOk_);
        return;
    }
    source_ = files_[index_].source;
    const QString to = files_[index_].destination;
    // The question is about the file that would be replaced: a download
    // lands under the decoded name.
    destination_ = withSlashes(isLocalSource(source_) ? to : CutNN2(to));
    const QFileInfo existing(destination_);
    if (existing.exists() && !existing.fileName().contains(QLatin1String(".tr")))
        ask(destination_);
    else
        transfer();
}

void FileFetcher::ask(const QString& destination) {
    if (fetchAnew) {
        if (fetchAnew(destination))
            transfer();
        else
            fileDone(true);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Zavik"),
                                QStringLiteral("「%1」はもうあります。はじめから取り直しますか？")
                                    .arg(QFileInfo(destination).fileName()),
                                QMessageBox::Yes | QMessageBox::No, window_);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("はい"));
    box->button(QMessageBox::No)->setText(QStringLiteral("いいえ"));
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    question_ = box;
    connect(box, &QMessageBox::finished, this, [this, box] {
        // Closing the box keeps the file, as "いいえ" does.
        if (box->clickedButton() == box->button(QMessageBox::Yes))
            transfer();
        else
            fileDone(true);
    });
    box->open();
}

void FileFetcher::transfer() {
    if (cancelled_) {
        finish(false);
        return;
    }
    // A folder that cannot be made shows itself when the file cannot be
    // written there.
    QDir().mkpath(QFileInfo(destination_).absolutePath());
    if (isLocalSource(source_))
        fileDone(FFCOPY(withSlashes(source_), destination_));
    else
        download();
}

void FileFetcher::download() {
    file_ = std::make_unique<QSaveFile>(destination_);
    if (!file_->open(QIODevice::WriteOnly)) {
        file_.reset();
        fileDone(false);
        return;
    }
    received_ = 0;
    stalled_ = false;
    writeFailed_ = false;
    QNetworkRequest request{QUrl(source_)};
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("MyApp"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    reply_ = manager_->get(request);
    reply_->setReadBufferSize(kReadBuffer);
    connect(reply_, &QNetworkReply::readyRead, this, &FileFetcher::take);
    connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 got, qint64 total) {
        stallTimer_->start(stallMs);
        if (progress_ && total > 0) {
            progress_->setMaximum(int(total / 1024));
            progress_->setValue(int(got / 1024));
        }
    });
    connect(reply_, &QNetworkReply::finished, this, &FileFetcher::downloadFinished);
    stallTimer_->start(stallMs);
    showProgress();
}

void FileFetcher::take() {
    if (!reply_ || !file_)
        return;
    stallTimer_->start(stallMs);
    const QByteArray bytes = reply_->readAll();
    if (writeFailed_ || bytes.isEmpty())
        return;
    if (file_->write(bytes) != bytes.size()) {
        writeFailed_ = true;
        reply_->abort(); // finishes the download, as failed
        return;
    }
    received_ += bytes.size();
}

void FileFetcher::downloadFinished() {
    stallTimer_->stop();
    take();
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    bool ok = !cancelled_ && !stalled_ && !writeFailed_ &&
              reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
    // A connection that ends early without an error is no whole file
    // either; a compressed body has another length than it announced.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (ok && length.isValid() && !reply->hasRawHeader("Content-Encoding") &&
        length.toLongLong() != received_)
        ok = false;
    if (ok)
        ok = file_->commit();
    else
        file_->cancelWriting();
    file_.reset();
    reply->deleteLater();
    if (cancelled_)
        finish(false);
    else
        fileDone(ok);
}

void FileFetcher::fileDone(bool ok) {
    // A failed extra does not stop the link; the last file decides.
    lastOk_ = ok;
    DLFLG = ok ? 1 : 0;
    ++index_;
    QTimer::singleShot(0, this, [this] { next(); });
}

void FileFetcher::cancel() {
    if (!busy_ || cancelled_)
        return;
    cancelled_ = true;
    if (reply_)
        reply_->abort(); // its end finishes the link
}

void FileFetcher::finish(bool ok) {
    showTimer_->stop();
    stallTimer_->stop();
    if (progress_) {
        progress_->hide();
        progress_->deleteLater();
    }
    if (!files_.isEmpty())
        DLFLG = ok ? 1 : 0;
    files_.clear();
    busy_ = false;
    const auto done = std::move(done_);
    done_ = nullptr;
    if (done)
        done(ok);
}

void FileFetcher::showProgress() {
    if (!progress_) {
        progress_ = new QProgressDialog(window_);
        progress_->setWindowTitle(QStringLiteral("ダウンロード"));
        progress_->setCancelButtonText(QStringLiteral("キャンセル"));
        progress_->setWindowModality(Qt::NonModal);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        // The dialog would show itself after its own delay; it shows when
        // the link has taken 300 ms instead.
        progress_->reset();
        progress_->setMinimumDuration(INT_MAX);
        connect(progress_, &QProgressDialog::canceled, this, &FileFetcher::cancel);
        connect(progress_, &QDialog::rejected, this, &FileFetcher::cancel);
        showTimer_->start();
    }
    progress_->setLabelText(QStringLiteral("「%1」をダウンロードしています（%2／%3）")
                                .arg(QFileInfo(destination_).fileName())
                                .arg(index_ + 1)
                                .arg(files_.size()));
    progress_->setRange(0, 0);
}
