#pragma once

#include <QObject>
#include <QString>

class QTimer;
class StartOverDialog;

// Starts the LOGO environment. A project is never run where it lies: it is
// copied, with the sounds of its folder, into the LOGO working folder (data
// folder + "LOGO/"), and the environment starts on the copy. No project
// larger than a LOGO project can be is copied or opened.
class LogoStarter : public QObject {
    Q_OBJECT
public:
    LogoStarter(StartOverDialog* startOver, QObject* parent = nullptr);

    // The folders it works in.
    QString dataFolder;
    QString resourceFolder;

    // The environment's program: resource folder + "TURX/turx".
    QString program() const;
    QString workingFolder() const { return dataFolder + QStringLiteral("LOGO/"); }

    // Whether the environment may open `project`: one larger than a LOGO
    // project can be is refused, and the user told so.
    bool acceptsProject(const QString& project);
    // Copies project P into the working folder (asking first when a copy is
    // already there) and starts the environment on the copy 3 seconds later.
    // Returns the copy's path; empty when P is refused.
    QString copyAndStart(const QString& P);
    // Starts on a project at once (delay < 1) or 3 seconds later. One start
    // waits at a time: a second request replaces the first and waits anew.
    void SHELLTURXE(const QString& project, int delay);
    void SHELLTURXE2(const QString& project);
    // "プログラミングをはじめる": the new project of the resource folder,
    // copied into the working folder (asking before it replaces one there)
    // and started at once.
    void startNewProject();

    QString FF2;    // the project waiting for a delayed start
    QTimer* Timer1; // the delayed start

    // How long a delayed start waits; tests shorten it.
    int delayMs = 3000;

signals:
    // The environment was asked to start on this project (empty: none); a
    // refused project gives no signal.
    void started(const QString& project, bool ok);

private:
    StartOverDialog* startOver_;
};
