#pragma once

#include <QString>
#include <array>

class QAction;
class QFrame;
class QMenu;
class QSpinBox;
class QToolButton;
class QWidget;

// The picture editor's controls: the narrow tool bar down one side of the
// window and the zoom-and-turn menu. Each control carries its old form name
// as its object name. The window connects them and places the bar.
class PictureEditorForm {
public:
    explicit PictureEditorForm(QWidget* window);

    QFrame* toolBar;                          // Panel1
    QToolButton* straightButton;              // SpeedButton14: shown in straight-line mode
    QToolButton* freehandButton;              // SpeedButton15: shown in freehand mode
    std::array<QToolButton*, 5> chalkButtons; // SpeedButton2..6: red, blue, yellow, white, black
    QFrame* chalkColourPanel;                 // Panel2: the current chalk colour
    QToolButton* seeThroughButton;            // SpeedButton9 "透明化"
    QSpinBox* chalkWidthEdit;                 // SpinEdit3
    QToolButton* rubberButton;                // SpeedButton8
    QToolButton* redisplayButton;             // SpeedButton7 "再表示"
    QToolButton* selectButton;                // SpeedButton10: the next drag cuts out
    QToolButton* cancelSelectButton;          // SpeedButton11: shares SpeedButton10's place
    QSpinBox* zoomFactorEdit;                 // SpinEdit1
    QSpinBox* angleEdit;                      // SpinEdit2
    QToolButton* zoomTurnButton;              // SpeedButton16: opens the menu
    QToolButton* removeCutOutButton;          // SpeedButton12
    QToolButton* captureButton;               // SpeedButton13 "キャプチャー"
    QToolButton* backButton;                  // SpeedButton1 "もどる"

    QMenu* zoomTurnMenu; // PopupMenu1
    QAction* zoomInAction;
    QAction* zoomOutAction;
    QAction* turnRightAction;
    QAction* turnLeftAction;
    QAction* mirrorLeftRightAction;
    QAction* mirrorUpDownAction;

private:
    QToolButton* makeButton(const char* name, const QString& shown);
};
