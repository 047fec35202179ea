#pragma once

#include <QWidget>

class QTimer;
class QToolButton;

// A short notice in the middle of the wall window, on silver, that goes away
// by itself: "…を起動・・・" while something starts.
class NoticePanel : public QWidget { // Panel1
    Q_OBJECT
public:
    explicit NoticePanel(QWidget* wallWindow);

    // Shows `text` for `ms` milliseconds.
    void MATHU(const QString& text, int ms);

    QToolButton* SpeedButton9; // the text
    QTimer* Timer5;            // hides the notice
};
