#pragma once

#include <QAction>
#include <QMenu>

// A menu item carrying its control name.
inline QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

// Commands whose windows come later stay visible, greyed, saying what they
// will do.
inline void notYet(QAction* a, const QString& what) {
    a->setEnabled(false);
    a->setToolTip(what + QStringLiteral("（準備中）"));
}
