#pragma once

#include "platform/screengrab.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusPendingCallWatcher;
class QTimer;

// Asks the desktop portal for a picture of the screen, the one way a Wayland
// desktop lets a program see it. The first request asks the user nothing;
// when the desktop refuses it, a second one lets the desktop show its own
// dialog. The answer comes later, by `finished`, exactly once per request.
class PortalScreenshot : public QObject {
    Q_OBJECT
public:
    explicit PortalScreenshot(QObject* parent = nullptr,
                              const QDBusConnection& bus = QDBusConnection::sessionBus());

    // A quiet request answers at once or not at all; one with the desktop's
    // dialog waits for the user.
    static constexpr int kQuietTimeoutMs = 10'000;
    static constexpr int kDialogTimeoutMs = 120'000;

    // `parentWindow` is the portal's name for the window in front
    // ("x11:<hex id>"), or empty.
    void request(const QString& parentWindow);

signals:
    // The picture as the portal wrote it (RGB32), or why there is none.
    void finished(const ScreenGrab& shot);

private slots:
    void onResponse(uint response, const QVariantMap& results);

private:
    void ask(bool interactive);
    void listen(const QString& path);
    void stopListening();
    void replied(QDBusPendingCallWatcher* call);
    // The quiet request was refused: try with the dialog, or give up.
    void refused(const QString& why);
    void finish(const ScreenGrab& shot);

    QDBusConnection bus_;
    QString parentWindow_;
    bool interactive_ = false;
    bool busy_ = false;
    QString requestPath_;
    QTimer* timeout_;
};

// Reads the picture a portal wrote (a file:// URI), as RGB32.
ScreenGrab readPortalPicture(const QString& uri);
