#include "dialogs/startovercanceldialog.h"
#include "dialogs/startoverdialog.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestStartOverDialogs : public QObject {
    Q_OBJECT
private slots:
    void buttonsGiveTheirResults();
    void continuationName();
};

void TestStartOverDialogs::buttonsGiveTheirResults() {
    auto pressLater = [](QDialog* d, const char* button) {
        QTimer::singleShot(0, d, [d, button] {
            QTest::mouseClick(d->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
        });
    };
    StartOverDialog dialog6;
    StartOverDialog* six = &dialog6;
    QCOMPARE(six->objectName(), QStringLiteral("TForm6"));
    pressLater(six, "restartButton");
    six->exec();
    QCOMPARE(six->tag(), 1);
    pressLater(six, "continueButton");
    six->exec();
    QCOMPARE(six->tag(), 2);
    QTimer::singleShot(0, six, [six] { six->reject(); });
    six->exec();
    QCOMPARE(six->tag(), 0);

    StartOverCancelDialog dialog27;
    StartOverCancelDialog* seven = &dialog27;
    QCOMPARE(seven->objectName(), QStringLiteral("TForm27"));
    seven->setFileName(QStringLiteral("/w/page.doc"));
    pressLater(seven, "restartButton");
    seven->exec();
    QCOMPARE(seven->result(), 2);
    QCOMPARE(seven->fileName(), QStringLiteral("/w/page.doc"));
    pressLater(seven, "continueButton");
    seven->exec();
    QCOMPARE(seven->result(), 1);
    QCOMPARE(seven->fileName(), QStringLiteral("page.htm"));
    QCOMPARE(seven->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->property("tag").toInt(), 1);
    pressLater(seven, "BitBtn1");
    seven->exec();
    QCOMPARE(seven->result(), 0);
}

void TestStartOverDialogs::continuationName() {
    QCOMPARE(continuationPageName(QStringLiteral("/w/sub/page.doc")), QStringLiteral("page.htm"));
    QCOMPARE(continuationPageName(QStringLiteral("C:\\w\\a.b.html")), QStringLiteral("a.b.htm"));
    QCOMPARE(continuationPageName(QStringLiteral("plain")), QStringLiteral("plain.htm"));
}

QTEST_MAIN(TestStartOverDialogs)
#include "tst_startoverdialogs.moc"
