#pragma once

#include "logointerpreter.h"
#include "projectfile.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class TurtleCanvas;

// The LOGO environment's window: the project's text on the left, the canvas
// on the right, and buttons to run, save and clear. All the work is done by
// LogoInterpreter and the project file functions.
class TurxWindow : public QWidget {
    Q_OBJECT
public:
    // An empty `path` is an untitled project; a path that does not exist yet
    // is a new project that saving creates.
    explicit TurxWindow(const QString& path, QWidget* parent = nullptr);

    void runProgram();
    bool save();
    void clearCanvas();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void load();
    void updateTitle();
    void showStatus(const QString& text, bool isError);

    QString path_;
    ProjectText project_;
    LogoInterpreter interpreter_;
    QPlainTextEdit* editor_ = nullptr;
    TurtleCanvas* canvas_ = nullptr;
    QLabel* status_ = nullptr;
};
