#include "platform/folders.h"

#include <QtTest>

class TestFolders : public QObject {
    Q_OBJECT
private slots:
    void derivedFromTheExecutable();
};

void TestFolders::derivedFromTheExecutable() {
    const WallFolders linux = deriveFolders(QStringLiteral("/opt/Zavik/zavik"));
    QCOMPARE(linux.KIJUNDIRBAK, QStringLiteral("/opt/Zavik/zavik-data/"));
    QCOMPARE(linux.KIJUNDIR, linux.KIJUNDIRBAK);
    QCOMPARE(linux.KIJUNEX, QStringLiteral("/opt/Zavik/[Zavik]/"));
    const WallFolders windows = deriveFolders(QStringLiteral("/x/app/Zavik.exe"));
    QCOMPARE(windows.KIJUNDIRBAK, QStringLiteral("/x/app/Zavik/"));
    QCOMPARE(windows.KIJUNEX, QStringLiteral("/x/app/[Zavik]/"));
}

QTEST_APPLESS_MAIN(TestFolders)
#include "tst_folders.moc"
