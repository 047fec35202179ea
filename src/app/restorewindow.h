#pragma once

#include "drawing/windowdrag.h"

#include <QDialog>

class QLabel;
class QToolButton;

// The small aqua window at the screen's top left that brings a hidden wall
// back: a title "もどす" above a 78 × 37 button.
class RestoreWindow : public QDialog { // TForm20
    Q_OBJECT
public:
    explicit RestoreWindow(QWidget* parent = nullptr);

    QToolButton* SpeedButton1; // fills the window below the title; closes it

signals:
    // The window was closed: the wall is to come back.
    void restoreRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* caption_; // the title; dragging it moves the window
    WindowDrag drag_;
};
