#include "logointerpreter.h"
#include "logopalette.h"
#include "projectfile.h"
#include "segmentclip.h"

#include "support/cp932.h"
#include <QTemporaryDir>

#include <QtTest>
#include <cmath>
#include <iconv.h>

Q_DECLARE_METATYPE(LogoErrorKind)

namespace {

LogoResult run(const QString& text) {
    LogoInterpreter interpreter;
    return interpreter.run(text);
}

double length(const LogoSegment& s) {
    return QLineF(s.from, s.to).length();
}

bool near(const QPointF& a, const QPointF& b) {
    return QLineF(a, b).length() < 1e-9;
}

QString errorOf(const LogoResult& r) {
    return r.error ? r.error->text() : QString();
}

// Where the turtle's y ends after "FD <expression>": the value itself.
double valueOf(const QString& expression) {
    const LogoResult r = run(QStringLiteral("FD ") + expression);
    return r.error ? qQNaN() : r.turtle.position.y();
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestLogo : public QObject {
    Q_OBJECT
private slots:
    void squareClosesAtHome();
    void movesAndTurns_data();
    void movesAndTurns();
    void penUpDrawsNothing();
    void penColoursAndSizes_data();
    void penColoursAndSizes();
    void nestedRepeatAndRepcount();
    void procedures_data();
    void procedures();
    void recursionStopsOnItsCondition();
    void expressions_data();
    void expressions();
    void errors_data();
    void errors();
    void runtimeErrorKeepsWhatWasDrawn();
    void runawayPrograms_data();
    void runawayPrograms();
    void limitsCanBeLowered();
    void palette();
    void clipping_data();
    void clipping();
    void projectEncodings_data();
    void projectEncodings();
    void undecodableProjectIsRefused();
    void projectSaveRoundTrip_data();
    void projectSaveRoundTrip();
    void projectFileErrors();
};

void TestLogo::squareClosesAtHome() {
    const LogoResult r = run(QStringLiteral("REPEAT 4 [FD 100 RT 90]"));
    QVERIFY2(!r.error, qPrintable(errorOf(r)));
    QCOMPARE(r.segments.size(), size_t(4));
    for (const LogoSegment& s : r.segments)
        QCOMPARE(length(s), 100.0);
    // Up first (y grows upwards), then clockwise to the right.
    QCOMPARE(r.segments[0].to, QPointF(0, 100));
    QCOMPARE(r.segments[1].to, QPointF(100, 100));
    QCOMPARE(r.turtle.position, QPointF(0, 0));
    QCOMPARE(r.turtle.heading, 0.0);
    QVERIFY(r.turtle.penDown);
}

void TestLogo::movesAndTurns_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<double>("heading");
    QTest::addColumn<int>("segments");
    QTest::newRow("forward") << "FD 50" << QPointF(0, 50) << 0.0 << 1;
    QTest::newRow("back") << "BACK 30" << QPointF(0, -30) << 0.0 << 1;
    QTest::newRow("right") << "RT 90 FD 10" << QPointF(10, 0) << 90.0 << 1;
    QTest::newRow("left") << "LEFT 90 FORWARD 10" << QPointF(-10, 0) << 270.0 << 1;
    QTest::newRow("diagonal") << "RIGHT 45 FD 10" << QPointF(std::sqrt(50.0), std::sqrt(50.0))
                              << 45.0 << 1;
    QTest::newRow("turns wrap") << "RT 450 LT 720" << QPointF() << 90.0 << 0;
    QTest::newRow("any case") << "fd 10 Rt 90 fD 10" << QPointF(10, 10) << 90.0 << 2;
    QTest::newRow("comments") << "FD 10 ; RT 90 FD 99\nFD 5 ;" << QPointF(0, 15) << 0.0 << 2;
    QTest::newRow("full-width") << "ＦＤ　２０　ＲＴ　９０" << QPointF(0, 20) << 90.0 << 1;
    QTest::newRow("home draws back") << "PU FD 10 PD RT 90 FD 10 HOME" << QPointF() << 0.0 << 2;
    QTest::newRow("clearscreen") << "FD 10 RT 30 CLEARSCREEN" << QPointF() << 0.0 << 0;
    QTest::newRow("cs then draw") << "FD 10 CS BK 5" << QPointF(0, -5) << 0.0 << 1;
    QTest::newRow("fd 0 draws nothing") << "FD 0" << QPointF() << 0.0 << 0;
    QTest::newRow("pentagon") << "REPEAT 5 [FD 80 RT 72]" << QPointF() << 0.0 << 5;
}

void TestLogo::movesAndTurns() {
    QFETCH(QString, text);
    QFETCH(QPointF, at);
    const LogoResult r = run(text);
    QVERIFY2(!r.error, qPrintable(errorOf(r)));
    QVERIFY2(
        QLineF(r.turtle.position, at).length() < 1e-9,
        qPrintable(QStringLiteral("%1,%2").arg(r.turtle.position.x()).arg(r.turtle.position.y())));
    QFETCH(double, heading);
    QVERIFY(std::abs(r.turtle.heading - heading) < 1e-9 ||
            std::abs(r.turtle.heading - heading) > 360 - 1e-9);
    QFETCH(int, segments);
    QCOMPARE(int(r.segments.size()), segments);
}

void TestLogo::penUpDrawsNothing() {
    LogoResult r = run(QStringLiteral("PU FD 100 RT 90 FD 50"));
    QVERIFY(!r.error);
    QVERIFY(r.segments.empty());
    QCOMPARE(r.turtle.position, QPointF(50, 100));
    QVERIFY(!r.turtle.penDown);

    r = run(QStringLiteral("PENUP FD 10 PENDOWN FD 10"));
    QCOMPARE(r.segments.size(), size_t(1));
    QCOMPARE(r.segments[0].from, QPointF(0, 10));
    QCOMPARE(r.segments[0].to, QPointF(0, 20));
}

void TestLogo::penColoursAndSizes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<double>("width");
    QTest::newRow("default") << "FD 10" << QColor(Qt::black) << 1.0;
    QTest::newRow("number") << "SETPC 4 FD 10" << QColor(255, 0, 0) << 1.0;
    QTest::newRow("long name") << "SETPENCOLOR 1 FD 10" << QColor(0, 0, 255) << 1.0;
    QTest::newRow("expression") << "SETPC 1 + 1 FD 10" << QColor(0, 255, 0) << 1.0;
    QTest::newRow("grey") << "SETPC 15 FD 10" << logoPaletteColour(15) << 1.0;
    QTest::newRow("name") << "SETPC red FD 10" << QColor(255, 0, 0) << 1.0;
    QTest::newRow("quoted name") << "setpc \"Orange FD 10" << logoPaletteColour(14) << 1.0;
    QTest::newRow("colour over procedure")
        << "TO red FD 1 END SETPC red FD 10" << QColor(255, 0, 0) << 1.0;
    QTest::newRow("web name") << "SETPC pink FD 10" << QColor(QStringLiteral("pink")) << 1.0;
    QTest::newRow("pen size") << "SETPENSIZE 4 SETPC 0 FD 10" << QColor(Qt::black) << 4.0;
    QTest::newRow("kept by cs") << "SETPC 4 SETPENSIZE 3 CS FD 10" << QColor(255, 0, 0) << 3.0;
}

void TestLogo::penColoursAndSizes() {
    QFETCH(QString, text);
    const LogoResult r = run(text);
    QVERIFY2(!r.error, qPrintable(errorOf(r)));
    QCOMPARE(r.segments.size(), size_t(1));
    QFETCH(QColor, colour);
    QCOMPARE(r.segments[0].colour, colour);
    QCOMPARE(r.turtle.colour, colour);
    QFETCH(double, width);
    QCOMPARE(r.segments[0].width, width);
}

void TestLogo::nestedRepeatAndRepcount() {
    // The inner loop counts 1, 2 each time; the outer count comes back after it.
    const LogoResult r = run(QStringLiteral("REPEAT 3 [\n  REPEAT 2 [FD REPCOUNT]\n"
                                            "  FD REPCOUNT * 10\n]\nREPEAT 0 [FD 1000]\n"
                                            "REPEAT -2 [FD 1000] REPEAT 2.7 [FD 100]"));
    QVERIFY2(!r.error, qPrintable(errorOf(r)));
    QList<double> lengths;
    for (const LogoSegment& s : r.segments)
        lengths << length(s);
    QCOMPARE(lengths, (QList<double>{1, 2, 10, 1, 2, 20, 1, 2, 30, 100, 100}));
}

void TestLogo::procedures_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<int>("segments");
    QTest::newRow("square") << "TO square :size\n  REPEAT 4 [FD :size RT 90]\nEND\nsquare 50"
                            << QPointF() << 4;
    QTest::newRow("two inputs") << "TO rect :w :h\nREPEAT 2 [FD :h RT 90 FD :w RT 90]\nEND\n"
                                   "RT 90 rect 30 20"
                                << QPointF() << 4;
    QTest::newRow("called above its TO")
        << "jump 10\nTO jump :d\nPU FD :d PD\nEND" << QPointF(0, 10) << 0;
    QTest::newRow("names in any case") << "TO Hop :Far FD :far END HOP 5" << QPointF(0, 5) << 1;
    QTest::newRow("negative second input")
        << "TO m :a :b FD :a RT 90 FD :b END m 10 -5" << QPointF(-5, 10) << 2;
    QTest::newRow("expression inputs")
        << "TO m :a :b FD :a RT 90 FD :b END m 2 * 5 (1 + 2)" << QPointF(3, 10) << 2;
    QTest::newRow("callers' inputs are seen") << "TO inner FD :n END\nTO outer :n inner END\n"
                                                 "outer 7"
                                              << QPointF(0, 7) << 1;
    QTest::newRow("inputs are local")
        << "MAKE \"a 1\nTO p :a MAKE \"a 100 END\np 5\nFD :a" << QPointF(0, 1) << 1;
    QTest::newRow("make from a procedure") << "TO p MAKE \"g 42 END p FD :g" << QPointF(0, 42) << 1;
    QTest::newRow("make twice") << "MAKE \"x 5 MAKE \"x :x * 2 FD :x" << QPointF(0, 10) << 1;
    QTest::newRow("stop at top level") << "FD 10 STOP FD 10" << QPointF(0, 10) << 1;
    QTest::newRow("stop in a loop ends the procedure")
        << "TO p REPEAT 10 [FD 1 IF REPCOUNT = 3 [STOP]] END p FD 100" << QPointF(0, 103) << 4;
    QTest::newRow("ifelse") << "IFELSE 1 < 2 [FD 10] [FD 20] IFELSE 2 < 1 [RT 90] [LT 90]"
                            << QPointF(0, 10) << 1;
}

void TestLogo::procedures() {
    QFETCH(QString, text);
    const LogoResult r = run(text);
    QVERIFY2(!r.error, qPrintable(errorOf(r)));
    QFETCH(QPointF, at);
    QVERIFY2(
        near(r.turtle.position, at),
        qPrintable(QStringLiteral("%1,%2").arg(r.turtle.position.x()).arg(r.turtle.position.y())));
    QFETCH(int, segments);
    QCOMPARE(int(r.segments.size()), segments);
}

void TestLogo::recursionStopsOnItsCondition() {
    const LogoResult r = run(QStringLiteral("TO spiral :n\n  IF :n > 50 [STOP]\n  FD :n RT 90\n"
                                            "  spiral :n + 10\nEND\nspiral 10"));
    QVERIFY2(!r.error, qPrintable(errorOf(r)));
    QCOMPARE(r.segments.size(), size_t(5));
    QCOMPARE(length(r.segments.back()), 50.0);
    // A binary tree of depth 6 draws 2^6 - 1 trunks and comes back home.
    const LogoResult tree =
        run(QStringLiteral("TO tree :n :d\nIF :d = 0 [STOP]\nFD :n LT 30 tree :n * 0.7 :d - 1\n"
                           "RT 60 tree :n * 0.7 :d - 1\nLT 30 BK :n\nEND\ntree 80 6"));
    QVERIFY2(!tree.error, qPrintable(errorOf(tree)));
    QCOMPARE(tree.segments.size(), size_t(2 * 63));
    QVERIFY(near(tree.turtle.position, QPointF()));
}

void TestLogo::expressions_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<double>("value");
    QTest::newRow("product first") << "2 + 3 * 4" << 14.0;
    QTest::newRow("parentheses") << "(2 + 3) * 4" << 20.0;
    QTest::newRow("minus from the left") << "10 - 4 - 3" << 3.0;
    QTest::newRow("division from the left") << "100 / 10 / 2" << 5.0;
    QTest::newRow("no spaces") << "10-4*2" << 2.0;
    QTest::newRow("unary minus") << "-5 + 10" << 5.0;
    QTest::newRow("negated group") << "-(2 + 3) * -2" << 10.0;
    QTest::newRow("minus after operator") << "2 * -3 + 10" << 4.0;
    QTest::newRow("decimals") << "0.5 * 4 + .25 * 4" << 3.0;
    QTest::newRow("fraction") << "1 / 4" << 0.25;
    QTest::newRow("comparison is last") << "1 + 1 = 2" << 1.0;
    QTest::newRow("less") << "2 < 1" << 0.0;
    QTest::newRow("greater") << "3 > 2 + 0.5" << 1.0;
    QTest::newRow("equal despite rounding") << "0.1 + 0.2 = 0.3" << 1.0;
    QTest::newRow("nested groups") << "((((1 + 1))) * (3 - (1 + 1)))" << 2.0;
}

void TestLogo::expressions() {
    QFETCH(QString, expression);
    QFETCH(double, value);
    QCOMPARE(valueOf(expression), value);
}

void TestLogo::errors_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<LogoErrorKind>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    using K = LogoErrorKind;
    QTest::newRow("unknown command")
        << "FD 10\nRT 90\nFOO 3" << K::UnknownWord << 3 << "知らない命令 FOO";
    QTest::newRow("word as value") << "\nFD size" << K::UnknownWord << 2 << "知らない言葉 size";
    QTest::newRow("first mistake first") << "FOO\nEND" << K::UnknownWord << 1 << "FOO";
    QTest::newRow("missing input")
        << "FD 10\nFD\nRT 90" << K::MissingInput << 2 << "FD の入力がありません";
    QTest::newRow("missing at the end") << "RT 90\nRT" << K::MissingInput << 2 << "RT";
    QTest::newRow("missing operand") << "FD 10 +\nRT 5" << K::MissingInput << 1 << "+ の後";
    QTest::newRow("repeat without list")
        << "\nREPEAT 4 FD 10" << K::MissingInput << 2 << "[ がありません";
    QTest::newRow("make without name") << "MAKE x 5" << K::MissingInput << 1 << "MAKE";
    QTest::newRow("unclosed list")
        << "FD 1\nREPEAT 4 [FD 10\nRT 90" << K::UnbalancedBrackets << 2 << "[ が閉じていません";
    QTest::newRow("stray close") << "FD 10\n]" << K::UnbalancedBrackets << 2 << "]";
    QTest::newRow("unclosed paren") << "FD (2 + 3\nRT 1" << K::UnbalancedBrackets << 1 << "(";
    QTest::newRow("stray paren") << "FD 2 )" << K::UnbalancedBrackets << 1 << ")";
    QTest::newRow("list unclosed in TO")
        << "TO a\nREPEAT 2 [FD 1\nEND" << K::UnbalancedBrackets << 2 << "[";
    QTest::newRow("end without to") << "FD 10\nEND" << K::EndWithoutTo << 2 << "TO のない END";
    QTest::newRow("to without end") << "FD 1\nTO sq :a\nFD :a\n"
                                    << K::MissingEnd << 2 << "TO sq に END がありません";
    QTest::newRow("to inside to") << "TO a\nFD 1\nTO b\nEND" << K::MissingEnd << 1 << "TO a";
    QTest::newRow("to without name") << "FD 1\nTO\n" << K::BadDefinition << 2 << "名前";
    QTest::newRow("to a command") << "TO fd :x\nEND" << K::BadDefinition << 1 << "fd";
    QTest::newRow("defined twice") << "TO a END\nTO A END" << K::BadDefinition << 2 << "A";
    QTest::newRow("input twice") << "TO a :x :x END" << K::BadDefinition << 1 << ":x";
    QTest::newRow("too few inputs")
        << "TO sq :a :b\nEND\nsq 10" << K::WrongInputCount << 3 << "入力が2個";
    QTest::newRow("too many inputs")
        << "FD 10 20" << K::WrongInputCount << 1 << "FD の入力が多すぎます";
    QTest::newRow("minus starts a value") << "FD 10 -5" << K::WrongInputCount << 1 << "-";
    QTest::newRow("too many for TO") << "TO p :a END\np 1 2" << K::WrongInputCount << 2 << "p";
    QTest::newRow("division by zero")
        << "FD 10\nRT 90\nFD 10 / (5 - 5)" << K::DivisionByZero << 3 << "0 で割る";
    QTest::newRow("division in a procedure")
        << "TO p :n\nFD 10\nFD 1 / :n\nEND\np 0" << K::DivisionByZero << 3 << "割る";
    QTest::newRow("unknown variable")
        << "FD 1\nFD :nothing" << K::UnknownVariable << 2 << ":nothing";
    QTest::newRow("input seen only inside")
        << "TO p :x END p 1 FD :x" << K::UnknownVariable << 1 << ":x";
    QTest::newRow("colour number") << "SETPC 16" << K::BadValue << 1 << "15";
    QTest::newRow("colour fraction") << "SETPC 2.5" << K::BadValue << 1 << "2.5";
    QTest::newRow("procedure as colour")
        << "TO sq END\nSETPC sq" << K::MissingInput << 2 << "SETPC";
    QTest::newRow("quoted colour") << "SETPC \"pinkish" << K::BadValue << 1 << "pinkish";
    QTest::newRow("colour name") << "SETPC pinkish" << K::BadValue << 1 << "知らない色 pinkish";
    QTest::newRow("pen size") << "SETPENSIZE 0" << K::BadValue << 1 << "太さ";
    QTest::newRow("overflow") << "FD 1e300 * 1e300" << K::BadValue << 1 << "大きすぎ";
    QTest::newRow("far away") << "REPEAT 100 [FD 1e307]" << K::BadValue << 1 << "大きすぎ";
    QTest::newRow("bad number") << "FD 1\nFD 12abc" << K::BadValue << 2 << "12abc";
    QTest::newRow("repcount outside") << "FD 1\nFD REPCOUNT" << K::Misplaced << 2 << "REPCOUNT";
    QTest::newRow("value alone") << "10" << K::Misplaced << 1 << "10";
    QTest::newRow("lone colon") << "FD 1\nFD : 5" << K::Misplaced << 2 << ":";
    QTest::newRow("to inside a list")
        << "REPEAT 2 [\nTO x END ]" << K::UnbalancedBrackets << 1 << "[";
}

void TestLogo::errors() {
    QFETCH(QString, text);
    QFETCH(LogoErrorKind, kind);
    QFETCH(int, line);
    QFETCH(QString, message);
    const LogoResult r = run(text);
    QVERIFY2(r.error, "no error");
    QVERIFY2(r.error->kind == kind, qPrintable(r.error->text()));
    QCOMPARE(r.error->line, line);
    QVERIFY2(r.error->message.contains(message), qPrintable(r.error->message));
    QCOMPARE(r.error->text(), QStringLiteral("%1行目: %2").arg(line).arg(r.error->message));
}

void TestLogo::runtimeErrorKeepsWhatWasDrawn() {
    LogoResult r = run(QStringLiteral("FD 10\nRT 90\nFD 1 / 0\nFD 10"));
    QVERIFY(r.error);
    QCOMPARE(r.segments.size(), size_t(1));
    QCOMPARE(r.turtle.position, QPointF(0, 10));
    QCOMPARE(r.turtle.heading, 90.0);
    // A mistake found by the parse stops the run before anything is drawn.
    r = run(QStringLiteral("FD 10\nFOO"));
    QVERIFY(r.error);
    QVERIFY(r.segments.empty());
}

void TestLogo::runawayPrograms_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<LogoErrorKind>("kind");
    QTest::addColumn<QString>("message");
    using K = LogoErrorKind;
    QTest::newRow("endless recursion") << "TO f f END f" << K::TooDeep << "呼び出しが深すぎます";
    QTest::newRow("recursion with inputs")
        << "TO f :n FD 1 f :n + 1 END f 0" << K::TooDeep << "呼び出しが深すぎます";
    QString nested = QStringLiteral("TO f ");
    for (int i = 0; i < 40; ++i)
        nested += QStringLiteral("REPEAT 1 [ ");
    nested += QStringLiteral("f ") + QString(QStringLiteral("] ")).repeated(40);
    QTest::newRow("recursion inside deep lists")
        << nested + "END f" << K::TooDeep << "呼び出しが深すぎます";
    QTest::newRow("huge loop") << "REPEAT 1e12 [FD 0]" << K::TooManyCommands << "命令が多すぎます";
    QTest::newRow("empty loop") << "REPEAT 1e12 []" << K::TooManyCommands << "命令が多すぎます";
    QTest::newRow("loops in loops")
        << "REPEAT 1e6 [REPEAT 1e6 [MAKE \"x 1]]" << K::TooManyCommands << "命令が多すぎます";
    QTest::newRow("wide recursion") << "TO t :n IF :n > 0 [t :n - 1 t :n - 1] END t 40"
                                    << K::TooManyCommands << "命令が多すぎます";
    QTest::newRow("deep parentheses") << "FD " + QString(QLatin1Char('(')).repeated(5000) + "1" +
                                             QString(QLatin1Char(')')).repeated(5000)
                                      << K::TooDeep << "入れ子";
    QTest::newRow("deep lists") << QString(QStringLiteral("REPEAT 1 [")).repeated(5000)
                                << K::TooDeep << "入れ子";
    QTest::newRow("many minus signs")
        << "FD " + QString(QLatin1Char('-')).repeated(5000) + "1" << K::TooDeep << "入れ子";
    QTest::newRow("long expression")
        << "FD 1" + QString(QStringLiteral("+1")).repeated(20000) << K::TooDeep << "長すぎ";
}

void TestLogo::runawayPrograms() {
    QFETCH(QString, text);
    QFETCH(LogoErrorKind, kind);
    QFETCH(QString, message);
    QElapsedTimer timer;
    timer.start();
    const LogoResult r = run(text);
    QVERIFY2(r.error, "no error");
    QVERIFY2(r.error->kind == kind, qPrintable(r.error->text()));
    QVERIFY2(r.error->message.contains(message), qPrintable(r.error->message));
    QVERIFY(r.commandCount <= LogoInterpreter::kDefaultMaxCommands + 1);
    QVERIFY2(timer.elapsed() < 30000, "a runaway text must stop quickly");
}

void TestLogo::limitsCanBeLowered() {
    LogoInterpreter interpreter;
    interpreter.setMaxCommands(10);
    LogoResult r = interpreter.run(QStringLiteral("REPEAT 100 [FD 1]"));
    QVERIFY(r.error && r.error->kind == LogoErrorKind::TooManyCommands);
    QCOMPARE(r.commandCount, qint64(11));
    QCOMPARE(r.segments.size(), size_t(4)); // each round and each FD count
    interpreter.setMaxCommands(LogoInterpreter::kDefaultMaxCommands);
    interpreter.setMaxDepth(3);
    r = interpreter.run(QStringLiteral("TO f :n FD 1 f :n + 1 END\nf 0"));
    QVERIFY(r.error && r.error->kind == LogoErrorKind::TooDeep);
    QCOMPARE(r.error->line, 1);
    QCOMPARE(r.segments.size(), size_t(3));
    // The same interpreter runs the next text from a clean start.
    r = interpreter.run(QStringLiteral("FD 5"));
    QVERIFY(!r.error);
    QCOMPARE(r.segments.size(), size_t(1));
    QCOMPARE(r.turtle.position, QPointF(0, 5));
}

void TestLogo::palette() {
    QCOMPARE(logoPaletteColour(0), QColor(0, 0, 0));
    QCOMPARE(logoPaletteColour(7), QColor(255, 255, 255));
    QVERIFY(!logoPaletteColour(16).isValid());
    QVERIFY(!logoPaletteColour(-1).isValid());
    const char* names[] = {"black",  "blue",   "green",  "cyan", "red",    "magenta",
                           "yellow", "white",  "brown",  "tan",  "forest", "aqua",
                           "salmon", "purple", "orange", "grey"};
    for (int i = 0; i < kLogoPaletteSize; ++i) {
        const auto named = logoColourForName(QString::fromLatin1(names[i]).toUpper());
        QVERIFY(named);
        QCOMPARE(*named, logoPaletteColour(i));
    }
    QCOMPARE(logoColourForName(QStringLiteral("Gray")).value_or(QColor()), logoPaletteColour(15));
    QVERIFY(!logoColourForName(QStringLiteral("#ff0000")));
    QVERIFY(!logoColourForName(QStringLiteral("transparent")));
    QVERIFY(!logoColourForName(QString()));
}

void TestLogo::clipping_data() {
    QTest::addColumn<QLineF>("line");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QLineF>("clipped");
    const QLineF none;
    QTest::newRow("inside") << QLineF(10, 10, 90, 50) << true << QLineF(10, 10, 90, 50);
    QTest::newRow("across") << QLineF(-50, 50, 150, 50) << true << QLineF(0, 50, 100, 50);
    QTest::newRow("from inside out") << QLineF(50, 50, 50, -1e12) << true << QLineF(50, 50, 50, 0);
    QTest::newRow("diagonal through")
        << QLineF(-100, -100, 200, 200) << true << QLineF(0, 0, 100, 100);
    QTest::newRow("beside") << QLineF(150, 0, 150, 100) << false << none;
    QTest::newRow("short of it") << QLineF(-50, 50, -10, 50) << false << none;
    QTest::newRow("misses the corner") << QLineF(90, -20, 120, 10) << false << none;
    QTest::newRow("point inside") << QLineF(5, 5, 5, 5) << true << QLineF(5, 5, 5, 5);
}

void TestLogo::clipping() {
    QFETCH(QLineF, line);
    QFETCH(bool, visible);
    QFETCH(QLineF, clipped);
    const auto result = clipSegment(line, QRectF(0, 0, 100, 100));
    QCOMPARE(result.has_value(), visible);
    if (visible) {
        QVERIFY(near(result->p1(), clipped.p1()));
        QVERIFY(near(result->p2(), clipped.p2()));
    }
}

void TestLogo::projectEncodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lineEnd");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<bool>("shiftJis");
    const QString japanese = QStringLiteral("; 四角をかく\nＦＤ　１０\n");
    QTest::newRow("utf-8 with mark")
        << QByteArray("\xEF\xBB\xBF") + japanese.toUtf8() << japanese << "\n"
        << true << false;
    QTest::newRow("utf-8 crlf") << QString(japanese).replace("\n", "\r\n").toUtf8() << japanese
                                << "\r\n"
                                << false << false;
    QTest::newRow("shift_jis") << toCp932(QString(japanese).replace("\n", "\r\n")) << japanese
                               << "\r\n"
                               << false << true;
    QTest::newRow("shift_jis katakana") << toCp932(QStringLiteral("TO ｶﾒ\rEND\r"))
                                        << QStringLiteral("TO ｶﾒ\nEND\n") << "\r" << false << true;
    QTest::newRow("mostly lf") << QByteArray("a\nb\r\nc\nd") << QStringLiteral("a\nb\nc\nd") << "\n"
                               << false << false;
    QTest::newRow("one line") << QByteArray("FD 10") << QStringLiteral("FD 10") << "\r\n"
                              << false << false;
    QTest::newRow("empty") << QByteArray() << QString() << "\r\n" << false << false;
}

void TestLogo::projectEncodings() {
    QFETCH(QByteArray, bytes);
    const std::optional<ProjectText> project = decodeProjectText(bytes);
    QVERIFY(project);
    QTEST(project->text, "text");
    QTEST(project->lineEnd, "lineEnd");
    QTEST(project->byteOrderMark, "bom");
    QTEST(project->fromShiftJis, "shiftJis");
}

void TestLogo::undecodableProjectIsRefused() {
    // Neither UTF-8 nor CP932: a lead byte with nothing after it.
    QVERIFY(!decodeProjectText(QByteArray("FD 10\n\x81", 7)));
    QVERIFY(!decodeProjectText(QByteArray("\xEF\xBB\xBF\xFF\xFE", 5)));
}

void TestLogo::projectSaveRoundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("crlf with mark") << QByteArray("\xEF\xBB\xBF"
                                                  "FD 10\r\nRT 90\r\n");
    QTest::newRow("lf") << QStringLiteral("; かめ\nFD 10\n").toUtf8();
    QTest::newRow("cr, no last break") << QByteArray("FD 10\rRT 90");
    QTest::newRow("blank lines") << QByteArray("\r\n\r\nFD 1\r\n\r\n");
}

void TestLogo::projectSaveRoundTrip() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.trx"));
    writeBytes(path, bytes);
    ProjectText project;
    QString error;
    QVERIFY(readProjectFile(path, &project, &error));
    QVERIFY(writeProjectFile(path, project, &error));
    QCOMPARE(readBytes(path), bytes);
    // An edit changes only the lines it touches.
    project.text.prepend(QStringLiteral("CS\n"));
    QVERIFY(writeProjectFile(path, project, &error));
    const QByteArray mark = project.byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    QCOMPARE(readBytes(path), mark + "CS" + project.lineEnd.toLatin1() + bytes.mid(mark.size()));
}

void TestLogo::projectFileErrors() {
    QTemporaryDir dir;
    ProjectText project;
    QString error;
    QVERIFY(!readProjectFile(dir.filePath(QStringLiteral("none.trx")), &project, &error));
    QVERIFY(!error.isEmpty());
    error.clear();
    project.text = QStringLiteral("FD 10");
    QVERIFY(!writeProjectFile(dir.filePath(QStringLiteral("no/such/dir/a.trx")), project, &error));
    QVERIFY(!error.isEmpty());
    // A Shift_JIS project is saved as UTF-8, keeping its line ends.
    const QString path = dir.filePath(QStringLiteral("old.tr2"));
    writeBytes(path, toCp932(QStringLiteral("; 星\r\nFD 10\r\n")));
    QVERIFY(readProjectFile(path, &project, &error));
    QVERIFY(project.fromShiftJis);
    QVERIFY(writeProjectFile(path, project, &error));
    QCOMPARE(readBytes(path), QStringLiteral("; 星\r\nFD 10\r\n").toUtf8());
}

QTEST_GUILESS_MAIN(TestLogo)
#include "tst_logo.moc"
