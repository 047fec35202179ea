// The screen photographed through the desktop portal: on the headless sway
// that with-portal-desktop.sh starts, where a window of a known colour floats
// at a known place over a background of another; and the portal's answers,
// from a stand-in portal on a bus of the test's own.
#include "platform/portalscreenshot.h"
#include "platform/screengrab.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QScreen>
#include <QTemporaryDir>
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

// Answers Screenshot as a desktop's portal does, one scripted answer per
// call: "picture", "refuse", "cancel" or "error".
class StandInPortal : public QDBusVirtualObject {
public:
    QStringList script;
    QString pictureUri;
    QList<bool> interactive; // what each call asked for

    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        if (call.member() != QLatin1String("Screenshot"))
            return false;
        const auto options = qdbus_cast<QVariantMap>(call.arguments().value(1));
        interactive << options.value(QStringLiteral("interactive")).toBool();
        const QString answer = script.value(interactive.size() - 1);
        if (answer == QLatin1String("error")) {
            bus.send(call.createErrorReply(QDBusError::AccessDenied, QStringLiteral("no")));
            return true;
        }
        const QString path =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                .arg(call.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')),
                     options.value(QStringLiteral("handle_token")).toString());
        bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(path))));
        QDBusMessage response = QDBusMessage::createTargetedSignal(
            call.service(), path, QStringLiteral("org.freedesktop.portal.Request"),
            QStringLiteral("Response"));
        const uint code = answer == QLatin1String("picture")  ? 0
                          : answer == QLatin1String("cancel") ? 1
                                                              : 2;
        QVariantMap results;
        if (code == 0)
            results.insert(QStringLiteral("uri"), pictureUri);
        response << code << results;
        bus.send(response);
        return true;
    }
};

} // namespace

class TestPortalCapture : public QObject {
    Q_OBJECT
public:
    static void initMain() { QGuiApplication::setDesktopFileName(QStringLiteral("zavik-colour")); }

private slots:
    void wholeScreenThroughThePortal();
    void answersOfThePortal_data();
    void answersOfThePortal();
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

void TestPortalCapture::answersOfThePortal_data() {
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("given at once") << QStringList{"picture"} << "picture";
    QTest::newRow("refused, then given in the dialog")
        << QStringList{"refuse", "picture"} << "picture";
    QTest::newRow("not permitted, then given in the dialog")
        << QStringList{"error", "picture"} << "picture";
    QTest::newRow("cancelled in the dialog") << QStringList{"refuse", "cancel"} << "cancelled";
    QTest::newRow("refused twice") << QStringList{"refuse", "refuse"} << "problem";
    QTest::newRow("no portal on the bus") << QStringList() << "problem";
}

void TestPortalCapture::answersOfThePortal() {
    QFETCH(QStringList, script);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("bus.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                "<auth>EXTERNAL</auth><policy context=\"default\">"
                                "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                                "</busconfig>")
                     .arg(dir.path())
                     .toUtf8());
    config.close();
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                  QStringLiteral("--print-address")});
    if (!daemon.waitForStarted())
        QSKIP("dbus-daemon is not installed");
    QTRY_VERIFY_WITH_TIMEOUT(daemon.canReadLine(), 30000);
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    const QString tag = QString::fromLatin1(QTest::currentDataTag());

    StandInPortal portal;
    portal.script = script;
    const QString picture = dir.filePath(QStringLiteral("shot.png"));
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(picture));
    portal.pictureUri = QUrl::fromLocalFile(picture).toString();
    {
        QDBusConnection desktop = QDBusConnection::connectToBus(address, tag + QStringLiteral("d"));
        if (!script.isEmpty()) {
            QVERIFY(desktop.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
            QVERIFY(desktop.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                  &portal));
        }
        PortalScreenshot zavik(nullptr, QDBusConnection::connectToBus(address, tag));
        QSignalSpy finished(&zavik, &PortalScreenshot::finished);
        zavik.request(QString());
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        const auto shot = finished.at(0).at(0).value<ScreenGrab>();
        QCOMPARE(portal.interactive, (QList<bool>{false, true}.mid(0, script.size())));
        QCOMPARE(shot.image, outcome == QLatin1String("picture") ? red : QImage());
        QCOMPARE(shot.cancelled, outcome == QLatin1String("cancelled"));
        QCOMPARE(shot.problem.isEmpty(), outcome != QLatin1String("problem"));
        QVERIFY(QFile::exists(picture)); // the user's file, left where it is
    }
    QDBusConnection::disconnectFromBus(tag);
    QDBusConnection::disconnectFromBus(tag + QStringLiteral("d"));
    daemon.kill();
    daemon.waitForFinished();
}

QTEST_MAIN(TestPortalCapture)
#include "tst_portalcapture.moc"
