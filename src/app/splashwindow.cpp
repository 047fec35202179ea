#include "app/splashwindow.h"

#include "app/toolglyphs.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TForm11"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(253, 136);
    setPalette(QPalette(Qt::green));
    setAutoFillBackground(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    QTimer::singleShot(1500, this, &QWidget::close);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, splashPicture());
}
