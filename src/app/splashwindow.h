#pragma once

#include <QWidget>

// The picture shown while the program starts; it closes and frees itself
// 1500 ms after it was made.
class SplashWindow : public QWidget { // TForm11
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
