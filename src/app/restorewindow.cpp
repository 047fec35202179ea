#include "app/restorewindow.h"

#include "app/toolglyphs.h"

#include <QCloseEvent>
#include <QLabel>
#include <QToolButton>

namespace {

constexpr int kClientWidth = 78;
constexpr int kClientHeight = 37;
constexpr int kTitleHeight = 16;

} // namespace

RestoreWindow::RestoreWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TForm20"));
    setWindowTitle(QStringLiteral("もどす"));
    setModal(false);
    // A dialog frame without title-bar buttons: window managers cannot all be
    // asked for one (openbox keeps its buttons whatever the hints say), and
    // minimising this window would leave the wall hidden with no way back.
    // The window draws its own title, by which it can be dragged.
    setFixedSize(kClientWidth, kTitleHeight + kClientHeight);
    QPalette aqua = palette();
    aqua.setColor(QPalette::Window, QColor(0, 255, 255));
    setPalette(aqua);
    setAutoFillBackground(true);

    caption_ = new QLabel(windowTitle(), this);
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->setGeometry(0, 0, kClientWidth, kTitleHeight);
    caption_->setAutoFillBackground(true);
    caption_->setBackgroundRole(QPalette::Highlight);
    caption_->setForegroundRole(QPalette::HighlightedText);
    QFont small = caption_->font();
    small.setPixelSize(kTitleHeight - 4);
    caption_->setFont(small);
    caption_->setIndent(3);
    caption_->installEventFilter(this);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setGeometry(0, kTitleHeight, kClientWidth, kClientHeight);
    SpeedButton1->setIcon(toolGlyph(QStringLiteral("SpeedButton14"), 30, devicePixelRatioF()));
    SpeedButton1->setIconSize(QSize(30, 30));
    SpeedButton1->setToolTip(QStringLiteral("もどす"));
    connect(SpeedButton1, &QToolButton::clicked, this, &QDialog::close);
    move(0, 0);
}

void RestoreWindow::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    emit restoreRequested();
}

bool RestoreWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != caption_)
        return QDialog::eventFilter(watched, event);
    if (drag_.follow(this, event))
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        drag_.release();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
