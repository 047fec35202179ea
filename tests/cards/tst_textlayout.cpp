#include "cards/textcutting.h"
#include "cards/textplacing.h"
#include "storage/refspace.h"

#include <QFontMetrics>
#include <QtTest>

class TestTextLayout : public QObject {
    Q_OBJECT
private slots:
    void cutting_data();
    void cutting();
    void rowPlacing_data();
    void rowPlacing();
    void mainSize_data();
    void mainSize();
    void formulaOnCard();
    void middleTextMeasuresTheDrop();
    void flashWindow();
    void pieceSizes();
    void memoLines_data();
    void memoLines();
};

void TestTextLayout::cutting_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pieces"); // the six pieces joined by '|'
    const auto row = [](const char* text, const char* pieces) {
        QTest::newRow(text) << QString::fromUtf8(text) << QString::fromUtf8(pieces);
    };
    row("H2O", "H|2|O|||");
    row("CO2", "CO|2||||");
    row("NH4+1", "NH|4|||+|");
    row("SO4-2", "SO|4|||2-|");
    row("Na+", "Na||||+|");
    row("12+3", "12||||3+|");
    row("C6H12O6", "C|6|H12O|6||");
    row("H2SO4", "H2SO|4||||");
    row("2H2O", "2H2O|||||");
    row("C12H22O11", "C12H22O11|||||");
    row("text without codes", "text without codes|||||");
    row("+1", "+1|||||");
    row("★H2O", "★H2O|||||");
    row("A-2B+1C", "A||||2-|B");
    QTest::newRow("empty") << QString() << QStringLiteral("|||||");
    row("Fe+3 ion", "Fe||||3+| ion");
    row("H2O2 gas", "H|2|O|2|| gas");
    row("Pb 2", "Pb 2|||||");
    row("Ca(2", "Ca(2|||||");
    // A digit right after the first subscript keeps the text after it.
    row("H22O", "H|2||2||O");
    row("H22O-1", "H|2||2|-|O");
}

void TestTextLayout::cutting() {
    QFETCH(QString, text);
    QFETCH(QString, pieces);
    const TextPieces p = cutCardText(text);
    QCOMPARE(QStringList(p.piece.begin(), p.piece.end()).join(QLatin1Char('|')), pieces);
}

void TestTextLayout::rowPlacing_data() {
    QTest::addColumn<QVector<int>>("widths");
    QTest::addColumn<int>("W");
    QTest::addColumn<QVector<int>>("lefts");
    QTest::newRow("centred") << QVector<int>{10, 5, 8, 0, 0, 0} << 100
                             << QVector<int>{38, 48, 53, 61, 61, 61};
    // No middle text: the charge stands above the first subscript.
    QTest::newRow("charge over first")
        << QVector<int>{20, 6, 0, 0, 4, 0} << 50 << QVector<int>{10, 30, 36, 36, 30, 40};
    // The charge column is as wide as the wider of subscript and charge.
    QTest::newRow("charge over second")
        << QVector<int>{10, 5, 8, 5, 9, 12} << 60 << QVector<int>{8, 18, 23, 31, 31, 40};
    // -11 / 2 truncates to -5.
    QTest::newRow("wider than card")
        << QVector<int>{51, 0, 0, 0, 0, 0} << 40 << QVector<int>{-5, 46, 46, 46, 46, 46};
}

void TestTextLayout::rowPlacing() {
    QFETCH(QVector<int>, widths);
    QFETCH(int, W);
    QFETCH(QVector<int>, lefts);
    std::array<int, 6> w{};
    std::copy(widths.begin(), widths.end(), w.begin());
    const std::array<int, 6> got = placeRow(w, W);
    QCOMPARE(QVector<int>(got.begin(), got.end()), lefts);
}

void TestTextLayout::mainSize_data() {
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<int>("NOWY");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << 100 << 1 << false << 1080 << 50;
    QTest::newRow("no lines") << 100 << 0 << false << 1080 << 50;
    QTest::newRow("three lines") << 100 << 3 << false << 1080 << 17;
    QTest::newRow("half to even") << 5 << 1 << false << 1080 << 2;
    QTest::newRow("picture 12.5") << 100 << 1 << true << 1080 << 12;
    QTest::newRow("picture 17.5") << 140 << 1 << true << 1080 << 18;
    QTest::newRow("picture floor") << 40 << 1 << true << 1080 << 10;
    QTest::newRow("picture floor 768") << 40 << 1 << true << 768 << 7;
}

void TestTextLayout::mainSize() {
    QFETCH(int, H);
    QFETCH(int, lines);
    QFETCH(bool, picture);
    QFETCH(int, NOWY);
    QFETCH(int, expected);
    QCOMPARE(mainFontSize(H, lines, picture, NOWY), expected);
}

void TestTextLayout::formulaOnCard() {
    const PiecePlacement got =
        placeCardText(cutCardText(QStringLiteral("H2O")), QSize(200, 100), 1, false, 1080, false);
    QCOMPARE(got.pointSize[0], 50);
    QCOMPARE(got.pointSize[1], 25);
    QCOMPARE(got.pointSize[2], 50);
    const QFontMetrics big(cardFont(50));
    const QFontMetrics small(cardFont(25));
    const int w1 = big.horizontalAdvance(QStringLiteral("H"));
    const int w2 = small.horizontalAdvance(QStringLiteral("2"));
    const int w3 = big.horizontalAdvance(QStringLiteral("O"));
    const int h1 = big.lineSpacing();
    const int left1 = (200 - w1 - w2 - w3) / 2;
    const int top1 = roundHalfEven(h1 / 5.0);
    QCOMPARE(got.rect[0], QRect(left1, top1, w1, h1));
    QCOMPARE(got.rect[1], QRect(left1 + w1, top1 + h1 / 2, w2, small.lineSpacing()));
    QCOMPARE(got.rect[2], QRect(left1 + w1 + w2, top1, w3, h1));
    for (int i = 3; i < 6; ++i)
        QCOMPARE(got.rect[i], QRect(left1 + w1 + w2 + w3, i == 3 ? top1 + h1 / 2 : top1, 0, 0));
}

void TestTextLayout::middleTextMeasuresTheDrop() {
    TextPieces p;
    p.piece = {QStringLiteral("H"), QStringLiteral("2"), QStringLiteral("O\nO")};
    const int ls = QFontMetrics(cardFont(12)).lineSpacing();
    // With a picture the text sits 4 pixels down on a 768-line wall (3.56).
    const PiecePlacement first = placeCardText(p, QSize(300, 100), 1, true, 768, true);
    QCOMPARE(first.rect[0].top(), 4);
    QCOMPARE(first.rect[1].top(), 4 + ls);
    QCOMPARE(first.rect[2].height(), 2 * ls);
    const PiecePlacement later = placeCardText(p, QSize(300, 100), 1, true, 768, false);
    QCOMPARE(later.rect[1].top(), 4 + ls / 2);
}

void TestTextLayout::flashWindow() {
    const FlashPlacement got = placeFlashText(cutCardText(QStringLiteral("NH4+1")), 2, 1080);
    QCOMPARE(got.pointSize[0], 60);
    QCOMPARE(got.pointSize[4], 30);
    const QFontMetrics big(flashFont(60));
    const QFontMetrics small(flashFont(30));
    const int w1 = big.horizontalAdvance(QStringLiteral("NH"));
    const int w2 = small.horizontalAdvance(QStringLiteral("4"));
    const int w5 = small.horizontalAdvance(QStringLiteral("+"));
    QCOMPARE(got.rect[0].topLeft(), QPoint(0, 5));
    QCOMPARE(got.rect[1].topLeft(), QPoint(w1, 5 + big.lineSpacing() / 2));
    QCOMPARE(got.rect[4].topLeft(), QPoint(w1, 5)); // above the subscript
    QCOMPARE(got.window, QSize(w1 + w2 + w5 + 10, 240));
}

void TestTextLayout::pieceSizes() {
    const QFont font = cardFont(20);
    const QFontMetrics m(font);
    QCOMPARE(pieceSize(font, QString()), QSize(0, 0));
    QCOMPARE(pieceSize(font, QStringLiteral("ab\r\nabcd\rx")),
             QSize(m.horizontalAdvance(QStringLiteral("abcd")), 3 * m.lineSpacing()));
}

void TestTextLayout::memoLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("lines");
    const QFontMetrics m(cardFont(20));
    const auto adv = [&m](const char* s) { return m.horizontalAdvance(QLatin1String(s)); };
    QTest::newRow("one line") << QStringLiteral("hello") << 400 << 1;
    QTest::newRow("three lines") << QStringLiteral("a\r\nb\nc") << 400 << 3;
    QTest::newRow("CR only") << QStringLiteral("a\rb") << 400 << 2;
    QTest::newRow("trailing break") << QStringLiteral("a\r\nb\r\n") << 400 << 2;
    QTest::newRow("blank line") << QStringLiteral("a\r\n\r\nb") << 400 << 3;
    QTest::newRow("empty") << QString() << 400 << 1;
    const int twoWords = adv("aaaa aaaa");
    QTest::newRow("words fit") << QStringLiteral("aaaa aaaa") << twoWords + 9 << 1;
    QTest::newRow("frame taken") << QStringLiteral("aaaa aaaa") << twoWords + 4 << 2;
    QTest::newRow("words wrap") << QStringLiteral("aaaa aaaa aaaa")
                                << 8 + (adv("aaaa") + twoWords) / 2 << 3;
    QTest::newRow("long word") << QStringLiteral("aaaaaaaaaaaa")
                               << 8 + (adv("aaaa") + adv("aaaaa")) / 2 << 3;
}

void TestTextLayout::memoLines() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, lines);
    QCOMPARE(countMemoLines(text, width, cardFont(20)), lines);
}

QTEST_MAIN(TestTextLayout)
#include "tst_textlayout.moc"
