#include "app/linkrunner.h"
#include "pageeditor/pagedocument.h"
#include "pageeditor/pageeditorwindow.h"
#include "pageeditor/pagefile.h"
#include "pictures/picturelayer.h"
#include "support/shellrecorder.h"
#include "support/windowfixture.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QUrl>

namespace {

// A page as the editor writes it, with these texts.
QByteArray editorPage(const QString& framed, const QString& unframed = {}) {
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), QDir::tempPath() + "/");
    doc.fields.title = "授業";
    doc.fields.framedText = framed;
    doc.fields.unframedText = unframed;
    QTemporaryDir dir;
    writePageFile(dir.filePath("p.htm"), doc.Edit_SAVE());
    return readFileBytes(dir.filePath("p.htm"));
}

// Runs `step` on the editor once it is shown (it is modal) and has the
// keyboard, which a busy machine may give it some time later.
void whenShown(PageEditorWindow* editor, std::function<void()> step) {
    auto* poll = new QTimer(editor);
    QObject::connect(poll, &QTimer::timeout, editor, [editor, poll, step] {
        if (!editor->isVisible() || !editor->isActiveWindow())
            return;
        poll->deleteLater();
        step();
    });
    poll->start(10);
}

} // namespace

class TestPageEditor : public QObject {
    Q_OBJECT
private slots:
    void fileWindowRoutesPages();
    void sourceEditsAreSaved();
    void pagesBeyondTheFields();
    void failuresKeepTheFile();
    void designButtons();
    void pictureSizeAndLinks();
    void pictureButtons();
    void paintButton();
};

void TestPageEditor::fileWindowRoutesPages() {
    WindowWall wall({});
    const QByteArray quiz = editorPage("首都は(東京)です。", "【解答】東京");
    writeFileBytes(wall.data + "quiz.htm", quiz);
    writeFileBytes(wall.data + "plain.html", "<html><body>hi</body></html>");
    WallWindow& w = wall.open();
    PageEditorWindow* editor = w.findChild<PageEditorWindow*>();
    ShellRecorder shell({"file"});

    // A page the editor wrote opens in it, filled; saved unchanged it comes
    // back byte for byte.
    QString framed;
    whenShown(editor, [&] {
        framed = editor->Memo1->toPlainText();
        QCOMPARE(editor->windowTitle(), wall.data + "quiz.htm");
        editor->BitBtn4->click();
    });
    w.links().FileListBox2Click("quiz.htm");
    QCOMPARE(framed, QStringLiteral("首都は(東京)です。"));
    QCOMPARE(readFileBytes(wall.data + "quiz.htm"), quiz);
    QVERIFY(shell.opened.isEmpty());

    // Other pages go to the desktop.
    w.links().FileListBox2Click("plain.html");
    QCOMPARE(shell.opened, QList<QUrl>{QUrl::fromLocalFile(wall.data + "plain.html")});

    // "DEL" empties the texts; "閉じる" writes nothing.
    whenShown(editor, [&] {
        editor->SpeedButton27->click();
        QVERIFY(editor->Memo1->toPlainText().isEmpty() && editor->Edit1->text().isEmpty());
        editor->BitBtn2->click();
    });
    w.links().FileListBox2Click("quiz.htm");
    QCOMPARE(readFileBytes(wall.data + "quiz.htm"), quiz);
}

void TestPageEditor::sourceEditsAreSaved() {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.htm");
    writeFileBytes(path, editorPage("old text"));
    QWidget wall;
    wall.resize(1200, 900);
    PageEditorWindow editor(&wall);
    whenShown(&editor, [&] {
        editor.SpeedButton28->click();
        QVERIFY(editor.Memo82->isVisible());
        QString source = editor.Memo82->toPlainText();
        QVERIFY(source.contains("old text"));
        editor.Memo82->setPlainText(source.replace("old text", "new text"));
        editor.BitBtn4->click(); // saved while the source is shown
    });
    QCOMPARE(editor.openPage(path, 1), path);
    QCOMPARE(editor.size(), QSize(800, 850));
    QVERIFY(readFileBytes(path).contains("new text"));
    QVERIFY(!readFileBytes(path).contains("old text"));
}

void TestPageEditor::pagesBeyondTheFields() {
    QTemporaryDir dir;
    PageEditorWindow editor(nullptr);
    QStringList told;
    editor.tell = [&](const QString& text) { told << text; };
    int asked = 0;
    editor.ask = [&](const QString&) { return ++asked, false; };

    // Edited by hand beyond the fields: a warning on opening, and a question
    // before saving over it; "いいえ" writes nothing.
    const QString hand = dir.filePath("hand.htm");
    QByteArray page = editorPage("text");
    page.replace("</BODY>", "<p>extra</p><table><tr><td>a</td><td>b</td></tr></table></BODY>");
    writeFileBytes(hand, page);
    whenShown(&editor, [&] {
        editor.BitBtn4->click();
        QVERIFY(editor.isVisible());
        editor.BitBtn2->click();
    });
    QCOMPARE(editor.openPage(hand, 1), QString());
    QCOMPARE(told.size(), 1);
    QVERIFY(told[0].contains(hand));
    QCOMPARE(asked, 1);
    QCOMPARE(readFileBytes(hand), page);

    // Not UTF-8 (a Shift_JIS save keeps the marker) and too large: named,
    // not opened.
    const QString sjis = dir.filePath("sjis.htm");
    writeFileBytes(sjis, "<META NAME=\"WebTXT_TEXT\"><BODY>\x93\x8c\x8b\x9e</BODY>");
    const QString huge = dir.filePath("huge.htm");
    writeFileBytes(huge, editorPage(QString(9 * 1024 * 1024, 'x')));
    for (const QString& path : {sjis, huge}) {
        told.clear();
        QCOMPARE(editor.openPage(path, 1), QString());
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].contains(QFileInfo(path).fileName()), qPrintable(told[0]));
    }

    // A picture the page names that is not there: said, and its markup kept.
    const QString pictured = dir.filePath("pictured.htm");
    QByteArray withPicture = editorPage("t");
    withPicture.replace("<P></P>", "<P align=\"left\"><IMG src=\"Gone.JPG\" width=\"50%\"></P>");
    writeFileBytes(pictured, withPicture);
    told.clear();
    editor.ask = [](const QString&) { return true; };
    whenShown(&editor, [&] { editor.BitBtn4->click(); });
    editor.openPage(pictured, 1);
    QVERIFY(told.join('\n').contains("Gone.JPG"));
    QVERIFY(readFileBytes(pictured).contains("<IMG src=\"Gone.JPG\" width=\"50%\">"));

    // Nested deeper than the text fields lay out quickly: named, not opened.
    const QString deep = dir.filePath("deep.htm");
    writeFileBytes(deep, editorPage("<B>" + QString("<B>").repeated(4000) + "</B>"));
    told.clear();
    whenShown(&editor, [&] { editor.BitBtn2->click(); });
    QCOMPARE(editor.openPage(deep, 1), QString());
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].contains(deep), qPrintable(told[0]));
}

void TestPageEditor::failuresKeepTheFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.htm");
    const QByteArray page = editorPage("text");
    writeFileBytes(path, page);
    PageEditorWindow editor(nullptr);
    QStringList told;
    editor.tell = [&](const QString& text) { told << text; };
    const QString nowhere = dir.filePath("missing/folder/x.htm");
    editor.chooseSaveName = [&](const QString&) { return nowhere; };
    bool stayedOpen = false;
    whenShown(&editor, [&] {
        editor.Memo1->setPlainText("changed");
        editor.BitBtn1->click(); // cannot be written there
        stayedOpen = editor.isVisible();
        editor.BitBtn2->click();
    });
    QCOMPARE(editor.openPage(path, 1), QString());
    QVERIFY(stayedOpen);
    QCOMPARE(told.size(), 1);
    QVERIFY(told[0].contains(nowhere));
    QVERIFY2(told[0].contains(QStringLiteral("フォルダがありません")), qPrintable(told[0]));
    QCOMPARE(readFileBytes(path), page);
    QVERIFY(!QFileInfo::exists(nowhere));
}

// Selects the whole text of `memo`, which has the focus.
void selectAll(QPlainTextEdit* memo, const QString& text) {
    memo->setFocus();
    memo->setPlainText(text);
    memo->selectAll();
}

void TestPageEditor::designButtons() {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.htm");
    QWidget wall;
    wall.resize(1200, 900);
    wall.show();
    PageEditorWindow editor(&wall);
    QStringList told;
    editor.tell = [&](const QString& text) { told << text; };
    QStringList links{"https://example.com/news", "/srv/lessons/unit", "a\"b.htm",
                      "https://en.wikipedia.org/wiki/Mercury_(planet)"};
    editor.askLink = [&] { return links.takeFirst(); };
    editor.askRuby = [](const QString& base) { return base == "漢字" ? "かんじ" : ""; };
    QString inserted;
    whenShown(&editor, [&] {
        QVERIFY(editor.SpeedButton15->isChecked()); // a new page is a note
        editor.SpeedButton13->click();
        QVERIFY(editor.SpeedButton13->isChecked() && !editor.SpeedButton15->isChecked());
        editor.SpeedButton5->click();  // big heading centred
        editor.SpeedButton21->click(); // text left, frame right
        editor.Memo4->setPlainText("見出し");
        editor.Memo5->setPlainText("小");
        // Markup needs a selection in a text field that has the focus: with
        // the title focused it does nothing.
        QToolButton* red = editor.findChild<QToolButton*>("SpeedButton24");
        selectAll(editor.Memo1, "赤い字");
        editor.Edit1->setFocus();
        red->click();
        QCOMPARE(editor.Memo1->toPlainText(), QStringLiteral("赤い字"));
        selectAll(editor.Memo1, "赤い字");
        red->click();
        QCOMPARE(editor.Memo1->toPlainText(),
                 QStringLiteral("<font color=\"#ff0000\">赤い字</font>"));
        selectAll(editor.Memo2, "漢字");
        editor.SpeedButton31->click();
        QCOMPARE(editor.Memo2->toPlainText(), QStringLiteral("<ruby>漢字<rt>かんじ</ruby>"));
        editor.Memo2->moveCursor(QTextCursor::End);
        editor.SpeedButton16->click();
        editor.SpeedButton16->click();
        editor.SpeedButton16->click(); // a quote in the target: refused
        QVERIFY(editor.Memo2->toPlainText().endsWith(
            "<A href=\"https://example.com/news\">newsへのリンク</A>"
            "<A href=\"/srv/lessons/\">unitへのリンク</A>"));
        QCOMPARE(told.size(), 1);
        // A right click on "文字だけ" empties the headings and the unframed
        // text, and leaves the framed text.
        QTest::mouseClick(editor.SpeedButton3, Qt::RightButton);
        QVERIFY(editor.Memo4->toPlainText().isEmpty() && editor.Memo2->toPlainText().isEmpty());
        QVERIFY(!editor.Memo1->toPlainText().isEmpty());
        editor.Memo4->setPlainText("見出し");
        // An address's parentheses make no blank of a quiz.
        editor.Memo2->setFocus();
        editor.SpeedButton16->click();
        inserted = editor.Memo2->toPlainText();
        // A placement without a picture names none.
        editor.SpeedButton11->click();
        editor.BitBtn4->click();
    });
    QCOMPARE(editor.openPage(path, 0), path);
    const QByteArray page = readFileBytes(path);
    QVERIFY(!page.contains("<input"));
    QVERIFY(!page.contains("<IMG"));
    QVERIFY(page.contains("<!--STYLE_IN4-->"));
    QVERIFY(page.contains("<BODY bgcolor=\"#d9def9\">"));
    QVERIFY(page.contains("<H1 align=\"center\">見出し</H1>"));
    QVERIFY(page.contains("<TABLE border=\"1\" align=\"right\">"));

    // Reopened, the editor shows the same buttons pressed.
    bool pressed = false;
    QString reread;
    whenShown(&editor, [&] {
        pressed = editor.SpeedButton13->isChecked() && editor.SpeedButton5->isChecked() &&
                  editor.SpeedButton21->isChecked() && !editor.SpeedButton19->isChecked();
        reread = editor.Memo2->toPlainText();
        editor.BitBtn2->click();
    });
    editor.openPage(path, 1);
    QVERIFY(pressed);
    QCOMPARE(reread, inserted);
}

void TestPageEditor::pictureSizeAndLinks() {
    QTemporaryDir dir;
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(dir.filePath("pic.png")));
    QByteArray page = editorPage("text");
    page.replace("<P></P>", "<P><IMG src=\"pic.png\" width=\"400\" height=\"300\" "
                            "align=\"left\"></P>");
    const QString path = dir.filePath("p.htm");
    writeFileBytes(path, page);
    PageEditorWindow editor(nullptr);
    whenShown(&editor, [&] {
        QVERIFY(editor.SpeedButton10->isChecked()); // picture left
        QCOMPARE(editor.ScrollBar1->value(), 400);
        editor.ScrollBar1->setValue(200);
        QCOMPARE(editor.GX->text(), QStringLiteral("200"));
        QCOMPARE(editor.GY->text(), QStringLiteral("150"));
        editor.BitBtn4->click();
    });
    editor.openPage(path, 1);
    QVERIFY(readFileBytes(path).contains("<IMG src=\"pic.png\" width=\"200\" height=\"150\""));

    // A page without a kind keeps its body colour and attributes.
    QByteArray plain = editorPage("text");
    const qsizetype from = plain.indexOf("<!--STYLE_IN");
    const qsizetype to = plain.indexOf("<!--STYLE_OUT-->") + 16;
    plain.remove(from, to - from);
    plain.replace("<BODY>", "<BODY bgcolor=\"#123456\" text=\"red\">");
    writeFileBytes(path, plain);
    whenShown(&editor, [&] { editor.BitBtn4->click(); });
    editor.openPage(path, 1);
    QVERIFY(readFileBytes(path).contains("<BODY bgcolor=\"#123456\" text=\"red\">"));

    // A paragraph that is only a link keeps it, opened and saved unchanged.
    QByteArray linked = editorPage("text");
    linked.replace("<P></P>", "<P><A href=\"notes.pdf\">資料</A></P>");
    writeFileBytes(path, linked);
    whenShown(&editor, [&] {
        QCOMPARE(editor.Edit2->text(), QStringLiteral("notes.pdf"));
        editor.BitBtn4->click();
    });
    editor.openPage(path, 1);
    QCOMPARE(readFileBytes(path), linked);
    // A linked file's parentheses are no blank either.
    writeFileBytes(path, editorPage("text"));
    editor.chooseLinkFile = [&](const QString&) { return dir.filePath("(1)地図.pdf"); };
    whenShown(&editor, [&] {
        editor.SpeedButton37->click();
        editor.BitBtn4->click();
    });
    editor.openPage(path, 1);
    QVERIFY(!readFileBytes(path).contains("<input"));
}

QImage filled(int w, int h, Qt::GlobalColor colour) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

void TestPageEditor::pictureButtons() {
    QTemporaryDir dir;
    const QString wallFolder = dir.filePath("wall/");
    const QString elsewhere = dir.filePath("pictures/");
    QDir().mkpath(wallFolder);
    QDir().mkpath(elsewhere);
    QVERIFY(filled(400, 300, Qt::blue).save(elsewhere + "sea.png"));
    QVERIFY(filled(40, 30, Qt::red).save(wallFolder + "sea.png")); // another picture, same name
    QVERIFY(filled(40, 30, Qt::red).save(elsewhere + "top.png"));
    const QByteArray trash = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath("share").toUtf8());
    const QString path = wallFolder + "p.htm";
    writeFileBytes(path, editorPage("text"));

    PageEditorWindow editor(nullptr);
    editor.wallFolder = [&] { return wallFolder; };
    QStringList pictures;
    editor.choosePicture = [&](const QString&) {
        return pictures.isEmpty() ? QString() : pictures.takeFirst();
    };
    editor.chooseLinkFile = [&](const QString&) { return wallFolder + "docs/a.pdf"; };
    int asked = 0;
    bool replace = false;
    editor.ask = [&](const QString&) { return ++asked, replace; };
    whenShown(&editor, [&] {
        QCOMPARE(editor.placement(), Placement::TextOnly);
        // A picture of the same name already beside the page is not
        // replaced unasked; "いいえ" keeps it and loads nothing.
        pictures = {elsewhere + "sea.png"};
        editor.SpeedButton1->click();
        QCOMPARE(asked, 1);
        QVERIFY(editor.Gname->text().isEmpty());
        // "はい": copied, shown and sized; from text only the placement is
        // centred.
        replace = true;
        pictures = {elsewhere + "sea.png"};
        editor.SpeedButton1->click();
        QCOMPARE(editor.placement(), Placement::Centred);
        QCOMPARE(editor.Gname->text(), QStringLiteral("sea.png"));
        QCOMPARE(editor.GX->text() + "x" + editor.GY->text(), QStringLiteral("400x300"));
        // The link is relative to the page's folder.
        editor.SpeedButton37->click();
        QCOMPARE(editor.Edit2->text(), QStringLiteral("docs/a.pdf"));
        // A title picture and a background, kept in the wall folder as "_"
        // copies; cancelling the title picture's dialog removes it again.
        pictures = {elsewhere + "top.png", elsewhere + "top.png"};
        editor.SpeedButton22->click();
        editor.SpeedButton40->click();
        editor.BitBtn4->click();
    });
    QCOMPARE(editor.openPage(path, 1), path);
    QByteArray page = readFileBytes(path);
    QVERIFY(page.contains("<P align=\"center\"><A href=\"docs/a.pdf\"><IMG src=\"sea.png\" "
                          "width=\"400\" height=\"300\""));
    QVERIFY(page.contains("<IMG src=\"_top.png\" border=\"0\">"));
    QVERIFY(page.contains("<BODY background=\"_top.png\""));
    QVERIFY(QFileInfo::exists(wallFolder + "_top.png"));

    // Deleting the picture moves it to the trash; the title picture goes
    // when its dialog is cancelled.
    whenShown(&editor, [&] {
        QTest::mouseClick(editor.SpeedButton1, Qt::RightButton);
        QVERIFY(editor.Gname->text().isEmpty());
        editor.SpeedButton22->click(); // cancelled
        editor.BitBtn4->click();
    });
    editor.openPage(path, 1);
    page = readFileBytes(path);
    QVERIFY(!QFileInfo::exists(wallFolder + "sea.png"));
    QVERIFY(QFileInfo::exists(dir.filePath("share/Trash/files/sea.png")));
    QVERIFY(!page.contains("sea.png"));
    QVERIFY(!page.contains("_top.png\" border"));
    qputenv("XDG_DATA_HOME", trash);
}

void TestPageEditor::paintButton() {
    QTemporaryDir dir;
    const QString wallFolder = dir.filePath("wall/");
    QDir().mkpath(wallFolder);
    const QString path = wallFolder + "unit_3.htm";
    writeFileBytes(path, editorPage("text"));
    // A paint program that draws by replacing the file with a red picture.
    QDir().mkpath(dir.filePath("bin"));
    const QString red = dir.filePath("red.bmp");
    QVERIFY(filled(100, 80, Qt::red).save(red));
    const QString program = dir.filePath("bin/kolourpaint");
    writeFileBytes(program, QStringLiteral("#!/bin/sh\ncp '%1' \"$1\"\n").arg(red).toUtf8());
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", dir.filePath("bin").toUtf8() + ":/usr/bin:/bin");

    PageEditorWindow editor(nullptr);
    whenShown(&editor, [&] {
        QTest::mouseClick(editor.SpeedButton2, Qt::RightButton); // a new picture
        QVERIFY(!editor.isEnabled() || editor.Gname->text() == "_3-iedit.bmp");
        QTRY_VERIFY(editor.isEnabled());
        QCOMPARE(editor.Gname->text(), QStringLiteral("_3-iedit.bmp"));
        QTRY_COMPARE(editor.GX->text() + "x" + editor.GY->text(), QStringLiteral("100x80"));
        editor.BitBtn4->click();
    });
    editor.openPage(path, 1);
    qputenv("PATH", oldPath);
    QVERIFY(readFileBytes(path).contains("src=\"_3-iedit.bmp\""));
    QVERIFY(readPicture(wallFolder + "_3-iedit.bmp").image.size() == QSize(100, 80));
}

QTEST_MAIN(TestPageEditor)
#include "tst_pageeditor.moc"
