#pragma once

#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QToolButton;
struct WallState;

// Turns chosen files into cards that open them: a picture into a card
// leading to a new sub-wall that shows it as its background, a page, a LOGO
// project or any other file into a card that opens it. The blue area is the
// first card: its place and size on the wall are the cards'. Also starts the
// chosen files, or copies them into the wall folder.
class LaunchCardMaker : public QDialog { // TForm24
    Q_OBJECT
public:
    LaunchCardMaker(WallState& state, QWidget* wallWindow);

    // What the maker needs of the wall window.
    std::function<void(const QString& text, int ms)> notice; // MATHU
    std::function<void()> tuck;                              // TAKO
    std::function<void(const QString& project)> startLogo;   // the LOGO environment
    std::function<void()> reloadWall;                        // cleared and read again
    // The wall window's client area on the screen.
    std::function<QRect()> wallArea;

    // Where the maker asks and tells; tests answer instead.
    std::function<QStringList(const QString& folder)> chooseFiles;
    std::function<bool(const QString& question)> ask;
    std::function<void(const QString& text)> tell;

    QPlainTextEdit* Memo1;     // the blue template of the first card
    QToolButton* SpeedButton2; // 起動カード
    QToolButton* SpeedButton1; // 起動
    QToolButton* SpeedButton5; // フォルダにコピー

    // The first card's place and size, in the wall window's client area.
    QRect templateRect() const;

    void makeCards();
    void startFiles();
    void copyFiles();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList chosen();
    bool copyTo(const QString& from, const QString& to, QStringList& failed);
    void copyAlong(const QString& file, const QString& copy, QStringList& failed);

    WallState& st;
    QString folder_; // where the file dialog starts
};
