#include "web/filefetcher.h"

#include "platform/beep.h"
#include "platform/userprompts.h"
#include "storage/atomicfile.h"
#include "storage/filereading.h"
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
#include <QTimer>
#include <QWidget>
#include <climits>
#include <utility>

using namespace weblink;

namespace {

// The reply holds at most this much before the fetcher has taken it.
constexpr qint64 kReadBuffer = 1 << 20;
// A link that goes round in redirects fails after this many.
constexpr int kMaxRedirects = 10;

bool isWebAddress(const QString& source) {
    return source.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           source.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

// The real path of `path`: its longest part that exists with every link
// followed, and the rest as written.
QString realPath(const QString& path) {
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing)) {
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash < 0)
            return QDir::cleanPath(path);
        rest.prepend(existing.mid(slash));
        existing.truncate(qMax<qsizetype>(slash, 1));
    }
    return QDir::cleanPath(QFileInfo(existing).canonicalFilePath() + rest);
}

QString megabytes(qint64 bytes) {
    return QString::number(bytes / (1024 * 1024));
}

} // namespace

bool folderStaysIn(const QString& root, const QString& folder) {
    const QString r = realPath(root);
    const QString f = realPath(folder);
    return f == r || f.startsWith(r + QLatin1Char('/'));
}

bool makeFolderIn(const QString& root, const QString& folder) {
    return folderStaysIn(root, folder) && QDir().mkpath(folder) && folderStaysIn(root, folder);
}

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
    delete progress_;
    delete question_;
}

bool FileFetcher::busy() const {
    return busy_;
}

bool FileFetcher::fetch(const QString& within, const QList<LinkFetch>& files,
                        std::function<void(bool lastOk)> done) {
    if (busy_) {
        zavikBeep();
        return false;
    }
    busy_ = true;
    within_ = within;
    files_ = files;
    index_ = 0;
    done_ = std::move(done);
    lastOk_ = true;
    lastRefused_ = false;
    cancelled_ = false;
    problems_.clear();
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
    destination_ = QDir::cleanPath(withSlashes(isWebAddress(source_) ? CutNN2(to) : to));
    if (!folderStaysIn(within_, QFileInfo(destination_).absolutePath())) {
        refuse(QStringLiteral("「%1」はLOGOフォルダの外を指しているので、書き込みませんでした。")
                   .arg(QDir::toNativeSeparators(destination_)));
        return;
    }
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
    makeFolderIn(within_, QFileInfo(destination_).absolutePath());
    if (isWebAddress(source_))
        download();
    else
        copyLocally();
}

void FileFetcher::download() {
    body_.clear();
    stalled_ = false;
    tooLarge_ = false;
    QNetworkRequest request{QUrl(source_)};
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("MyApp"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    reply_ = manager_->get(request);
    reply_->setReadBufferSize(kReadBuffer);
    // A length over the limit stops the download before its body comes.
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length =
            reply_ ? reply_->header(QNetworkRequest::ContentLengthHeader) : QVariant();
        if (length.isValid() && length.toLongLong() > maxBytes) {
            tooLarge_ = true;
            reply_->abort();
        }
    });
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
    if (!reply_)
        return;
    stallTimer_->start(stallMs);
    const QByteArray bytes = reply_->readAll();
    if (tooLarge_ || bytes.isEmpty())
        return;
    if (body_.size() + bytes.size() > maxBytes) {
        tooLarge_ = true;
        body_.clear();
        reply_->abort(); // finishes the download, as refused
        return;
    }
    body_ += bytes;
}

void FileFetcher::downloadFinished() {
    stallTimer_->stop();
    take();
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    bool ok = !cancelled_ && !stalled_ && !tooLarge_ && reply->error() == QNetworkReply::NoError &&
              status >= 200 && status < 300;
    // A connection that ends early without an error is no whole file
    // either; a compressed body has another length than it announced.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (ok && length.isValid() && !reply->hasRawHeader("Content-Encoding") &&
        length.toLongLong() != body_.size())
        ok = false;
    const QByteArray body = std::exchange(body_, QByteArray());
    reply->deleteLater();
    if (cancelled_)
        finish(false);
    else if (tooLarge_)
        refuse(QStringLiteral("「%1」は%2MBを超えるので、ダウンロードをやめました。")
                   .arg(QDir::toNativeSeparators(destination_), megabytes(maxBytes)));
    else
        fileDone(ok && writeOut(body));
}

// A local copy keeps a destination that is there already.
void FileFetcher::copyLocally() {
    if (QFileInfo::exists(destination_)) {
        fileDone(true);
        return;
    }
    const FileRead read = readRegularFile(withSlashes(source_), maxBytes);
    if (read.problem == FileRead::Problem::TooLarge)
        refuse(QStringLiteral("「%1」は%2MBを超えるので、コピーしませんでした。")
                   .arg(QDir::toNativeSeparators(withSlashes(source_)), megabytes(maxBytes)));
    else
        fileDone(read.problem == FileRead::Problem::None && writeOut(read.bytes));
}

bool FileFetcher::writeOut(const QByteArray& bytes) {
    // Looked at again: a folder may have been swapped for a link meanwhile.
    QString why = QStringLiteral("LOGOフォルダの外を指しています。");
    if (folderStaysIn(within_, QFileInfo(destination_).absolutePath()) &&
        writeFileAtomically(destination_, bytes, &why))
        return true;
    problems_ << QStringLiteral("「%1」を書き込めませんでした：%2")
                     .arg(QDir::toNativeSeparators(destination_), why);
    return false;
}

void FileFetcher::refuse(const QString& message) {
    problems_ << message;
    fileDone(false, true);
}

void FileFetcher::fileDone(bool ok, bool refused) {
    // A failed extra does not stop the link; the last file decides.
    lastOk_ = ok;
    lastRefused_ = refused;
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
    if (!problems_.isEmpty())
        report(std::exchange(problems_, QStringList()).join(QLatin1Char('\n')));
    if (done)
        done(ok);
}

void FileFetcher::report(const QString& message) {
    if (prompts_) {
        prompts_->tell(message);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Zavik"), message,
                                QMessageBox::Ok, window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
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
