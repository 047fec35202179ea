#include "platform/folders.h"
#include "platform/translations.h"
#include "platform/trash.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void derivedFromTheExecutable();
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
