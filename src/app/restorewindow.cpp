#include "app/restorewindow.h"

#include "app/toolglyphs.h"

#include <QCloseEvent>
#include <QToolButton>

RestoreWindow::RestoreWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TForm20"));
    setWindowTitle(QStringLiteral("もどす"));
    setModal(false);
    setFixedSize(78, 37);
    QPalette aqua = palette();
    aqua.setColor(QPalette::Window, QColor(0, 255, 255));
    setPalette(aqua);
    setAutoFillBackground(true);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setGeometry(rect());
    SpeedButton1->setIcon(toolGlyph(QStringLiteral("SpeedButton14"), 30));
    SpeedButton1->setIconSize(QSize(30, 30));
    SpeedButton1->setToolTip(QStringLiteral("もどす"));
    connect(SpeedButton1, &QToolButton::clicked, this, &QDialog::close);
    move(0, 0);
}

void RestoreWindow::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    emit restoreRequested();
}
