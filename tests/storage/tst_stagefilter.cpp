#include "storage/stagefilter.h"

#include <QtTest>

class TestStageFilter : public QObject {
    Q_OBJECT
private slots:
    void stages_data();
    void stages();
};

void TestStageFilter::stages_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("ST1");
    QTest::addColumn<int>("ST2");
    QTest::addColumn<QString>("expected");
    const QString answer = QStringLiteral("Q/+ answer+/ end");
    QTest::newRow("answer shown") << answer << 1 << 0 << QStringLiteral("Q answer end");
    QTest::newRow("answer hidden") << answer << 0 << 1 << QStringLiteral("Q end");
    QTest::newRow("hint hidden") << QStringLiteral("/-hint-/") << 1 << 0 << QString();
    QTest::newRow("hint shown") << QStringLiteral("/-hint-/") << 0 << 2 << QStringLiteral("hint");
    QTest::newRow("start shown") << QStringLiteral("a/*b*/c") << 0 << 0 << QStringLiteral("abc");
    QTest::newRow("start hidden by ST1")
        << QStringLiteral("a/*b*/c") << 1 << 0 << QStringLiteral("ac");
    QTest::newRow("start hidden by ST2")
        << QStringLiteral("a/*b*/c") << 0 << 1 << QStringLiteral("ac");
    QTest::newRow("two blocks") << QStringLiteral("/+a+/-/+b+/") << 1 << 0 << QStringLiteral("a-b");
    QTest::newRow("negative counter") << QStringLiteral("x/+y+/") << -1 << 0 << QStringLiteral("x");
    // An unpaired marker takes the next character with it.
    QTest::newRow("unpaired") << QStringLiteral("ab/+cd") << 1 << 0 << QStringLiteral("abd");
    QTest::newRow("unpaired at end") << QStringLiteral("ab/-") << 0 << 0 << QStringLiteral("ab");
    QTest::newRow("unpaired twice") << QStringLiteral("/+/+x") << 1 << 0 << QStringLiteral("+x");
    QTest::newRow("markers only") << QStringLiteral("/-/-/-") << 0 << 1 << QString();
    QTest::newRow("close before open")
        << QStringLiteral("a+/b/+c+/") << 1 << 0 << QStringLiteral("a+/bc");
    // Removing a block can join a new marker, which is resolved in turn.
    QTest::newRow("joined marker") << QStringLiteral("//+x+/+y") << 0 << 0 << QString();
    // "/+" blocks are resolved first, so they may hold the other kinds.
    const QString nested = QStringLiteral("/+x/-y-/z+/");
    QTest::newRow("nested, outer only") << nested << 1 << 0 << QStringLiteral("xz");
    QTest::newRow("nested, both") << nested << 1 << 1 << QStringLiteral("xyz");
    QTest::newRow("nested, inner only") << nested << 0 << 1 << QString();
    QTest::newRow("inside start block")
        << QStringLiteral("/*a/+b+/c*/") << 0 << 0 << QStringLiteral("ac");
    // Crossed blocks: the "/+" pair goes first and keeps the "/-" pair whole.
    QTest::newRow("crossed kinds")
        << QStringLiteral("/-a/+b-/c+/") << 1 << 0 << QStringLiteral("c");
}

void TestStageFilter::stages() {
    QFETCH(QString, text);
    QFETCH(int, ST1);
    QFETCH(int, ST2);
    QFETCH(QString, expected);
    QCOMPARE(STANA(text, ST1, ST2), expected);
}

QTEST_APPLESS_MAIN(TestStageFilter)
#include "tst_stagefilter.moc"
