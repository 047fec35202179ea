#include "drawing/pictureeditorwindow.h"
#include "model/penstate.h"
#include "platform/beep.h"
#include "support/mouse.h"
#include "support/touch.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kSilver = qRgb(192, 192, 192);
const QRect kRedBlock(60, 300, 140, 100);

// Colour fields with no pure chalk colour in them, and a red block.
QImage screenshot() {
    QImage picture(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 60));
    QPainter(&picture).fillRect(kRedBlock, QColor(kRed));
    return picture;
}

// A press, moves of 10 pixels along a row and a release.
void chalkRow(QWidget& w, int y, int fromX, int toX) {
    sendMouse(&w, QEvent::MouseButtonPress, QPoint(fromX, y));
    for (int x = fromX + 10; x <= toX; x += 10)
        sendMouse(&w, QEvent::MouseMove, QPoint(x, y));
    sendMouse(&w, QEvent::MouseButtonRelease, QPoint(toX, y));
}

// How many pixels of column x have the colour.
int thickness(const QImage& picture, int x, QRgb colour) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        count += (picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

struct Editor {
    PenState st;
    PictureEditorWindow w{st};
    QImage shot = screenshot();
    Editor() { w.openOn(shot, EditorPlacement{640, 480, 640, false}); }

    void click(const char* button) { w.findChild<QToolButton*>(QLatin1String(button))->click(); }
    void menu(const QString& entry) {
        for (QAction* a : w.findChild<QMenu*>(QStringLiteral("PopupMenu1"))->actions())
            if (a->text() == entry)
                a->trigger();
    }
    void setSpin(const char* name, int value) {
        w.findChild<QSpinBox*>(QLatin1String(name))->setValue(value);
    }
    // Selection mode, a drag over `r`, and the menu that follows put away.
    void cutOut(const QRect& r) {
        click("SpeedButton10");
        sendMouse(&w, QEvent::MouseButtonPress, r.topLeft());
        sendMouse(&w, QEvent::MouseMove, r.topLeft() + QPoint(r.width(), r.height()));
        sendMouse(&w, QEvent::MouseButtonRelease, r.topLeft() + QPoint(r.width(), r.height()));
        w.findChild<QMenu*>(QStringLiteral("PopupMenu1"))->hide();
    }
};

} // namespace

class TestPictureEditor : public QObject {
    Q_OBJECT
private slots:
    void opening();
    void strokes();
    void seeThroughChalk();
    void chalkButtonBurnsInTheCutOut();
    void zoomLimits();
    void pinchZoomsTheCutOut();
};

void TestPictureEditor::opening() {
    Editor e;
    QCOMPARE(e.w.size(), QSize(640, 480));
    const auto* bar = e.w.findChild<QWidget*>(QStringLiteral("Panel1"));
    QCOMPARE(bar->geometry(), QRect(0, 0, 50, 480));
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), e.shot);
    QCOMPARE(e.w.findChild<QToolButton*>("SpeedButton8")->toolTip(),
             QStringLiteral("グレーの透明色で消す"));
    QCOMPARE(e.w.findChild<QToolButton*>("SpeedButton10")->toolTip(),
             QStringLiteral("囲んで拡大・回転"));
    QVERIFY(e.w.findChild<QToolButton*>("SpeedButton12")->isHidden());
    QCOMPARE(e.w.keyColour(), QColor(kSilver));
    QCOMPARE(e.w.chalkColour(), QColor(kRed));

    // The line mode is the wall's, and the button shown tells it.
    QVERIFY(e.w.findChild<QToolButton*>("SpeedButton15")->isVisible());
    e.click("SpeedButton15");
    QVERIFY(e.st.PREFLG);
    QVERIFY(e.w.findChild<QToolButton*>("SpeedButton14")->isVisible());

    QSignalSpy capture(&e.w, &PictureEditorWindow::captureMenuRequested);
    e.click("SpeedButton13");
    QCOMPARE(capture.count(), 1);

    e.w.openOn(e.shot, EditorPlacement{640, 480, 640, true});
    QCOMPARE(bar->geometry(), QRect(590, 0, 50, 480));
    e.click("SpeedButton1");
    QVERIFY(!e.w.isVisible());
    e.w.openOn(e.shot, EditorPlacement{640, 480, 640, false});
    QVERIFY(QTest::qWaitForWindowActive(&e.w));
    QTest::keyClick(&e.w, Qt::Key_Escape);
    QVERIFY(!e.w.isVisible());
}

void TestPictureEditor::strokes() {
    Editor e;
    // Freehand: the first two moves of a sequence only move the chalk.
    sendMouse(&e.w, QEvent::MouseButtonPress, QPoint(200, 100));
    sendMouse(&e.w, QEvent::MouseMove, QPoint(210, 100));
    sendMouse(&e.w, QEvent::MouseMove, QPoint(220, 100));
    QCOMPARE(e.w.chalkLayer(), e.shot);
    sendMouse(&e.w, QEvent::MouseMove, QPoint(230, 100));
    QCOMPARE(e.w.chalkLayer().pixel(225, 100), kRed);
    QCOMPARE(e.w.chalkLayer().pixel(215, 100), e.shot.pixel(215, 100));
    QVERIFY(e.st.MSON2);
    sendMouse(&e.w, QEvent::MouseButtonRelease, QPoint(230, 100));

    // The rubber rubs four times the width and shows the screenshot there.
    e.click("SpeedButton2"); // red over red: chalk that the rubber takes away
    chalkRow(e.w, 200, 300, 420);
    e.click("SpeedButton8");
    chalkRow(e.w, 200, 300, 420);
    QCOMPARE(thickness(e.w.chalkLayer(), 360, kSilver), 20);
    QCOMPARE(e.w.renderPicture().pixel(360, 200), e.shot.pixel(360, 200));

    e.click("SpeedButton3");
    chalkRow(e.w, 300, 300, 420);
    QCOMPARE(thickness(e.w.chalkLayer(), 360, qRgb(0, 0, 255)), 5);

    // Nothing is drawn over the tool bar.
    chalkRow(e.w, 400, 10, 45);
    QCOMPARE(e.w.chalkLayer().pixel(30, 400), e.shot.pixel(30, 400));
}

void TestPictureEditor::seeThroughChalk() {
    Editor e;
    chalkRow(e.w, 100, 300, 420);
    QCOMPARE(e.w.renderPicture().pixel(360, 100), kRed);
    // "透明化" with red: the red chalk goes, the red of the screenshot stays.
    e.click("SpeedButton9");
    QCOMPARE(e.w.keyColour(), QColor(kRed));
    const QImage shown = e.w.renderPicture();
    QCOMPARE(shown.pixel(360, 100), e.shot.pixel(360, 100));
    QCOMPARE(shown.pixel(kRedBlock.center()), kRed);

    // "再表示": all chalk gone, silver key and red chalk again.
    e.click("SpeedButton7");
    QCOMPARE(e.w.chalkLayer(), e.shot);
    QCOMPARE(e.w.keyColour(), QColor(kSilver));
    QCOMPARE(e.w.chalkColour(), QColor(kRed));
}

void TestPictureEditor::chalkButtonBurnsInTheCutOut() {
    Editor e;
    e.cutOut(QRect(100, 100, 60, 40));
    QVERIFY(e.w.hasCutOut());
    QCOMPARE(e.w.cutOut().size(), QSize(60, 40));
    QVERIFY(e.w.cutOutRect().isEmpty()); // shown once the menu acts
    e.menu(QStringLiteral("左右反転"));
    QCOMPARE(e.w.cutOutRect(), QRect(100, 100, 60, 40));

    // Dragged 200 right and 100 down.
    sendMouse(&e.w, QEvent::MouseButtonPress, QPoint(120, 120));
    sendMouse(&e.w, QEvent::MouseMove, QPoint(320, 220));
    sendMouse(&e.w, QEvent::MouseButtonRelease, QPoint(320, 220));
    QCOMPARE(e.w.cutOutRect(), QRect(300, 200, 60, 40));

    // The first colour click burns it into both layers; the colour stays.
    e.click("SpeedButton3");
    QVERIFY(!e.w.hasCutOut());
    QCOMPARE(e.w.chalkLayer().pixel(300, 205), e.shot.pixel(159, 105));
    QCOMPARE(e.w.screenshotLayer().pixel(359, 239), e.shot.pixel(100, 139));
    QCOMPARE(e.w.chalkLayer().pixel(10, 10), e.shot.pixel(10, 10)); // no tool bar burnt in
    QCOMPARE(e.w.chalkColour(), QColor(kRed));
    e.click("SpeedButton3");
    QCOMPARE(e.w.chalkColour(), QColor(0, 0, 255));
}

void TestPictureEditor::zoomLimits() {
    Editor e;
    e.cutOut(QRect(100, 100, 5, 5));
    e.setSpin("SpinEdit1", 10);
    const int beeps = beepCount();
    e.menu(QStringLiteral("縮小")); // 0.5 pixels: nothing to show, kept
    QCOMPARE(e.w.cutOut().size(), QSize(5, 5));
    e.menu(QStringLiteral("拡大"));
    QCOMPARE(e.w.cutOut().size(), QSize(50, 50));
    QCOMPARE(beepCount(), beeps);
    e.menu(QStringLiteral("拡大")); // 500 × 500 is within four screens
    e.menu(QStringLiteral("拡大")); // 5000 × 5000 is not
    QCOMPARE(e.w.cutOut().size(), QSize(500, 500));
    QCOMPARE(beepCount(), beeps + 1);

    // A factor of 0 counts as 1; the turn takes the angle box.
    e.setSpin("SpinEdit1", 0);
    e.menu(QStringLiteral("拡大"));
    QCOMPARE(e.w.cutOut().size(), QSize(500, 500));
    e.setSpin("SpinEdit2", 90);
    e.menu(QStringLiteral("左回転"));
    QCOMPARE(e.w.cutOut().size(), QSize(500, 499));

    // An empty selection gives an empty cut-out, which nothing changes.
    e.click("SpeedButton12");
    e.cutOut(QRect(200, 200, 0, 0));
    QVERIFY(e.w.hasCutOut());
    e.menu(QStringLiteral("拡大"));
    e.menu(QStringLiteral("右回転"));
    QVERIFY(e.w.cutOut().isNull());
    e.w.close();
    QVERIFY(!e.w.hasCutOut());
}

void TestPictureEditor::pinchZoomsTheCutOut() {
    Editor e;
    QPointingDevice* fingers = touchScreen();
    e.cutOut(QRect(100, 100, 60, 40));
    e.menu(QStringLiteral("左右反転"));
    const QImage chalk = e.w.chalkLayer();

    // Twice as far apart: twice the size, its point under the fingers'
    // middle still under it, and no chalk from the first finger.
    pinch(&e.w, fingers, QPoint(130, 120), 40, 80, QPoint(10, 0));
    QCOMPARE(e.w.cutOut().size(), QSize(120, 80));
    QCOMPARE(e.w.cutOutRect(), QRect(80, 80, 120, 80));
    QCOMPARE(e.w.cutOutZoom(), 2.0);
    QCOMPARE(e.w.chalkLayer(), chalk);

    // Never beyond four screens of pixels, as the menu's zoom.
    pinch(&e.w, fingers, QPoint(140, 120), 10, 2000);
    const QSize most = e.w.cutOut().size();
    QVERIFY(most.width() > 600 && double(most.width()) * most.height() <= 4 * 640 * 480);

    // A double tap brings it back to its own size, about its middle.
    const QPoint middle = e.w.cutOutRect().center();
    for (int tap = 0; tap < 2; ++tap) {
        QTest::touchEvent(&e.w, fingers).press(0, middle);
        QTest::touchEvent(&e.w, fingers).release(0, middle);
    }
    QCOMPARE(e.w.cutOut().size(), QSize(60, 40));
    QCOMPARE(e.w.cutOutZoom(), 1.0);
    QVERIFY((e.w.cutOutRect().center() - middle).manhattanLength() <= 2);
    QCOMPARE(e.w.chalkLayer(), chalk);
}

QTEST_MAIN(TestPictureEditor)
#include "tst_pictureeditor.moc"
