#include "app/noticepanel.h"

#include "model/bgrcolor.h"

#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kNoticeHeight = 36;
constexpr int kNoticeCharWidth = 16;

} // namespace

NoticePanel::NoticePanel(QWidget* wallWindow) : QWidget(wallWindow) {
    setObjectName(QStringLiteral("Panel1"));
    QPalette silver = palette();
    silver.setColor(QPalette::Window, bgrColor(kSilver));
    setPalette(silver);
    setAutoFillBackground(true);
    SpeedButton9 = new QToolButton(this);
    SpeedButton9->setObjectName(QStringLiteral("SpeedButton9"));
    SpeedButton9->setAutoRaise(true);
    SpeedButton9->setFocusPolicy(Qt::NoFocus);
    hide();

    Timer5 = new QTimer(this);
    Timer5->setObjectName(QStringLiteral("Timer5"));
    Timer5->setInterval(1000);
    connect(Timer5, &QTimer::timeout, this, [this] {
        Timer5->stop();
        hide();
    });
}

void NoticePanel::MATHU(const QString& text, int ms) {
    const int width = kNoticeCharWidth * int(text.size());
    resize(width, kNoticeHeight);
    SpeedButton9->setGeometry(rect());
    SpeedButton9->setText(text);
    const QWidget* window = parentWidget();
    move((window->width() - width) / 2, (window->height() - kNoticeHeight) / 2);
    show();
    raise();
    Timer5->setInterval(ms);
    Timer5->start();
}
