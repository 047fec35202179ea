#include "dialogs/cardrules.h"
#include "model/wallgeometry.h"

#include <QSet>
#include <QtTest>

class TestCardRules : public QObject {
    Q_OBJECT
private slots:
    void proposedNames();
    void quickNameChecks();
    void editorFileNames();
    void arrows_data();
    void arrows();
    void nameTagLines();
    void nameTagFileNames();
    void nameTagColumns();
    void editorKeepsTheCardInSight();
};

void TestCardRules::proposedNames() {
    const QSet<QString> files{"garden.txt", "garden2.txt", "アイデア.txt"};
    const NameTaken taken = [&files](const QString& name) { return files.contains(name); };
    QCOMPARE(proposedCardName("/w/garden/", taken), QStringLiteral("garden3"));
    QCOMPARE(proposedCardName("C:\\w\\garden\\", taken), QStringLiteral("garden3"));
    QCOMPARE(proposedCardName("/w/new/", taken), QStringLiteral("new"));
    // A drive root or the file system's root has no name of its own.
    QCOMPARE(proposedCardName("D:\\", taken), QStringLiteral("アイデア2"));
    QCOMPARE(proposedCardName("/", taken), QStringLiteral("アイデア2"));
}

void TestCardRules::quickNameChecks() {
    const NameTaken taken = [](const QString& name) {
        return name == "old.txt" || name == QStringLiteral("x？.txt");
    };
    QCOMPARE(checkQuickName("", taken).problem, NameProblem::Empty);
    QCOMPARE(checkQuickName("\r\n", taken).problem, NameProblem::Empty);
    QCOMPARE(checkQuickName("old", taken).problem, NameProblem::Taken);
    QCOMPARE(nameProblemMessage(checkQuickName("old", taken)),
             QStringLiteral("同名があります。\n別の名前にしてください。"));
    // Characters a file name cannot hold are given in full width, and the
    // name so made is the one looked up.
    const NameCheck q = checkQuickName("a?b:c", taken);
    QCOMPARE(q.problem, NameProblem::None);
    QCOMPARE(q.fileName, QStringLiteral("a？b：c.txt"));
    QCOMPARE(checkQuickName("x?", taken).problem, NameProblem::Taken);
    QCOMPARE(checkQuickName(QString(84, QChar(0x6F22)), taken).problem, NameProblem::TooLong);
    // Two lines make one name.
    const NameCheck two = checkQuickName("a\nb", taken);
    QCOMPARE(two.problem, NameProblem::None);
    QCOMPARE(two.fileName, QStringLiteral("ab.txt"));
}

void TestCardRules::editorFileNames() {
    QCOMPARE(cardFileNameFor("a"), QStringLiteral("a.txt"));
    QCOMPARE(cardFileNameFor("a.txt"), QStringLiteral("a.txt"));
    QCOMPARE(cardFileNameFor("a.TXT"), QStringLiteral("a.TXT.txt")); // the test is exact
    QCOMPARE(cardFileNameFor("C:\\x\\b"), QStringLiteral("C：￥x￥b.txt"));
    QCOMPARE(cardFileNameFor("1/2組"), QStringLiteral("1／2組.txt"));
    QCOMPARE(cardFileNameFor("a?"), QStringLiteral("a？.txt"));
    QCOMPARE(cardFileNameFor(""), QString());
    QCOMPARE(cardFileNameFor(QString(84, QChar(0x6F22))), QString());
}

void TestCardRules::arrows_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<int>("arrow");
    QTest::addColumn<QPoint>("to");
    // A 100 × 50 text area on a 1000 × 600 wall.
    QTest::newRow("right") << QPoint(100, 100) << int(Arrow::Right) << QPoint(200, 100);
    QTest::newRow("right near edge") << QPoint(850, 100) << int(Arrow::Right) << QPoint(900, 100);
    QTest::newRow("left") << QPoint(300, 100) << int(Arrow::Left) << QPoint(200, 100);
    QTest::newRow("left near edge") << QPoint(150, 100) << int(Arrow::Left) << QPoint(0, 100);
    QTest::newRow("down") << QPoint(0, 100) << int(Arrow::Down) << QPoint(0, 150);
    QTest::newRow("down at bottom") << QPoint(0, 560) << int(Arrow::Down) << QPoint(0, 550);
    QTest::newRow("up") << QPoint(0, 100) << int(Arrow::Up) << QPoint(0, 50);
    QTest::newRow("up at top") << QPoint(0, 50) << int(Arrow::Up) << QPoint(0, 0);
}

void TestCardRules::arrows() {
    QFETCH(QPoint, from);
    QFETCH(int, arrow);
    QFETCH(QPoint, to);
    QCOMPARE(arrowStep(from, QSize(100, 50), QSize(1000, 600), Arrow(arrow)), to);
}

void TestCardRules::nameTagLines() {
    QCOMPARE(nameTagItems("A\r\nB\r\n\r\nC\r\n"), (QStringList{"A", "B"}));
    QCOMPARE(nameTagItems("A\nB"), (QStringList{"A", "B"})); // no final line break
    QCOMPARE(nameTagItems("1/2組\n3組\n"), (QStringList{"1/2組", "3組"}));
    QCOMPARE(nameTagItems(""), QStringList());
    QCOMPARE(nameTagItems("A\n" + QString(256, 'x') + "\nB"), QStringList{"A"});
}

void TestCardRules::nameTagFileNames() {
    const NameTaken taken = [](const QString& name) { return name == QStringLiteral("a？2.txt"); };
    const NameTagNames names =
        nameTagNames({"1組:田中", "2組:田中", "a?", "a？", "C:\\Users\\太郎", "\t", "z"}, taken);
    // Two lines that still give one name are both kept, the later numbered
    // past every name taken; a line that gives no name ends the list.
    QCOMPARE(names.fileNames, (QStringList{"1組：田中.txt", "2組：田中.txt", "a？.txt", "a？3.txt",
                                           "C：￥Users￥太郎.txt"}));
    QCOMPARE(names.numbered, QStringList{"4行目「a？」→「a？3.txt」"});
    QCOMPARE(names.unusable, 5);
}

void TestCardRules::nameTagColumns() {
    // On a 1920 × 1080 wall: 160 × 28 tags from 40, 15, each 29 lower; the
    // column is full when the next would end within 5 of the bottom.
    QCOMPARE(nameTagSize(1920, 1080), QSize(160, 28));
    const QVector<QPoint> at = nameTagPlaces(80, 1920, 1080);
    QCOMPARE(at[0], QPoint(40, 15));
    QCOMPARE(at[1], QPoint(40, 44));
    // 15 + 35 × 29 = 1030 is the last: at 1059 a tag would reach 1092 > 1080.
    QCOMPARE(at[35], QPoint(40, 15 + 35 * 29));
    QCOMPARE(at[36], QPoint(360, 15));
    // A column that would start within 150 of the right edge starts at 25.
    const QVector<QPoint> narrow = nameTagPlaces(40, 400, 225);
    QVERIFY(narrow.size() == 40);
    for (const QPoint& p : narrow)
        QVERIFY(p.x() <= 400 - scaleToWallX(150, 400) || p.x() == scaleToWallX(25, 400));
}

void TestCardRules::editorKeepsTheCardInSight() {
    const QRect wall(0, 0, 1366, 768);
    const QSize frame(743, 502);
    // A card in a corner leaves the centred place free.
    QCOMPARE(cardEditorPlace(wall, frame, QRect(10, 10, 100, 50)), QPoint(311, 133));
    // A card in the middle-left: the editor goes to its right, level with it.
    QCOMPARE(cardEditorPlace(wall, frame, QRect(356, 71, 213, 100)), QPoint(569, 0));
    // A wide card across the middle: below or above it.
    QCOMPARE(cardEditorPlace(wall, frame, QRect(100, 40, 1100, 200)), QPoint(278, 240));
    // Nowhere clear (or a wall smaller than the editor): centred after all.
    QCOMPARE(cardEditorPlace(wall, frame, QRect(0, 200, 1366, 368)), QPoint(311, 133));
    QCOMPARE(cardEditorPlace(QRect(0, 0, 600, 400), frame, QRect(0, 0, 10, 10)), QPoint(-71, -51));
}

QTEST_APPLESS_MAIN(TestCardRules)
#include "tst_cardrules.moc"
