#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>

class QLabel;
class QWidget;
class UserPrompts;

// The frozen screen after a capture, full size, in which the user drags a
// rectangle: that part goes to the clipboard and, when named, into a JPEG or
// BMP file. A right press cancels. The whole screen is put on the clipboard
// as soon as the window opens.
class RegionWindow : public QDialog { // TForm14
    Q_OBJECT
public:
    explicit RegionWindow(QWidget* parent = nullptr);

    // Takes the captured screen (with its device pixel ratio) and makes the
    // window ready to show: the info panel 2 pixels above `bottom`.
    void prepare(const QImage& screen, int bottom);

    // Where the name of the part is asked for, and a failed save told.
    // Without one, dialogs stand above `owner`.
    void setPrompts(UserPrompts* prompts) { prompts_ = prompts; }
    // Where the save dialog starts: the wall's folder.
    QString startFolder;
    // What the save dialog and its warning stand above: the window the
    // capture was made over (the wall, or the picture editor in front of
    // it); the parent when none is given.
    QWidget* owner = nullptr;

    // The selection, in the window's coordinates.
    QRect R;
    QImage screen() const { return screen_; }

    QWidget* Panel1; // the info panel: width, height and ratio
    QLabel* Panel2;  // "幅"
    QLabel* Panel3;  // "高"
    QLabel* Panel4;  // "比"

    // Copies the selection out of the screen to the clipboard and offers to
    // save it.
    void HCOPY();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* ownerWindow() const { return owner ? owner : parentWidget(); }

    // Saves the part under a name the user chooses; only JPEG and BMP.
    void offerToSave(const QImage& part, UserPrompts& prompts);

    UserPrompts* prompts_ = nullptr;
    QImage screen_;
    bool FDrag = false;
    QPoint DownPt;
};

// The rectangle spanned by two points, its width and height the distance
// between them (a drag from 10,10 to 410,310 is 400 × 300).
QRect spanned(QPoint a, QPoint b);

// The width-to-height ratio shown while selecting, to two decimals.
QString ratioText(QSize size);
