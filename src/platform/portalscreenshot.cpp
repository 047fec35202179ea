#include "platform/portalscreenshot.h"

#include "storage/filereading.h"

#include <QBuffer>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// A screenshot of several 8K screens stays well below this.
constexpr qint64 kMaxShotBytes = 256LL * 1024 * 1024;
constexpr qint64 kMaxShotPixels = 60'000'000;

// The desktop has no screenshot portal at all: asking again is pointless.
bool portalMissing(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownObject:
        return true;
    default:
        return false;
    }
}

QString unreadablePicture(const QString& path, const QString& why) {
    return QStringLiteral("デスクトップのポータルが写した画面の画像 %1 を読めません（%2）。")
        .arg(path, why);
}

} // namespace

PortalScreenshot::PortalScreenshot(QObject* parent, const QDBusConnection& bus)
    : QObject(parent), bus_(bus) {
    timeout_ = new QTimer(this);
    timeout_->setSingleShot(true);
    connect(timeout_, &QTimer::timeout, this, [this] {
        // A portal that never answers must not hold the capture forever.
        bus_.send(QDBusMessage::createMethodCall(kPortal, requestPath_, kRequest,
                                                 QStringLiteral("Close")));
        ScreenGrab shot;
        shot.problem = QStringLiteral("デスクトップのポータルが %1 秒たっても画面の写真に"
                                      "答えませんでした。もう一度ためしてください。")
                           .arg(timeout_->interval() / 1000);
        finish(shot);
    });
}

void PortalScreenshot::request(const QString& parentWindow) {
    if (busy_)
        return;
    busy_ = true;
    parentWindow_ = parentWindow;
    if (!bus_.isConnected()) {
        ScreenGrab shot;
        shot.problem = captureUnavailable(QStringLiteral("D-Bus のセッションバスにつながりません"));
        finish(shot);
        return;
    }
    ask(false);
}

void PortalScreenshot::ask(bool interactive) {
    interactive_ = interactive;
    const QString token = QStringLiteral("zavik%1").arg(QRandomGenerator::global()->generate());
    // The portal names the request after the caller and the token; listening
    // before asking means a fast answer cannot be missed.
    QString sender = bus_.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    listen(QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token));

    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortal, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    call << parentWindow_
         << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("interactive"), interactive}};
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &PortalScreenshot::replied);
    timeout_->start(interactive ? kDialogTimeoutMs : kQuietTimeoutMs);
}

void PortalScreenshot::listen(const QString& path) {
    stopListening();
    requestPath_ = path;
    bus_.connect(kPortal, path, kRequest, QStringLiteral("Response"), this,
                 SLOT(onResponse(uint, QVariantMap)));
}

void PortalScreenshot::stopListening() {
    if (!requestPath_.isEmpty())
        bus_.disconnect(kPortal, requestPath_, kRequest, QStringLiteral("Response"), this,
                        SLOT(onResponse(uint, QVariantMap)));
}

void PortalScreenshot::replied(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    if (!busy_)
        return;
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError()) {
        const QDBusError error = reply.error();
        if (portalMissing(error)) {
            ScreenGrab shot;
            shot.problem = captureUnavailable(QStringLiteral("D-Bus のセッションバスにありません"));
            finish(shot);
        } else {
            refused(error.message());
        }
        return;
    }
    // An older portal chose its own path for the request.
    const QString path = reply.value().path();
    if (path != requestPath_)
        listen(path);
}

void PortalScreenshot::onResponse(uint response, const QVariantMap& results) {
    if (!busy_)
        return;
    if (response == 1) { // the user called it off in the desktop's dialog
        ScreenGrab shot;
        shot.cancelled = true;
        finish(shot);
    } else if (response != 0) {
        refused(QStringLiteral("応答 %1").arg(response));
    } else {
        finish(readPortalPicture(results.value(QStringLiteral("uri")).toString()));
    }
}

void PortalScreenshot::refused(const QString& why) {
    stopListening();
    timeout_->stop();
    if (!interactive_) {
        ask(true);
        return;
    }
    ScreenGrab shot;
    shot.problem =
        QStringLiteral("デスクトップが画面を写すことをゆるしませんでした（%1）。").arg(why);
    finish(shot);
}

void PortalScreenshot::finish(const ScreenGrab& shot) {
    stopListening();
    requestPath_.clear();
    timeout_->stop();
    busy_ = false;
    emit finished(shot);
}

ScreenGrab readPortalPicture(const QString& uri) {
    ScreenGrab shot;
    const QUrl url(uri);
    if (!url.isLocalFile()) {
        shot.problem = unreadablePicture(uri, QStringLiteral("ファイルではありません"));
        return shot;
    }
    // The file belongs to the user (it may be in their screenshot folder):
    // it is read, never removed.
    const QString path = url.toLocalFile();
    const FileRead read = readRegularFile(path, kMaxShotBytes);
    if (read.problem != FileRead::Problem::None) {
        shot.problem = unreadablePicture(
            path, read.error.isEmpty() ? QStringLiteral("ふつうのファイルでないか、大きすぎます")
                                       : read.error);
        return shot;
    }
    QByteArray bytes = read.bytes;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxShotPixels) {
        shot.problem = unreadablePicture(path, QStringLiteral("大きすぎます"));
        return shot;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        shot.problem = unreadablePicture(path, reader.errorString());
        return shot;
    }
    shot.image = image.convertToFormat(QImage::Format_RGB32);
    return shot;
}
