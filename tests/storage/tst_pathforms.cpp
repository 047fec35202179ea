#include "storage/cardnames.h"
#include "storage/pathforms.h"
#include "storage/refspace.h"
#include "storage/timestamp.h"

#include <QtTest>

class TestPathForms : public QObject {
    Q_OBJECT
private slots:
    void rounding();
    void referenceConversion_data();
    void referenceConversion();
    void relativePaths_data();
    void relativePaths();
    void absolutePaths_data();
    void absolutePaths();
    void cardNameCleaning_data();
    void cardNameCleaning();
    void timestamps();
};

void TestPathForms::rounding() {
    QCOMPARE(roundHalfEven(2.5), 2);
    QCOMPARE(roundHalfEven(3.5), 4);
    QCOMPARE(roundHalfEven(-2.5), -2);
    QCOMPARE(roundHalfEven(2.4999), 2);
    QCOMPARE(scaleHalfEven(5, 1, 2), 2);   // 2.5
    QCOMPARE(scaleHalfEven(7, 1, 2), 4);   // 3.5
    QCOMPARE(scaleHalfEven(-5, 1, 2), -2); // -2.5
    QCOMPARE(scaleHalfEven(-7, 1, 2), -4); // -3.5
    QCOMPARE(scaleHalfEven(-7, 1, -2), 4);
    QCOMPARE(scaleHalfEven(10, 1, 3), 3);
    QCOMPARE(scaleHalfEven(11, 1, 3), 4);
    QCOMPARE(scaleHalfEven(1, 1, 0), 0);
}

void TestPathForms::referenceConversion_data() {
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("NOWX");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("readBackAt1920");
    QTest::newRow("683 of 1366") << 683 << 1366 << 960 << 960;
    QTest::newRow("same size") << 500 << 1920 << 500 << 500;
    // 1 × 1920 / 1366 = 1.4055 -> 1
    QTest::newRow("small") << 1 << 1366 << 1 << 1;
    // 3 × 1920 / 1280 = 4.5 -> 4 (halves to even)
    QTest::newRow("half down") << 3 << 1280 << 4 << 4;
    // 5 × 1920 / 1280 = 7.5 -> 8
    QTest::newRow("half up") << 5 << 1280 << 8 << 8;
    QTest::newRow("negative") << -683 << 1366 << -960 << -960;
}

void TestPathForms::referenceConversion() {
    QFETCH(int, pixels);
    QFETCH(int, NOWX);
    QFETCH(int, stored);
    QFETCH(int, readBackAt1920);
    QCOMPARE(toReferenceX(pixels, NOWX), stored);
    QCOMPARE(toPixelsX(stored, 1920), readBackAt1920);
    // 1080-line reference: 384 pixels of a 768-line wall are 540 units.
    QCOMPARE(toReferenceY(384, 768), 540);
    QCOMPARE(toPixelsY(540, 768), 384);
    QCOMPARE(toPixelsX(960, 1366), 683);
}

void TestPathForms::relativePaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const QString data = QStringLiteral("/home/u/zavik-data/");
    QTest::newRow("below the wall") << data + "sub/pics/cat.jpg" << QStringLiteral("pics\\cat.jpg");
    QTest::newRow("wall with backslashes")
        << QStringLiteral("\\home\\u\\zavik-data\\sub\\cat.jpg") << QStringLiteral("cat.jpg");
    QTest::newRow("below the data folder")
        << data + "pics/cat.jpg" << QStringLiteral("..pics\\cat.jpg");
    QTest::newRow("elsewhere") << QStringLiteral("/srv/x/cat.jpg")
                               << QStringLiteral("/srv/x/cat.jpg");
    QTest::newRow("data folder name in the middle")
        << QStringLiteral("/media/usb/home/u/zavik-data/pics/cat.jpg")
        << QStringLiteral("/media/usb/home/u/zavik-data/pics/cat.jpg");
    QTest::newRow("url") << QStringLiteral("https://example.org/a/b")
                         << QStringLiteral("https://example.org/a/b");
    QTest::newRow("sibling folder with a longer name")
        << QStringLiteral("/home/u/zavik-data2/cat.jpg")
        << QStringLiteral("/home/u/zavik-data2/cat.jpg");
}

void TestPathForms::relativePaths() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(SOUTAI(path, QStringLiteral("/home/u/zavik-data/sub/"),
                    QStringLiteral("/home/u/zavik-data/")),
             expected);
}

void TestPathForms::absolutePaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("data relative")
        << QStringLiteral("..pics\\cat.jpg") << QStringLiteral("/home/u/zavik-data/pics/cat.jpg");
    QTest::newRow("data relative, slashes")
        << QStringLiteral("..pics/cat.jpg") << QStringLiteral("/home/u/zavik-data/pics/cat.jpg");
    QTest::newRow("wall relative")
        << QStringLiteral("pics\\cat.jpg") << QStringLiteral("/home/u/zavik-data/sub/pics/cat.jpg");
    QTest::newRow("drive path") << QStringLiteral("C:\\x\\cat.jpg")
                                << QStringLiteral("C:\\x\\cat.jpg");
    QTest::newRow("url") << QStringLiteral("http://example.org/a..b")
                         << QStringLiteral("http://example.org/a..b");
    QTest::newRow("unix absolute")
        << QStringLiteral("/srv/x\\cat.jpg") << QStringLiteral("/srv/x/cat.jpg");
    QTest::newRow("bare name") << QStringLiteral("cat.jpg")
                               << QStringLiteral("/home/u/zavik-data/sub/cat.jpg");
    QTest::newRow("sub-wall link")
        << QStringLiteral("next\\") << QStringLiteral("/home/u/zavik-data/sub/next/");
}

void TestPathForms::absolutePaths() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    const QString base = QStringLiteral("/home/u/zavik-data/sub/");
    const QString data = QStringLiteral("/home/u/zavik-data/");
    QCOMPARE(ZETTAI(path, base, data), expected);
    // Whatever the wall folder, a data-relative path lands in the data folder.
    if (path.startsWith(QLatin1String("..")))
        QCOMPARE(ZETTAI(path, QStringLiteral("/elsewhere/"), data), expected);
    // Making it relative again gives the stored form (with "\").
    if (!folderPart(path).contains(QLatin1Char(':')) && !path.startsWith(QLatin1Char('/')))
        QCOMPARE(SOUTAI(expected, base, data), QString(path).replace('/', '\\'));
}

void TestPathForms::cardNameCleaning_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringLiteral("カード.txt") << QStringLiteral("カード.txt");
    QTest::newRow("slash and question mark")
        << QStringLiteral("a/b?.txt") << QStringLiteral("a／b？.txt");
    // Nothing is cut: a class list's "1組:田中" and "2組:田中" stay two names.
    QTest::newRow("path kept") << QStringLiteral("C:\\x\\y.txt") << QStringLiteral("C：￥x￥y.txt");
    QTest::newRow("colon") << QStringLiteral("1組:田中.txt") << QStringLiteral("1組：田中.txt");
    QTest::newRow("line breaks and tabs")
        << QStringLiteral("a\r\nb\tc.txt") << QStringLiteral("abc.txt");
    QTest::newRow("all replaced") << QStringLiteral("\"|*<>.txt")
                                  << QStringLiteral("”｜＊＜＞.txt");
    QTest::newRow("only the extension") << QStringLiteral(".txt") << QString();
    QTest::newRow("ending in a separator")
        << QStringLiteral("x\\.txt") << QStringLiteral("x￥.txt");
    QTest::newRow("empty") << QString() << QString();
}

void TestPathForms::cardNameCleaning() {
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(cleanCardFileName(name), expected);
}

void TestPathForms::timestamps() {
    const QDateTime t(QDate(2026, 1, 2), QTime(3, 4, 5));
    QCOMPARE(makeTimestamp(t), QStringLiteral("20260102-030405"));
    QCOMPARE(makeTimestamp(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))),
             QStringLiteral("20261231-235959"));
    QCOMPARE(makeTimestamp().size(), 15);
}

QTEST_APPLESS_MAIN(TestPathForms)
#include "tst_pathforms.moc"
