#include "model/linkrules.h"

#include <QSet>
#include <QtTest>

Q_DECLARE_METATYPE(LinkAction)
Q_DECLARE_METATYPE(TargetKind)

namespace {

const QString kData = QStringLiteral("/d/zavik-data/");
const QString kWall = QStringLiteral("/d/zavik-data/sub/");

} // namespace

class TestLinkRules : public QObject {
    Q_OBJECT
private slots:
    void decisionTable_data();
    void decisionTable();
    void cardCommands_data();
    void cardCommands();
    void cardSizesSaturate_data();
    void cardSizesSaturate();
    void targets_data();
    void targets();
    void stageSwitch();
    void desktopCopies();
    void navigation();
};

void TestLinkRules::decisionTable_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<LinkAction>("action");
    QTest::addColumn<QString>("argument");
    QTest::newRow("exit") << "<<<" << LinkAction::ExitWithoutSaving << "";
    QTest::newRow("save exit") << "<<" << LinkAction::SaveAndExit << "";
    QTest::newRow("mark") << "<@" << LinkAction::BackToMark << "";
    QTest::newRow("home") << "<\\" << LinkAction::Home << "";
    QTest::newRow("back") << "<" << LinkAction::Back << "";
    QTest::newRow("desktop") << ">DL\\名前" << LinkAction::CopyToDesktop << "\\名前";
    QTest::newRow("DL before D") << ">DL" << LinkAction::CopyToDesktop << "";
    QTest::newRow("folder") << "pics\\>" << LinkAction::OpenFolder << "pics\\";
    QTest::newRow("folder slash") << "pics/>" << LinkAction::OpenFolder << "pics/";
    QTest::newRow("this folder") << ">" << LinkAction::OpenFolder << "";
    QTest::newRow("print") << ">PRN" << LinkAction::Print << "";
    QTest::newRow("csv") << ">CSV" << LinkAction::Csv << "";
    QTest::newRow("background") << "bg.jpg>BG" << LinkAction::Background << "bg.jpg";
    QTest::newRow("card command") << ">R20" << LinkAction::CardCommand << "";
    QTest::newRow("picture with zoom") << "a.jpg>2" << LinkAction::Target << "";
    QTest::newRow("not exact") << "<< " << LinkAction::Target << "";
    QTest::newRow("lower r is no command") << ">r20" << LinkAction::Target << "";
}

void TestLinkRules::decisionTable() {
    QFETCH(QString, link);
    QFETCH(LinkAction, action);
    QFETCH(QString, argument);
    const LinkDecision d = decideLink(link);
    QCOMPARE(d.action, action);
    if (action != LinkAction::CardCommand && action != LinkAction::Target)
        QCOMPARE(d.argument, argument);
}

void TestLinkRules::cardCommands_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("clickX");
    QTest::addColumn<int>("clickY");
    QTest::addColumn<QRect>("after"); // from 100,100 200×100, clicked in a 200×100 card
    QTest::addColumn<bool>("save");
    QTest::newRow(">R20") << ">R20" << 10 << 10 << QRect(120, 100, 200, 100) << false;
    QTest::newRow(">SR20") << ">SR20" << 10 << 10 << QRect(120, 100, 200, 100) << true;
    QTest::newRow(">L5") << ">L5" << 10 << 10 << QRect(95, 100, 200, 100) << false;
    QTest::newRow(">U7") << ">U7" << 10 << 10 << QRect(100, 93, 200, 100) << false;
    QTest::newRow(">SD7") << ">SD7" << 10 << 10 << QRect(100, 107, 200, 100) << true;
    QTest::newRow(">W30 right half") << ">W30" << 150 << 10 << QRect(100, 100, 230, 100) << false;
    QTest::newRow(">W30 left half") << ">W30" << 50 << 10 << QRect(100, 100, 170, 100) << false;
    QTest::newRow(">W30 middle") << ">W30" << 100 << 10 << QRect(100, 100, 170, 100) << false;
    QTest::newRow(">w30 middle") << ">w30" << 100 << 10 << QRect(130, 100, 170, 100) << false;
    QTest::newRow(">w30 left") << ">w30" << 10 << 10 << QRect(70, 100, 230, 100) << false;
    QTest::newRow(">H10 lower") << ">H10" << 10 << 50 << QRect(100, 110, 200, 90) << false;
    QTest::newRow(">H10 upper") << ">H10" << 10 << 10 << QRect(100, 90, 200, 110) << false;
    QTest::newRow(">Sh10 lower") << ">Sh10" << 10 << 80 << QRect(100, 100, 200, 110) << true;
    QTest::newRow(">h10 upper") << ">h10" << 10 << 10 << QRect(100, 100, 200, 90) << false;
    QTest::newRow("below 1 is 0") << ">R-5" << 10 << 10 << QRect(100, 100, 200, 100) << false;
    // The largest numbers move a card ten walls at most, without overflow.
    QTest::newRow(">SR huge") << ">SR2147483647" << 10 << 10
                              << QRect(100 + kLongestCardStep, 100, 200, 100) << true;
}

void TestLinkRules::cardCommands() {
    QFETCH(QString, link);
    QFETCH(int, clickX);
    QFETCH(int, clickY);
    QFETCH(QRect, after);
    QFETCH(bool, save);
    const LinkDecision d = decideLink(link);
    QCOMPARE(d.action, LinkAction::CardCommand);
    QCOMPARE(d.card.save, save);
    QVERIFY(d.card.n.has_value());
    const CardGeometry g =
        applyCardCommand({100, 100, 200, 100}, d.card, clickX, clickY, 200, 100, {1920, 1080});
    QCOMPARE(QRect(g.left, g.top, g.width, g.height), after);
    // A rest that is no integer is refused, not guessed.
    QVERIFY(!decideLink(">R2x").card.n.has_value());
    QVERIFY(!decideLink(">SW").card.n.has_value());
}

void TestLinkRules::cardSizesSaturate_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QRect>("before");
    QTest::addColumn<QPoint>("click"); // inside the card
    QTest::addColumn<QRect>("after");  // on a 1920 × 1080 wall
    const QString huge = QStringLiteral("2147483647");
    const QRect card(100, 100, 200, 100);
    QTest::newRow(">SW grows to the wall")
        << ">SW" + huge << card << QPoint(150, 10) << QRect(100, 100, 1920, 100);
    QTest::newRow(">Sw grows to the wall")
        << ">Sw" + huge << card << QPoint(10, 10) << QRect(100 - 1720, 100, 1920, 100);
    QTest::newRow(">SH grows to the wall")
        << ">SH" + huge << card << QPoint(10, 10) << QRect(100, 100 - 980, 200, 1080);
    QTest::newRow(">Sh grows to the wall")
        << ">Sh" + huge << card << QPoint(10, 80) << QRect(100, 100, 200, 1080);
    QTest::newRow(">SW shrinks to the floor")
        << ">SW" + huge << card << QPoint(10, 10) << QRect(100, 100, 16, 100);
    QTest::newRow(">w shrinks to the floor")
        << ">w" + huge << card << QPoint(150, 10) << QRect(284, 100, 16, 100);
    QTest::newRow(">H shrinks to the floor")
        << ">H" + huge << card << QPoint(10, 80) << QRect(100, 184, 200, 16);
    QTest::newRow(">h shrinks to the floor")
        << ">h" + huge << card << QPoint(10, 10) << QRect(100, 100, 200, 16);
    QTest::newRow("shrink at the floor")
        << ">W5" << QRect(100, 100, 16, 100) << QPoint(2, 10) << QRect(100, 100, 16, 100);
    QTest::newRow("shrink below the floor")
        << ">H5" << QRect(100, 100, 200, 10) << QPoint(10, 8) << QRect(100, 100, 200, 10);
    QTest::newRow("grow at the wall's size")
        << ">W30" << QRect(0, 100, 1920, 100) << QPoint(1500, 10) << QRect(0, 100, 1920, 100);
    QTest::newRow("grow past the wall's size")
        << ">h30" << QRect(0, 0, 200, 1500) << QPoint(10, 1400) << QRect(0, 0, 200, 1500);
    QTest::newRow("grow up to the wall's size")
        << ">w30" << QRect(100, 0, 1900, 100) << QPoint(10, 10) << QRect(80, 0, 1920, 100);
}

void TestLinkRules::cardSizesSaturate() {
    QFETCH(QString, link);
    QFETCH(QRect, before);
    QFETCH(QPoint, click);
    QFETCH(QRect, after);
    const CardGeometry g = applyCardCommand(
        {before.x(), before.y(), before.width(), before.height()}, decideLink(link).card, click.x(),
        click.y(), before.width(), before.height(), {1920, 1080});
    QCOMPARE(QRect(g.left, g.top, g.width, g.height), after);
}

void TestLinkRules::targets_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<TargetKind>("kind");
    QTest::addColumn<QString>("path");
    QTest::addColumn<double>("zoom");
    QTest::newRow("picture") << "cat.jpg" << TargetKind::Picture << kWall + "cat.jpg" << 1.0;
    QTest::newRow("zoom 0.5") << "cat.jpg>0.5" << TargetKind::Picture << kWall + "cat.jpg" << 0.5;
    QTest::newRow("zoom comma") << "cat.jpg>1,5" << TargetKind::Picture << kWall + "cat.jpg" << 1.5;
    QTest::newRow("zoom 0 is 1") << "cat.jpg>0" << TargetKind::Picture << kWall + "cat.jpg" << 1.0;
    QTest::newRow("zoom word") << "cat.jpg>big" << TargetKind::Picture << kWall + "cat.jpg" << 1.0;
    QTest::newRow("png upper") << "A.PNG" << TargetKind::Picture << kWall + "A.PNG" << 1.0;
    QTest::newRow("sound") << "..music\\a.mp3" << TargetKind::Sound << kData + "music/a.mp3" << 1.0;
    QTest::newRow("page") << "p.html" << TargetKind::Page << kWall + "p.html" << 1.0;
    QTest::newRow("logo") << "t.tr2" << TargetKind::Logo << kWall + "t.tr2" << 1.0;
    QTest::newRow("other file") << "doc.pdf" << TargetKind::OtherFile << kWall + "doc.pdf" << 1.0;
    QTest::newRow("sub-wall") << "pics\\" << TargetKind::Wall << kWall + "pics/" << 1.0;
    QTest::newRow("sub-wall slash") << "pics/" << TargetKind::Wall << kWall + "pics/" << 1.0;
    QTest::newRow("data wall") << "..x\\" << TargetKind::Wall << kData + "x/" << 1.0;
    QTest::newRow("marked") << "a\\@" << TargetKind::Wall << kWall + "a/" << 1.0;
    QTest::newRow("drive") << "D:\\教材\\" << TargetKind::MissingFolder << "D:/教材/" << 1.0;
    QTest::newRow("web") << "https://example.org/" << TargetKind::WebAddress
                         << "https://example.org/" << 1.0;
    QTest::newRow("missing file") << "gone.jpg" << TargetKind::Nothing << kWall + "gone.jpg" << 1.0;
    QTest::newRow("folder without separator")
        << "pics" << TargetKind::Nothing << kWall + "pics" << 1.0;
    QTest::newRow("only a zoom") << ">2" << TargetKind::Beep << "" << 2.0;
    QTest::newRow("endless zoom") << "cat.jpg>" + QString(400, '9') << TargetKind::Picture
                                  << kWall + "cat.jpg" << 1.0;
}

void TestLinkRules::targets() {
    QFETCH(QString, link);
    QFETCH(TargetKind, kind);
    QFETCH(QString, path);
    QFETCH(double, zoom);
    const QSet<QString> files{kWall + "cat.jpg", kWall + "A.PNG", kData + "music/a.mp3",
                              kWall + "p.html",  kWall + "t.tr2", kWall + "doc.pdf"};
    const TargetDecision t =
        decideTarget(link, kWall, kData, [&](const QString& p) { return files.contains(p); });
    QCOMPARE(t.kind, kind);
    if (kind != TargetKind::Beep)
        QCOMPARE(t.path, path);
    QCOMPARE(t.zoom, zoom);
    QCOMPARE(t.markReturn, link.endsWith('@'));
}

void TestLinkRules::stageSwitch() {
    StageSwitch s = STANA2("/+", 0, 3);
    QCOMPARE(s.link, QString());
    QCOMPARE(s.ST1, 1);
    QCOMPARE(s.ST2, 0);
    QVERIFY(s.changed);
    s = STANA2("next/+x/+", 1, 0);
    QCOMPARE(s.link, QStringLiteral("nextx"));
    QCOMPARE(s.ST1, 3);
    s = STANA2("/-", 2, 0);
    QCOMPARE(s.ST1, 0);
    QCOMPARE(s.ST2, 1);
    s = STANA2("a/*", 2, 2);
    QCOMPARE(s.link, QStringLiteral("a"));
    QCOMPARE(s.ST1, 0);
    QCOMPARE(s.ST2, 0);
    // A complete block switches nothing.
    s = STANA2("x/+y+/", 0, 0);
    QCOMPARE(s.link, QStringLiteral("x/+y+/"));
    QVERIFY(!s.changed);
    QCOMPARE(s.ST1, 0);
    QVERIFY(!STANA2("plain.jpg", 1, 1).changed);
}

void TestLinkRules::desktopCopies() {
    DesktopCopy c = desktopCopyFor(">DL", kWall);
    QCOMPARE(c.source, kWall);
    QCOMPARE(c.name, QStringLiteral("【マイデスク】"));
    c = desktopCopyFor(">DL\\授業", kWall);
    QCOMPARE(c.source, kWall);
    QCOMPARE(c.name, QStringLiteral("授業"));
    c = desktopCopyFor(">DL\\pics\\写真", kWall);
    QCOMPARE(c.source, kWall + "pics/");
    QCOMPARE(c.name, QStringLiteral("写真"));
    c = desktopCopyFor(">DLname", kWall);
    QCOMPARE(c.name, QStringLiteral("【マイデスク】"));
    QVERIFY(!c.outsideTheWall);
    // Only folders below the wall are copied.
    QVERIFY(desktopCopyFor(">DL\\..\\name", kWall).outsideTheWall);
    QVERIFY(desktopCopyFor(">DL\\/etc\\name", kWall).outsideTheWall);
    QVERIFY(!desktopCopyFor(">DL\\pics\\name", kWall).outsideTheWall);
}

void TestLinkRules::navigation() {
    QStringList history{kData, kData + "a/", kData + "a/b/"};
    QCOMPARE(navigateBack(history, kData), kData + "a/b/");
    QCOMPARE(history.size(), 2);
    QStringList empty;
    QCOMPARE(navigateBack(empty, kData), kData);

    QString mark = kData + "a/";
    history = {kData, kData + "a/", kData + "a/b/"};
    QCOMPARE(navigateToMark(history, mark, kData), kData + "a/");
    QCOMPARE(history, QStringList{kData});
    // A mark not in the history ends at home with the history emptied.
    history = {kData + "x/", kData + "y/"};
    QCOMPARE(navigateToMark(history, kData + "zzz/", kData), kData);
    QVERIFY(history.isEmpty());
    QCOMPARE(navigateToMark(history, mark, kData), kData);

    history = {kData + "x/"};
    QCOMPARE(navigateHome(history, mark, kData), kData);
    QVERIFY(history.isEmpty());
    QVERIFY(mark.isEmpty());
}

QTEST_APPLESS_MAIN(TestLinkRules)
#include "tst_linkrules.moc"
