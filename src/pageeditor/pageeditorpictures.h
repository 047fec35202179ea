#pragma once

#include "pageeditor/pagedocument.h"
#include "pageeditor/pagepictures.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <optional>

class QPlainTextEdit;
class QProcess;
class QWidget;
class UserPrompts;
struct PageEditorForm;

// The page editor's pictures: the picture-or-link paragraph (its
// placement, preview, size bar and link) and the pictures put into a text,
// the title and the background. It changes the page's fields and shows
// them in the form; the editor window opens, reads and writes the page.
class PageEditorPictures : public QObject {
    Q_OBJECT
public:
    // `window` is the editor, kept disabled while the paint program runs;
    // `prompts` where it asks, tells and has pictures chosen.
    PageEditorPictures(PageEditorForm& form, PageDocument& document, PageMemory& memory,
                       QWidget& window, UserPrompts& prompts);

    void setPrompts(UserPrompts& prompts) { prompts_ = &prompts; }

    // A page at `path` is opened; title and background pictures are kept in
    // `wallFolder`. The last page's picture and link must not reach it.
    void startPage(const QString& path, const QString& wallFolder);
    // The picture and placement of the page just read, shown as read.
    void showRead();
    // A picture into `field` at its cursor (SpeedButton34).
    void insertPicture(QPlainTextEdit* field);

signals:
    // The wall steps aside for the program showing the picture.
    void tuckRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place(Placement placement); // the placement buttons
    void showPlacement(Placement placement);
    // Gsize: shows the picture at `path` and sizes it from the page or the file.
    void Gsize(const QString& path);
    void sizeFromBar(int position);
    void showPreview(QSize size);
    // GCHECK: fits the size fields and the size bar to `placement`.
    void GCHECK(Placement placement);
    void showPictureFields();
    bool copyInto(const QString& from, const QString& to);
    QString chosenPicture();
    // A picture chosen and copied into the wall folder: its "_" name, empty
    // when the dialog was cancelled, none when it could not be copied.
    std::optional<QString> wallPicture();
    void loadPicture();           // SpeedButton1
    void deletePicture();         // SpeedButton1, right click
    void paintPicture(bool anew); // SpeedButton2 (anew: right click)
    void paintingEnded(const QString& path);
    void linkPicture();       // SpeedButton37, SpeedButton17
    void unlinkPicture();     // their right click
    void titlePicture();      // SpeedButton22
    void backgroundPicture(); // SpeedButton40
    void say(const QString& text);

    PageEditorForm& form_;
    PageDocument& document_;
    PageMemory& memory_;
    QWidget& window_;
    UserPrompts* prompts_;
    QString page_;
    QString pageFolder_;
    QString wallFolder_;
    PictureSaves saves_;
    Placement placement_ = Placement::TextOnly; // Panel6's tag
    double XToY_ = 0;
    QImage preview_;        // the picture, at most the size bar's width
    QString pictureFolder_; // where the picture dialogs start
    QString linkFolder_;    // where the link's file dialog starts
    QProcess* painter_ = nullptr;
};
