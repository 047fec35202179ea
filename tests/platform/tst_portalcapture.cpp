// The screen photographed through the desktop portal: on the headless sway
// that with-portal-desktop.sh starts, where a window of a known colour floats
// at a known place over a background of another; and the portal's answers,
// from a stand-in portal on a bus of the test's own.
#include "platform/portalscreenshot.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QColor kWindow(0xe0, 0x30, 0x20);

class ColourWindow : public QRasterWindow {
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(QPoint(), size()), kWindow);
    }
};

// Answers Screenshot as a desktop's portal does, one scripted answer per
// call: "picture", "refuse", "cancel" or "error".
struct StandInPortal : QDBusVirtualObject {
    QStringList script;
    QString pictureUri;
    QList<bool> interactive; // what each call asked for

    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        const auto options = qdbus_cast<QVariantMap>(call.arguments().value(1));
        interactive << options.value(QStringLiteral("interactive")).toBool();
        const QString answer = script.value(interactive.size() - 1);
        if (answer == QLatin1String("error"))
            return bus.send(call.createErrorReply(QDBusError::AccessDenied, answer));
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
        response << code << QVariantMap{{QStringLiteral("uri"), pictureUri}};
        return bus.send(response);
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
    window.resize(200, 100);
    window.show();
    // The compositor's rule floats the window at 100, 50 once it is shown.
    QTRY_VERIFY_WITH_TIMEOUT(
        QProcess::execute(QStringLiteral("swaymsg"),
                          {QStringLiteral("-q"), QStringLiteral("[app_id=zavik-colour] nop")}) == 0,
        30000);
    QObject owner;
    ScreenGrab shot;
    photographScreen(&owner, nullptr, [&](const ScreenGrab& grab) { shot = grab; });
    QTRY_VERIFY_WITH_TIMEOUT(!shot.image.isNull() || !shot.problem.isEmpty(), 30000);
    QVERIFY2(!shot.image.isNull(), qPrintable(shot.problem));
    QCOMPARE(shot.image.size(), QSize(640, 480));
    QCOMPARE(shot.image.devicePixelRatio(), 1.0);
    for (const QPoint& p : {QPoint(100, 50), QPoint(200, 100), QPoint(299, 149)})
        QCOMPARE(shot.image.pixelColor(p), kWindow);
    for (const QPoint& p : {QPoint(0, 0), QPoint(99, 49), QPoint(300, 150), QPoint(639, 479)})
        QCOMPARE(shot.image.pixelColor(p), QColor(0x20, 0x40, 0x80));
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
    QTest::newRow("no picture in the file") << QStringList{"picture"} << "unreadable";
}

void TestPortalCapture::answersOfThePortal() {
    QFETCH(QStringList, script);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("bus.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                "<policy context=\"default\"><allow send_destination=\"*\" "
                                "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                                "<allow own=\"*\"/></policy></busconfig>")
                     .arg(dir.path())
                     .toUtf8());
    config.close();
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {"--config-file=" + config.fileName(), "--nofork", "--print-address"});
    if (!daemon.waitForStarted())
        QSKIP("dbus-daemon is not installed");
    QTRY_VERIFY_WITH_TIMEOUT(daemon.canReadLine(), 30000);
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    const QString tag = QString::fromLatin1(QTest::currentDataTag());

    StandInPortal portal;
    portal.script = script;
    const QString picture = dir.filePath(QStringLiteral("スクリーンショット.png"));
    QImage red(40, 30, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QVERIFY(outcome == QLatin1String("unreadable") ? config.copy(picture) : red.save(picture));
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
        QCOMPARE(shot.image, outcome == QLatin1String("picture")
                                 ? red.convertToFormat(QImage::Format_RGB32)
                                 : QImage());
        QCOMPARE(shot.cancelled, outcome == QLatin1String("cancelled"));
        QCOMPARE(shot.problem.isEmpty(),
                 outcome == QLatin1String("picture") || outcome == QLatin1String("cancelled"));
        if (outcome == QLatin1String("unreadable"))
            QVERIFY(shot.problem.contains(picture));
        QVERIFY(QFile::exists(picture)); // the user's file, left where it is
    }
    QDBusConnection::disconnectFromBus(tag);
    QDBusConnection::disconnectFromBus(tag + QStringLiteral("d"));
}

QTEST_MAIN(TestPortalCapture)
#include "tst_portalcapture.moc"
