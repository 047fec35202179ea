#include "app/zavikapplication.h"
#include "storage/recorderror.h"

#include <QMessageBox>
#include <QTimer>
#include <QtTest>

// An error that escapes a handler is shown to the user, and the program goes on.
class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void escapedErrorsAreShownNotFatal();
};

void TestApplication::escapedErrorsAreShownNotFatal() {
    QString shown;
    QTimer closer;
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    closer.start();
    QTimer::singleShot(0, [] {
        throw RecordError(RecordError::Reason::NotInteger, QStringLiteral("X座標(XS)"),
                          QStringLiteral("abc"), QStringLiteral("/w/card.txt"));
    });
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 10000);
    QVERIFY(shown.contains(QLatin1String("/w/card.txt")));
    QVERIFY(shown.contains(QLatin1String("abc")));

    shown.clear();
    QTimer::singleShot(0, [] { throw std::runtime_error("disk on fire"); });
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 10000);
    QVERIFY(shown.contains(QLatin1String("disk on fire")));
}

int main(int argc, char** argv) {
    ZavikApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
