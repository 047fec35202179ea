#include "storage/recorderror.h"
#include "storage/records.h"

#include <QtTest>

namespace {

PosterRecord sampleCard() {
    PosterRecord r;
    r.POST = QStringLiteral("..pics\\ねこ.jpg");
    r.XS = 960;
    r.YS = -12;
    r.XXS = 300;
    r.YYS = 120;
    r.P = 5012;
    r.PT = 3012;
    r.STP = 2;
    r.R = 1012;
    r.S2 = QStringLiteral("ヒント");
    r.NOTE = QStringLiteral("sub\\");
    r.TT = QStringLiteral("H2O\r\n水の//分子\r\n三行目");
    r.FNAME = QStringLiteral("20261209-101010.txt");
    r.FTIME = QStringLiteral("20261209-101010");
    r.KFLG = QStringLiteral("フラッシュ");
    r.KSU = QStringLiteral("★");
    r.KAKUSU = QStringLiteral("1");
    return r;
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void posterRoundTrip_data();
    void posterRoundTrip();
    void posterLayoutIsTheStoredForm();
    void settingsRoundTrip();
    void readerToleratesTextAroundRecords();
    void laterRecordsRebuildTheCard();
    void tagAcrossTheSetAsideText();
    void fieldHoldingItsDelimiterShiftsLaterFields();
    void conversionErrors_data();
    void conversionErrors();
    void strictIntegers();
    void webPaneLeavesTheRightEdgeFree();
};

void TestRecords::posterRoundTrip_data() {
    QTest::addColumn<PosterRecord>("record");
    QTest::newRow("every field") << sampleCard();
    PosterRecord empty;
    QTest::newRow("empty texts") << empty;
    PosterRecord d = sampleCard();
    d.KFLG = QStringLiteral("1,000円");
    d.KSU = QStringLiteral("a,b");
    d.KAKUSU = QStringLiteral("x>y");
    d.S2 = QStringLiteral("he said \"yes\", then \"no\"");
    d.NOTE = QStringLiteral("\",\"");
    d.TT = QStringLiteral("ends in a quote\"");
    d.POST = QStringLiteral("\"");
    d.FTIME = QStringLiteral("a\",b");
    QTest::newRow("delimiters inside fields") << d;
    PosterRecord lines = sampleCard();
    lines.TT = QStringLiteral("\r\n\r\nblank lines around\r\n\r\n");
    lines.KFLG = QStringLiteral("two\r\nlines");
    QTest::newRow("line breaks") << lines;
}

void TestRecords::posterRoundTrip() {
    QFETCH(PosterRecord, record);
    const auto back = parsePosterRecords(formatPosterRecord(record));
    QCOMPARE(back.size(), 1);
    const PosterRecord& r = back.first();
    // Delimiters a field cannot hold come back in their full-width form.
    PosterRecord expected = record;
    for (QString* q : {&expected.POST, &expected.S2, &expected.NOTE, &expected.TT, &expected.FNAME,
                       &expected.FTIME})
        q->replace(QStringLiteral("\","), QStringLiteral("”,"));
    expected.KFLG.replace(QLatin1Char(','), QStringLiteral("，"));
    expected.KSU.replace(QLatin1Char(','), QStringLiteral("，"));
    expected.KAKUSU.replace(QLatin1Char('>'), QStringLiteral("＞"));
    QCOMPARE(r.POST, expected.POST);
    QCOMPARE(r.XS, expected.XS);
    QCOMPARE(r.YS, expected.YS);
    QCOMPARE(r.XXS, expected.XXS);
    QCOMPARE(r.YYS, expected.YYS);
    QCOMPARE(r.P, expected.P);
    QCOMPARE(r.PT, expected.PT);
    QCOMPARE(r.STP, expected.STP);
    QCOMPARE(r.R, expected.R);
    QCOMPARE(r.S2, expected.S2);
    QCOMPARE(r.NOTE, expected.NOTE);
    QCOMPARE(r.TT, expected.TT);
    QCOMPARE(r.FNAME, expected.FNAME);
    QCOMPARE(r.FTIME, expected.FTIME);
    QCOMPARE(r.KFLG, expected.KFLG);
    QCOMPARE(r.KSU, expected.KSU);
    QCOMPARE(r.KAKUSU, expected.KAKUSU);
    // A second save changes nothing more.
    QCOMPARE(formatPosterRecord(r), formatPosterRecord(expected));
}

void TestRecords::posterLayoutIsTheStoredForm() {
    PosterRecord r;
    r.POST = QStringLiteral("a.jpg");
    r.XS = 1;
    r.YS = 2;
    r.XXS = 3;
    r.YYS = 4;
    r.P = 5000;
    r.PT = 6001;
    r.STP = 0;
    r.R = 1002;
    r.S2 = QStringLiteral("h");
    r.NOTE = QStringLiteral("l");
    r.TT = QStringLiteral("t");
    r.FNAME = QStringLiteral("f.txt");
    r.FTIME = QStringLiteral("20260101-000000");
    r.KFLG = QStringLiteral("k");
    r.KSU = QStringLiteral("★");
    r.KAKUSU = QStringLiteral("0");
    QCOMPARE(formatPosterRecord(r),
             QStringLiteral("<POSTER=\"a.jpg\",1,2,3,4,5000,6001,0,1002,\"h\",\"l\",\"t\","
                            "\"f.txt\",\"20260101-000000\",k,★,0>"));
    QCOMPARE(r.colourCode(), 5);
    QCOMPARE(r.textColourCode(), 6);
    QCOMPARE(r.shapeCode(), 1);
    PosterRecord ellipse;
    ellipse.R = 0;
    QCOMPARE(ellipse.shapeCode(), 0);
}

void TestRecords::settingsRoundTrip() {
    PanelRecord panel{QStringLiteral("20261209-101010.bmp"), QStringLiteral("20261209-101010")};
    QCOMPARE(formatPanelRecord(panel),
             QStringLiteral("<PANEL=\"20261209-101010.bmp\",20261209-101010>"));
    QCOMPARE(parsePanelRecord(formatPanelRecord(panel)).value(), panel);

    UrlRecord url;
    url.page = QStringLiteral("https://example.org/a,b\",c");
    url.WEBOLDTIME = QStringLiteral("20261209-101010");
    url.X = 100;
    url.Y = 150;
    url.width = 990;
    url.height = 800;
    url.ribbon = 1;
    UrlRecord urlBack = parseUrlRecord(formatUrlRecord(url)).value();
    QCOMPARE(urlBack.page, QStringLiteral("https://example.org/a,b”,c"));
    urlBack.page = url.page;
    QCOMPARE(urlBack, url);

    MaskRecord mask;
    mask.mask = QStringLiteral("*.jpg;*.png");
    mask.label = QStringLiteral("写真");
    mask.DIROLDTIME = QStringLiteral("20261209-101010");
    mask.X = 870;
    mask.Y = 800;
    mask.width = 970;
    mask.height = 240;
    QCOMPARE(formatMaskRecord(mask),
             QStringLiteral("<MASK=\"*.jpg;*.png\",\"写真\",20261209-101010,870,800,970,240>"));
    QCOMPARE(parseMaskRecord(formatMaskRecord(mask)).value(), mask);

    QVERIFY(!parsePanelRecord(QStringLiteral("no record here")).has_value());
    // In a settings file the last record wins.
    const QString two = QStringLiteral("<PANEL=\"a.bmp\",1>\r\n<PANEL=\"b.bmp\",2>\r\n");
    QCOMPARE(parsePanelRecord(two)->KABEIMAGE, QStringLiteral("b.bmp"));
}

void TestRecords::readerToleratesTextAroundRecords() {
    const QString comment = QStringLiteral(
        "---------  Zavikポスター  -----\r\nパネル：\"背景画像\",モニター幅\r\n----\r\n");
    const QString record = formatPosterRecord(sampleCard());
    const auto withComment = parsePosterRecords(comment + record + QStringLiteral("\r\ntrailing"));
    QCOMPARE(withComment.size(), 1);
    QCOMPARE(withComment.first(), sampleCard());
    QVERIFY(parsePosterRecords(QStringLiteral("no tag at all")).isEmpty());
    QVERIFY(parsePosterRecords(QString()).isEmpty());
}

void TestRecords::laterRecordsRebuildTheCard() {
    PosterRecord first = sampleCard();
    PosterRecord second = sampleCard();
    second.TT = QStringLiteral("second");
    second.XS = 7;
    const auto all = parsePosterRecords(formatPosterRecord(first) + QStringLiteral("\r\n") +
                                        formatPosterRecord(second));
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0], first);
    QCOMPARE(all[1], second);
}

void TestRecords::tagAcrossTheSetAsideText() {
    // The text before a record is put back in front of what follows it, so a
    // tag split by a record ("<POS" before it, "TER=\"" after) is found.
    const QString inner = formatPosterRecord(sampleCard());
    PosterRecord outer = sampleCard();
    outer.TT = QStringLiteral("outer");
    const QString formatted = formatPosterRecord(outer);
    const QString text = QStringLiteral("<POS") + inner + formatted.mid(4);
    const auto all = parsePosterRecords(text);
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0], sampleCard());
    QCOMPARE(all[1].TT, QStringLiteral("outer"));
}

void TestRecords::fieldHoldingItsDelimiterShiftsLaterFields() {
    // A hand-written file whose hint holds "\",\"" ends the hint early: the
    // later text fields shift by one, as every reader does.
    const QString text =
        QStringLiteral("<POSTER=\"\",1,2,3,4,1000,1000,0,1000,\"a\",\"b\",\"link\","
                       "\"text\",\"f.txt\",\"20260101-000000\",k,★,0>");
    const auto r = parsePosterRecords(text).value(0);
    QCOMPARE(r.S2, QStringLiteral("a"));
    QCOMPARE(r.NOTE, QStringLiteral("b"));
    QCOMPARE(r.TT, QStringLiteral("link"));
    QCOMPARE(r.FNAME, QStringLiteral("text"));
    QCOMPARE(r.FTIME, QStringLiteral("f.txt"));
    // An unquoted flash text with a comma shifts the mark and the state.
    const QString flash = QStringLiteral("<POSTER=\"\",1,2,3,4,1000,1000,0,1000,\"\",\"\",\"\","
                                         "\"\",\"\",1,000円,★,0>");
    const auto f = parsePosterRecords(flash).value(0);
    QCOMPARE(f.KFLG, QStringLiteral("1"));
    QCOMPARE(f.KSU, QStringLiteral("000円"));
    QCOMPARE(f.KAKUSU, QStringLiteral("★,0"));
}

void TestRecords::conversionErrors_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("reason");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("badText");
    QTest::newRow("letters in X") << QStringLiteral("<POSTER=\"\",1x,2,3,4,5,6,7,8,\"\",\"\",\"\","
                                                    "\"\",\"\",,,>")
                                  << int(RecordError::Reason::NotInteger)
                                  << QStringLiteral("X座標(XS)") << QStringLiteral("1x");
    QTest::newRow("shifted by a quote") << QStringLiteral("<POSTER=\"a\",b\",1,2,3,4,5,6,7,8,\"\","
                                                          "\"\",\"\",\"\",\"\",,,>")
                                        << int(RecordError::Reason::NotInteger)
                                        << QStringLiteral("X座標(XS)") << QStringLiteral("b\"");
    QTest::newRow("cut short") << QStringLiteral("<POSTER=\"\",1,2,3,4,5,6")
                               << int(RecordError::Reason::Incomplete) << QStringLiteral("字色(PT)")
                               << QString();
    QTest::newRow("url ribbon") << QStringLiteral("<URL=\"a.htm\",1,2,3,4,5,yes>")
                                << int(RecordError::Reason::NotInteger) << QStringLiteral("リボン")
                                << QStringLiteral("yes");
}

void TestRecords::conversionErrors() {
    QFETCH(QString, text);
    QFETCH(int, reason);
    QFETCH(QString, field);
    QFETCH(QString, badText);
    try {
        if (text.startsWith(QLatin1String("<URL")))
            parseUrlRecord(text);
        else
            parsePosterRecords(text);
        QFAIL("no conversion error");
    } catch (const RecordError& e) {
        QCOMPARE(int(e.reason()), reason);
        QCOMPARE(e.field(), field);
        QCOMPARE(e.text(), badText);
        RecordError named = e;
        named.setFile(QStringLiteral("/w/card.txt"));
        QVERIFY(named.message().contains(QLatin1String("/w/card.txt")));
        QVERIFY(named.message().contains(field));
    }
}

void TestRecords::strictIntegers() {
    QCOMPARE(parseStrictInt(u"0").value(), 0);
    QCOMPARE(parseStrictInt(u"-12").value(), -12);
    QCOMPARE(parseStrictInt(u"+7").value(), 7);
    QCOMPARE(parseStrictInt(u"2147483647").value(), 2147483647);
    QCOMPARE(parseStrictInt(u"-2147483648").value(), -2147483647 - 1);
    for (const char16_t* bad :
         {u"", u"-", u" 1", u"1 ", u"1.0", u"0x10", u"2147483648", u"１２", u"99999999999999"})
        QVERIFY2(!parseStrictInt(bad).has_value(), qPrintable(QString::fromUtf16(bad)));
}

void TestRecords::webPaneLeavesTheRightEdgeFree() {
    const auto r = parseUrlRecord(QStringLiteral("<URL=\"a.htm\",s,1000,150,900,800,0>"));
    QCOMPARE(r->width, 860);
    const auto fits = parseUrlRecord(QStringLiteral("<URL=\"a.htm\",s,100,150,900,800,0>"));
    QCOMPARE(fits->width, 900);
}

QTEST_APPLESS_MAIN(TestRecords)
#include "tst_records.moc"
