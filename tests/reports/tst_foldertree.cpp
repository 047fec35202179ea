#include "reports/foldertree.h"
#include "reports/foldertreewindow.h"
#include "storage/wallfiles.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

class TestFolderTree : public QObject {
    Q_OBJECT
private slots:
    void lines();
    void windowAndFile();
};

void TestFolderTree::lines() {
    QTemporaryDir dir;
    const QString top = dir.filePath("x");
    for (const char* folder :
         {"app/pics/sub", "app/NAIL/inner", "b/[] odd…name\\z", "B2", ".zavik-trash"})
        QVERIFY(QDir().mkpath(top + "/" + folder));
    // A link back up is not followed.
    QVERIFY(QFile::link(top + "/app", top + "/app/pics/loop"));
    const FolderTree tree = folderTreeLines(top + "/");
    QCOMPARE(tree.lines,
             (QStringList{"======================= x =======================", "[] app",
                          "……………pics", "…………………………sub", "[] b", "……………[] odd…name\\z", "[] B2"}));
    QVERIFY(!tree.tooDeep);

    // 101 levels: the deepest is left out and said.
    QString deep = dir.filePath("deep");
    for (int i = 0; i < 101; ++i)
        deep += "/d";
    QVERIFY(QDir().mkpath(deep));
    const FolderTree tall = folderTreeLines(dir.filePath("deep"));
    QCOMPARE(tall.lines.size(), 1 + 100);
    QVERIFY(tall.tooDeep);
}

void TestFolderTree::windowAndFile() {
    QTemporaryDir dir;
    const QString data = dir.filePath("zavik-data/");
    QVERIFY(QDir().mkpath(data + "lesson"));
    FolderTreeWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("構成"));
    window.FormShow(dir.path(), data);
    QFile written(data + "folder.txt");
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().startsWith("\xEF\xBB\xBF======================="));
    QVERIFY(window.Memo1->toPlainText().contains("……………lesson"));
    QVERIFY(window.problems->isHidden());

    // On the root wall "folder.txt" can be the card named "folder": kept.
    PosterRecord card;
    card.TT = "フォルダのカード";
    card.FNAME = "folder.txt";
    QVERIFY(writeCardFile(data + "folder.txt", card));
    const QByteArray before = [&] {
        QFile f(data + "folder.txt");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    window.FormShow(dir.path(), data);
    QFile kept(data + "folder.txt");
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), before);
    QVERIFY(!window.problems->isHidden() && window.problems->text().contains("folder.txt"));
}

QTEST_MAIN(TestFolderTree)
#include "tst_foldertree.moc"
