#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
struct WindowSettings;

// The wall's file window: a caption and the files of the wall folder that
// match the wall's mask. A click on a name is handed on.
class FileWindow : public QWidget { // Panel4
    Q_OBJECT
public:
    explicit FileWindow(QWidget* wallArea);

    // Shows the window with the settings' caption at the settings' place on a
    // wall of NOWX × NOWY, listing `folder`.
    void showFor(const WindowSettings& s, const QString& folder, int NOWX, int NOWY);
    // Lists the files of `folder` that match `mask` again; none for no mask.
    void refresh(const QString& folder, const QString& mask);

    QLabel* Label1;            // the caption
    QListWidget* FileListBox2; // the files

signals:
    // A click on the list: the name clicked, empty when none was.
    void fileClicked(const QString& name);
};
