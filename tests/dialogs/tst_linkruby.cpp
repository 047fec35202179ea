#include "dialogs/linkdialog.h"
#include "dialogs/rubydialog.h"
#include "support/scriptedprompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

// Runs `step` once `dialog` is shown (it is modal).
void whenShown(QDialog& dialog, std::function<void()> step) {
    QTimer::singleShot(0, &dialog, [&dialog, step] {
        QTRY_VERIFY(dialog.isVisible());
        step();
    });
}

} // namespace

class TestLinkRuby : public QObject {
    Q_OBJECT
private slots:
    void linkDialog();
    void rubyDialog();
};

void TestLinkRuby::linkDialog() {
    LinkDialog d;
    ScriptedPrompts prompts;
    prompts.files = {{QStringLiteral("/tmp")}};
    d.setPrompts(&prompts);
    // "参照" puts the chosen path in; "リンク" returns it.
    whenShown(d, [&] {
        d.SpeedButton1->click();
        QCOMPARE(d.Edit1->text(), QStringLiteral("/tmp"));
        d.SpeedButton2->click();
    });
    QCOMPARE(d.ask(), QStringLiteral("/tmp"));
    QCOMPARE(prompts.requests.size(), 1);
    QCOMPARE(prompts.requests[0].title, QStringLiteral("リンク"));
    // The close box right after a link, "キャンセル" after typing, and
    // "リンク" with nothing typed all mean no link; the typed text stays.
    whenShown(d, [&] { d.close(); });
    QCOMPARE(d.ask(), QString());
    whenShown(d, [&] {
        d.Edit1->setText("https://example.com/news");
        d.SpeedButton3->click();
    });
    QCOMPARE(d.ask(), QString());
    QCOMPARE(d.Edit1->text(), QStringLiteral("https://example.com/news"));
    whenShown(d, [&] {
        d.Edit1->clear();
        d.SpeedButton2->click();
    });
    QCOMPARE(d.ask(), QString());
}

void TestLinkRuby::rubyDialog() {
    RubyDialog d;
    QCOMPARE(d.windowTitle(), QStringLiteral("ルビふり"));
    whenShown(d, [&] {
        QCOMPARE(d.Label1->text(), QStringLiteral("漢字"));
        QVERIFY(d.Edit1->text().isEmpty());
        d.Edit1->setText("かんじ");
        d.SpeedButton1->click();
    });
    QCOMPARE(d.ask("漢字"), QStringLiteral("かんじ"));
    // The close box keeps the typed reading; "キャンセル" and Escape do not.
    whenShown(d, [&] {
        d.Edit1->setText("よみ");
        d.close();
    });
    QCOMPARE(d.ask("読"), QStringLiteral("よみ"));
    whenShown(d, [&] {
        d.Edit1->setText("よみ");
        d.SpeedButton2->click();
    });
    QCOMPARE(d.ask("読"), QString());
    whenShown(d, [&] {
        d.Edit1->setText("よみ");
        QTest::keyClick(d.Edit1, Qt::Key_Escape);
    });
    QCOMPARE(d.ask("読"), QString());
}

QTEST_MAIN(TestLinkRuby)
#include "tst_linkruby.moc"
