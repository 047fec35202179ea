#pragma once

#include <QObject>

class QTimer;
class WallLoader;

// Every two seconds the wall folder is compared with what the wall shows, so
// that what other programs change appears on the wall. Commands that rebuild
// or save the wall stop it first and start it again when they are done.
class ChangeDetection : public QObject {
    Q_OBJECT
public:
    ChangeDetection(WallLoader& loader, QObject* parent);

    void start();
    void stop();
    bool isActive() const;

    // One pass, with the timer held while it runs.
    void Timer2Timer();

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

private:
    WallLoader& loader_;
};
