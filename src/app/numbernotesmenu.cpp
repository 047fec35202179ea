#include "app/numbernotesmenu.h"

NumberNotesMenu::NumberNotesMenu(QWidget* window) : QMenu(window) {
    setObjectName(QStringLiteral("PopupMenu5"));
    for (int tens = 0; tens < 7; ++tens) {
        QMenu* sub = addMenu(QString::number(tens));
        for (int ones = 0; ones < 10; ++ones) {
            const QString nn = QStringLiteral("%1%2").arg(tens).arg(ones);
            QAction* item = sub->addAction(nn);
            item->setObjectName(QStringLiteral("note") + nn);
            connect(item, &QAction::triggered, this, [this, nn] {
                emit noteChosen(QStringLiteral("ノート") + nn + QLatin1Char('/'));
            });
        }
    }
}
