#include "app/zavikapplication.h"

#include "storage/recorderror.h"

#include <QMessageBox>

ZavikApplication::ZavikApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ZavikApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const RecordError& e) {
        QMessageBox::critical(activeWindow(), QStringLiteral("Zavik"), e.message());
    } catch (const std::exception& e) {
        QMessageBox::critical(
            activeWindow(), QStringLiteral("Zavik"),
            QStringLiteral("エラーが起きました：%1").arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        QMessageBox::critical(activeWindow(), QStringLiteral("Zavik"),
                              QStringLiteral("エラーが起きました。"));
    }
    return false;
}
