#pragma once

#include <QApplication>

// The application object. Handlers catch their own errors and tell the user;
// should one slip through anyway, it is shown here in a message box and the
// program goes on, instead of letting the exception unwind through Qt.
class ZavikApplication : public QApplication {
    Q_OBJECT
public:
    ZavikApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
