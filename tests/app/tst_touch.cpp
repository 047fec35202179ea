#include "app/toolcolumn.h"
#include "app/wallmodes.h"
#include "cards/cardmouse.h"
#include "drawing/picturecanvas.h"
#include "drawing/pictureeditorwindow.h"
#include "drawing/pictureviewerwindow.h"
#include "drawing/wallpen.h"
#include "model/penstate.h"
#include "pictures/picturelayer.h"
#include "platform/touchhold.h"
#include "support/mouse.h"
#include "support/windowfixture.h"

#include <QMenu>
#include <QPointingDevice>
#include <QSignalSpy>

namespace {

QPointingDevice* finger = nullptr;

// Where point `at` of widget `on` lies in its window.
QPoint inWindow(QWidget* on, QPoint at) {
    return on->window()->mapFromGlobal(on->mapToGlobal(at));
}

// A finger held on `on` at `at` until the ring is full, then lifted.
void hold(QWidget* on, QPoint at) {
    QWidget* window = on->window();
    auto* recogniser = window->findChild<TouchHold*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(recogniser);
    QTest::touchEvent(window, finger).press(0, inWindow(on, at));
    QTRY_VERIFY(recogniser->ring()->isVisible());
    QTRY_VERIFY(recogniser->complete());
    QTest::touchEvent(window, finger).release(0, inWindow(on, at));
    QVERIFY(!recogniser->ring()->isVisible());
}

// A finger pressed on `on` at `from` and drawn to `to` in small steps, as
// the card mouse follows them, once it takes the press as held.
void touchDrag(WallWindow& w, QWidget* on, QPoint from, QPoint to) {
    const QPoint start = inWindow(on, from);
    const QPoint end = inWindow(on, to);
    QTest::touchEvent(&w, finger).press(0, start);
    QTest::touchEvent(&w, finger).move(0, start + (end - start) / 2);
    QTRY_COMPARE(w.flags().RFLG, 0);
    for (int step = 1; step <= 10; ++step)
        QTest::touchEvent(&w, finger).move(0, start + (end - start) * step / 10);
    QTest::touchEvent(&w, finger).release(0, end);
}

// A press on `on` at `from` by `device`, a move to `to` and the release.
void dragBy(const QPointingDevice* device, QWidget* on, QPoint from, QPoint to) {
    for (auto [type, at] : {std::pair{QEvent::MouseButtonPress, from},
                            {QEvent::MouseMove, to},
                            {QEvent::MouseButtonRelease, to}}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, at, on->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, {}, device);
        QApplication::sendEvent(on, &e);
    }
}

void tap(WallWindow& w, QPoint at) {
    QTest::touchEvent(&w, finger).press(0, at);
    QTest::touchEvent(&w, finger).release(0, at);
}

} // namespace

class TestTouch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { finger = QTest::createTouchDevice(); }
    void holdOpensTheCardMenuAndADragMoves();
    void touchTargetsAreWider();
    void holdOnTheWallTheToolsAndTheViewer();
    void toolsShowForATap();
};

void TestTouch::holdOpensTheCardMenuAndADragMoves() {
    WindowWall wall({{"a.txt", textCard("a", 100, 100)}, {"b.txt", textCard("b", 900, 500)}});
    WallWindow& w = wall.open();
    CardWidget* b = wall.card(1);
    QSignalSpy menu(&w, &WallWindow::cardMenuRequested);
    const QPoint at(40, 30);
    hold(b, b->pictureRect().topLeft() + at);
    QCOMPARE(menu.count(), 1);
    QCOMPARE(w.document().PBAN, 1);
    // Where a right click there puts it.
    QCOMPARE(menu.first().first().toPoint(), b->mapToGlobal(QPoint(0, 0)) + at + QPoint(-186, 10));
    QWidget* popup = QApplication::activePopupWidget();
    QVERIFY(popup && popup->isVisible());
    popup->close();

    // A finger that moves first drags the card, and no menu opens.
    const QRect before = w.document().card(1).rect;
    touchDrag(w, b, b->rect().center(), b->rect().center() + QPoint(-60, 40));
    QCOMPARE(menu.count(), 1);
    QCOMPARE(w.document().card(1).rect.topLeft(), before.topLeft() + QPoint(-60, 40));
    QCOMPARE(w.document().card(1).rect.size(), before.size());
}

void TestTouch::touchTargetsAreWider() {
    WindowWall wall({{"a.txt", textCard("a", 300, 300)}});
    WallWindow& w = wall.open();
    CardWidget* a = wall.card(0);
    const int grip = pixelsForMillimetres(a, 8);
    QVERIFY(grip > 6 && a->pictureRect().width() / 4 > 6);
    // 6 pixels in from the right: beyond the mouse's edge, within a finger's.
    const QPoint nearEdge(a->pictureRect().right() - 6, a->pictureRect().center().y());

    const QSize size = a->size();
    CardMouse& mouse = w.mouse();
    mouse.press(a, nearEdge - a->pictureRect().topLeft(), Qt::LeftButton);
    QVERIFY(!mouse.MON1);
    mouse.release(a, nearEdge - a->pictureRect().topLeft());
    QCOMPARE(a->size(), size);

    touchDrag(w, a, nearEdge, nearEdge + QPoint(50, 0));
    QVERIFY(a->width() > size.width() + 30);
    QCOMPARE(w.document().card(0).rect.size(), a->size());

    // The picture editor's small cut-out: a finger takes hold of it from
    // just beside it, where the mouse draws chalk.
    PenState pen;
    PictureEditorWindow editor(pen);
    QImage shot(640, 480, QImage::Format_RGB32);
    shot.fill(Qt::gray);
    editor.openOn(shot, EditorPlacement{640, 480, 640, false});
    editor.findChild<QToolButton*>("SpeedButton10")->click();
    dragBy(QPointingDevice::primaryPointingDevice(), &editor, {100, 100}, {110, 110});
    auto* menu = editor.findChild<QMenu*>("PopupMenu1");
    menu->hide();
    menu->actions().constLast()->trigger(); // shows the cut-out
    const QRect cut(100, 100, 10, 10);
    QCOMPARE(editor.cutOutRect(), cut);
    QVERIFY(pixelsForMillimetres(&editor, 8) >= cut.width() + 4);
    dragBy(QPointingDevice::primaryPointingDevice(), &editor, {99, 105}, {149, 105});
    QCOMPARE(editor.cutOutRect(), cut);
    dragBy(finger, &editor, {99, 105}, {149, 105});
    QCOMPARE(editor.cutOutRect(), cut.translated(50, 0));
}

void TestTouch::holdOnTheWallTheToolsAndTheViewer() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    // The grab tab's right click tucks the window.
    QWidget* tab = w.findChild<QWidget*>("SpeedButton11");
    QVERIFY(tab->isVisible());
    hold(tab, tab->rect().center());
    QTRY_VERIFY(w.pos() != QPoint(0, 0));
    w.modes().tuckOrUntuck();
    QTRY_COMPARE(w.pos(), QPoint(0, 0));

    // The wall's background: the pen menu.
    hold(w.pen().Image1, QPoint(w.width() / 2, w.height() / 2));
    QTRY_VERIFY(w.pen().PopupMenu3->isVisible());
    w.pen().PopupMenu3->close();

    // The picture viewer: its menu.
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
    QVERIFY(viewer->isVisible()); // a tap would have closed it
}

void TestTouch::toolsShowForATap() {
    WindowWall wall({{"a.txt", textCard("a", 600, 400)}});
    WallWindow& w = wall.open();
    ToolColumn& tools = w.tools();
    tools.touchHideTimer->setInterval(200);
    const QPoint middle(w.width() / 2, w.height() - 20);
    const QPoint edge(w.width() - 3, w.height() / 2);
    tap(w, middle);
    QVERIFY(!w.flags().XFLG);
    // A finger's drag across the wall is no hover.
    QTest::touchEvent(&w, finger).press(0, middle);
    QTest::touchEvent(&w, finger).move(0, edge);
    QTest::touchEvent(&w, finger).release(0, edge);
    QVERIFY(!w.flags().XFLG);

    // A tap at the edge shows them until a while passes...
    tap(w, edge);
    QVERIFY(w.flags().XFLG && tools.SpeedButton1->isVisible());
    QTRY_VERIFY(!w.flags().XFLG);
    QVERIFY(!tools.SpeedButton1->isVisible());
    // ... or the wall's middle or a card is tapped.
    tap(w, QPoint(2, w.height() / 2));
    QVERIFY(w.flags().XFLG);
    tap(w, middle);
    QVERIFY(!w.flags().XFLG);
    tap(w, edge);
    CardWidget* a = wall.card(0);
    tap(w, inWindow(a, a->rect().center()));
    QVERIFY(!w.flags().XFLG);

    // The mouse's hover rule stays: it keeps tools it shows.
    tap(w, edge);
    sendMouse(w.pen().Image1, QEvent::MouseMove, edge, Qt::NoButton);
    QVERIFY(!tools.touchHideTimer->isActive());
    QVERIFY(w.flags().XFLG);
}

QTEST_MAIN(TestTouch)
#include "tst_touch.moc"
