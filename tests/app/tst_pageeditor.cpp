#include "app/linkrunner.h"
#include "pageeditor/pagedocument.h"
#include "pageeditor/pageeditorwindow.h"
#include "pageeditor/pagefile.h"
#include "support/shellrecorder.h"
#include "support/windowfixture.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// Runs `step` on the editor once it is shown (it is modal).
void whenShown(PageEditorWindow* editor, std::function<void()> step) {
    auto* poll = new QTimer(editor);
    QObject::connect(poll, &QTimer::timeout, editor, [editor, poll, step] {
        if (!editor->isVisible())
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
    QCOMPARE(readFileBytes(path), page);
    QVERIFY(!QFileInfo::exists(nowhere));
}

QTEST_MAIN(TestPageEditor)
#include "tst_pageeditor.moc"
