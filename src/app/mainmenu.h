#pragma once

#include <QMenu>

// The main menu under the tool column's top button. The wall window connects
// its entries to the commands.
class MainMenu : public QMenu { // PopupMenu2
    Q_OBJECT
public:
    explicit MainMenu(QWidget* window);

    QAction* Undo1;  // take the last step back
    QAction* Redo1;  // make it again
    QAction* Zavik2; // the help page
    QAction* N21;    // folder structure
    QAction* N67;    // copy the wall folder to the desktop
    QAction* N2;     // window with a frame
    QAction* N5;     // window without a frame
    QAction* N01;    // discard what was not saved
    QAction* CSV1;   // CSV export
    QAction* N20;    // print
    QAction* N3;     // save and exit
    QAction* N32;    // exit without saving
};
