#include "drawing/pictureviewerwindow.h"

#include "drawing/seethrough.h"
#include "pictures/picturelayer.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QtGlobal>
#include <algorithm>
#include <cmath>

namespace {

constexpr QChar kSeparator = QLatin1Char('&');

// The largest zoomed viewer: wall windows each way, and pixels a side.
constexpr double kMostScreens = 4.0;
constexpr double kMostSide = 16384.0;

// 95 % of a length, truncated: the viewer leaves a little of the wall free.
long long nearlyAll(long long length) {
    return length * 95 / 100;
}

// A list names a series when it joins at least two file names.
bool isSeries(const QString& list) {
    return list.contains(kSeparator) && list.count(QLatin1Char('.')) >= 2;
}

bool isPictureExtension(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == QLatin1String("bmp") || ext == QLatin1String("jpg") ||
           ext == QLatin1String("jpeg") || ext == QLatin1String("png") ||
           ext == QLatin1String("gif");
}

} // namespace

QRect viewerGeometry(QSize picture, QSize wall, QSize wallClient, double zoom, QPoint cardCorner) {
    long long w = nearlyAll(wall.width());
    long long h = nearlyAll(wall.height());
    const long long pw = picture.width();
    const long long ph = picture.height();
    const long long cw = wallClient.width();
    const long long ch = wallClient.height();
    // Without a picture there are no proportions to follow.
    if (pw > 0 && ph > 0) {
        if (ph > pw) {
            h = ch;
            w = nearlyAll(pw * h / ph);
        } else {
            w = nearlyAll(cw);
            h = nearlyAll(ph * w / pw);
            if (h > ch) {
                w = h > 0 ? nearlyAll(w * ch / h) : w;
                h = ch;
            }
        }
    }
    if (!(zoom > 0) || !std::isfinite(zoom))
        zoom = 1;
    // A zoom stops at what can be shown: four wall windows each way and never
    // a side above 16384 pixels. Beyond that the window and its stretched
    // picture would take gigabytes.
    if (w > 0 && h > 0) {
        double most = std::min(kMostSide / double(w), kMostSide / double(h));
        if (cw > 0 && ch > 0)
            most = std::min({most, kMostScreens * double(cw) / double(w),
                             kMostScreens * double(ch) / double(h)});
        zoom = std::min(zoom, most);
    }
    const int vw = int(double(w) * zoom);
    const int vh = int(double(h) * zoom);
    const int spareX = wallClient.width() - vw;
    const int spareY = wallClient.height() - vh;
    const int left = cardCorner.x() < spareX ? cardCorner.x() : spareX / 2;
    const int top = cardCorner.y() < spareY ? cardCorner.y() : spareY / 2;
    return QRect(std::max(left, 0), std::max(top, 0), vw, vh);
}

PictureViewerWindow::PictureViewerWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TForm21"));
    setAutoFillBackground(true);

    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setScaledContents(true);
    Panel1->setCursor(Qt::PointingHandCursor);
    Panel1->installEventFilter(this);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, &PictureViewerWindow::nextStep);
}

void PictureViewerWindow::setStepDelays(int normalMs, int lastMs) {
    normalMs_ = normalMs;
    lastMs_ = lastMs;
}

bool PictureViewerWindow::openLink(const QString& caption, const QString& list,
                                   const QColor& cardColour, double zoom, QPoint cardCorner,
                                   QSize wall, const QRect& wallWindow) {
    if (open_) {
        const bool sameList = list == list_;
        closeViewer();
        if (sameList)
            return true; // a second click on the card closes its pictures
    }
    return openViewer(caption, list, cardColour, zoom, cardCorner, wall, wallWindow);
}

bool PictureViewerWindow::openViewer(const QString& caption, const QString& list,
                                     const QColor& cardColour, double zoom, QPoint cardCorner,
                                     QSize wall, const QRect& wallWindow) {
    if (caption.isEmpty())
        return false;
    // The first picture is read once, here: one that does not decode opens
    // no viewer.
    picture_ = QImage();
    TFLG = false;
    open_ = true;
    list_ = list;
    setWindowTitle(caption);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, cardColour);
    setPalette(pal);

    GALL = GGG = list;
    if (isSeries(list)) {
        const int first = int(list.indexOf(kSeparator));
        GGG = list.left(first);
        GLOAD(GGG);
        TFLG = true;
        Timer2->start(normalMs_);
        // Every picture still to come is followed by "&", so the last one
        // can be told by its "&" ending the list.
        GALL = list.mid(first + 1) + kSeparator;
    } else {
        GLOAD(GALL);
    }
    if (picture_.isNull()) {
        resetState();
        return false;
    }
    XXX = picture_.width();
    YYY = picture_.height();
    setGeometry(viewerGeometry(QSize(XXX, YYY), wall, wallWindow.size(), zoom, cardCorner));
    show();
    applySeeThroughGrey(this);
    return true;
}

void PictureViewerWindow::closeViewer() {
    close();
    resetState();
}

void PictureViewerWindow::resetState() {
    open_ = false;
    drag_.cancel();
    Timer2->stop();
    TFLG = false;
}

void PictureViewerWindow::closeEvent(QCloseEvent* event) {
    resetState();
    event->accept();
}

void PictureViewerWindow::GLOAD(const QString& path) {
    if (TFLG)
        Timer2->stop();
    if (QFileInfo::exists(path)) {
        if (isPictureExtension(path)) {
            const PictureRead read = readPicture(path);
            if (read.image.isNull())
                qWarning("Picture %s not shown: %s", qPrintable(path), qPrintable(read.error));
            else
                setPicture(read.image, path);
        }
    } else {
        TFLG = false; // a missing picture ends the series where it is
    }
    if (TFLG) {
        const int first = int(GALL.indexOf(kSeparator));
        const bool last = first >= 0 && first == GALL.size() - 1;
        Timer2->start(last ? lastMs_ : normalMs_);
    }
}

void PictureViewerWindow::setPicture(const QImage& picture, const QString& path) {
    picture_ = picture;
    shownPath_ = path;
    Panel1->setPixmap(QPixmap::fromImage(picture_));
    if (isVisible())
        applySeeThroughGrey(this);
    emit pictureShown(path);
}

void PictureViewerWindow::nextStep() {
    Timer2->stop();
    const int first = int(GALL.indexOf(kSeparator));
    if (first < 0) {
        closeViewer();
        return;
    }
    GLOAD(GALL.left(first)); // starts the timer again while the series runs
    GALL.remove(0, first + 1);
}

void PictureViewerWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Panel1->setGeometry(rect());
    if (isVisible())
        applySeeThroughGrey(this);
}

bool PictureViewerWindow::onPicture(QPoint panelPos) const {
    return !picture_.isNull() && Panel1->rect().contains(panelPos);
}

void PictureViewerWindow::releaseAt(QPoint panelPos, QPoint globalPos) {
    const WindowDrag::Press press = drag_.release();
    if (onPicture(panelPos)) {
        if (press == WindowDrag::Press::Left) {
            const int first = int(GALL.indexOf(kSeparator));
            if (first >= 0)
                GALL.remove(0, first + 1); // skip the next picture of the series
            else if (!penOn)
                closeViewer();
        } else if (press == WindowDrag::Press::Right) {
            emit menuRequested(globalPos);
        }
    } else if (press == WindowDrag::Press::Right) {
        closeViewer();
    }
}

void PictureViewerWindow::mousePressEvent(QMouseEvent* event) {
    drag_.press(this, event);
}

void PictureViewerWindow::mouseMoveEvent(QMouseEvent* event) {
    drag_.drag(this, event);
}

void PictureViewerWindow::mouseReleaseEvent(QMouseEvent* event) {
    releaseAt(Panel1->mapFrom(this, event->position().toPoint()),
              event->globalPosition().toPoint());
}

bool PictureViewerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Panel1)
        return QWidget::eventFilter(watched, event);
    if (drag_.follow(this, event))
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        releaseAt(mouse->position().toPoint(), mouse->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
