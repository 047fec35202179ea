#include "app/linkrunner.h"
#include "pageeditor/pageeditorwindow.h"
#include "support/pageeditorfixture.h"
#include "support/shellrecorder.h"
#include "support/windowfixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QUrl>

// Pages clicked in the wall's file window: the editor's own open in it,
// other pages go to the desktop.
class TestPageRouting : public QObject {
    Q_OBJECT
private slots:
    void fileWindowRoutesPages();
};

void TestPageRouting::fileWindowRoutesPages() {
    WindowWall wall({});
    const QByteArray quiz = editorPage("首都は(東京)です。", "【解答】東京");
    writeFileBytes(wall.data + "quiz.htm", quiz);
    writeFileBytes(wall.data + "plain.html", "<html><body>hi</body></html>");
    WallWindow& w = wall.open();
    PageEditorWindow* editor = w.findChild<PageEditorWindow*>();
    auto* framedText = control<QPlainTextEdit>(*editor, "Memo1");
    ShellRecorder shell({"file"});

    // A page the editor wrote opens in it, filled; saved unchanged it comes
    // back byte for byte.
    QString framed;
    whenShown(editor, [&] {
        framed = framedText->toPlainText();
        QCOMPARE(editor->windowTitle(), wall.data + "quiz.htm");
        control<QToolButton>(*editor, "BitBtn4")->click();
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
        control<QToolButton>(*editor, "SpeedButton27")->click();
        QVERIFY(framedText->toPlainText().isEmpty() &&
                control<QLineEdit>(*editor, "Edit1")->text().isEmpty());
        control<QToolButton>(*editor, "BitBtn2")->click();
    });
    w.links().FileListBox2Click("quiz.htm");
    QCOMPARE(readFileBytes(wall.data + "quiz.htm"), quiz);
}

QTEST_MAIN(TestPageRouting)
#include "tst_pagerouting.moc"
