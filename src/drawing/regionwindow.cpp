#include "drawing/regionwindow.h"

#include "pictures/picturelayer.h"
#include "platform/beep.h"
#include "platform/touchhold.h"
#include "platform/userprompts.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

QRect spanned(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QSize(std::abs(a.x() - b.x()), std::abs(a.y() - b.y())));
}

QString ratioText(QSize size) {
    if (size.height() == 0)
        return QString();
    return QLocale().toString(double(size.width()) / size.height(), 'f', 2);
}

namespace {

QLabel* whiteBox(QWidget* parent, const char* name) {
    auto* box = new QLabel(parent);
    box->setObjectName(QLatin1String(name));
    box->setAutoFillBackground(true);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    box->setPalette(pal);
    box->setMinimumWidth(56);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return box;
}

} // namespace

RegionWindow::RegionWindow(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(QStringLiteral("名前を付けて保存"));
    setCursor(Qt::CrossCursor);
    setModal(true);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setToolTip(QStringLiteral("左ドラッグで四角にえらぶ / 右クリックでキャンセル"));
    Panel1->setAutoFillBackground(true);
    QPalette red = Panel1->palette();
    red.setColor(QPalette::Window, QColor(255, 0, 0));
    red.setColor(QPalette::WindowText, Qt::white);
    Panel1->setPalette(red);
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(6, 4, 6, 4);
    Panel2 = whiteBox(Panel1, "Panel2");
    Panel3 = whiteBox(Panel1, "Panel3");
    Panel4 = whiteBox(Panel1, "Panel4");
    for (const auto& [caption, box] :
         {std::pair{u"幅", Panel2}, {u"高", Panel3}, {u"比", Panel4}}) {
        row->addWidget(new QLabel(QString::fromUtf16(caption), Panel1));
        row->addWidget(box);
    }
    Panel1->adjustSize();
    new TouchHold(this); // a finger held still cancels, as the right button does
}

void RegionWindow::prepare(const QImage& screen, int bottom) {
    screen_ = screen;
    const QSize logical = (QSizeF(screen.size()) / screen.devicePixelRatio()).toSize();
    setGeometry(QRect(QPoint(0, 0), logical));
    FDrag = false;
    R = QRect();
    Panel2->clear();
    Panel3->clear();
    Panel4->clear();
    Panel1->move(0, std::max(0, bottom - Panel1->height() - 2));
    zavikBeep();
    // The whole screen goes to the clipboard at once: a right click keeps it.
    QApplication::clipboard()->setImage(screen_);
    update();
}

void RegionWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), screen_);
    if (!FDrag || R.isEmpty())
        return;
    // Black and white dashes show on any screen.
    const QRect outline = R.adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(outline);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(outline);
}

void RegionWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        FDrag = false;
        reject();
        return;
    }
    DownPt = event->position().toPoint();
    FDrag = true;
    R = QRect(DownPt, QSize());
    update();
}

void RegionWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!FDrag)
        return;
    R = spanned(DownPt, event->position().toPoint());
    Panel2->setText(QString::number(R.width()));
    Panel3->setText(QString::number(R.height()));
    if (R.height() != 0)
        Panel4->setText(ratioText(R.size()));
    update();
}

void RegionWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (!FDrag || event->button() == Qt::RightButton)
        return;
    FDrag = false;
    update();
    HCOPY();
    R = QRect();
    accept();
}

void RegionWindow::HCOPY() {
    // A bare click selects nothing: the whole screen stays on the clipboard.
    if (R.width() < 1 || R.height() < 1)
        return;
    const qreal ratio = screen_.devicePixelRatio();
    const QRect pixels = QRectF(R.x() * ratio, R.y() * ratio, R.width() * ratio, R.height() * ratio)
                             .toAlignedRect() &
                         screen_.rect();
    QImage part = screen_.copy(pixels);
    part.setDevicePixelRatio(1);
    QApplication::clipboard()->setImage(part);
    hide();
    zavikBeep();
    if (prompts_) {
        offerToSave(part, *prompts_);
    } else {
        DialogPrompts dialogs(ownerWindow());
        offerToSave(part, dialogs);
    }
}

void RegionWindow::offerToSave(const QImage& part, UserPrompts& prompts) {
    FileRequest request;
    request.mode = FileRequest::Save;
    request.title = QStringLiteral("名前を付けて保存");
    request.folder = startFolder;
    request.filter = QStringLiteral("JPEG (*.jpg *.jpeg);;BMP (*.bmp);;全て (*.*)");
    request.typed = QStringLiteral("jpg"); // a name typed bare is a JPEG
    const QString name = prompts.chooseFile(request);
    if (name.isEmpty())
        return;
    const QString ext = QFileInfo(name).suffix().toLower();
    if (ext != QLatin1String("bmp") && ext != QLatin1String("jpg") && ext != QLatin1String("jpeg"))
        return; // only JPEG and BMP are written; the part is on the clipboard
    QString error;
    if (!writePicture(part, name, 100, &error))
        prompts.tell(QStringLiteral("「%1」に保存できませんでした：%2\n"
                                    "切り取った画像はクリップボードにあります。")
                         .arg(QDir::toNativeSeparators(name), error));
}
