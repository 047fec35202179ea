#include "reports/csvexport.h"
#include "storage/csvtext.h"

#include <QtTest>

class TestCsvExport : public QObject {
    Q_OBJECT
private slots:
    void fields_data();
    void fields();
    void lines();
};

void TestCsvExport::fields_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "H2O 水"
                           << "H2O 水";
    QTest::newRow("layout codes stay") << ">SW10/赤"
                                       << ">SW10/赤";
    QTest::newRow("comma") << "a,b"
                           << "\"a,b\"";
    QTest::newRow("quote") << "say \"hi\""
                           << "\"say \"\"hi\"\"\"";
    QTest::newRow("lines") << "一行目\r\n二行目"
                           << "\"一行目\r\n二行目\"";
    QTest::newRow("empty") << ""
                           << "";
    // What a spreadsheet would run is shown as text; plain numbers stay.
    QTest::newRow("formula") << "=HYPERLINK(\"http://x\",\"a\")"
                             << "\"'=HYPERLINK(\"\"http://x\"\",\"\"a\"\")\"";
    QTest::newRow("command") << "=cmd|' /C calc'!A0"
                             << "'=cmd|' /C calc'!A0";
    QTest::newRow("plus") << "+1+1"
                          << "'+1+1";
    QTest::newRow("minus") << "-2+3"
                           << "'-2+3";
    QTest::newRow("at") << "@SUM(A1)"
                        << "'@SUM(A1)";
    QTest::newRow("tab") << "\t=1"
                         << "'\t=1";
    QTest::newRow("carriage return") << "\r=1"
                                     << "\"'\r=1\"";
    QTest::newRow("negative number") << "-5"
                                     << "-5";
    QTest::newRow("signed decimal") << "+3.2"
                                    << "+3.2";
    QTest::newRow("exponent") << "-1e5"
                              << "'-1e5";
    QTest::newRow("lone sign") << "-"
                               << "'-";
}

void TestCsvExport::fields() {
    QFETCH(QString, field);
    QFETCH(QString, written);
    QCOMPARE(csvField(field), written);
}

void TestCsvExport::lines() {
    const QDateTime when(QDate(2024, 1, 31), QTime(14, 25, 30));
    QCOMPARE(csvTimeText(when), QStringLiteral("2024年01月31日14時25分30秒"));
    const QList<CsvCard> cards{{"★", "水\r\nH2O", "ヒント", "", 100, 200, 300, 120, 5001, 1001},
                               {"", "Fe3+", "", "フラッシュ", 0, 0, 1920, 1080, 7002, 4001}};
    const QStringList lines = csvLines(when, "/home/t/wall/", cards);
    QCOMPARE(lines, (QStringList{
                        "2024年01月31日14時25分30秒",
                        "/home/t/wall/",
                        "☆,文字,ヒント,フラッシュ,X座標,Y座標,幅,縦,パネル色,文字色,",
                        "★,\"水\r\nH2O\",ヒント,,100,200,300,120,5001,1001,",
                        ",Fe3+,,フラッシュ,0,0,1920,1080,7002,4001,",
                    }));
    const QByteArray bytes = csvBytes(lines);
    QVERIFY(bytes.startsWith(QByteArray("\xEF\xBB\xBF", 3) + "2024"));
    QVERIFY(bytes.endsWith("4001,\r\n"));
    QCOMPARE(bytes.count("\r\n"), 6); // five lines and the text's own line break
}

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
