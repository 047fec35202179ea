#include "app/toolcolumn.h"
#include "app/wallmodes.h"
#include "cards/cardmouse.h"
#include "document/undohistory.h"
#include "drawing/picturecanvas.h"
#include "drawing/pictureviewerwindow.h"
#include "drawing/wallpen.h"
#include "pictures/picturelayer.h"
#include "platform/touchhold.h"
#include "support/mouse.h"
#include "support/touch.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QMenu>
#include <QPointingDevice>
#include <QSignalSpy>

namespace {

QPointingDevice* finger = nullptr;

QPoint inWindow(QWidget* on, QPoint at) {
    return on->window()->mapFromGlobal(on->mapToGlobal(at));
}

// A finger held on `on` at `at` until the ring is full, then lifted.
void hold(QWidget* on, QPoint at) {
    QWidget* window = on->window();
    auto* recogniser = window->findChild<TouchHold*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(recogniser);
    QTest::touchEvent(window, finger).press(0, inWindow(on, at));
    QTRY_VERIFY(recogniser->complete());
    QTest::touchEvent(window, finger).release(0, inWindow(on, at));
}

// A finger drawn from `from` to `to` on `on` in steps small enough for the
// card mouse, once it takes the press as held.
void touchDrag(WallWindow& w, QWidget* on, QPoint from, QPoint to) {
    const QPoint start = inWindow(on, from);
    const QPoint end = inWindow(on, to);
    QTest::touchEvent(&w, finger).press(0, start);
    QTest::touchEvent(&w, finger).move(0, start + (end - start) / 2);
    QTRY_COMPARE(w.flags().RFLG, 0);
    for (int step = 6; step <= 10; ++step)
        QTest::touchEvent(&w, finger).move(0, start + (end - start) * step / 10);
    QTest::touchEvent(&w, finger).release(0, end);
}

void tap(WallWindow& w, QPoint at) {
    QTest::touchEvent(&w, finger).press(0, at);
    QTest::touchEvent(&w, finger).release(0, at);
}

} // namespace

class TestTouch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { finger = touchScreen(); }
    void cardsByFinger();
    void holdOnTheWallAndTheViewer();
    void toolsShowForATap();
};

void TestTouch::cardsByFinger() {
    WindowWall wall({{"a.txt", textCard("a", 100, 100)}, {"b.txt", textCard("b", 900, 500)}});
    WallWindow& w = wall.open();
    CardWidget* b = wall.card(1);
    // Held: the card menu, where a right click there puts it.
    QSignalSpy menu(&w, &WallWindow::cardMenuRequested);
    hold(b, b->pictureRect().topLeft() + QPoint(40, 30));
    QCOMPARE(menu.count(), 1);
    QCOMPARE(w.document().PBAN, 1);
    QCOMPARE(menu.first().first().toPoint(), b->mapToGlobal(QPoint(40 - 186, 30 + 10)));
    QApplication::activePopupWidget()->close();

    // Moved first: a drag, and no menu.
    const QRect before = w.document().card(1).rect;
    touchDrag(w, b, b->rect().center(), b->rect().center() + QPoint(-60, 40));
    QCOMPARE(menu.count(), 1);
    QCOMPARE(w.document().card(1).rect, before.translated(-60, 40));

    // 6 pixels in from the right edge a finger resizes, where the mouse drags.
    CardWidget* a = wall.card(0);
    const QPoint nearEdge(a->pictureRect().right() - 6, a->pictureRect().center().y());
    QVERIFY(pixelsForMillimetres(a, 8) > 6 && a->pictureRect().width() / 4 > 6);
    w.mouse().press(a, nearEdge - a->pictureRect().topLeft(), Qt::LeftButton);
    QVERIFY(!w.mouse().MON1);
    w.mouse().release(a, nearEdge - a->pictureRect().topLeft());
    const int width = a->width();
    touchDrag(w, a, nearEdge, nearEdge + QPoint(50, 0));
    QVERIFY(a->width() > width + 30);
}

void TestTouch::holdOnTheWallAndTheViewer() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    hold(w.pen().Image1, QPoint(w.width() / 2, w.height() / 2));
    QTRY_VERIFY(w.pen().PopupMenu3->isVisible());
    w.pen().PopupMenu3->close();

    // With the pen on, a lone finger held still opens the same menu: the
    // little it drew while held goes again, and no step is left.
    w.pen().chooseColour(0);
    auto* recogniser = w.findChild<TouchHold*>(QString(), Qt::FindDirectChildrenOnly);
    const QImage before = w.pen().canvasImage();
    const QPoint at = inWindow(w.pen().Image1, QPoint(w.width() / 3, w.height() / 2));
    QTest::touchEvent(&w, finger).press(0, at);
    QTest::touchEvent(&w, finger).move(0, at + QPoint(1, 0));
    QTest::touchEvent(&w, finger).move(0, at + QPoint(2, 1));
    QVERIFY(w.pen().canvasImage() != before);
    QTRY_VERIFY(recogniser->complete());
    QTest::touchEvent(&w, finger).release(0, at + QPoint(2, 1));
    QTRY_VERIFY(w.pen().PopupMenu3->isVisible());
    w.pen().PopupMenu3->close();
    QCOMPARE(w.pen().canvasImage(), before);
    QVERIFY(!w.document().history().canUndo());
    // A second finger makes it drawing: no menu.
    QTest::touchEvent(&w, finger).press(0, at);
    QTest::touchEvent(&w, finger).stationary(0).press(1, at + QPoint(200, 0));
    for (int y = 10; y <= 30; y += 10)
        QTest::touchEvent(&w, finger).move(0, at + QPoint(0, y)).move(1, at + QPoint(200, y));
    QTest::touchEvent(&w, finger).release(0, at + QPoint(0, 30)).release(1, at + QPoint(200, 30));
    QVERIFY(!recogniser->watching());
    QVERIFY(!w.pen().PopupMenu3->isVisible());
    QCOMPARE(w.document().history().undoCount(), 2);
    w.pen().MSswitch(false);

    QImage leaf(200, 100, QImage::Format_RGB32);
    leaf.fill(Qt::white);
    QVERIFY(writePicture(leaf, wall.data + "leaf.bmp"));
    PictureViewerWindow* viewer = w.TForm21;
    viewer->openLink("leaf", wall.data + "leaf.bmp", Qt::yellow, 1.0, QPoint(10, 10),
                     QSize(w.document().NOWX, w.document().NOWY), w.geometry());
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QSignalSpy menu(viewer, &PictureViewerWindow::menuRequested);
    QWidget* picture = viewer->findChild<QWidget*>("Panel1");
    hold(picture, picture->rect().center());
    QCOMPARE(menu.count(), 1);
    // The pen on, the viewer's menu as well.
    w.pen().chooseColour(0);
    hold(picture, picture->rect().center());
    QCOMPARE(menu.count(), 2);
}

void TestTouch::toolsShowForATap() {
    WindowWall wall({{"a.txt", textCard("a", 600, 400)}});
    WallWindow& w = wall.open();
    w.tools().touchHideTimer->setInterval(100);
    const QPoint middle(w.width() / 2, w.height() - 20);
    const QPoint edge(w.width() - 3, w.height() / 2);
    tap(w, middle);
    QVERIFY(!w.flags().XFLG);
    // Shown by a tap at the edge until a while passes, or a tap on the
    // wall's middle or on a card.
    tap(w, edge);
    QVERIFY(w.flags().XFLG && w.tools().SpeedButton1->isVisible());
    QTRY_VERIFY(!w.flags().XFLG);
    tap(w, edge);
    tap(w, inWindow(wall.card(0), wall.card(0)->rect().center()));
    QVERIFY(!w.flags().XFLG);
    // The mouse keeps what its hover shows.
    tap(w, edge);
    sendMouse(w.pen().Image1, QEvent::MouseMove, edge, Qt::NoButton);
    QVERIFY(!w.tools().touchHideTimer->isActive() && w.flags().XFLG);
}

QTEST_MAIN(TestTouch)
#include "tst_touch.moc"
