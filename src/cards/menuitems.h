#pragma once

#include <QAction>
#include <QBoxLayout>
#include <QMenu>
#include <QToolButton>

// A menu item carrying its control name.
inline QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

// A tool button named as the window's control, with its caption and hint.
inline QToolButton* makeToolButton(QWidget* parent, const char* name, const QString& caption,
                                   const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    return b;
}

// The same, at the end of `row`.
inline QToolButton* addToolButton(QWidget* parent, QBoxLayout* row, const char* name,
                                  const QString& caption, const QString& hint) {
    QToolButton* b = makeToolButton(parent, name, caption, hint);
    row->addWidget(b);
    return b;
}
