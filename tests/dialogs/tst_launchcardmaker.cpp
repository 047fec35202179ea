#include "dialogs/launchcardmaker.h"
#include "document/undohistory.h"
#include "platform/beep.h"
#include "support/scriptedprompts.h"
#include "support/shellrecorder.h"
#include "support/wallfixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// The user as these tests play it: the same files chosen each time, the
// same answer to every question.
struct SameAnswers : ScriptedPrompts {
    QStringList chosen;
    bool answer = false;
    bool ask(const QString& question) override {
        asked << question;
        return answer;
    }
    QStringList chooseFiles(const FileRequest& request) override {
        requests << request;
        return chosen;
    }
};

// The maker on a wall folder below the data folder, with the wall's board
// and saver; the chosen files lie outside the data folder.
struct Maker {
    WallFixture w;
    WallDocument& st = w.st();
    QWidget window;
    LaunchCardMaker maker{w.st(), &window};
    SameAnswers prompts;
    QStringList& files = prompts.chosen;
    const QStringList& told = prompts.told;
    const QStringList& asked = prompts.asked;
    bool& answer = prompts.answer;
    QStringList notices;
    int reloads = 0;
    QRect area{0, 0, 1920, 1080};
    Maker() {
        st.KIJUNDIR = st.KIJUNDIRBAK + "wall/";
        QDir().mkpath(st.KIJUNDIR);
        maker.setPrompts(&prompts);
        QObject::connect(&maker, &LaunchCardMaker::noticeRequested,
                         [this](const QString& t, int) { notices << t; });
        QObject::connect(&maker, &LaunchCardMaker::reloadWallRequested, [this] { ++reloads; });
        maker.wallArea = [this] { return area; };
        maker.move(100, 100);
        maker.show();
    }
    QString chosen(const QString& name) { return w.dir.filePath("chosen/" + name); }
};

} // namespace

class TestLaunchCardMaker : public QObject {
    Q_OBJECT
private slots:
    void cardsOfEveryKind();
    void refusedAndFailed();
    void startAndCopy();
    void replacingAsksOnce();
    void largeCopyShowsProgress();
};

void TestLaunchCardMaker::cardsOfEveryKind() {
    Maker m;
    QVERIFY(QDir().mkpath(m.w.dir.filePath("chosen")));
    QImage cat(400, 300, QImage::Format_RGB32);
    cat.fill(Qt::gray);
    QVERIFY(cat.save(m.chosen("cat.jpg")));
    writeBytes(m.chosen("notes.pdf"), "%PDF");
    writeBytes(m.chosen("star.trx"), "FD 10");
    writeBytes(m.chosen("a.wav"), "RIFF");
    writeBytes(m.chosen("lesson.html"), "<img src=\"p.png\">");
    writeBytes(m.chosen("p.png"), "png");
    // One file elsewhere in the data folder, one whose name Windows refuses.
    const QString plan = m.st.KIJUNDIRBAK + "docs/plan.pdf";
    writeBytes(plan, "%PDF");
    writeBytes(m.chosen("what?.pdf"), "%PDF");
    m.files = QStringList{"cat.jpg", "notes.pdf", "star.trx", "lesson.html", "what?.pdf"};
    for (QString& f : m.files)
        f = m.chosen(f);
    m.files << plan;
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
    // Made as every new card is: on the wall, linked in the relative form,
    // under a name Windows can hold.
    QCOMPARE(m.w.board->count(), 6);
    QCOMPARE(readCardFile(wall + "plan.pdf.txt").value(0).NOTE, QStringLiteral("..docs\\plan.pdf"));
    QCOMPARE(readCardFile(wall + "what？.pdf.txt").value(0).NOTE, m.chosen("what?.pdf"));
    QCOMPARE(m.reloads, 1);
    QVERIFY(m.told.isEmpty() && m.asked.isEmpty());
    // The batch is one step: taken back, its cards and card files go (the
    // files copied in stay); made again, they come back as they were.
    UndoHistory& history = m.st.history();
    QCOMPARE(history.undoCount(), 1);
    QCOMPARE(history.undoName(), QStringLiteral("起動カード"));
    const QByteArray cardFile = readFileBytes(wall + "catjpg.txt");
    history.undo();
    QCOMPARE(m.w.board->count(), 0);
    QVERIFY(!QFileInfo::exists(wall + "catjpg.txt") && QFileInfo::exists(wall + "notes.pdf"));
    history.redo();
    QCOMPARE(m.w.board->count(), 6);
    QCOMPARE(readFileBytes(wall + "catjpg.txt"), cardFile);
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
    QObject::connect(&m.maker, &LaunchCardMaker::startLogoRequested,
                     [&](const QString& p) { started << p; });
    QSignalSpy tucked(&m.maker, &LaunchCardMaker::tuckRequested);
    ShellRecorder shell({"file"});
    m.files = {m.chosen("star.trx"), m.chosen("notes.pdf")};
    bool installed = true;
    m.maker.logoInstalled = [&] { return installed; };
    m.maker.SpeedButton1->click();
    QCOMPARE(started, QStringList{m.chosen("star.trx")});
    QCOMPARE(shell.opened, QList<QUrl>{QUrl::fromLocalFile(m.chosen("notes.pdf"))});
    QCOMPARE(tucked.size(), 2);
    QCOMPARE(m.notices, (QStringList{"TURXを起動・・・", "notes.pdfを起動・・・"}));
    // Without the LOGO environment a project goes to the desktop.
    installed = false;
    m.maker.SpeedButton1->click();
    QCOMPARE(started.size(), 1);
    QCOMPARE(shell.opened.value(1), QUrl::fromLocalFile(m.chosen("star.trx")));
    QCOMPARE(m.notices.value(2), QStringLiteral("star.trxを起動・・・"));
    // "フォルダにコピー": the files, and a project's sounds, into the wall.
    m.maker.SpeedButton5->click();
    for (const char* name : {"star.trx", "a.mid", "notes.pdf"})
        QVERIFY2(QFileInfo::exists(m.st.KIJUNDIR + name), name);
    QCOMPARE(QDir(m.st.KIJUNDIR).entryList({"*.txt"}, QDir::Files), QStringList());
}

void TestLaunchCardMaker::replacingAsksOnce() {
    Maker m;
    const QString wall = m.st.KIJUNDIR;
    // The wall has a card of the name a new card would take, and its own
    // worksheet.
    m.w.write("notes.pdf.txt", textCard("the teacher's card"));
    writeBytes(wall + "worksheet.pdf", "the wall's own");
    const QByteArray card = readFileBytes(wall + "notes.pdf.txt");
    for (const char* name : {"notes.pdf", "worksheet.pdf", "new.pdf", "other/new.pdf"})
        writeBytes(m.chosen(name), QByteArray("chosen ") + name);
    m.files = {m.chosen("notes.pdf"), m.chosen("worksheet.pdf"), m.chosen("new.pdf"),
               m.chosen("other/new.pdf")};
    // "いいえ": one question names both, and both stay; the rest is made,
    // but a second file of one name never replaces the first.
    m.maker.SpeedButton2->click();
    QCOMPARE(m.asked.size(), 1);
    QVERIFY(m.asked[0].contains("notes.pdf.txt") && m.asked[0].contains("worksheet.pdf"));
    QCOMPARE(readFileBytes(wall + "notes.pdf.txt"), card);
    QCOMPARE(readFileBytes(wall + "worksheet.pdf"), QByteArray("the wall's own"));
    QCOMPARE(readCardFile(wall + "new.pdf.txt").value(0).NOTE, m.chosen("new.pdf"));
    QVERIFY(m.told.value(0).contains(m.chosen("other/new.pdf")));
    // "フォルダにコピー" asks the same way; "はい" replaces.
    m.answer = true;
    m.files = {m.chosen("worksheet.pdf")};
    m.maker.SpeedButton5->click();
    QCOMPARE(m.asked.size(), 2);
    QCOMPARE(readFileBytes(wall + "worksheet.pdf"), QByteArray("chosen worksheet.pdf"));
}

void TestLaunchCardMaker::largeCopyShowsProgress() {
    Maker m;
    const QString wall = m.st.KIJUNDIR;
    const QByteArray video = QByteArray("0123456789abcdef").repeated(256 * 1024);
    writeBytes(m.chosen("video.mp4"), video);
    m.maker.copies.shownFrom = 1024 * 1024;
    m.maker.copies.pieceBytes = 64 * 1024;
    m.files = {m.chosen("video.mp4")};
    // Cancelled in the middle: no card, no copy, nothing half-written, and
    // the source as it was.
    bool cancelled = false;
    QTimer::singleShot(0, [&cancelled] {
        auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        QVERIFY(progress && progress->isVisible());
        progress->findChild<QPushButton*>()->click();
        cancelled = true;
    });
    m.maker.SpeedButton2->click();
    QVERIFY(cancelled);
    QCOMPARE(QDir(wall).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(readFileBytes(m.chosen("video.mp4")), video);
    // Left to run, it lands whole and becomes a card.
    m.maker.SpeedButton2->click();
    QCOMPARE(readFileBytes(wall + "video.mp4"), video);
    QVERIFY(QFileInfo::exists(wall + "video.mp4.txt"));
}

QTEST_MAIN(TestLaunchCardMaker)
#include "tst_launchcardmaker.moc"
