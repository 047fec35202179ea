#include "platform/screengrab.h"

#include "platform/portalscreenshot.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

bool screenCanBeGrabbed() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    // Under XWayland a grab returns black or only the program's own windows.
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qgetenv("XDG_SESSION_TYPE") != QByteArrayLiteral("wayland");
}

QString captureUnavailable(const QString& portal) {
    return QStringLiteral("画面を写せません。X11 のセッションでは写せず、画面を写す"
                          "デスクトップのポータル（org.freedesktop.portal.Screenshot）も%1。\n"
                          "xdg-desktop-portal とデスクトップに合う実装（GNOME なら "
                          "xdg-desktop-portal-gnome、KDE なら xdg-desktop-portal-kde、sway "
                          "などなら xdg-desktop-portal-wlr）を入れるか、ログインするときに"
                          "「Xorg」（X11）のセッションを選んでください。")
        .arg(portal);
}

ScreenGrab grabWholeScreen() {
    ScreenGrab grab;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screenCanBeGrabbed() && screen)
        grab.image = screen->grabWindow(0).toImage();
    if (grab.image.isNull() || grab.image.width() < 1 || grab.image.height() < 1) {
        grab.image = QImage();
        grab.problem = QStringLiteral("X11 から画面を写せませんでした。");
        return grab;
    }
    grab.image = grab.image.convertToFormat(QImage::Format_RGB32);
    grab.image.setDevicePixelRatio(screen->devicePixelRatio());
    return grab;
}

QImage fitToPrimaryScreen(const QImage& shot, const QRect& desktop, const QRect& primary,
                          qreal screenRatio) {
    QImage fitted = shot;
    // The portal's pixels per Qt pixel: 2 on a screen at scale 2. A picture
    // narrower than the desktop is a part the user chose in the desktop's
    // dialog, and is shown at the screen's own ratio.
    const qreal ratio = desktop.isEmpty() ? 0 : qreal(shot.width()) / desktop.width();
    if (shot.isNull() || ratio < screenRatio) {
        fitted.setDevicePixelRatio(screenRatio);
        return fitted;
    }
    const QRectF part(QPointF(primary.topLeft() - desktop.topLeft()) * ratio,
                      QSizeF(primary.size()) * ratio);
    fitted = shot.copy(part.toAlignedRect().intersected(shot.rect()));
    fitted.setDevicePixelRatio(ratio);
    return fitted;
}

namespace {

QString portalParentWindow(const QWidget* window) {
    if (!window || !window->isVisible() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return QString();
    return QStringLiteral("x11:%1").arg(window->window()->winId(), 0, 16);
}

} // namespace

void photographScreen(QObject* owner, const QWidget* parentWindow, GrabDone done) {
    if (screenCanBeGrabbed()) {
        const ScreenGrab shot = grabWholeScreen();
        if (!shot.image.isNull()) {
            done(shot);
            return;
        }
    }
    auto* portal = new PortalScreenshot(owner);
    QObject::connect(portal, &PortalScreenshot::finished, owner,
                     [portal, done = std::move(done)](ScreenGrab shot) {
                         portal->deleteLater();
                         if (QScreen* screen = QGuiApplication::primaryScreen())
                             shot.image =
                                 fitToPrimaryScreen(shot.image, screen->virtualGeometry(),
                                                    screen->geometry(), screen->devicePixelRatio());
                         done(shot);
                     });
    portal->request(portalParentWindow(parentWindow));
}
