#pragma once

#include <QMenu>

// The number notes: seventy sub-walls "ノート00" to "ノート69", ten under
// each of seven sub-menus.
class NumberNotesMenu : public QMenu { // PopupMenu5
    Q_OBJECT
public:
    explicit NumberNotesMenu(QWidget* window);

signals:
    // A note was chosen: its sub-wall, relative to the wall folder.
    void noteChosen(const QString& folder);
};
