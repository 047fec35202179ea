#include "app/wallwindow.h"
#include "cards/cardboard.h"
#include "cards/cardwidget.h"
#include "storage/refspace.h"
#include "storage/wallfiles.h"
#include "support/wallfixture.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A wall folder beside a would-be executable, with the cards every case uses.
struct ExitFixture {
    QTemporaryDir dir;
    QString data;
    ExitFixture() {
        data = dir.filePath("zavik-data/");
        QDir().mkpath(data);
        writeCardFile(data + "a.txt", textCard("a", 100, 100, "20260101-000001"));
        PosterRecord check = textCard("check", 300, 100, "20260101-000002");
        check.KAKUSU = "1";
        writeCardFile(data + "b.txt", check);
        writeCardFile(data + "c.txt", textCard("c", 500, 100, "20260101-000003"));
        QFile bad(data + "d.txt");
        bad.open(QIODevice::WriteOnly);
        bad.write("<POSTER=\"\",1,2,oops,4,5,6,7,8,\"\",\"\",\"\",\"\",\"\",,,>");
    }
};

// Answers the next modal message box with `button` and keeps what it said.
QString answerNextBox(QMessageBox::StandardButton button = QMessageBox::NoButton) {
    QString said;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said = box->text() + QLatin1Char('\n') + box->informativeText();
            if (button != QMessageBox::NoButton && box->button(button))
                box->button(button)->click();
            else
                box->accept();
            loop.quit();
        }
    });
    poll.start(10);
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    return said;
}

} // namespace

class TestSaveAndExit : public QObject {
    Q_OBJECT
private slots:
    void saveAndExitWritesTheWall();
    void outsideChangesAreLeftAlone();
    void exitWithoutSavingWritesNothing();
    void failedSaveAsksBeforeExiting();
    void goneFolderIsOfferedAnew();
};

void TestSaveAndExit::saveAndExitWritesTheWall() {
    ExitFixture f;
    const QByteArray damaged = fileBytes(f.data + "d.txt");
    WallWindow w(f.dir.filePath("zavik"));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.document().count(), 3);
    QVERIFY(w.board().card(1)->isCollapsed());
    moveCard(w.document(), 0, QPoint(40, 60)); // moved on the screen, not yet saved
    w.OWARI();
    QVERIFY(!w.isVisible());

    const WallDocument& st = w.document();

    const PosterRecord a = readCardFile(f.data + "a.txt").first();
    QCOMPARE(a.FTIME, QStringLiteral("20260101-000001"));
    QCOMPARE(a.XS, toReferenceX(40, st.NOWX));
    QCOMPARE(a.YS, toReferenceY(60, st.NOWY));
    // The collapsed check-off card goes back as "1" with its full size.
    const PosterRecord b = readCardFile(f.data + "b.txt").first();
    QCOMPARE(b.KAKUSU, QStringLiteral("1"));
    QCOMPARE(b.FTIME, QStringLiteral("20260101-000002"));
    QCOMPARE(b.XXS, toReferenceX(toPixelsX(300, st.NOWX), st.NOWX));
    QCOMPARE(b.YYS, toReferenceY(toPixelsY(120, st.NOWY), st.NOWY));
    QCOMPARE(readCardFile(f.data + "c.txt").first().FTIME, QStringLiteral("20260101-000003"));
    // The damaged neighbour is untouched, and no background was invented.
    QCOMPARE(fileBytes(f.data + "d.txt"), damaged);
    QVERIFY(!QFileInfo::exists(f.data + "wall.ini"));
}

void TestSaveAndExit::outsideChangesAreLeftAlone() {
    ExitFixture f;
    WallWindow w(f.dir.filePath("zavik"));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.findChild<QTimer*>("Timer2")->stop();
    QTest::qWait(25);
    // Another program rewrites c.txt, keeping its stamp.
    writeCardFile(f.data + "c.txt", textCard("theirs", 500, 100, "20260101-000003"));
    const QByteArray theirs = fileBytes(f.data + "c.txt");
    QString said;
    QTimer::singleShot(0, [&] { said = answerNextBox(); });
    w.OWARI();
    QCOMPARE(fileBytes(f.data + "c.txt"), theirs);
    QVERIFY(said.contains("c.txt"));
    QVERIFY(!said.contains("a.txt"));
    QCOMPARE(readCardFile(f.data + "a.txt").first().FTIME, QStringLiteral("20260101-000001"));
}

void TestSaveAndExit::exitWithoutSavingWritesNothing() {
    ExitFixture f;
    const QByteArray a = fileBytes(f.data + "a.txt");
    const QByteArray b = fileBytes(f.data + "b.txt");
    WallWindow w(f.dir.filePath("zavik"));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    moveCard(w.document(), 0, QPoint(1, 1));
    w.exitWithoutSaving();
    QCOMPARE(fileBytes(f.data + "a.txt"), a);
    QCOMPARE(fileBytes(f.data + "b.txt"), b);
    QVERIFY(!QFileInfo::exists(f.data + "wall.ini"));
}

void TestSaveAndExit::failedSaveAsksBeforeExiting() {
    ExitFixture f;
    WallWindow w(f.dir.filePath("zavik"));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QByteArray a = fileBytes(f.data + "a.txt");
    moveCard(w.document(), 0, QPoint(40, 60));
    // A full disk, made by a file-size limit that binds root as well.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    rlimit none = old;
    none.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &none);
    QString said;
    QTimer::singleShot(0, [&] { said = answerNextBox(QMessageBox::No); });
    w.OWARI();
    setrlimit(RLIMIT_FSIZE, &old);
    // Told which cards, and the wall stays open as it was.
    QVERIFY(said.contains("a.txt"));
    QVERIFY(w.isVisible());
    QCOMPARE(fileBytes(f.data + "a.txt"), a);
    QCOMPARE(w.board().card(0)->pos(), QPoint(40, 60));
    QVERIFY(w.board().card(1)->isCollapsed());
    // With room again, save and exit writes it.
    w.OWARI();
    QVERIFY(!w.isVisible());
    QCOMPARE(readCardFile(f.data + "a.txt").first().XS, toReferenceX(40, w.document().NOWX));
}

void TestSaveAndExit::goneFolderIsOfferedAnew() {
    ExitFixture f;
    WallWindow w(f.dir.filePath("zavik"));
    w.showOnScreen();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.findChild<QTimer*>("Timer2")->stop();
    QVERIFY(QDir(f.data).removeRecursively());
    QString said;
    QTimer::singleShot(0, [&] { said = answerNextBox(QMessageBox::Cancel); });
    w.OWARI();
    QVERIFY(said.contains(QStringLiteral("なくなっています")));
    QVERIFY(w.isVisible());
    QTimer::singleShot(0, [&] { said = answerNextBox(QMessageBox::Yes); });
    w.OWARI();
    QVERIFY(!w.isVisible());
    QCOMPARE(QDir(f.data).entryList({"*.txt"}, QDir::Files),
             (QStringList{"a.txt", "b.txt", "c.txt"}));
}

QTEST_MAIN(TestSaveAndExit)
#include "tst_saveandexit.moc"
