#include "pageeditor/pageeditorwindow.h"
#include "pictures/picturelayer.h"
#include "support/pageeditorfixture.h"
#include "support/scriptedprompts.h"
#include "support/shellrecorder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextCursor>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

namespace {

QToolButton* button(const QWidget& editor, const char* name) {
    return control<QToolButton>(editor, name);
}

QPlainTextEdit* memo(const QWidget& editor, const char* name) {
    return control<QPlainTextEdit>(editor, name);
}

QLineEdit* edit(const QWidget& editor, const char* name) {
    return control<QLineEdit>(editor, name);
}

} // namespace

class TestPageEditor : public QObject {
    Q_OBJECT
private slots:
    void sourceEditsAreSaved();
    void pagesBeyondTheFields();
    void failuresKeepTheFile();
    void designButtons();
    void pictureSizeAndLinks();
    void pictureButtons();
    void paintButton();
};

void TestPageEditor::sourceEditsAreSaved() {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.htm");
    writeFileBytes(path, editorPage("old text"));
    QWidget wall;
    wall.resize(1200, 900);
    PageEditorWindow editor(&wall);
    ScriptedPrompts prompts;
    editor.setPrompts(prompts);
    QSignalSpy written(&editor, &PageEditorWindow::pageWritten);
    whenShown(&editor, [&] {
        button(editor, "SpeedButton28")->click();
        QVERIFY(memo(editor, "Memo82")->isVisible());
        QString source = memo(editor, "Memo82")->toPlainText();
        QVERIFY(source.contains("old text"));
        memo(editor, "Memo82")->setPlainText(source.replace("old text", "new text"));
        button(editor, "BitBtn4")->click(); // saved while the source is shown
    });
    QCOMPARE(editor.openPage(path, 1, dir.path() + "/"), path);
    QCOMPARE(editor.size(), QSize(800, 850));
    QCOMPARE(written.count(), 1);
    QCOMPARE(written[0][0].toString(), path);
    QVERIFY(readFileBytes(path).contains("new text"));
    QVERIFY(!readFileBytes(path).contains("old text"));
}

void TestPageEditor::pagesBeyondTheFields() {
    QTemporaryDir dir;
    PageEditorWindow editor(nullptr);
    ScriptedPrompts prompts;
    editor.setPrompts(prompts);
    const QStringList& told = prompts.told;

    // Edited by hand beyond the fields: a warning on opening, and a question
    // before saving over it; "いいえ" writes nothing.
    const QString hand = dir.filePath("hand.htm");
    QByteArray page = editorPage("text");
    page.replace("</BODY>", "<p>extra</p><table><tr><td>a</td><td>b</td></tr></table></BODY>");
    writeFileBytes(hand, page);
    whenShown(&editor, [&] {
        button(editor, "BitBtn4")->click();
        QVERIFY(editor.isVisible());
        button(editor, "BitBtn2")->click();
    });
    QCOMPARE(editor.openPage(hand, 1, dir.path() + "/"), QString());
    QCOMPARE(told.size(), 1);
    QVERIFY(told[0].contains(hand));
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(readFileBytes(hand), page);

    // Not UTF-8 (a Shift_JIS save keeps the marker) and too large: named,
    // not opened.
    const QString sjis = dir.filePath("sjis.htm");
    writeFileBytes(sjis, "<META NAME=\"WebTXT_TEXT\"><BODY>\x93\x8c\x8b\x9e</BODY>");
    const QString huge = dir.filePath("huge.htm");
    writeFileBytes(huge, editorPage(QString(9 * 1024 * 1024, 'x')));
    for (const QString& path : {sjis, huge}) {
        prompts.told.clear();
        QCOMPARE(editor.openPage(path, 1, dir.path() + "/"), QString());
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].contains(QFileInfo(path).fileName()), qPrintable(told[0]));
    }

    // A picture the page names that is not there: said, and its markup kept.
    const QString pictured = dir.filePath("pictured.htm");
    QByteArray withPicture = editorPage("t");
    withPicture.replace("<P></P>", "<P align=\"left\"><IMG src=\"Gone.JPG\" width=\"50%\"></P>");
    writeFileBytes(pictured, withPicture);
    prompts.told.clear();
    prompts.answers = {true};
    whenShown(&editor, [&] { button(editor, "BitBtn4")->click(); });
    editor.openPage(pictured, 1, dir.path() + "/");
    QVERIFY(told.join('\n').contains("Gone.JPG"));
    QVERIFY(readFileBytes(pictured).contains("<IMG src=\"Gone.JPG\" width=\"50%\">"));

    // Nested deeper than the text fields lay out quickly: named, not opened.
    const QString deep = dir.filePath("deep.htm");
    writeFileBytes(deep, editorPage("<B>" + QString("<B>").repeated(4000) + "</B>"));
    prompts.told.clear();
    whenShown(&editor, [&] { button(editor, "BitBtn2")->click(); });
    QCOMPARE(editor.openPage(deep, 1, dir.path() + "/"), QString());
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].contains(deep), qPrintable(told[0]));
}

void TestPageEditor::failuresKeepTheFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.htm");
    const QByteArray page = editorPage("text");
    writeFileBytes(path, page);
    PageEditorWindow editor(nullptr);
    ScriptedPrompts prompts;
    editor.setPrompts(prompts);
    QSignalSpy written(&editor, &PageEditorWindow::pageWritten);
    const QStringList& told = prompts.told;
    const QString nowhere = dir.filePath("missing/folder/x.htm");
    prompts.files = {{nowhere}};
    bool stayedOpen = false;
    whenShown(&editor, [&] {
        memo(editor, "Memo1")->setPlainText("changed");
        button(editor, "BitBtn1")->click(); // cannot be written there
        stayedOpen = editor.isVisible();
        button(editor, "BitBtn2")->click();
    });
    QCOMPARE(editor.openPage(path, 1, dir.path() + "/"), QString());
    QVERIFY(stayedOpen);
    // The save dialog starts at the page, for HTML, and adds ".html".
    QCOMPARE(prompts.requests.size(), 1);
    const FileRequest& request = prompts.requests[0];
    QCOMPARE(request.mode, FileRequest::Save);
    QCOMPARE(request.title, QStringLiteral("名付けて保存"));
    QCOMPARE(request.folder, path);
    QCOMPARE(request.filter, QStringLiteral("HTML (*.htm*);;全部 (*)"));
    QCOMPARE(request.typed, QStringLiteral("html"));
    QCOMPARE(written.count(), 0);
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
    ScriptedPrompts prompts;
    editor.setPrompts(prompts);
    QStringList links{"https://example.com/news", "/srv/lessons/unit", "a\"b.htm",
                      "https://en.wikipedia.org/wiki/Mercury_(planet)"};
    editor.setMarkupAnswers({[&] { return links.takeFirst(); },
                             [](const QString& base) { return base == "漢字" ? "かんじ" : ""; }});
    QPlainTextEdit* big = memo(editor, "Memo4");
    QPlainTextEdit* framed = memo(editor, "Memo1");
    QPlainTextEdit* unframed = memo(editor, "Memo2");
    QString inserted;
    whenShown(&editor, [&] {
        QVERIFY(button(editor, "SpeedButton15")->isChecked()); // a new page is a note
        button(editor, "SpeedButton13")->click();
        QVERIFY(button(editor, "SpeedButton13")->isChecked() &&
                !button(editor, "SpeedButton15")->isChecked());
        button(editor, "SpeedButton5")->click();  // big heading centred
        button(editor, "SpeedButton21")->click(); // text left, frame right
        big->setPlainText("見出し");
        memo(editor, "Memo5")->setPlainText("小");
        // Markup needs a selection in a text field that has the focus: with
        // the title focused it does nothing.
        QToolButton* red = button(editor, "SpeedButton24");
        selectAll(framed, "赤い字");
        edit(editor, "Edit1")->setFocus();
        red->click();
        QCOMPARE(framed->toPlainText(), QStringLiteral("赤い字"));
        selectAll(framed, "赤い字");
        red->click();
        QCOMPARE(framed->toPlainText(), QStringLiteral("<font color=\"#ff0000\">赤い字</font>"));
        selectAll(unframed, "漢字");
        button(editor, "SpeedButton31")->click();
        QCOMPARE(unframed->toPlainText(), QStringLiteral("<ruby>漢字<rt>かんじ</ruby>"));
        unframed->moveCursor(QTextCursor::End);
        button(editor, "SpeedButton16")->click();
        button(editor, "SpeedButton16")->click();
        button(editor, "SpeedButton16")->click(); // a quote in the target: refused
        QVERIFY(unframed->toPlainText().endsWith(
            "<A href=\"https://example.com/news\">newsへのリンク</A>"
            "<A href=\"/srv/lessons/\">unitへのリンク</A>"));
        QCOMPARE(prompts.told.size(), 1);
        // A right click on "文字だけ" empties the headings and the unframed
        // text, and leaves the framed text.
        QTest::mouseClick(button(editor, "SpeedButton3"), Qt::RightButton);
        QVERIFY(big->toPlainText().isEmpty() && unframed->toPlainText().isEmpty());
        QVERIFY(!framed->toPlainText().isEmpty());
        big->setPlainText("見出し");
        // An address's parentheses make no blank of a quiz.
        unframed->setFocus();
        button(editor, "SpeedButton16")->click();
        inserted = unframed->toPlainText();
        // A placement without a picture names none.
        button(editor, "SpeedButton11")->click();
        button(editor, "BitBtn4")->click();
    });
    QCOMPARE(editor.openPage(path, 0, dir.path() + "/"), path);
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
        pressed = button(editor, "SpeedButton13")->isChecked() &&
                  button(editor, "SpeedButton5")->isChecked() &&
                  button(editor, "SpeedButton21")->isChecked() &&
                  !button(editor, "SpeedButton19")->isChecked();
        reread = unframed->toPlainText();
        button(editor, "BitBtn2")->click();
    });
    editor.openPage(path, 1, dir.path() + "/");
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
    ScriptedPrompts prompts;
    editor.setPrompts(prompts);
    QSignalSpy tucks(&editor, &PageEditorWindow::tuckRequested);
    ShellRecorder shell({"file"});
    whenShown(&editor, [&] {
        QVERIFY(button(editor, "SpeedButton10")->isChecked()); // picture left
        // A double click on the preview opens the picture, and the wall
        // steps aside for it.
        QTest::mouseDClick(control<QLabel>(editor, "Image1"), Qt::LeftButton);
        QCOMPARE(shell.opened, QList<QUrl>{QUrl::fromLocalFile(dir.filePath("pic.png"))});
        QCOMPARE(tucks.count(), 1);
        auto* bar = control<QScrollBar>(editor, "ScrollBar1");
        QCOMPARE(bar->value(), 400);
        bar->setValue(200);
        QCOMPARE(edit(editor, "GX")->text(), QStringLiteral("200"));
        QCOMPARE(edit(editor, "GY")->text(), QStringLiteral("150"));
        button(editor, "BitBtn4")->click();
    });
    editor.openPage(path, 1, dir.path() + "/");
    QVERIFY(readFileBytes(path).contains("<IMG src=\"pic.png\" width=\"200\" height=\"150\""));

    // A page without a kind keeps its body colour and attributes.
    QByteArray plain = editorPage("text");
    const qsizetype from = plain.indexOf("<!--STYLE_IN");
    const qsizetype to = plain.indexOf("<!--STYLE_OUT-->") + 16;
    plain.remove(from, to - from);
    plain.replace("<BODY>", "<BODY bgcolor=\"#123456\" text=\"red\">");
    writeFileBytes(path, plain);
    whenShown(&editor, [&] { button(editor, "BitBtn4")->click(); });
    editor.openPage(path, 1, dir.path() + "/");
    QVERIFY(readFileBytes(path).contains("<BODY bgcolor=\"#123456\" text=\"red\">"));

    // A paragraph that is only a link keeps it, opened and saved unchanged.
    QByteArray linked = editorPage("text");
    linked.replace("<P></P>", "<P><A href=\"notes.pdf\">資料</A></P>");
    writeFileBytes(path, linked);
    whenShown(&editor, [&] {
        QCOMPARE(edit(editor, "Edit2")->text(), QStringLiteral("notes.pdf"));
        button(editor, "BitBtn4")->click();
    });
    editor.openPage(path, 1, dir.path() + "/");
    QCOMPARE(readFileBytes(path), linked);
    // A linked file's parentheses are no blank either.
    writeFileBytes(path, editorPage("text"));
    prompts.files = {{dir.filePath("(1)地図.pdf")}};
    whenShown(&editor, [&] {
        button(editor, "SpeedButton37")->click();
        button(editor, "BitBtn4")->click();
    });
    editor.openPage(path, 1, dir.path() + "/");
    QVERIFY(!readFileBytes(path).contains("<input"));
    QCOMPARE(prompts.requests.size(), 1);
    QCOMPARE(prompts.requests[0].title, QStringLiteral("画像へのリンク"));
    QCOMPARE(prompts.requests[0].folder, dir.path() + "/");
    QVERIFY(prompts.told.isEmpty());
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
    ScriptedPrompts prompts;
    editor.setPrompts(prompts);
    QLineEdit* name = edit(editor, "Gname");
    QToolButton* load = button(editor, "SpeedButton1");
    whenShown(&editor, [&] {
        QVERIFY(button(editor, "SpeedButton3")->isChecked()); // text only
        // A picture of the same name already beside the page is not
        // replaced unasked; "いいえ" keeps it and loads nothing.
        prompts.files = {{elsewhere + "sea.png"}};
        load->click();
        QCOMPARE(prompts.asked.size(), 1);
        QVERIFY(name->text().isEmpty());
        // "はい": copied, shown and sized; from text only the placement is
        // centred.
        prompts.answers = {true};
        prompts.files = {{elsewhere + "sea.png"}};
        load->click();
        QVERIFY(button(editor, "SpeedButton11")->isChecked());
        QVERIFY(!button(editor, "SpeedButton3")->isChecked());
        QCOMPARE(name->text(), QStringLiteral("sea.png"));
        QCOMPARE(edit(editor, "GX")->text() + "x" + edit(editor, "GY")->text(),
                 QStringLiteral("400x300"));
        // The link is relative to the page's folder.
        prompts.files = {{wallFolder + "docs/a.pdf"}};
        button(editor, "SpeedButton37")->click();
        QCOMPARE(edit(editor, "Edit2")->text(), QStringLiteral("docs/a.pdf"));
        // A title picture and a background, kept in the wall folder as "_"
        // copies; cancelling the title picture's dialog removes it again.
        prompts.files = {{elsewhere + "top.png"}, {elsewhere + "top.png"}};
        button(editor, "SpeedButton22")->click();
        button(editor, "SpeedButton40")->click();
        button(editor, "BitBtn4")->click();
    });
    QCOMPARE(editor.openPage(path, 1, wallFolder), path);
    // The picture dialog starts beside the page, then where the last
    // picture came from.
    QCOMPARE(prompts.requests.size(), 5);
    QCOMPARE(prompts.requests[0].title, QStringLiteral("画像"));
    QCOMPARE(prompts.requests[0].folder, wallFolder);
    QCOMPARE(prompts.requests[1].folder, dir.filePath("pictures"));
    QCOMPARE(prompts.requests[2].title, QStringLiteral("画像へのリンク"));
    QByteArray page = readFileBytes(path);
    QVERIFY(page.contains("<P align=\"center\"><A href=\"docs/a.pdf\"><IMG src=\"sea.png\" "
                          "width=\"400\" height=\"300\""));
    QVERIFY(page.contains("<IMG src=\"_top.png\" border=\"0\">"));
    QVERIFY(page.contains("<BODY background=\"_top.png\""));
    QVERIFY(QFileInfo::exists(wallFolder + "_top.png"));

    // Deleting the picture moves it to the trash; the title picture goes
    // when its dialog is cancelled.
    whenShown(&editor, [&] {
        QTest::mouseClick(load, Qt::RightButton);
        QVERIFY(name->text().isEmpty());
        button(editor, "SpeedButton22")->click(); // cancelled
        button(editor, "BitBtn4")->click();
    });
    editor.openPage(path, 1, wallFolder);
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
    ScriptedPrompts prompts;
    editor.setPrompts(prompts);
    QLineEdit* name = edit(editor, "Gname");
    whenShown(&editor, [&] {
        QTest::mouseClick(button(editor, "SpeedButton2"), Qt::RightButton); // a new picture
        QVERIFY(!editor.isEnabled() || name->text() == "_3-iedit.bmp");
        QTRY_VERIFY(editor.isEnabled());
        QCOMPARE(name->text(), QStringLiteral("_3-iedit.bmp"));
        QTRY_COMPARE(edit(editor, "GX")->text() + "x" + edit(editor, "GY")->text(),
                     QStringLiteral("100x80"));
        button(editor, "BitBtn4")->click();
    });
    editor.openPage(path, 1, wallFolder);
    qputenv("PATH", oldPath);
    QVERIFY(readFileBytes(path).contains("src=\"_3-iedit.bmp\""));
    QVERIFY(readPicture(wallFolder + "_3-iedit.bmp").image.size() == QSize(100, 80));
}

QTEST_MAIN(TestPageEditor)
#include "tst_pageeditor.moc"
