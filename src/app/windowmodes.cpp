#include "app/windowmodes.h"

#include "app/restorewindow.h"
#include "app/toolcolumn.h"
#include "app/wallmodes.h"
#include "document/walldocument.h"

#include <QMouseEvent>
#include <QRect>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

WindowModes::WindowModes(WallDocument& doc, WallModes& modes, QWidget* window, ToolColumn& tools,
                         RestoreWindow* restore)
    : QObject(window), st(doc), modes_(modes), window_(window), tools_(tools), TForm20(restore),
      grip_(tools.SpeedButton11), strip_(tools.SpeedButton26) {
    connect(TForm20, &RestoreWindow::restoreRequested, this, &WindowModes::restoreWall);
    for (QWidget* handle : {grip_, strip_})
        handle->installEventFilter(this);
}

void WindowModes::SpeedButton14Click() {
    if (modes_.BUSY)
        return;
    tools_.prepareCommand();
    window_->hide();
    TForm20->move(0, 0);
    TForm20->show();
    TForm20->raise();
}

void WindowModes::restoreWall() {
    modes_.TAKOFL = true;
    window_->setGeometry(0, 0, st.ZETTAIX0, st.ZETTAIY0);
    window_->showFullScreen();
    window_->raise();
    window_->activateWindow();
}

void WindowModes::TAKO() {
    if (window_->pos() == QPoint(0, 0))
        return;
    modes_.TAKOFL = true;
    const QSize tab = tools_.Panel6->size();
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    tuckInto(QRect(st.ZETTAIX0 - tab.width(), st.ZETTAIY0 - tab.height() - 2, tab.width(),
                   tab.height() + 2));
}

void WindowModes::tuckOrUntuck() {
    modes_.TAKOFL = true;
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, false);
    const QSize tab = tools_.Panel6->size();
    if (window_->pos() != QPoint(0, 0)) {
        // Untuck: the full screen again, the tab back at its corner.
        window_->setGeometry(0, 0, st.ZETTAIX0, st.ZETTAIY0);
        window_->showFullScreen();
        tools_.Panel6->move(st.ZETTAIX0 - tab.width() - 2, st.ZETTAIY0 - tab.height());
    } else {
        tuckInto(QRect(st.ZETTAIX0 - tab.width(), 2, tab.width(), tab.height()));
    }
}

void WindowModes::tuckInto(const QRect& r) {
    tools_.Panel6->move(0, 0);
    window_->showNormal();
    window_->setGeometry(r);
    for (QWidget* w : tools_.tabWidgets())
        w->show();
    tools_.Panel6->raise();
}

void WindowModes::setBordered(bool bordered) {
    // Changing the window's frame hides it; it is shown again at once.
    window_->setWindowFlag(Qt::FramelessWindowHint, !bordered);
    if (bordered) {
        window_->showMaximized();
    } else {
        window_->setGeometry(0, 0, st.ZETTAIX0, st.ZETTAIY0);
        window_->showFullScreen();
    }
}

void WindowModes::keepOnTop(bool on) {
    Qt::WindowFlags flags = window_->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == window_->windowFlags())
        return;
    // Told to the window system in place: setting a shown widget's flags
    // hides and shows it again, which would end the press on its tab.
    window_->overrideWindowFlags(flags);
    if (QWindow* handle = window_->windowHandle())
        handle->setFlags(flags);
}

void WindowModes::restoreFullScreen() {
    const bool frameless = window_->windowFlags() & Qt::FramelessWindowHint;
    if (frameless && window_->geometry() == QRect(0, 0, st.ZETTAIX0, st.ZETTAIY0))
        return;
    setBordered(false);
}

bool WindowModes::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((watched != grip_ && watched != strip_) ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
         type != QEvent::MouseButtonRelease))
        return QObject::eventFilter(watched, event);
    if (type == QEvent::MouseButtonPress) {
        tools_.Panel6->raise();
        keepOnTop(false);
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            tuckOrUntuck();
            return true;
        }
    }
    if (!drag_.follow(window_, event))
        drag_.release();
    return true;
}
