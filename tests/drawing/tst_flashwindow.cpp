#include "cards/textcutting.h"
#include "cards/textplacing.h"
#include "drawing/flashwindow.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest>

namespace {

const QString kLink = QStringLiteral("pictures/leaf.jpg");
const QRect kWall(0, 0, 800, 800);

// A mouse event with an explicit screen position, so that a drag can follow
// the pointer while the window moves under it.
void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, QPoint global) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, target->mapFromGlobal(global), global,
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Shows "NH4+1" on a wall 800 pixels high and runs `during` once the window
// is up.
QString showWith(FlashWindow& w, const std::function<void()>& during, bool* oneShot = nullptr,
                 int colourCode = 1) {
    QTimer::singleShot(30, &w, during);
    return w.showFlash(QStringLiteral("NH4+1"), colourCode, Qt::black, kLink, QPoint(100, 100),
                       kWall, 1, 800, oneShot);
}

QColor rgb(const char* name) {
    return name ? QColor(QLatin1String(name)) : QColor();
}

} // namespace

class TestFlashWindow : public QObject {
    Q_OBJECT
private slots:
    void colourTable_data();
    void colourTable();
    void coloursFollowTheCard();
    void placement_data();
    void placement();
    void opensInsideTheWallWindow_data();
    void opensInsideTheWallWindow();
    void timerFollowsTheLink();
    void clicks_data();
    void clicks();
    void releaseWithoutPress_data();
    void releaseWithoutPress();
    void dragMovesTheWindow();
    void formulaPieces_data();
    void formulaPieces();
};

void TestFlashWindow::colourTable_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QColor>("panel");  // invalid: unchanged
    QTest::addColumn<QColor>("window"); // invalid: unchanged
    // Expected colours written as #RRGGBB, so the $00BBGGRR values are
    // checked as well.
    const auto row = [](int code, const char* panel, const char* window) {
        QTest::addRow("code %d", code) << code << rgb(panel) << rgb(window);
    };
    row(1, "#ffffff", "#0000ff");
    row(2, "#ff00ff", "#0000ff");
    row(3, "#00ffff", "#0000ff");
    row(4, "#ffff00", "#0000ff");
    row(5, "#00ff00", "#0000ff");
    row(6, "#000000", "#0000ff");
    row(7, "#c0c0c0", "#0000ff");
    row(8, "#c0c0c0", "#0000ff");
    row(9, "#f0caa6", "#0000ff");
    row(10, "#0000ff", "#000080");
    row(11, "#000080", "#0000ff");
    row(12, "#c0dcc0", "#0000ff");
    row(13, "#008080", "#0000ff");
    row(14, "#008000", "#0000ff");
    row(15, "#808000", nullptr);
    row(16, "#800000", nullptr);
    row(17, "#800080", "#0000ff");
    row(18, "#ff0000", "#0000ff");
    row(19, "#0000ff", "#c0c0c0");
    row(0, nullptr, nullptr);
    row(20, nullptr, nullptr);
    row(-1, nullptr, nullptr);
}

void TestFlashWindow::colourTable() {
    QFETCH(int, code);
    QFETCH(QColor, panel);
    QFETCH(QColor, window);
    const FlashColours c = flashColours(code);
    QCOMPARE(c.panel.has_value(), panel.isValid());
    QCOMPARE(c.window.has_value(), window.isValid());
    if (panel.isValid())
        QCOMPARE(c.panel->name(), panel.name());
    if (window.isValid())
        QCOMPARE(c.window->name(), window.name());
}

void TestFlashWindow::coloursFollowTheCard() {
    FlashWindow w;
    w.setTimeoutMs(10);
    QCOMPARE(w.windowColour(), QColor(0, 0, 255)); // blue before any card
    const auto show = [&w](int code) {
        w.showFlash(QStringLiteral("x"), code, Qt::black, kLink, QPoint(0, 0), kWall, 1, 800,
                    nullptr);
    };
    show(10);
    QCOMPARE(w.panelColour(), QColor(0, 0, 255));
    QCOMPARE(w.windowColour(), QColor(0, 0, 128));
    // Code 15 keeps the navy frame the card before left.
    show(15);
    QCOMPARE(w.panelColour(), QColor(128, 128, 0));
    QCOMPARE(w.windowColour(), QColor(0, 0, 128));
    // An unknown code keeps both.
    show(42);
    QCOMPARE(w.panelColour(), QColor(128, 128, 0));
    QCOMPARE(w.windowColour(), QColor(0, 0, 128));
    show(1);
    QCOMPARE(w.panelColour(), QColor(255, 255, 255));
    QCOMPARE(w.windowColour(), QColor(0, 0, 255));
}

void TestFlashWindow::placement_data() {
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("corner");
    QTest::addColumn<QRect>("wall");
    QTest::addColumn<QPoint>("expected");
    const QRect wall(0, 0, 800, 800);
    QTest::newRow("at the card") << QSize(200, 120) << QPoint(100, 50) << wall << QPoint(100, 50);
    QTest::newRow("just fits") << QSize(200, 120) << QPoint(600, 680) << wall << QPoint(600, 680);
    QTest::newRow("near the right edge")
        << QSize(200, 120) << QPoint(700, 50) << wall << QPoint(600, 50);
    QTest::newRow("near the bottom")
        << QSize(200, 120) << QPoint(100, 750) << wall << QPoint(100, 680);
    QTest::newRow("in the corner")
        << QSize(200, 120) << QPoint(790, 790) << wall << QPoint(600, 680);
    const QRect moved(100, 50, 800, 600);
    QTest::newRow("wall window moved")
        << QSize(200, 120) << QPoint(850, 600) << moved << QPoint(700, 530);
    QTest::newRow("wider than the wall, card above it")
        << QSize(1000, 120) << QPoint(300, 10) << moved << QPoint(100, 50);
    QTest::newRow("taller than the wall")
        << QSize(100, 700) << QPoint(300, 400) << moved << QPoint(300, 50);
}

void TestFlashWindow::placement() {
    QFETCH(QSize, window);
    QFETCH(QPoint, corner);
    QFETCH(QRect, wall);
    QFETCH(QPoint, expected);
    QCOMPARE(flashWindowPosition(window, corner, wall), expected);
}

void TestFlashWindow::opensInsideTheWallWindow_data() {
    QTest::addColumn<QPoint>("corner");
    QTest::newRow("middle") << QPoint(200, 300);
    QTest::newRow("right edge") << QPoint(780, 300);
    QTest::newRow("bottom edge") << QPoint(200, 790);
    QTest::newRow("corner") << QPoint(799, 799);
}

void TestFlashWindow::opensInsideTheWallWindow() {
    QFETCH(QPoint, corner);
    FlashWindow w;
    w.setTimeoutMs(3000);
    QRect seen;
    QTimer::singleShot(30, &w, [&w, &seen] {
        seen = w.frameGeometry();
        w.stop();
    });
    w.showFlash(QStringLiteral("NH4+1"), 1, Qt::black, kLink, corner, kWall, 1, 800, nullptr);
    QVERIFY(seen.isValid());
    QVERIFY2(kWall.contains(seen), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                  .arg(seen.x())
                                                  .arg(seen.y())
                                                  .arg(seen.width())
                                                  .arg(seen.height())));
    QCOMPARE(seen.x(), std::min(corner.x(), kWall.right() + 1 - seen.width()));
    QCOMPARE(seen.y(), std::min(corner.y(), kWall.bottom() + 1 - seen.height()));
}

void TestFlashWindow::timerFollowsTheLink() {
    FlashWindow w;
    QCOMPARE(w.timeoutMs(), 5000);
    auto* timer = w.findChild<QTimer*>(QStringLiteral("Timer2"));
    QVERIFY(timer);
    QVERIFY(timer->isSingleShot());
    w.setTimeoutMs(80);
    bool visibleMeanwhile = false;
    QElapsedTimer clock;
    clock.start();
    const QString result = showWith(w, [&] { visibleMeanwhile = w.isVisible(); });
    QVERIFY(clock.elapsed() >= 75);
    QVERIFY(visibleMeanwhile);
    QCOMPARE(result, kLink);
    QVERIFY(!w.isVisible());
    QVERIFY(!timer->isActive());
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestFlashWindow::clicks_data() {
    QTest::addColumn<QString>("target"); // a control, "frame" for the window's edge, or "stop"
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("followsLink");
    QTest::newRow("left on panel") << "Panel1" << int(Qt::LeftButton) << true;
    QTest::newRow("right on panel") << "Panel1" << int(Qt::RightButton) << false;
    QTest::newRow("left on text") << "Label2" << int(Qt::LeftButton) << true;
    QTest::newRow("right on text") << "Label2" << int(Qt::RightButton) << false;
    QTest::newRow("right on subscript") << "Label3" << int(Qt::RightButton) << false;
    QTest::newRow("left on frame") << "frame" << int(Qt::LeftButton) << true;
    QTest::newRow("right on frame") << "frame" << int(Qt::RightButton) << false;
    QTest::newRow("stopped for another card") << "stop" << 0 << true;
}

void TestFlashWindow::clicks() {
    QFETCH(QString, target);
    QFETCH(int, button);
    QFETCH(bool, followsLink);
    FlashWindow w;
    w.setTimeoutMs(60000); // far longer than the test allows: the click must close it
    QElapsedTimer clock;
    clock.start();
    const QString result = showWith(w, [&] {
        if (target == QLatin1String("stop")) {
            w.stop();
        } else if (target == QLatin1String("frame")) {
            QTest::mouseClick(&w, Qt::MouseButton(button), {}, QPoint(1, 1));
        } else {
            auto* control = w.findChild<QWidget*>(target);
            QVERIFY(control);
            QVERIFY(control->isVisible());
            QTest::mouseClick(control, Qt::MouseButton(button), {}, QPoint(2, 2));
        }
    });
    QVERIFY(clock.elapsed() < 30000);
    QCOMPARE(result, followsLink ? kLink : QString());
    QVERIFY(!w.isVisible());
}

void TestFlashWindow::releaseWithoutPress_data() {
    // A release whose press was on the card, not on this window.
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("oneShot");
    QTest::addColumn<bool>("closes");
    QTest::newRow("text, one shot") << "Label2" << true << true;
    QTest::newRow("text") << "Label2" << false << false;
    QTest::newRow("panel") << "Panel1" << false << true;
}

void TestFlashWindow::releaseWithoutPress() {
    QFETCH(QString, target);
    QFETCH(bool, oneShot);
    QFETCH(bool, closes);
    FlashWindow w;
    w.setTimeoutMs(400);
    bool flag = oneShot;
    bool stillOpen = false;
    const QString result = showWith(
        w,
        [&] {
            auto* control = w.findChild<QWidget*>(target);
            const QPoint at = control->mapToGlobal(QPoint(2, 2));
            sendMouse(control, QEvent::MouseButtonRelease, Qt::RightButton, at);
            stillOpen = w.isVisible();
        },
        &flag);
    QCOMPARE(stillOpen, !closes);
    QCOMPARE(flag, false);   // used up, or never set
    QCOMPARE(result, kLink); // no right press on the window: the link stands
}

void TestFlashWindow::dragMovesTheWindow() {
    FlashWindow w;
    w.setTimeoutMs(3000);
    QPoint before, during;
    bool stillOpen = false;
    const QString result = showWith(w, [&] {
        auto* panel = w.findChild<QWidget*>(QStringLiteral("Panel1"));
        before = w.pos();
        const QPoint grab = panel->mapToGlobal(QPoint(5, 5));
        sendMouse(panel, QEvent::MouseButtonPress, Qt::LeftButton, grab);
        sendMouse(panel, QEvent::MouseMove, Qt::LeftButton, grab + QPoint(40, 25));
        sendMouse(panel, QEvent::MouseMove, Qt::LeftButton, grab + QPoint(50, 30));
        during = w.pos();
        stillOpen = w.isVisible();
        sendMouse(panel, QEvent::MouseButtonRelease, Qt::LeftButton, grab + QPoint(50, 30));
    });
    QVERIFY(stillOpen);
    QCOMPARE(during - before, QPoint(50, 30));
    QCOMPARE(result, kLink);
    QVERIFY(!w.isVisible());
}

void TestFlashWindow::formulaPieces_data() {
    QTest::addColumn<int>("NOWY");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("mainPoints");
    QTest::newRow("full height") << 1080 << 1 << 60;
    QTest::newRow("800 lines") << 800 << 1 << 44; // 60 × 800 / 1080 = 44.4
    QTest::newRow("two lines") << 1080 << 2 << 60;
}

void TestFlashWindow::formulaPieces() {
    QFETCH(int, NOWY);
    QFETCH(int, lines);
    QFETCH(int, mainPoints);
    FlashWindow w;
    w.setTimeoutMs(10);
    const QColor text(0, 128, 0);
    w.showFlash(QStringLiteral("NH4+1"), 3, text, kLink, QPoint(0, 0), kWall, lines, NOWY, nullptr);

    const QStringList names = {"Label2", "Label3", "Label4", "Label5", "Label6", "Label7"};
    const QStringList texts = {"NH", "4", "", "", "+", ""};
    const QList<int> points = {mainPoints,     mainPoints / 2, mainPoints,
                               mainPoints / 2, mainPoints / 2, mainPoints};
    const FlashPlacement expected =
        placeFlashText(cutCardText(QStringLiteral("NH4+1")), lines, NOWY);
    auto* panel = w.findChild<QWidget*>(QStringLiteral("Panel1"));
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), QRect(QPoint(2, 2), w.size() - QSize(4, 4)));
    auto* hidden = w.findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(hidden);
    QVERIFY(hidden->isHidden());

    std::array<QRect, 6> onPanel;
    for (int i = 0; i < 6; ++i) {
        auto* label = w.findChild<QLabel*>(names[i]);
        QVERIFY2(label, qPrintable(names[i]));
        QCOMPARE(label->text(), texts[i]);
        QCOMPARE(label->isHidden(), texts[i].isEmpty());
        QCOMPARE(label->font().pointSize(), points[i]);
        QCOMPARE(label->font().family(), flashFont(10).family());
        QCOMPARE(label->palette().color(QPalette::WindowText), text);
        onPanel[i] = label->geometry();
        QCOMPARE(onPanel[i], expected.rect[size_t(i)]);
    }
    // The main text starts at the panel's left edge; the subscript follows it, lowered,
    // and the charge stands above the subscript.
    QCOMPARE(onPanel[0].left(), 0);
    QCOMPARE(onPanel[1].left(), onPanel[0].left() + onPanel[0].width());
    QVERIFY(onPanel[1].top() > onPanel[0].top());
    QCOMPARE(onPanel[4].left(), onPanel[1].left());
    QCOMPARE(onPanel[4].top(), onPanel[0].top());
    // The window is as wide as the pieces plus 10 pixels (the missing second
    // subscript leaves the charge a column of its own) and 120 pixels a line
    // high.
    QVERIFY(onPanel[4].width() > 0);
    QCOMPARE(w.size(),
             QSize(onPanel[0].width() + onPanel[1].width() + onPanel[4].width() + 10, 120 * lines));
}

QTEST_MAIN(TestFlashWindow)
#include "tst_flashwindow.moc"
