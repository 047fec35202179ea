#pragma once

#include "drawing/windowdrag.h"

#include <QColor>
#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

class QLabel;
class QTimer;

// The flash window's colours for a card colour code: the panel behind the
// text and the frame around it. An empty colour leaves that part as it was;
// unknown codes change nothing.
struct FlashColours {
    std::optional<QColor> panel;
    std::optional<QColor> window;
};

FlashColours flashColours(int code);

// Where a flash window of `window` size opens: at the card's corner, moved
// left and up as far as needed to stay inside the wall window, but never past
// the wall window's own left and top edges.
QPoint flashWindowPosition(QSize window, QPoint cardCorner, const QRect& wallWindow);

// The small window that shows a card's flash text for a few seconds before
// its link is followed. A right click cancels the link.
class FlashWindow : public QDialog { // TForm2
    Q_OBJECT
public:
    explicit FlashWindow(QWidget* parent = nullptr);

    // Shows `flashText` (already filtered) modally until the timer, a click
    // or stop() closes it, and returns the link to follow afterwards: `link`,
    // or an empty text when the user right-clicked. `oneShotRightClick`, when
    // set, lets the next release close the window even without a press on it
    // (the press was on the card); it is cleared when used.
    QString showFlash(const QString& flashText, int cardColourCode, const QColor& textColour,
                      const QString& link, QPoint cardCorner, const QRect& wallWindow, int lines,
                      int NOWY, bool* oneShotRightClick);

    // Stops the timer and closes the window if it is open, before another
    // card runs.
    void stop();

    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    int timeoutMs() const { return timeoutMs_; }

    QColor panelColour() const;
    QColor windowColour() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void releaseOnPanel();
    void releaseOnWindow();
    void cancelLinkAfterRightPress();

    QWidget* Panel1;
    QLabel* Label1;
    std::array<QLabel*, 6> pieceLabels_{}; // Label2 .. Label7
    QTimer* Timer2;

    int timeoutMs_ = 5000;
    WindowDrag drag_;
    bool* oneShotRightClick_ = nullptr;
};
