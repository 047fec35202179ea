#include "platform/screengrab.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

bool screenCanBeGrabbed() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    // Under XWayland a grab returns black or only the program's own windows.
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qgetenv("XDG_SESSION_TYPE") != QByteArrayLiteral("wayland");
}

QString captureNeedsX11() {
    return QStringLiteral("画面のキャプチャーには X11 のセッションが必要です。\n"
                          "ログインするときに「Xorg」（X11）のセッションを選んでから、"
                          "もう一度ためしてください。");
}

ScreenGrab grabWholeScreen() {
    ScreenGrab grab;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screenCanBeGrabbed() || !screen) {
        grab.problem = captureNeedsX11();
        return grab;
    }
    grab.image = screen->grabWindow(0).toImage();
    if (grab.image.isNull() || grab.image.width() < 1 || grab.image.height() < 1) {
        grab.image = QImage();
        grab.problem = captureNeedsX11();
        return grab;
    }
    grab.image = grab.image.convertToFormat(QImage::Format_RGB32);
    grab.image.setDevicePixelRatio(screen->devicePixelRatio());
    return grab;
}
