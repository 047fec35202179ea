// The screen photographed through the desktop portal, on the headless sway
// that with-portal-desktop.sh starts: a window of a known colour floats at a
// known place over a background of another.
#include "platform/screengrab.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QScreen>
#include <QtTest>

namespace {

const QColor kBackground(0x20, 0x40, 0x80);
const QColor kWindow(0xe0, 0x30, 0x20);
const QRect kWindowPlace(100, 50, 200, 100); // as the compositor's rule puts it

class ColourWindow : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(QPoint(), size()), kWindow);
    }
};

// Where the compositor shows the window, from its own tree.
QRect placeOf(const QJsonObject& node, const QString& appId) {
    if (node.value(QStringLiteral("app_id")).toString() == appId &&
        node.value(QStringLiteral("visible")).toBool()) {
        const QJsonObject r = node.value(QStringLiteral("rect")).toObject();
        return QRect(r.value(QStringLiteral("x")).toInt(), r.value(QStringLiteral("y")).toInt(),
                     r.value(QStringLiteral("width")).toInt(),
                     r.value(QStringLiteral("height")).toInt());
    }
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue& child : node.value(QLatin1String(children)).toArray()) {
            const QRect found = placeOf(child.toObject(), appId);
            if (!found.isNull())
                return found;
        }
    return QRect();
}

QRect compositorPlace(const QString& appId) {
    QProcess swaymsg;
    swaymsg.start(QStringLiteral("swaymsg"),
                  {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_tree")});
    if (!swaymsg.waitForFinished(10000))
        return QRect();
    return placeOf(QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).object(), appId);
}

} // namespace

class TestPortalCapture : public QObject {
    Q_OBJECT
public:
    static void initMain() { QGuiApplication::setDesktopFileName(QStringLiteral("zavik-colour")); }

private slots:
    void wholeScreenThroughThePortal();
};

void TestPortalCapture::wholeScreenThroughThePortal() {
    if (qEnvironmentVariableIsEmpty("ZAVIK_PORTAL_DESKTOP"))
        QSKIP("needs the desktop that tests/platform/with-portal-desktop.sh starts");
    QVERIFY(!screenCanBeGrabbed());
    ColourWindow window;
    window.resize(kWindowPlace.size());
    window.show();
    QTRY_COMPARE_WITH_TIMEOUT(compositorPlace(QStringLiteral("zavik-colour")), kWindowPlace, 30000);

    QObject owner;
    ScreenGrab shot;
    bool answered = false;
    photographScreen(&owner, nullptr, [&](const ScreenGrab& grab) {
        shot = grab;
        answered = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(answered, 30000);
    QVERIFY2(!shot.image.isNull(), qPrintable(shot.problem));
    QCOMPARE(shot.image.format(), QImage::Format_RGB32);
    QCOMPARE(shot.image.size(), QSize(640, 480));
    QCOMPARE(shot.image.devicePixelRatio(), 1.0);
    for (const QPoint& p :
         {kWindowPlace.topLeft(), kWindowPlace.center(), kWindowPlace.bottomRight()})
        QCOMPARE(shot.image.pixelColor(p), kWindow);
    for (const QPoint& p : {QPoint(0, 0), kWindowPlace.topLeft() - QPoint(1, 1),
                            kWindowPlace.bottomRight() + QPoint(1, 1), QPoint(639, 479)})
        QCOMPARE(shot.image.pixelColor(p), kBackground);
}

QTEST_MAIN(TestPortalCapture)
#include "tst_portalcapture.moc"
