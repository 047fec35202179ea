#include "app/toolcolumnlayout.h"
#include "app/wallwindow.h"
#include "drawing/picturecanvas.h"
#include "drawing/wallpen.h"
#include "model/wallgeometry.h"
#include "pictures/backgroundfit.h"
#include "pictures/picturelayer.h"
#include "storage/wallfiles.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

// Every file below a folder, with its size and time, so a test can tell that
// nothing was written.
QStringList snapshot(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        out << it.filePath() + QLatin1Char(' ') + QString::number(it.fileInfo().size()) +
                   QLatin1Char(' ') + it.fileInfo().lastModified().toString(Qt::ISODateWithMs);
    }
    out.sort();
    return out;
}

} // namespace

class TestWallWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpDerivesFoldersAndGeometry();
    void toolColumnStandsAtTheRightEdge();
    void subWallShowsBackButtonAndFolderName();
    void noticePanel();
    void exitWithoutSavingWritesNothing();
    void backgroundPictureFillsTheWall();
};

void TestWallWindow::startUpDerivesFoldersAndGeometry() {
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("zavik"));
    WallWindow w(exe);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("zavik-data"))));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const WallDocument& st = w.document();
    const WallModes& modes = w.flags();
    QCOMPARE(st.KIJUNDIRBAK, dir.path() + QStringLiteral("/zavik-data/"));
    QCOMPARE(st.KIJUNDIR, st.KIJUNDIRBAK);
    QCOMPARE(st.KIJUNEX, dir.path() + QStringLiteral("/[Zavik]/"));
    QVERIFY(QFileInfo(st.KIJUNDIRBAK).isDir());
    QVERIFY(!QFileInfo::exists(st.KIJUNEX)); // never created by the program
    // The offscreen screen is 800 × 800: the wall is first 1422 × 800 and
    // cut to 800 × 800 by the layout pass.
    const QSize screen = w.screen()->geometry().size();
    const WallSize expected = clampWallSize(wallSizeFor(screen.width(), screen.height()),
                                            screen.width(), screen.height());
    QCOMPARE(st.ZETTAIX0, screen.width());
    QCOMPARE(st.ZETTAIY0, screen.height());
    QCOMPARE(st.NOWX, expected.NOWX);
    QCOMPARE(st.NOWY, expected.NOWY);
    QVERIFY(!modes.SHOWFLG);
    QVERIFY(!modes.BUSY);
    QVERIFY(modes.XFLG);
    QCOMPARE(st.KABEIMAGEOLDTIME, QStringLiteral("NIL"));
    QVERIFY(st.MEMO.startsWith(QLatin1String("---------  Zavik")));
    QCOMPARE(st.KABE3, QStringLiteral("wall.ini"));
    QCOMPARE(st.KABE2, QStringLiteral("html.ini"));
    QCOMPARE(st.KABE4, QStringLiteral("dir.ini"));
    // Loading a wall without a background sizes the canvas to the wall.
    PictureCanvas* canvas = w.pen().Image1;
    QCOMPARE(canvas->geometry(), QRect(0, 0, st.NOWX, st.NOWY));
    QCOMPARE(canvas->picture().pixelColor(5, 5), QColor(0, 0, 128));
    QVERIFY(w.findChild<QTimer*>(QStringLiteral("Timer2"))->isActive());
    QCOMPARE(w.findChild<QTimer*>(QStringLiteral("Timer2"))->interval(), 2000);
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w.palette().color(QPalette::Window), QColor(0, 0, 128));
}

void TestWallWindow::toolColumnStandsAtTheRightEdge() {
    QTemporaryDir dir;
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const WallDocument& st = w.document();
    auto button = [&w](const char* name) {
        auto* b = w.findChild<QWidget*>(QLatin1String(name));
        if (!b)
            qFatal("missing %s", name);
        return b;
    };
    auto* b1 = button("SpeedButton1");
    QCOMPARE(b1->x() + b1->width(), st.ZETTAIX0 - 2);
    QCOMPARE(b1->y(), scaleToWallY(8, st.NOWY));
    QCOMPARE(button("SpeedButton7")->y(), b1->y() + scaleToWallY(60, st.NOWY));
    QCOMPARE(button("SpeedButton8")->y(), button("SpeedButton7")->y() + scaleToWallY(80, st.NOWY));
    int previous = button("SpeedButton8")->y();
    for (const QString& name : toolColumnOrder()) {
        auto* b = w.findChild<QToolButton*>(name);
        QCOMPARE(b->y(), previous + scaleToWallY(60, st.NOWY));
        QCOMPARE(b->x(), st.ZETTAIX0 - b1->width() - 2);
        QVERIFY(!b->toolTip().isEmpty());
        QVERIFY(!b->icon().isNull()); // a picture, not a text placeholder
        previous = b->y();
    }
    auto* tab = button("Panel6");
    QCOMPARE(tab->y() + tab->height(), w.height());
    QCOMPARE(w.findChild<QToolButton*>(QStringLiteral("SpeedButton11"))->text(),
             QStringLiteral("Zavik"));
    QCOMPARE(button("SpeedButton27")->y(), w.height() - 2 * button("SpeedButton27")->height());
    QCOMPARE(button("SpeedButton26")->height(), 2 * w.height());
    QCOMPARE(w.findChild<QToolButton*>(QStringLiteral("SpeedButton14"))->toolTip(),
             QStringLiteral("かくす"));
    // The main menu offers both exits.
    QVERIFY(w.findChild<QMenu*>(QStringLiteral("PopupMenu2")));
    QCOMPARE(w.findChild<QAction*>(QStringLiteral("N3"))->text(),
             QStringLiteral("保存して終了[<<]"));
    QCOMPARE(w.findChild<QAction*>(QStringLiteral("N32"))->text(),
             QStringLiteral("保存しないで終了[<<<]"));
}

void TestWallWindow::subWallShowsBackButtonAndFolderName() {
    QTemporaryDir dir;
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* back = w.findChild<QToolButton*>(QStringLiteral("SpeedButton7"));
    auto* folder = w.findChild<QToolButton*>(QStringLiteral("SpeedButton5"));
    QVERIFY(!back->isVisible());
    QCOMPARE(folder->text(), QString());
    QCOMPARE(folder->toolTip(), QStringLiteral("フォルダを開く"));

    WallDocument& st = w.document();

    WallModes& modes = w.flags();
    st.KIJUNDIR = st.KIJUNDIRBAK + QStringLiteral("理科/");
    modes.SHOWFLG = true;
    w.SAITEIJI();
    QVERIFY(back->isVisible());
    QCOMPARE(folder->text(), QStringLiteral("理科/"));
    QCOMPARE(folder->toolTip(), QStringLiteral("理科/フォルダを開く"));
    const auto expected = folderButtonGeometry(3, st.NOWY, st.ZETTAIX0,
                                               w.findChild<QWidget*>("SpeedButton1")->width());
    QCOMPARE(folder->geometry(), expected.rect);

    st.KIJUNDIR = st.KIJUNDIRBAK;
    modes.SHOWFLG = true;
    w.SAITEIJI();
    QVERIFY(!back->isVisible());
}

void TestWallWindow::noticePanel() {
    QTemporaryDir dir;
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* panel = w.findChild<QWidget*>(QStringLiteral("Panel1"));
    w.MATHU(QStringLiteral("エクスプローラーを起動・・・"), 200);
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->width(), 16 * 14);
    QCOMPARE(panel->geometry().center().x(), w.rect().center().x());
    QCOMPARE(noticeText(w), QStringLiteral("エクスプローラーを起動・・・"));
    QTRY_VERIFY_WITH_TIMEOUT(!panel->isVisible(), 10000);
    QVERIFY(!w.findChild<QTimer*>(QStringLiteral("Timer5"))->isActive());
}

void TestWallWindow::exitWithoutSavingWritesNothing() {
    QTemporaryDir dir;
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QStringList before = snapshot(dir.path());
    QSignalSpy closed(&w, &WallWindow::closed); // the program ends with the wall
    w.exitWithoutSaving();
    QCOMPARE(closed.size(), 1);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.findChild<QTimer*>(QStringLiteral("Timer2"))->isActive());
    QCOMPARE(snapshot(dir.path()), before);
}

void TestWallWindow::backgroundPictureFillsTheWall() {
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("zavik-data/"));
    QDir().mkpath(data);
    QImage red(400, 300, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(writePicture(red, data + QStringLiteral("bg.jpg")));
    QVERIFY(writePanelFile(data + QStringLiteral("wall.ini"), {"bg.jpg", "20260101-000000"}));
    WallWindow w(dir.filePath(QStringLiteral("zavik")));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const WallDocument& st = w.document();
    const WallModes& modes = w.flags();
    QVERIFY(modes.pen.MSON2);
    QCOMPARE(st.KABEIMG, data + QStringLiteral("bg.jpg"));
    QCOMPARE(st.KABEIMAGEOLDTIME, QStringLiteral("20260101-000000"));
    const QImage canvas = w.pen().Image1->picture();
    QCOMPARE(canvas.size(), QSize(st.NOWX, st.NOWY));
    const QColor top = canvas.pixelColor(5, 5);
    QVERIFY(top.red() > 240 && top.blue() < 20);
    // The picture is wider than high: full width, top-aligned, navy below.
    const QRect at = fitBackground(400, 300, st.NOWX, st.NOWY);
    if (at.bottom() < st.NOWY - 2)
        QCOMPARE(canvas.pixelColor(5, st.NOWY - 1), QColor(0, 0, 128));
}

QTEST_MAIN(TestWallWindow)
#include "tst_wallwindow.moc"
