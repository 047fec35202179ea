#include "app/wallmodes.h"
#include "dialogs/pagetemplate.h"
#include "dialogs/settingsdialog.h"
#include "document/walldocument.h"
#include "platform/beep.h"
#include "support/cp932.h"
#include "support/scriptedprompts.h"
#include "support/shellrecorder.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

enum Encoding { Utf8Bom, Utf8, Cp932, Utf16LeBom };

QByteArray encoded(const QString& text, int encoding) {
    switch (encoding) {
    case Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Utf8:
        return text.toUtf8();
    case Cp932:
        return toCp932(text);
    default:
        return QByteArray("\xFF\xFE", 2) + QStringEncoder(QStringConverter::Utf16LE).encode(text);
    }
}

// A wall folder, a data folder above it and a resource folder beside it.
struct Wall {
    QTemporaryDir root;
    WallDocument st;
    WallModes modes;
    QString wall;
    Wall() {
        wall = root.path() + QStringLiteral("/data/wall/");
        QDir().mkpath(wall);
        st.KIJUNDIR = wall;
        st.KIJUNDIRBAK = root.path() + QStringLiteral("/data/");
        st.KIJUNEX = root.path() + QStringLiteral("/res/");
    }
};

template <typename T = QToolButton> T* child(const QWidget& d, const QString& name) {
    T* w = d.findChild<T*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

void click(const QWidget& d, const QString& name) {
    child(d, name)->click();
}

// Answers the start-over question with `button`, after typing `name`.
void answerStartOver(const QString& button, const QString& name) {
    QTimer::singleShot(0, [button, name] {
        QWidget* question = QApplication::activeModalWidget();
        QVERIFY(question && question->objectName() == QLatin1String("TForm27"));
        if (!name.isEmpty())
            child<QLineEdit>(*question, QStringLiteral("Edit1"))->setText(name);
        child<QAbstractButton>(*question, button)->click();
    });
}

} // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void placements_data();
    void placements();
    void editsFollowTheirBars();
    void notANumberGivesTheBarsValue();
    void cancelAndSave();
    void newPageFromTemplate_data();
    void newPageFromTemplate();
    void missingTemplateWritesNothing();
    void startOverQuestion_data();
    void startOverQuestion();
    void editPage_data();
    void editPage();
    void restoreAndRemoveBackground();
    void chosenFilesAskBeforeReplacing_data();
    void chosenFilesAskBeforeReplacing();

private:
    QString recorded(const char* program) const { return bin_.filePath(program) + ".args"; }
    // The programs of our own on PATH write down what they were given; no
    // desktop names an editor.
    QTemporaryDir bin_;
    QByteArray path_;
};

void TestSettingsDialog::initTestCase() {
    for (const char* program : {"libreoffice", "gedit"}) {
        const QString script = bin_.filePath(program);
        writeBytes(
            script,
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.args'\n").arg(script).toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    path_ = qgetenv("PATH");
    qputenv("PATH", bin_.path().toUtf8() + ":/usr/bin:/bin");
    QDir().mkpath(bin_.filePath("xdg"));
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"})
        qputenv(name, bin_.filePath("xdg").toUtf8());
    qunsetenv("XDG_CURRENT_DESKTOP");
}

void TestSettingsDialog::cleanupTestCase() {
    qputenv("PATH", path_);
}

void TestSettingsDialog::placements_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("web");
    QTest::addColumn<QList<int>>("values");
    for (const char* set : {"withRibbon", "noRibbon"}) {
        const QString s = QLatin1String(set);
        QTest::newRow(qPrintable(s + "Left"))
            << s + "Left" << true << QList<int>{40, 40, 1180, 1000};
        QTest::newRow(qPrintable(s + "Whole"))
            << s + "Whole" << true << QList<int>{40, 40, 1860, 1000};
        QTest::newRow(qPrintable(s + "Right"))
            << s + "Right" << true << QList<int>{680, 40, 1220, 1000};
        QTest::newRow(qPrintable(s + "Top")) << s + "Top" << true << QList<int>{40, 40, 1820, 540};
        QTest::newRow(qPrintable(s + "Bottom"))
            << s + "Bottom" << true << QList<int>{40, 540, 1820, 520};
    }
    QTest::newRow("top left") << "cornerTopLeft" << false << QList<int>{40, 40, 640, 500};
    QTest::newRow("top right") << "cornerTopRight" << false << QList<int>{1220, 40, 640, 500};
    QTest::newRow("bottom left") << "cornerBottomLeft" << false << QList<int>{40, 580, 640, 500};
    QTest::newRow("bottom right") << "cornerBottomRight" << false
                                  << QList<int>{1220, 580, 640, 500};
}

void TestSettingsDialog::placements() {
    QFETCH(QString, button);
    QFETCH(bool, web);
    QFETCH(QList<int>, values);
    Wall w;
    SettingsDialog d(w.st);
    click(d, button);
    const QStringList edits = web ? QStringList{"Edit8", "Edit9", "Edit10", "Edit11"}
                                  : QStringList{"Edit4", "Edit5", "Edit6", "Edit7"};
    const QStringList bars =
        web ? QStringList{"ScrollBar5", "ScrollBar6", "ScrollBar7", "ScrollBar8"}
            : QStringList{"ScrollBar1", "ScrollBar2", "ScrollBar3", "ScrollBar4"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(child<QLineEdit>(d, edits[i])->text().toInt(), values[i]);
        QCOMPARE(child<QScrollBar>(d, bars[i])->value(), values[i]);
    }
    const QRect miniature = child<QWidget>(d, web ? "Panel11" : "Panel10")->geometry();
    QCOMPARE(miniature, QRect(values[0] / 20, values[1] / 20, values[2] / 20, values[3] / 20));
}

void TestSettingsDialog::editsFollowTheirBars() {
    Wall w;
    SettingsDialog d(w.st);
    d.show();
    child<QLineEdit>(d, "Edit10")->selectAll();
    QTest::keyClicks(child<QLineEdit>(d, "Edit10"), "2500");
    QCOMPARE(child<QScrollBar>(d, "ScrollBar7")->value(), 2000);
    QCOMPARE(child<QLineEdit>(d, "Edit10")->text(), QStringLiteral("2000"));
    QCOMPARE(child<QWidget>(d, "Panel11")->width(), 100);
    // A bar that stands at its end already does not move, and the edit keeps
    // what was typed.
    child<QLineEdit>(d, "Edit10")->setText(QStringLiteral("2500"));
    QCOMPARE(child<QLineEdit>(d, "Edit10")->text(), QStringLiteral("2500"));
    child<QScrollBar>(d, "ScrollBar7")->setValue(300);
    QCOMPARE(child<QLineEdit>(d, "Edit10")->text(), QStringLiteral("300"));
    QCOMPARE(d.settings().web.width, 300);
    // The file window's width cannot go below 10.
    child<QLineEdit>(d, "Edit6")->setText(QStringLiteral("3"));
    QCOMPARE(child<QLineEdit>(d, "Edit6")->text(), QStringLiteral("10"));
}

void TestSettingsDialog::notANumberGivesTheBarsValue() {
    Wall w;
    SettingsDialog d(w.st);
    ScriptedPrompts prompts;
    d.setPrompts(&prompts);
    const QStringList& said = prompts.told;
    d.show();
    child<QLineEdit>(d, "Edit8")->setFocus();
    child<QLineEdit>(d, "Edit8")->selectAll();
    QTest::keyClicks(child<QLineEdit>(d, "Edit8"), "12x");
    QCOMPARE(child<QScrollBar>(d, "ScrollBar5")->value(),
             12); // "1" and "12" moved it; "12x" does not
    QCOMPARE(child<QWidget>(d, "Panel11")->x(), 0);
    QCOMPARE(d.settings().web.X, 12); // never saved as typed
    QTest::keyClick(child<QLineEdit>(d, "Edit8"), Qt::Key_Return);
    QCOMPARE(child<QLineEdit>(d, "Edit8")->text(), QStringLiteral("12"));
    QCOMPARE(said.size(), 1);
    QVERIFY(said[0].contains(QLatin1String("12x")));
    child<QLineEdit>(d, "Edit9")->setFocus(); // leaving it now says nothing more
    QCOMPARE(said.size(), 1);
}

void TestSettingsDialog::cancelAndSave() {
    Wall w;
    SettingsDialog d(w.st);
    WindowSettings start;
    start.web.page = QStringLiteral("page.htm");
    start.files.mask = QStringLiteral("*.pdf");
    d.fillFrom(start);
    QSignalSpy pointed(&d, &SettingsDialog::pointFileWindowRequested);

    QTimer::singleShot(0, &d, [&d] {
        child<QScrollBar>(d, "ScrollBar5")->setValue(100);
        child<QLineEdit>(d, "Edit11")->setText(QStringLiteral("300"));
        click(d, "SpeedButton30");
        QVERIFY(!child<QWidget>(d, "placesWithRibbon")->isHidden() &&
                child<QWidget>(d, "placesNoRibbon")->isHidden());
        click(d, "SpeedButton5");
        click(d, "SpeedButton8");
    });
    QCOMPARE(d.run(), 0);
    const WindowSettings after = d.settings();
    QCOMPARE(after.web.X, 870);
    QCOMPARE(child<QLineEdit>(d, "Edit11")->text(), QStringLiteral("800"));
    QCOMPARE(child<QWidget>(d, "Panel11")->geometry(), QRect(43, 7, 49, 40));
    QCOMPARE(after.web.ribbon, 0);
    QCOMPARE(child(d, "SpeedButton30")->text(), QStringLiteral("リボンあり"));
    QVERIFY(after.web.page.isEmpty()); // "WEB窓無くす" is not undone
    QCOMPARE(pointed.size(), 0);
    QVERIFY(QDir(w.wall).isEmpty());

    // Any of the captions takes the web window away too; saving keeps that.
    d.fillFrom(start);
    QTimer::singleShot(0, &d, [&d] {
        QLabel* kind = nullptr;
        for (QLabel* l : d.findChildren<QLabel*>())
            if (l->text() == QStringLiteral("種類"))
                kind = l;
        QTest::mouseClick(kind, Qt::LeftButton);
        click(d, "SpeedButton9");
    });
    QCOMPARE(d.run(), 1);
    QCOMPARE(pointed.size(), 1);
    QVERIFY(d.settings().web.page.isEmpty());
    QCOMPARE(d.settings().files.mask, QStringLiteral("*.pdf"));
}

void TestSettingsDialog::newPageFromTemplate_data() {
    QTest::addColumn<int>("encoding");
    QTest::newRow("UTF-8 with BOM") << int(Utf8Bom);
    QTest::newRow("UTF-8") << int(Utf8);
    QTest::newRow("CP932") << int(Cp932);
    QTest::newRow("UTF-16LE with BOM") << int(Utf16LeBom);
}

void TestSettingsDialog::newPageFromTemplate() {
    QFETCH(int, encoding);
    Wall w;
    const QString help = w.st.KIJUNEX + "ZavikHELP/";
    const QString page =
        QStringLiteral("<title>TEMPLATE の頁</title><link href=\"TEMPLATE.files/x\">");
    const QString header = QStringLiteral("<a href=\"../TEMPLATE.htm\">戻る</a> TEMPLATE");
    writeBytes(help + "TEMPLATE.htm", encoded(page, encoding));
    writeBytes(help + "TEMPLATE.files/header.htm", encoded(header, encoding));
    writeBytes(help + "TEMPLATE.files/filelist.xml", encoded(header, encoding));
    writeBytes(help + "TEMPLATE.files/image001.png", "png");
    QFile::remove(recorded("libreoffice"));

    SettingsDialog d(w.st);
    d.show();
    QVERIFY(child(d, "Panel13")->isEnabled());
    click(d, "Panel13");
    QCOMPARE(child(d, "Panel13")->text(), QStringLiteral("ワード"));
    click(d, "SpeedButton24");

    QCOMPARE(child<QLineEdit>(d, "Edit2")->text(), QStringLiteral("TEXT.htm"));
    QCOMPARE(readBytes(w.wall + "TEXT.htm"),
             encoded(QString(page).replace("TEMPLATE", "TEXT"), encoding));
    const QByteArray renamed =
        encoded(QStringLiteral("<a href=\"../TEXT.htm\">戻る</a> TEMPLATE"), encoding);
    QCOMPARE(readBytes(w.wall + "TEXT.files/header.htm"), renamed);
    QCOMPARE(readBytes(w.wall + "TEXT.files/filelist.xml"), renamed);
    QCOMPARE(readBytes(w.wall + "TEXT.files/image001.png"), QByteArray("png"));
    QTRY_COMPARE(readBytes(recorded("libreoffice")),
                 "--writer\n" + (w.wall + "TEXT.htm").toUtf8() + "\n");
}

void TestSettingsDialog::missingTemplateWritesNothing() {
    Wall w;
    QFile::remove(recorded("libreoffice"));
    SettingsDialog d(w.st);
    ScriptedPrompts prompts;
    d.setPrompts(&prompts);
    const QStringList& said = prompts.told;
    d.show();
    click(d, "Panel13");
    click(d, "SpeedButton24");
    QCOMPARE(said.size(), 1);
    QVERIFY(said[0].contains(w.st.KIJUNEX + "ZavikHELP/TEMPLATE.htm"));
    QVERIFY(QDir(w.wall).isEmpty());
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(recorded("libreoffice")));
}

void TestSettingsDialog::startOverQuestion_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("page");       // the start page afterwards, and the file opened
    QTest::addColumn<QByteArray>("content"); // what that file holds
    QTest::newRow("cancel") << "BitBtn1"
                            << ""
                            << "old.htm" << QByteArray();
    QTest::newRow("continue") << "continueButton"
                              << ""
                              << "TEXT.htm" << QByteArray("mine");
    QTest::newRow("start over, typed name") << "restartButton"
                                            << "sub/Plan.doc"
                                            << "Plan.htm" << QByteArray("Plan");
}

void TestSettingsDialog::startOverQuestion() {
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QString, page);
    QFETCH(QByteArray, content);
    Wall w;
    writeBytes(w.st.KIJUNEX + "ZavikHELP/TEMPLATE.htm", "TEMPLATE");
    writeBytes(w.wall + "TEXT.htm", "mine");
    QFile::remove(recorded("libreoffice"));
    SettingsDialog d(w.st);
    child<QLineEdit>(d, "Edit2")->setText(QStringLiteral("old.htm"));
    d.show();
    click(d, "Panel13");
    answerStartOver(button, typed);
    click(d, "SpeedButton24");
    QCOMPARE(child<QLineEdit>(d, "Edit2")->text(), page);
    QCOMPARE(readBytes(w.wall + "TEXT.htm"), QByteArray("mine"));
    if (content.isEmpty()) {
        QCOMPARE(QDir(w.wall).entryList(QDir::Files), QStringList{"TEXT.htm"});
        QTest::qWait(200);
        QVERIFY(!QFileInfo::exists(recorded("libreoffice")));
    } else {
        QCOMPARE(readBytes(w.wall + page), content);
        QTRY_COMPARE(readBytes(recorded("libreoffice")),
                     "--writer\n" + (w.wall + page).toUtf8() + "\n");
    }
}

void TestSettingsDialog::editPage_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("wordMode");
    QTest::addColumn<QString>("opensWith"); // "shell", a recording program, or "" (a beep)
    QTest::newRow("PDF") << "notes.pdf" << QByteArray("%PDF") << false << "shell";
    QTest::newRow("page by hand") << "page.html" << QByteArray("<p>hi</p>") << false << "gedit";
    QTest::newRow("page in word mode")
        << "page.htm" << QByteArray("<p>hi</p>") << true << "libreoffice";
    QTest::newRow("page editor's page")
        << "web.htm" << QByteArray("<!--WebTXT_TEXT-->") << false << "";
    QTest::newRow("missing page, no editor") << "none.htm" << QByteArray() << false << "";
}

void TestSettingsDialog::editPage() {
    QFETCH(QString, page);
    QFETCH(QByteArray, content);
    QFETCH(bool, wordMode);
    QFETCH(QString, opensWith);
    Wall w;
    if (!content.isEmpty())
        writeBytes(w.wall + page, content);
    for (const char* program : {"gedit", "libreoffice"})
        QFile::remove(recorded(program));
    ShellRecorder shell({"file"});
    SettingsDialog d(w.st);
    QSignalSpy tucked(&d, &SettingsDialog::tuckRequested);
    child<QLineEdit>(d, "Edit2")->setText(QStringLiteral("http://example.org/") + page);
    d.show();
    if (wordMode)
        click(d, "Panel13");
    const int beeps = beepCount();
    click(d, "SpeedButton12");

    QCOMPARE(shell.opened.size(), opensWith == QLatin1String("shell") ? 1 : 0);
    QCOMPARE(tucked.size(), shell.opened.size());
    if (opensWith == QLatin1String("shell"))
        QCOMPARE(shell.opened[0], QUrl::fromLocalFile(w.wall + page));
    else if (opensWith.isEmpty())
        QCOMPARE(beepCount(), beeps + 1);
    else
        QTRY_VERIFY(readBytes(recorded(qPrintable(opensWith))).contains((w.wall + page).toUtf8()));
    QVERIFY(QDir(w.wall).entryList(QDir::Files).size() <= 1);
}

void TestSettingsDialog::restoreAndRemoveBackground() {
    Wall w;
    writeBytes(w.wall + "bg.jpg", "drawn on");
    writeBytes(w.wall + "_bg.jpg", "original");
    // The wall holds the picture it shows as an absolute path.
    w.st.KABEIMAGE = w.wall + "bg.jpg";
    SettingsDialog d(w.st);
    QStringList shown;
    connect(&d, &SettingsDialog::showBackgroundRequested, this,
            [&shown](const QString& path) { shown << path; });
    QSignalSpy cleared(&d, &SettingsDialog::clearBackgroundRequested);
    d.show();
    QCOMPARE(child<QLineEdit>(d, "Edit12")->text(), QStringLiteral("bg.jpg"));
    QCOMPARE(child<QLineEdit>(d, "Edit13")->text(), QStringLiteral("_bg.jpg"));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(child(d, "SpeedButton11"), &enter);
    QCOMPARE(child(d, "SpeedButton11")->toolTip(), QStringLiteral("_bg.jpgをbg.jpgに上書きコピー"));

    click(d, "SpeedButton11");
    QCOMPARE(readBytes(w.wall + "bg.jpg"), QByteArray("original"));
    QCOMPARE(shown, QStringList{w.wall + "bg.jpg"});
    QCOMPARE(w.st.KABEIMAGE, QStringLiteral("bg.jpg"));
    QCOMPARE(child<QLineEdit>(d, "Edit13")->text(), QStringLiteral("_bg.jpg"));

    click(d, "SpeedButton4");
    QVERIFY(!QFileInfo::exists(w.wall + "bg.jpg"));
    QVERIFY(QFileInfo::exists(w.wall + "_bg.jpg")); // the original stays
    QVERIFY(w.st.KABEIMAGE.isEmpty() && child<QLineEdit>(d, "Edit12")->text().isEmpty() &&
            child<QLineEdit>(d, "Edit13")->text().isEmpty());
    QCOMPARE(cleared.size(), 1);

    // Another wall's picture is never deleted from here.
    writeBytes(w.st.KIJUNDIRBAK + "other/bg.jpg", "theirs");
    w.st.KABEIMAGE = QStringLiteral("..other\\bg.jpg");
    click(d, "SpeedButton4");
    QVERIFY(QFileInfo::exists(w.st.KIJUNDIRBAK + "other/bg.jpg"));
    QCOMPARE(cleared.size(), 2);
}

void TestSettingsDialog::chosenFilesAskBeforeReplacing_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("replaced");
    QTest::newRow("background and its original") << "SpeedButton2"
                                                 << "bg.jpg" << QStringList{"bg.jpg", "_bg.jpg"};
    QTest::newRow("page and its picture") << "SpeedButton7"
                                          << "page.html" << QStringList{"page.html", "p.png"};
}

void TestSettingsDialog::chosenFilesAskBeforeReplacing() {
    QFETCH(QString, button);
    QFETCH(QString, name);
    QFETCH(QStringList, replaced);
    Wall w;
    const QString elsewhere = w.root.path() + "/elsewhere/";
    writeBytes(elsewhere + name, "<img src=\"p.png\">");
    writeBytes(elsewhere + "p.png", "chosen");
    for (const QString& file : replaced)
        writeBytes(w.wall + file, "the wall's own");
    w.st.KABEIMAGE = "bg.jpg";
    SettingsDialog d(w.st);
    ScriptedPrompts prompts;
    prompts.files = {{elsewhere + name}, {elsewhere + name}};
    d.setPrompts(&prompts);
    QSignalSpy written(&d, &SettingsDialog::writeBackgroundRequested);
    d.show();
    // "いいえ" keeps both files, naming them.
    prompts.answers = {false, true};
    click(d, button);
    QCOMPARE(prompts.requests[0].title, child(d, button)->text());
    QCOMPARE(prompts.requests[0].folder, w.wall);
    QCOMPARE(prompts.asked.size(), 1);
    QStringList lines;
    for (const QString& line : prompts.asked[0].split('\n'))
        lines << line.trimmed();
    for (const QString& file : replaced) {
        QVERIFY2(lines.contains(file), qPrintable(file));
        QCOMPARE(readBytes(w.wall + file), QByteArray("the wall's own"));
    }
    QVERIFY(child<QLineEdit>(d, "Edit2")->text().isEmpty() && written.isEmpty());
    // "はい" replaces them.
    click(d, button);
    QCOMPARE(prompts.asked.size(), 2);
    QCOMPARE(readBytes(w.wall + name), readBytes(elsewhere + name));
    QVERIFY(readBytes(w.wall + replaced[1]) != "the wall's own");
    QCOMPARE(child<QLineEdit>(d, "Edit2")->text().isEmpty(), button == "SpeedButton2");
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
