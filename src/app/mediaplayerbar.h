#pragma once

#include <QWidget>

class QAudioOutput;
class QMediaPlayer;
class QToolButton;

// The wall's sound player: a 238-pixel bar with play, pause and stop. The
// player itself is made at the first sound, so that the wall starts fast.
class MediaPlayerBar : public QWidget { // MediaPlayer1
    Q_OBJECT
public:
    explicit MediaPlayerBar(QWidget* parent);

    // Shows the bar, opens the file and starts it.
    void openAndPlay(const QString& path);
    // Stops, closes the file and hides the bar.
    void closeAndHide();
    QString fileName() const { return file_; }
    bool isPlaying() const;

private:
    void ensurePlayer();

    QMediaPlayer* player_ = nullptr;
    QAudioOutput* output_ = nullptr;
    QToolButton* play_;
    QToolButton* pause_;
    QToolButton* stop_;
    QString file_;
};
