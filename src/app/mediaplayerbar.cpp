#include "app/mediaplayerbar.h"

#include <QAudioOutput>
#include <QHBoxLayout>
#include <QMediaPlayer>
#include <QStyle>
#include <QToolButton>
#include <QUrl>

MediaPlayerBar::MediaPlayerBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MediaPlayer1"));
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    auto button = [this, row](const char* name, QStyle::StandardPixmap icon, const QString& hint) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(hint);
        b->setFocusPolicy(Qt::NoFocus);
        row->addWidget(b);
        return b;
    };
    play_ = button("playButton", QStyle::SP_MediaPlay, QStringLiteral("再生"));
    pause_ = button("pauseButton", QStyle::SP_MediaPause, QStringLiteral("一時停止"));
    stop_ = button("stopButton", QStyle::SP_MediaStop, QStringLiteral("停止"));
    row->addStretch();
    resize(238, 36);
    connect(play_, &QToolButton::clicked, this, [this] {
        if (player_)
            player_->play();
    });
    connect(pause_, &QToolButton::clicked, this, [this] {
        if (player_)
            player_->pause();
    });
    connect(stop_, &QToolButton::clicked, this, [this] {
        if (player_)
            player_->stop();
    });
    hide();
}

void MediaPlayerBar::ensurePlayer() {
    if (player_)
        return;
    player_ = new QMediaPlayer(this);
    output_ = new QAudioOutput(this);
    player_->setAudioOutput(output_);
}

void MediaPlayerBar::openAndPlay(const QString& path) {
    ensurePlayer();
    file_ = path;
    resize(238, height());
    show();
    raise();
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
}

void MediaPlayerBar::closeAndHide() {
    if (player_) {
        player_->stop();
        player_->setSource(QUrl());
    }
    file_.clear();
    hide();
}

bool MediaPlayerBar::isPlaying() const {
    return player_ && player_->playbackState() == QMediaPlayer::PlayingState;
}
