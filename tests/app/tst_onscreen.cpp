#include "app/wallwindow.h"
#include "app/windowmodes.h"
#include "drawing/regionwindow.h"
#include "drawing/screencapture.h"
#include "model/bgrcolor.h"
#include "support/wallfixture.h"

#include <QMessageBox>
#include <QScreen>
#include <QtTest>

// Runs under a real X server, with a window manager when one is installed:
// what the user sees on the screen, not what the widgets say of themselves.
class TestOnScreen : public QObject {
    Q_OBJECT
private slots:
    void noticeStandsAboveTheWallAtStartUp();
    void captureSeesTheScreen();
};

void TestOnScreen::noticeStandsAboveTheWallAtStartUp() {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("zavik-data/"));
    QDir().mkpath(data);
    writeCardFile(data + "a.txt", textCard("a"));
    writeFileBytes(data + "bad.txt",
                   "<POSTER=\"\",1,2,oops,4,5,6,7,8,\"\",\"\",\"\",\"\",\"\",,,>");
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QMessageBox* box = nullptr;
    QTRY_VERIFY((box = w.findChild<QMessageBox*>()) && box->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QTest::qWait(500); // the window manager stacks it

    // Most of the box as the screen shows it is the box's own picture.
    const QImage screen = w.screen()->grabWindow(0).toImage();
    const QImage own = box->grab().toImage();
    int same = 0;
    int looked = 0;
    for (int y = 1; y < 5; ++y) {
        for (int x = 1; x < 5; ++x) {
            const QPoint at(box->width() * x / 5, box->height() * y / 5);
            const QPoint onScreen = box->mapToGlobal(at) - w.screen()->geometry().topLeft();
            ++looked;
            same += screen.pixel(onScreen) == own.pixel(at);
        }
    }
    QVERIFY2(same * 10 >= looked * 9, qPrintable(QStringLiteral("%1 of %2").arg(same).arg(looked)));
}

void TestOnScreen::captureSeesTheScreen() {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("zavik-data")));
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(300);
    ScreenCapture& capture = w.capture();
    QImage seen;
    auto captureAndLook = [&](bool putAway) {
        seen = QImage();
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, &capture, &seen] {
            if (!capture.TForm14->isVisible())
                return;
            poll->deleteLater();
            seen = capture.TForm14->screen();
            capture.TForm14->reject();
        });
        poll->start(10);
        capture.captureAfter(10, putAway);
        QTRY_VERIFY(!seen.isNull());
    };
    // The plain wall, as the screen shows it.
    captureAndLook(false);
    const QPoint middle(w.width() / 2, w.height() / 2);
    QCOMPARE(seen.pixelColor(middle), bgrColor(kNavy));
    // A tucked wall stays where it is for a delayed capture; "キャプチャー"
    // takes it out of the picture and puts it back where it was.
    w.modes().tuckOrUntuck();
    QTest::qWait(300);
    const QRect tucked = w.geometry();
    QVERIFY(tucked.width() < 200);
    captureAndLook(false);
    QCOMPARE(w.geometry(), tucked);
    captureAndLook(true);
    QTRY_VERIFY(w.isVisible());
    QCOMPARE(w.geometry(), tucked);
    QVERIFY(seen.pixelColor(tucked.center()) != bgrColor(kNavy));
}

QTEST_MAIN(TestOnScreen)
#include "tst_onscreen.moc"
