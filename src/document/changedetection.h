#pragma once

#include "document/folderlook.h"

#include <QObject>

class QTimer;
class WallLoader;
template <typename T> class QFutureWatcher;

// Every two seconds the wall folder is compared with what the wall shows, so
// that what other programs change appears on the wall. The folder is looked
// at on a worker thread, since on a school's file share every file looked at
// is a round trip; what the look found is taken into the wall here. Commands
// that rebuild or save the wall stop it first and start it again when they
// are done; a look under way then is not taken.
class ChangeDetection : public QObject {
    Q_OBJECT
public:
    ChangeDetection(WallLoader& loader, QObject* parent);

    void start();
    void stop();
    bool isActive() const;

    // One pass: a look at the folder begins, and is taken when it ends. A
    // pass due while a look is still under way is skipped.
    void Timer2Timer();
    bool isLooking() const { return looking_; }
    // Waits for a look under way to end; what it found is not taken.
    void endLook();

    // Holds change detection for as long as it lives, then starts it again,
    // however the command holding it ends.
    class Pause {
    public:
        explicit Pause(ChangeDetection& changes) : changes_(changes) { changes_.stop(); }
        ~Pause() { changes_.start(); }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        ChangeDetection& changes_;
    };

    QTimer* Timer2; // every 2000 ms

signals:
    // What a look found was taken into the wall.
    void lookTaken();

private:
    void lookEnded();

    WallLoader& loader_;
    QFutureWatcher<FolderLook>* watcher_;
    bool looking_ = false;
};
