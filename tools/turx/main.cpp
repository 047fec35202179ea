#include "turxwindow.h"

#include <QApplication>

// Zavik starts TURX with the path of a LOGO project, or with nothing for an
// untitled one.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TURX"));
    const QStringList arguments = QApplication::arguments();
    TurxWindow window(arguments.size() > 1 ? arguments.at(1) : QString());
    window.show();
    // A project handed over by a card runs at once: the pupil sees it draw.
    if (arguments.size() > 1)
        window.runProgram();
    return QApplication::exec();
}
