#include "dialogs/launchcardmaker.h"
#include "model/wallstate.h"
#include "platform/beep.h"
#include "storage/wallfiles.h"
#include "support/shellrecorder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

struct Maker {
    QTemporaryDir dir;
    WallState st;
    QWidget wall;
    LaunchCardMaker maker{st, &wall};
    QStringList files;
    QStringList told;
    QStringList notices;
    int reloads = 0;
    QRect area{0, 0, 1920, 1080};
    Maker() {
        st.KIJUNDIR = dir.filePath("wall/");
        st.KIJUNDIRBAK = st.KIJUNDIR;
        st.NOWX = 1920;
        st.NOWY = 1080;
        QDir().mkpath(st.KIJUNDIR);
        maker.chooseFiles = [this](const QString&) { return files; };
        maker.tell = [this](const QString& t) { told << t; };
        maker.notice = [this](const QString& t, int) { notices << t; };
        maker.reloadWall = [this] { ++reloads; };
        maker.wallArea = [this] { return area; };
        maker.move(100, 100);
        maker.show();
    }
    QString chosen(const QString& name) { return dir.filePath("chosen/" + name); }
};

} // namespace

class TestLaunchCardMaker : public QObject {
    Q_OBJECT
private slots:
    void cardsOfEveryKind();
    void refusedAndFailed();
    void startAndCopy();
};

void TestLaunchCardMaker::cardsOfEveryKind() {
    Maker m;
    QVERIFY(QDir().mkpath(m.dir.filePath("chosen")));
    QImage cat(400, 300, QImage::Format_RGB32);
    cat.fill(Qt::gray);
    QVERIFY(cat.save(m.chosen("cat.jpg")));
    writeBytes(m.chosen("notes.pdf"), "%PDF");
    writeBytes(m.chosen("star.trx"), "FD 10");
    writeBytes(m.chosen("a.wav"), "RIFF");
    writeBytes(m.chosen("lesson.html"), "<img src=\"p.png\">");
    writeBytes(m.chosen("p.png"), "png");
    m.files = {m.chosen("cat.jpg"), m.chosen("notes.pdf"), m.chosen("star.trx"),
               m.chosen("lesson.html")};
    m.maker.SpeedButton2->click();
    const QString wall = m.st.KIJUNDIR;
    // The picture: a card into its own sub-wall, which shows it.
    const QVector<PosterRecord> card = readCardFile(wall + "catjpg.txt");
    QCOMPARE(card.size(), 1);
    QCOMPARE(card[0].NOTE, QStringLiteral("catjpg\\"));
    QCOMPARE(card[0].colourCode(), 7);
    QVERIFY(QFileInfo::exists(wall + "catjpg/catjpg.jpg") &&
            QFileInfo::exists(wall + "catjpg/_catjpg.jpg"));
    QCOMPARE(readPanelFile(wall + "catjpg/wall.ini")->KABEIMAGE, QStringLiteral("catjpg.jpg"));
    QVERIFY(QFileInfo::exists(wall + "NAIL/~catjpg.jpg"));
    // The others open their files: the PDF where it was chosen.
    QCOMPARE(readCardFile(wall + "notes.pdf.txt").value(0).NOTE, m.chosen("notes.pdf"));
    QVERIFY(QFileInfo::exists(wall + "notes.pdf"));
    QCOMPARE(readCardFile(wall + "startrx.txt").value(0).colourCode(), 14);
    QVERIFY(QFileInfo::exists(wall + "a.wav"));
    QCOMPARE(readCardFile(wall + "lesson.txt").value(0).colourCode(), 3);
    QVERIFY(QFileInfo::exists(wall + "p.png"));
    // Each in its slot below the first, at the blue area's size.
    const QRect first = m.maker.templateRect();
    QCOMPARE(card[0].XS, first.x());
    QCOMPARE(readCardFile(wall + "notes.pdf.txt").value(0).YS,
             first.y() + first.height() + first.height() / 8);
    QCOMPARE(m.reloads, 1);
    QVERIFY(m.told.isEmpty());
}

void TestLaunchCardMaker::refusedAndFailed() {
    Maker m;
    writeBytes(m.chosen("notes.pdf"), "%PDF");
    writeBytes(m.chosen("odd>name.pdf"), "%PDF");
    m.files = {m.chosen("notes.pdf")};
    // Cards that would not fit: nothing at all, and the maker stays.
    m.area = QRect(0, 0, 300, 100);
    const int beeps = beepCount();
    m.maker.SpeedButton2->click();
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(m.notices, QStringList{"---　入りきりません　---"});
    QCOMPARE(m.reloads, 0);
    QVERIFY(m.maker.isVisible());
    QCOMPARE(QDir(m.st.KIJUNDIR).entryList(QDir::Files), QStringList());
    // A folder where the copy would go: the card is made, the copy named; a
    // name the link reader would misread is left out and named.
    m.area = QRect(0, 0, 1920, 1080);
    writeBytes(m.chosen("star.trx"), "FD 10");
    QVERIFY(QDir().mkpath(m.st.KIJUNDIR + "notes.pdf"));
    QVERIFY(QDir().mkpath(m.st.KIJUNDIR + "star.trx"));
    m.files = {m.chosen("notes.pdf"), m.chosen("odd>name.pdf"), m.chosen("star.trx")};
    m.maker.SpeedButton2->click();
    QVERIFY(QFileInfo::exists(m.st.KIJUNDIR + "notes.pdf.txt"));
    QVERIFY(QFileInfo::exists(m.st.KIJUNDIR + "startrx.txt"));
    QVERIFY(m.told.value(0).contains(m.st.KIJUNDIR + "star.trx"));
    QVERIFY(!QFileInfo::exists(m.st.KIJUNDIR + "odd>name.pdf.txt"));
    QCOMPARE(m.told.size(), 1);
    QVERIFY(m.told[0].contains("odd>name.pdf") && m.told[0].contains(m.st.KIJUNDIR + "notes.pdf"));
}

void TestLaunchCardMaker::startAndCopy() {
    Maker m;
    writeBytes(m.chosen("star.trx"), "FD 10");
    writeBytes(m.chosen("a.mid"), "MThd");
    writeBytes(m.chosen("notes.pdf"), "%PDF");
    QStringList started;
    int tucked = 0;
    m.maker.startLogo = [&](const QString& p) { started << p; };
    m.maker.tuck = [&] { ++tucked; };
    ShellRecorder shell({"file"});
    m.files = {m.chosen("star.trx"), m.chosen("notes.pdf")};
    m.maker.SpeedButton1->click();
    QCOMPARE(started, QStringList{m.chosen("star.trx")});
    QCOMPARE(shell.opened, QList<QUrl>{QUrl::fromLocalFile(m.chosen("notes.pdf"))});
    QCOMPARE(tucked, 2);
    QCOMPARE(m.notices, (QStringList{"TURXを起動・・・", "notes.pdfを起動・・・"}));
    // "フォルダにコピー": the files, and a project's sounds, into the wall.
    m.maker.SpeedButton5->click();
    for (const char* name : {"star.trx", "a.mid", "notes.pdf"})
        QVERIFY2(QFileInfo::exists(m.st.KIJUNDIR + name), name);
    QCOMPARE(QDir(m.st.KIJUNDIR).entryList({"*.txt"}, QDir::Files), QStringList());
}

QTEST_MAIN(TestLaunchCardMaker)
#include "tst_launchcardmaker.moc"
