#pragma once

#include <QDialog>

class QToolButton;

// The small aqua window at the screen's top left that brings a hidden wall
// back.
class RestoreWindow : public QDialog { // TForm20
    Q_OBJECT
public:
    explicit RestoreWindow(QWidget* parent = nullptr);

    QToolButton* SpeedButton1; // covers the window; closes it

signals:
    // The window was closed: the wall is to come back.
    void restoreRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
};
