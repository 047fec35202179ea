#pragma once

#include "platform/screengrab.h"

#include <QCursor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <functional>

class QMenu;
class QTimer;
class QWidget;
class RegionWindow;
class WallDocument;

// Photographs the screen after a delay: from the capture menu, or after the
// pointer rests on the wall's capture corner. The frozen screen then opens in
// the region window. Resting on the full-screen drawing button opens the
// picture editor on a fresh screenshot instead.
class ScreenCapture : public QObject {
    Q_OBJECT
public:
    // `busy`: the wall is being loaded or laid out.
    ScreenCapture(WallDocument& doc, const bool& busy, QWidget* wallWindow);

    QMenu* PopupMenu4;     // "キャプチャー" and the three delays
    QTimer* Timer7;        // the capture delay
    QTimer* Timer6;        // the full-screen drawing after hovering
    RegionWindow* TForm14; // the frozen screen
    bool T6FLG = false;    // the full-screen drawing is armed
    bool URA1 = false;     // the wall was put out of the way for this capture

    // How the screen is photographed: the picture comes now or later (a
    // desktop portal answers when it will); tests answer instead.
    std::function<void(GrabDone)> grab;
    // Where the pointer is, on the screen; tests answer instead.
    std::function<QPoint()> pointer = [] { return QCursor::pos(); };
    // The wall's own handles (drag strip, capture corner, grab tab) hide
    // while the screen is photographed.
    QList<QWidget*> handles;
    // Whether the wall is tucked or dragged off the screen, so that it goes
    // out of the way for "キャプチャー".
    std::function<bool()> wallIsAside;
    // The editor's window: while it is open it stands above the wall, and
    // what a capture shows or says stands above it in turn. A notice owned
    // by the full-screen wall would bring the wall up over the editor.
    QWidget* editorWindow = nullptr;

    // The capture menu at the pointer, 120 pixels to its left.
    void showMenu(QPoint pointer);
    // A capture after `ms`; "キャプチャー" first puts an aside wall away.
    void captureAfter(int ms, bool putWallAway);
    void Timer7Timer();

    // The capture corner and the full-screen drawing button follow the
    // pointer resting on them.
    void watchCorner(QWidget* corner);
    void watchDrawingButton(QWidget* button);
    // The full-screen drawing after resting: only when `T6FLG` is set and the
    // pointer is still on the shown button.
    void Timer6Timer();

signals:
    // The picture editor is to open on `screenshot`, the whole screen.
    void editorRequested(const QImage& screenshot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The wall, or the editor while it is open.
    QWidget* windowInFront() const;
    // Tells the user why the screen could not be photographed.
    void cannotCapture(const ScreenGrab& shot);
    void disarmDrawing();
    bool pointerOnDrawingButton() const;
    // Opens the picture editor on a fresh screenshot.
    void drawOnScreen();
    // Photographs the screen once no other photograph is under way.
    void photograph(GrabDone done);

    WallDocument& st;

    const bool& busy_;
    QWidget* wallWindow_;
    QWidget* corner_ = nullptr;
    QWidget* drawingButton_ = nullptr;
    bool photographing_ = false;
};
