#include "app/restorewindow.h"
#include "app/toolcolumnlayout.h"
#include "app/toolglyphs.h"
#include "cards/cardboard.h"
#include "cards/cardwidget.h"
#include "drawing/pictureviewerwindow.h"
#include "drawing/screencapture.h"
#include "model/wallgeometry.h"
#include "platform/beep.h"
#include "support/countedstep.h"
#include "support/windowfixture.h"
#include "web/webpane.h"

#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>

namespace {

QToolButton* button(WallWindow& w, const char* name) {
    return w.findChild<QToolButton*>(QLatin1String(name));
}

void moveMouseOver(QWidget* target, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

} // namespace

class TestToolColumn : public QObject {
    Q_OBJECT
private slots:
    void layoutArithmetic();
    void folderButtonArithmetic();
    void toolsFollowTheEdges();
    void oneShotRightClick();
    void busyWallIgnoresTheListedCommands();
    void mainMenu();
    void shortcutsAndRedisplay();
    void takeBackAndMakeAgain();
    void glyphsAtTheRatioAsked();
};

void TestToolColumn::layoutArithmetic() {
    ToolColumnInput in;
    in.ZETTAIX0 = 1920;
    in.NOWY = 1080;
    in.clientHeight = 1080;
    in.panel6Height = 32;
    const QStringList all =
        QStringList{"SpeedButton1", "SpeedButton7", "SpeedButton8"} + toolColumnOrder();
    for (const QString& n : all)
        in.widths[n] = 50;
    in.widths["SpeedButton7"] = 40; // stands flush by its own width
    const auto at = toolColumnPositions(in);
    QCOMPARE(at["SpeedButton1"], QPoint(1920 - 50 - 2, 8));
    QCOMPARE(at["SpeedButton7"], QPoint(1920 - 40 - 2, 68));
    QCOMPARE(at["SpeedButton8"], QPoint(1868, 148));
    QCOMPARE(at["SpeedButton6"].y(), 208);
    QCOMPARE(at["SpeedButton14"].y(), 148 + 12 * 60);
    QVERIFY(at["SpeedButton14"].y() + toolButtonSide(1080) < at["Panel6"].y());
    QCOMPARE(at["Panel6"], QPoint(1868, 1080 - 32));
    // Each button stands one small step below the one before, in order.
    int previous = at["SpeedButton8"].y();
    for (const QString& n : toolColumnOrder()) {
        QCOMPARE(at[n].y(), previous + 60);
        previous = at[n].y();
    }
    // On a 768-line wall the steps shrink: s = 43, L = 57, first at 6.
    in.NOWY = 768;
    in.ZETTAIX0 = 1366;
    in.clientHeight = 768;
    const auto small = toolColumnPositions(in);
    QCOMPARE(small["SpeedButton1"], QPoint(1366 - 52, 6));
    QCOMPARE(small["SpeedButton7"].y(), 6 + 43);
    QCOMPARE(small["SpeedButton8"].y(), 6 + 43 + 57);
    QCOMPARE(small["SpeedButton14"].y(), 6 + 43 + 57 + 12 * 43);
    QVERIFY(small["SpeedButton14"].y() + toolButtonSide(768) < small["Panel6"].y());
}

void TestToolColumn::folderButtonArithmetic() {
    // "sub/" is 4 characters: (25 × 4 + 40) = 140 at 1080 lines.
    const auto g = folderButtonGeometry(4, 1080, 1920, 50);
    QCOMPARE(g.rect, QRect(1920 - 140 - 50 - 2, 0, 140, 42));
    QCOMPARE(g.fontSize, 20);
    const auto root = folderButtonGeometry(0, 768, 1366, 36);
    QCOMPARE(root.rect.width(), 28); // 40 × 768 / 1080 = 28.44
    QCOMPARE(root.rect.height(), 30);
    QCOMPARE(root.fontSize, 14);
}

void TestToolColumn::toolsFollowTheEdges() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    QWidget* canvas = w.findChild<QWidget*>("Image1");
    QVERIFY(button(w, "SpeedButton1")->isVisible());
    moveMouseOver(canvas, QPoint(w.width() / 2, 300));
    QVERIFY(!w.flags().XFLG);
    QVERIFY(!button(w, "SpeedButton1")->isVisible());
    QVERIFY(!w.findChild<QWidget*>("Panel6")->isVisible());
    QVERIFY(!button(w, "SpeedButton7")->isVisible()); // at home it stays hidden
    moveMouseOver(canvas, QPoint(w.width() - 3, 300));
    QVERIFY(w.flags().XFLG);
    QVERIFY(button(w, "SpeedButton25")->isVisible());
    // Resting on the full-screen drawing button arms it; the column hiding
    // under a pointer that jumped away disarms it.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button(w, "SpeedButton10"), &enter);
    QVERIFY(w.capture().Timer6->isActive());
    moveMouseOver(canvas, QPoint(w.width() / 2, 300));
    QVERIFY(!w.capture().Timer6->isActive() && !w.capture().T6FLG);
    moveMouseOver(canvas, QPoint(w.width() - 3, 300));
    QVERIFY(!button(w, "SpeedButton7")->isVisible());
    // One level down the back button keeps showing while the tools hide.
    w.links().JIKKOU2("sub\\");
    QVERIFY(button(w, "SpeedButton7")->isVisible());
    moveMouseOver(canvas, QPoint(w.width() / 2, 300));
    QVERIFY(!button(w, "SpeedButton1")->isVisible());
    QVERIFY(button(w, "SpeedButton7")->isVisible());
    moveMouseOver(canvas, QPoint(2, 300));
    QVERIFY(button(w, "SpeedButton1")->isVisible());
    // The band edges: 80 units in from the left is already the middle.
    const int left = scaleToWallX(80, w.document().NOWX);
    moveMouseOver(canvas, QPoint(left, 300));
    QVERIFY(!w.flags().XFLG);
    moveMouseOver(canvas, QPoint(left - 1, 300));
    QVERIFY(w.flags().XFLG);
}

void TestToolColumn::oneShotRightClick() {
    WindowWall wall({{"a.txt", linkCard("sub\\")}});
    WallWindow& w = wall.open();
    QToolButton* b8 = button(w, "SpeedButton8");
    const int beeps = beepCount();
    QTest::mouseClick(b8, Qt::LeftButton);
    QVERIFY(w.flags().RFLGK);
    QVERIFY(b8->isChecked());
    QCOMPARE(beepCount(), beeps + 1);
    QSignalSpy menu(&w, &WallWindow::cardMenuRequested);
    wall.click(0);
    QCOMPARE(menu.size(), 1);
    QVERIFY(!w.flags().RFLGK);
    QVERIFY(!b8->isChecked());
    QCOMPARE(w.document().KIJUNDIR, wall.data); // the link did not run
    // Clicking it twice disarms it again.
    QTest::mouseClick(b8, Qt::LeftButton);
    QTest::mouseClick(b8, Qt::LeftButton);
    QVERIFY(!w.flags().RFLGK);
}

void TestToolColumn::busyWallIgnoresTheListedCommands() {
    WindowWall wall({{"a.txt", linkCard("x")}});
    WallWindow& w = wall.open();
    w.links().JIKKOU2("sub\\");
    w.flags().BUSY = true;
    QTest::mouseClick(button(w, "SpeedButton1"), Qt::LeftButton);
    QVERIFY(!w.findChild<QMenu*>("PopupMenu2")->isVisible());
    QTest::mouseClick(button(w, "SpeedButton8"), Qt::LeftButton);
    QVERIFY(!w.flags().RFLGK);
    QTest::mouseClick(button(w, "SpeedButton14"), Qt::LeftButton);
    QVERIFY(w.isVisible());
    QTest::mouseClick(button(w, "SpeedButton7"), Qt::LeftButton);
    QCOMPARE(w.document().KIJUNDIR, wall.data + "sub/");
    w.findChild<QAction*>("N01")->trigger();
    w.findChild<QAction*>("N32")->trigger();
    w.findChild<QAction*>("N3")->trigger();
    QVERIFY(w.isVisible());
    w.flags().BUSY = false;
    QTest::mouseClick(button(w, "SpeedButton7"), Qt::LeftButton);
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    // Commands whose windows come later are there, greyed, with their hints.
    QVERIFY(button(w, "SpeedButton19")->isEnabled());
    QVERIFY(!button(w, "SpeedButton19")->toolTip().isEmpty());
}

void TestToolColumn::mainMenu() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    QStringList captions;
    for (QAction* a : w.findChild<QMenu*>("PopupMenu2")->actions())
        captions << a->text();
    QCOMPARE(captions,
             (QStringList{"元に戻す", "やり直す", "", "HELP", "フォルダ構成",
                          "フォルダ→【マイデスク】[>DL]", "   ウィンドウ形式の変更",
                          "未提案の☆を消す", "カード情報をCSV保存[>CSV]", "画面を印刷[>PRN]",
                          "保存して終了[<<]", "保存しないで終了[<<<]"}));
    for (const char* name : {"N21", "CSV1"})
        QVERIFY2(w.findChild<QAction*>(name)->isEnabled(), name);
    // Bordered, then borderless again at 0, 0 with the full client size.
    w.findChild<QAction*>("N2")->trigger();
    QVERIFY(!(w.windowFlags() & Qt::FramelessWindowHint));
    QVERIFY(w.isVisible());
    w.findChild<QAction*>("N5")->trigger();
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(w.isVisible());
    QTRY_COMPARE(w.pos(), QPoint(0, 0));
    // The folder button hands the wall folder to the shell with a notice.
    QTest::mouseClick(button(w, "SpeedButton5"), Qt::LeftButton);
    QCOMPARE(noticeText(w), QStringLiteral("エクスプローラーを起動・・・"));
}

void TestToolColumn::shortcutsAndRedisplay() {
    WindowWall wall({{"a.txt", textCard("a", 100, 100)}});
    WallWindow& w = wall.open();
    w.activateWindow();
    CardWidget* c = wall.card(0);
    const QPoint stored = c->pos();
    c->move(300, 300);
    QTest::keyClick(&w, Qt::Key_F5);
    QCOMPARE(wall.card(0)->pos(), stored);
    QTest::keyClick(&w, Qt::Key_F2);
    QVERIFY(w.flags().RFLGK);
    QTest::keyClick(&w, Qt::Key_F2);
    QVERIFY(!w.flags().RFLGK);
    w.links().JIKKOU2("sub\\");
    QTest::keyClick(&w, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(w.document().KIJUNDIR, wall.data);
    QTest::keyClick(&w, Qt::Key_H, Qt::ControlModifier);
    QVERIFY(!w.isVisible());
    w.TForm20->close();
    QVERIFY(w.isVisible());
}

void TestToolColumn::takeBackAndMakeAgain() {
    WindowWall wall({});
    WallWindow& w = wall.open();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    UndoHistory& history = w.document().history();
    QAction* undo = w.findChild<QAction*>("Undo1");
    QAction* redo = w.findChild<QAction*>("Redo1");
    QToolButton* b28 = button(w, "SpeedButton28");
    auto shown = [&] {
        return QStringList{
            undo->text(), redo->text(), b28->toolTip(),
            QString::number(undo->isEnabled() + 2 * redo->isEnabled() + 4 * b28->isEnabled())};
    };
    QCOMPARE(shown(), (QStringList{"元に戻す", "やり直す", "元に戻す", "0"}));
    QCOMPARE(undo->shortcut(), QKeySequence("Ctrl+Z"));
    QCOMPARE(redo->shortcut(), QKeySequence("Ctrl+Y"));

    int undos = 0, redos = 0;
    auto push = [&](const char* name) {
        history.push(std::make_unique<CountedStep>(name, &undos, &redos));
    };
    push("カードの移動");
    QCOMPARE(shown(),
             (QStringList{"元に戻す：カードの移動", "やり直す", "元に戻す：カードの移動", "5"}));
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown(), (QStringList{"元に戻す", "やり直す：カードの移動", "元に戻す", "2"}));
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    QTest::mouseClick(b28, Qt::LeftButton);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    undo->trigger();
    redo->trigger();
    QCOMPARE(undos, 3);
    QCOMPARE(redos, 3);
    // Nothing is taken back while the wall is loading.
    w.flags().BUSY = true;
    QTest::mouseClick(b28, Qt::LeftButton);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    w.flags().BUSY = false;
    QCOMPARE(undos, 3);

    // A field on the wall keeps the keys for its own typing, until it goes.
    push("カードの色");
    b28->click();
    QLineEdit* address = w.webPane().Edit2;
    w.webPane().Panel3->show();
    address->setFocus();
    QTRY_VERIFY(address->hasFocus());
    QTest::keyClick(address, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(address, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(address, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(undos, 4);
    QCOMPARE(redos, 3);
    w.webPane().Panel3->hide();
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(redos, 4);

    // The picture viewer takes steps back on the same history.
    w.TForm21->show();
    QVERIFY(QTest::qWaitForWindowActive(w.TForm21));
    QTest::keyClick(w.TForm21, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(undos, 5);
    w.TForm21->hide();

    // A step that cannot be taken back says so above the wall.
    auto refusing = std::make_unique<CountedStep>("カードの削除", &undos, &redos);
    refusing->refuses = true;
    history.push(std::move(refusing));
    QString said;
    QWidget* owner = nullptr;
    answerNext(QString(), &said, &owner);
    b28->click();
    QTRY_COMPARE(
        said,
        QStringLiteral("「カードの削除」は元に戻せませんでした。\nほかのプログラムが変えました。"));
    QCOMPARE(owner, &w);
}

void TestToolColumn::glyphsAtTheRatioAsked() {
    // Every picture is drawn, at the device pixels of the ratio asked.
    const char* names[] = {"SpeedButton1",  "SpeedButton2",  "SpeedButton3",  "SpeedButton4",
                           "SpeedButton6",  "SpeedButton7",  "SpeedButton8",  "SpeedButton10",
                           "SpeedButton12", "SpeedButton14", "SpeedButton16", "SpeedButton19",
                           "SpeedButton23", "SpeedButton25", "SpeedButton27", "SpeedButton28"};
    for (const char* name : names) {
        for (qreal ratio : {1.0, 2.0}) {
            const QImage glyph = toolGlyph(QLatin1String(name), 40, ratio).toImage();
            QCOMPARE(glyph.size(), QSize(40, 40) * ratio);
            QCOMPARE(glyph.devicePixelRatio(), ratio);
            // Drawn inside its square: the corners stay clear, the middle is not.
            QCOMPARE(qAlpha(glyph.pixel(0, 0)), 0);
            int covered = 0;
            for (int y = 0; y < glyph.height(); ++y)
                for (int x = 0; x < glyph.width(); ++x)
                    covered += qAlpha(glyph.pixel(x, y)) == 255;
            QVERIFY2(covered > glyph.width() * glyph.height() / 8, name);
        }
    }
    QCOMPARE(toolGlyph(QStringLiteral("SpeedButton26"), 10).size(), QSize(10, 10));
    QVERIFY(toolGlyph(QStringLiteral("SpeedButton5"), 40).isNull());
    QVERIFY(toolGlyph(QStringLiteral("splash"), 40).isNull());
    const QImage splash = splashPicture().toImage();
    QCOMPARE(splash.size(), QSize(253, 136));
    QCOMPARE(qAlpha(splash.pixel(0, 0)), 255); // the green ground
}

QTEST_MAIN(TestToolColumn)
#include "tst_toolcolumn.moc"
