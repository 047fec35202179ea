#include "platform/folders.h"
#include "platform/translations.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void derivedFromTheExecutable();
    void dialogButtonsSpeakJapanese();
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

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
