#include "drawing/flashwindow.h"

#include "cards/textcutting.h"
#include "cards/textplacing.h"
#include "drawing/seethrough.h"
#include "model/bgrcolor.h"
#include "platform/beep.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

namespace {

// The frame of window colour left around the panel.
constexpr int kPanelInset = 2;

// The normal frame colour, blue.
constexpr quint32 kFrameBlue = 0xFF0000;

void setBackground(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
}

// Labels show line breaks typed in any of the three forms.
QString shownText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

FlashColours flashColours(int code) {
    struct Row {
        quint32 panel;
        quint32 window; // kKeepFrame: the frame stays as it was
    };
    constexpr quint32 kKeepFrame = 0xFFFFFFFF;
    static const Row kRows[] = {
        {0xFFFFFF, kFrameBlue}, {0xFF00FF, kFrameBlue}, {0xFFFF00, kFrameBlue},
        {0x00FFFF, kFrameBlue}, {0x00FF00, kFrameBlue}, {0x000000, kFrameBlue},
        {0xC0C0C0, kFrameBlue}, {0xC0C0C0, kFrameBlue}, {0xA6CAF0, kFrameBlue},
        {0xFF0000, 0x800000},   {0x800000, kFrameBlue}, {0xC0DCC0, kFrameBlue},
        {0x808000, kFrameBlue}, {0x008000, kFrameBlue}, {0x008080, kKeepFrame},
        {0x000080, kKeepFrame}, {0x800080, kFrameBlue}, {0x0000FF, kFrameBlue},
        {0xFF0000, 0xC0C0C0},
    };
    FlashColours out;
    if (code < 1 || code > int(std::size(kRows)))
        return out;
    const Row& row = kRows[code - 1];
    out.panel = bgrColor(row.panel);
    if (row.window != kKeepFrame)
        out.window = bgrColor(row.window);
    return out;
}

QPoint flashWindowPosition(QSize window, QPoint cardCorner, const QRect& wallWindow) {
    const int left = std::min(cardCorner.x(), wallWindow.x() + wallWindow.width() - window.width());
    const int top =
        std::min(cardCorner.y(), wallWindow.y() + wallWindow.height() - window.height());
    return QPoint(std::max(left, wallWindow.x()), std::max(top, wallWindow.y()));
}

FlashWindow::FlashWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TForm2"));
    setAutoFillBackground(true);
    setBackground(this, bgrColor(kFrameBlue));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    Panel1->installEventFilter(this);

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();

    for (size_t i = 0; i < pieceLabels_.size(); ++i) {
        QLabel* label = new QLabel(Panel1);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 2));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setMargin(0);
        label->setIndent(0);
        label->installEventFilter(this);
        pieceLabels_[i] = label;
    }

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, &QWidget::close);
}

QColor FlashWindow::panelColour() const {
    return Panel1->palette().color(QPalette::Window);
}

QColor FlashWindow::windowColour() const {
    return palette().color(QPalette::Window);
}

QString FlashWindow::showFlash(const QString& flashText, int cardColourCode,
                               const QColor& textColour, const QString& link, QPoint cardCorner,
                               const QRect& wallWindow, int lines, int NOWY,
                               bool* oneShotRightClick) {
    const TextPieces pieces = cutCardText(flashText);
    const FlashPlacement placement = placeFlashText(pieces, lines, NOWY);

    const FlashColours colours = flashColours(cardColourCode);
    if (colours.panel)
        setBackground(Panel1, *colours.panel);
    if (colours.window)
        setBackground(this, *colours.window);

    resize(placement.window);
    Panel1->setGeometry(rect().adjusted(kPanelInset, kPanelInset, -kPanelInset, -kPanelInset));
    // The pieces are placed on the panel, piece 1 at its top left corner.
    for (size_t i = 0; i < pieceLabels_.size(); ++i) {
        QLabel* label = pieceLabels_[i];
        label->setText(shownText(pieces.piece[i]));
        label->setFont(flashFont(placement.pointSize[i]));
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, textColour);
        label->setPalette(pal);
        label->setGeometry(placement.rect[i]);
        label->setVisible(!pieces.piece[i].isEmpty());
    }

    setWindowTitle(link);
    move(flashWindowPosition(size(), cardCorner, wallWindow));
    applySeeThroughGrey(this);

    drag_.cancel();
    oneShotRightClick_ = oneShotRightClick;
    Timer2->start(timeoutMs_);
    exec();
    Timer2->stop();
    oneShotRightClick_ = nullptr;
    drag_.cancel();
    return windowTitle();
}

void FlashWindow::stop() {
    Timer2->stop();
    if (isVisible())
        close();
}

void FlashWindow::cancelLinkAfterRightPress() {
    if (drag_.pressed() != WindowDrag::Press::Right)
        return;
    zavikBeep();
    setWindowTitle(QString());
}

void FlashWindow::releaseOnPanel() {
    cancelLinkAfterRightPress();
    drag_.cancel();
    close();
}

void FlashWindow::releaseOnWindow() {
    cancelLinkAfterRightPress();
    const WindowDrag::Press press = drag_.release();
    const bool oneShot = oneShotRightClick_ && *oneShotRightClick_;
    if (oneShot)
        *oneShotRightClick_ = false;
    if (press != WindowDrag::Press::None || oneShot)
        close();
}

void FlashWindow::mousePressEvent(QMouseEvent* event) {
    drag_.press(this, event);
}

void FlashWindow::mouseMoveEvent(QMouseEvent* event) {
    drag_.drag(this, event);
}

void FlashWindow::mouseReleaseEvent(QMouseEvent*) {
    releaseOnWindow();
}

bool FlashWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool onPanel = watched == Panel1;
    const bool onLabel =
        std::find(pieceLabels_.begin(), pieceLabels_.end(), watched) != pieceLabels_.end();
    if (!onPanel && !onLabel)
        return QDialog::eventFilter(watched, event);
    if (drag_.follow(this, event))
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        if (onPanel)
            releaseOnPanel();
        else
            releaseOnWindow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
