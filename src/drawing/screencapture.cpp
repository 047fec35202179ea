#include "drawing/screencapture.h"

#include "document/walldocument.h"
#include "drawing/regionwindow.h"
#include "platform/beep.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

ScreenCapture::ScreenCapture(WallDocument& doc, const bool& busy, QWidget* wallWindow)
    : QObject(wallWindow), st(doc), busy_(busy), wallWindow_(wallWindow) {
    PopupMenu4 = new QMenu(wallWindow);
    PopupMenu4->setObjectName(QStringLiteral("PopupMenu4"));
    PopupMenu4->addAction(QStringLiteral("キャプチャー"), this,
                          [this] { captureAfter(1000, true); });
    for (int seconds : {5, 15, 30})
        PopupMenu4->addAction(QStringLiteral("%1秒後にキャプチャー").arg(seconds), this,
                              [this, seconds] { captureAfter(seconds * 1000, false); });

    Timer7 = new QTimer(this);
    Timer7->setObjectName(QStringLiteral("Timer7"));
    Timer7->setSingleShot(true);
    connect(Timer7, &QTimer::timeout, this, &ScreenCapture::Timer7Timer);
    Timer6 = new QTimer(this);
    Timer6->setObjectName(QStringLiteral("Timer6"));
    Timer6->setSingleShot(true);
    Timer6->setInterval(4000);
    connect(Timer6, &QTimer::timeout, this, &ScreenCapture::Timer6Timer);

    TForm14 = new RegionWindow(wallWindow);
    grab = [this](GrabDone done) { photographScreen(this, windowInFront(), std::move(done)); };
}

void ScreenCapture::showMenu(QPoint pointer) {
    PopupMenu4->popup(pointer - QPoint(120, 0));
}

void ScreenCapture::captureAfter(int ms, bool putWallAway) {
    // Only "キャプチャー" puts the wall away, and only a wall that is not
    // covering the screen: what lies behind it is what the user wants.
    URA1 = putWallAway && wallIsAside && wallIsAside();
    if (URA1)
        wallWindow_->hide();
    QApplication::processEvents();
    Timer7->start(ms);
}

QWidget* ScreenCapture::windowInFront() const {
    return editorWindow && editorWindow->isVisible() ? editorWindow : wallWindow_;
}

void ScreenCapture::cannotCapture(const ScreenGrab& shot) {
    if (!shot.cancelled)
        QMessageBox::information(windowInFront(), QStringLiteral("Zavik"), shot.problem);
}

void ScreenCapture::photograph(GrabDone done) {
    // A desktop portal may still be answering the last request (its dialog
    // open): a second one would only stack up behind it.
    if (photographing_)
        return;
    photographing_ = true;
    grab([this, done = std::move(done)](const ScreenGrab& shot) {
        photographing_ = false;
        done(shot);
    });
}

void ScreenCapture::Timer7Timer() {
    Timer7->stop();
    if (photographing_)
        return;
    QList<QPointer<QWidget>> hidden;
    for (QWidget* w : std::as_const(handles))
        if (w->isVisible()) {
            w->hide();
            hidden << w;
        }
    zavikBeep();
    TForm14->hide();
    QApplication::processEvents();
    photograph([this, hidden](const ScreenGrab& shot) {
        for (const QPointer<QWidget>& w : hidden)
            if (w)
                w->show();
        // Only what this capture changed is put back.
        if (URA1) {
            URA1 = false;
            wallWindow_->show();
        }
        if (shot.image.isNull()) {
            cannotCapture(shot);
            return;
        }
        TForm14->startFolder = st.KIJUNDIR;
        TForm14->owner = windowInFront();
        TForm14->prepare(shot.image, wallWindow_->height());
        TForm14->showFullScreen();
        TForm14->raise();
        TForm14->activateWindow();
        TForm14->exec();
    });
}

void ScreenCapture::watchCorner(QWidget* corner) {
    corner_ = corner;
    corner->installEventFilter(this);
}

void ScreenCapture::watchDrawingButton(QWidget* button) {
    drawingButton_ = button;
    button->installEventFilter(this);
    if (auto* b = qobject_cast<QAbstractButton*>(button))
        connect(b, &QAbstractButton::clicked, this, [this] {
            disarmDrawing();
            drawOnScreen();
        });
}

void ScreenCapture::Timer6Timer() {
    const bool armed = T6FLG;
    disarmDrawing();
    // A fast pointer can enter the button without moving over it and leave
    // it with no Leave to follow: only a pointer still resting on the shown
    // button means the user waited for the drawing.
    if (armed && pointerOnDrawingButton())
        drawOnScreen();
}

void ScreenCapture::disarmDrawing() {
    Timer6->stop();
    T6FLG = false;
}

bool ScreenCapture::pointerOnDrawingButton() const {
    return drawingButton_ && drawingButton_->isVisible() &&
           drawingButton_->rect().contains(drawingButton_->mapFromGlobal(pointer()));
}

void ScreenCapture::drawOnScreen() {
    photograph([this](const ScreenGrab& shot) {
        if (shot.image.isNull())
            cannotCapture(shot);
        else
            emit editorRequested(shot.image);
    });
}

bool ScreenCapture::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == corner_) {
        if (type == QEvent::Enter) {
            QApplication::processEvents();
            Timer7->start(2000);
        } else if (type == QEvent::Leave) {
            Timer7->stop();
        }
    } else if (watched == drawingButton_) {
        if (type == QEvent::Enter && !busy_) {
            Timer6->start();
            T6FLG = true;
        } else if (type == QEvent::Leave || type == QEvent::Hide) {
            disarmDrawing(); // the column hid under the pointer, or it left
        }
    }
    return QObject::eventFilter(watched, event);
}
