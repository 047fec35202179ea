#include "platform/folders.h"
#include "platform/translations.h"
#include "platform/trash.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void derivedFromTheExecutable();
    void dataFolderOfARun();
    void dialogButtonsSpeakJapanese();
    void trash();
};

void TestPlatform::derivedFromTheExecutable() {
    const WallFolders linux = deriveFolders(QStringLiteral("/opt/Zavik/zavik"));
    QCOMPARE(linux.KIJUNDIRBAK, QStringLiteral("/opt/Zavik/zavik-data/"));
    QCOMPARE(linux.KIJUNDIR, linux.KIJUNDIRBAK);
    QCOMPARE(linux.KIJUNEX, QStringLiteral("/opt/Zavik/[Zavik]/"));
    const WallFolders windows = deriveFolders(QStringLiteral("/x/app/Zavik.exe"));
    QCOMPARE(windows.KIJUNDIRBAK, QStringLiteral("/x/app/Zavik/"));
    QCOMPARE(windows.KIJUNEX, QStringLiteral("/x/app/[Zavik]/"));
}

void TestPlatform::dataFolderOfARun() {
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    QDir().mkpath(home);

    // A portable folder: the data folder beside the program.
    const QString exe = dir.filePath(QStringLiteral("stick/zavik"));
    QDir().mkpath(dir.filePath(QStringLiteral("stick")));
    RunFolders run = foldersForRun(exe, QString(), home);
    QCOMPARE(run.folders.KIJUNDIRBAK, dir.filePath(QStringLiteral("stick/zavik-data/")));
    QVERIFY(run.problem.isEmpty());
    QVERIFY(!run.fromSample);

    // An installed program keeps its walls in the home folder, even when run
    // by someone who could write its folder.
    run = foldersForRun(QStringLiteral("/usr/lib/zavik/zavik"), QString(), home);
    QCOMPARE(run.folders.KIJUNDIRBAK, home + QStringLiteral("/Zavikのかべ/"));
    QCOMPARE(run.folders.KIJUNDIR, run.folders.KIJUNDIRBAK);
    QCOMPARE(run.folders.KIJUNEX, QStringLiteral("/usr/lib/zavik/[Zavik]/"));
    QVERIFY(run.fromSample);

    // Its first start copies the sample wall whole, thumbnails fresh; later
    // starts leave the folder alone, whatever the user did with it.
    const QString resources = dir.filePath(QStringLiteral("[Zavik]/"));
    QDir().mkpath(resources + QStringLiteral("sample-wall/NAIL"));
    QFile card(resources + QStringLiteral("sample-wall/card.txt"));
    QVERIFY(card.open(QIODevice::WriteOnly));
    card.write("card");
    card.close();
    QFile thumb(resources + QStringLiteral("sample-wall/NAIL/~photo.jpg"));
    QVERIFY(thumb.open(QIODevice::WriteOnly));
    QVERIFY(thumb.setFileTime(QDateTime::currentDateTime().addYears(-1),
                              QFileDevice::FileModificationTime));
    thumb.close();
    run.folders.KIJUNEX = resources;
    prepareDataFolder(run);
    const QString data = run.folders.KIJUNDIRBAK;
    QVERIFY(QFile::exists(data + QStringLiteral("card.txt")));
    QVERIFY(QFileInfo(data + QStringLiteral("NAIL/~photo.jpg")).lastModified() >
            QDateTime::currentDateTime().addDays(-1));
    QCOMPARE(QDir(home).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Zavikのかべ")});
    QVERIFY(QFile::remove(data + QStringLiteral("card.txt")));
    run = foldersForRun(QStringLiteral("/usr/lib/zavik/zavik"), QString(), home);
    QVERIFY(!run.fromSample);
    run.folders.KIJUNEX = resources;
    prepareDataFolder(run);
    QVERIFY(!QFile::exists(data + QStringLiteral("card.txt")));

    // A chosen folder comes first; a missing one (a share not mounted) is
    // reported, never made.
    run = foldersForRun(exe, dir.filePath(QStringLiteral("home/")), home);
    QCOMPARE(run.folders.KIJUNDIRBAK, home + QLatin1Char('/'));
    QVERIFY(run.problem.isEmpty());
    const QString share = dir.filePath(QStringLiteral("share/walls"));
    run = foldersForRun(exe, share, home);
    QVERIFY(run.problem.contains(share));
    QVERIFY(!QFileInfo::exists(share));
}

void TestPlatform::dialogButtonsSpeakJapanese() {
    QVERIFY(installJapaneseTranslations(QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zavik"),
                    QStringLiteral("コピーしますか"), QMessageBox::Yes | QMessageBox::No);
    QVERIFY(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい")));
    QVERIFY(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")));
}

void TestPlatform::trash() {
    // A desktop whose data folder does not exist yet.
    QTemporaryDir dir;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath("share").toUtf8());
    const QString picture = dir.filePath("wall/pic.jpg");
    QDir().mkpath(dir.filePath("wall"));
    QFile f(picture);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("jpeg") == 4);
    f.close();
    QVERIFY(moveToTrash(picture));
    QVERIFY(!QFileInfo::exists(picture));
    QVERIFY(QFileInfo::exists(dir.filePath("share/Trash/files/pic.jpg")));
    QVERIFY(!QFileInfo::exists(QDir::current().filePath("pic.jpg")));
    QString error;
    QVERIFY(!moveToTrash(picture, &error));
    QVERIFY(error.contains(picture));
    qputenv("XDG_DATA_HOME", oldData);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
