#pragma once

#include <QAction>
#include <QMenu>

// A menu item carrying its control name.
inline QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}
