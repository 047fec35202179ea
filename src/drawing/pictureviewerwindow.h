#pragma once

#include "drawing/windowdrag.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;
class QTimer;

// The viewer's client rect in screen coordinates for a picture of natural
// size `picture` opened from a card at `cardCorner` on a wall of `wall`
// pixels whose window has `wallClient` pixels inside. The panel fills nearly
// the whole wall in one direction and follows the picture's proportions in
// the other, then `zoom` (1 for none) enlarges it, up to four wall windows
// each way and 16384 pixels a side. It opens at the card's
// corner when it fits there, else centred, and never above or left of the
// screen's corner.
QRect viewerGeometry(QSize picture, QSize wall, QSize wallClient, double zoom, QPoint cardCorner);

// The window a card's link opens to show one picture or a series of them.
// A series runs by itself; a left click skips ahead, a right click asks for
// the menu.
class PictureViewerWindow : public QWidget { // TForm21
    Q_OBJECT
public:
    explicit PictureViewerWindow(QWidget* parent = nullptr);

    // A click on a card with a picture link: opens the viewer on `list` (one
    // path, or paths joined by "&"), closes it when it already shows this
    // list, or shows the new list instead. Nothing opens without a caption,
    // nor when the first picture does not decode: false then.
    bool openLink(const QString& caption, const QString& list, const QColor& cardColour,
                  double zoom, QPoint cardCorner, QSize wall /*NOWX,NOWY*/,
                  const QRect& wallWindow);
    void closeViewer();
    bool isOpen() const { return open_; }
    // The list the viewer was opened with.
    QString list() const { return list_; }

    // Shows the picture in `path` and, in a series, sets the time until the
    // next one.
    void GLOAD(const QString& path);

    void setStepDelays(int normalMs, int lastMs);

    // The picture shown and the file it came from.
    QImage picture() const { return picture_; }
    QString shownPath() const { return shownPath_; }

    QString GALL;      // the pictures still to come, each followed by "&" in a series
    QString GGG;       // the first picture as opened
    bool TFLG = false; // a series is running
    int XXX = 0;       // natural size of the picture shown at opening
    int YYY = 0;
    bool penOn = false; // a pen is in use: a left click draws instead of closing

signals:
    void menuRequested(QPoint globalPos);
    void pictureShown(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool openViewer(const QString& caption, const QString& list, const QColor& cardColour,
                    double zoom, QPoint cardCorner, QSize wall, const QRect& wallWindow);
    void nextStep();
    void setPicture(const QImage& picture, const QString& path);
    bool onPicture(QPoint panelPos) const;
    void releaseAt(QPoint panelPos, QPoint globalPos);
    void resetState();

    QLabel* Panel1;
    QTimer* Timer2;

    bool open_ = false;
    QString list_;
    QImage picture_;
    QString shownPath_;
    int normalMs_ = 700;
    int lastMs_ = 4000;
    WindowDrag drag_;
};
