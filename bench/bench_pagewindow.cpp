// The page editor as a teacher uses it, offscreen: a generated quiz page of
// 200 sections (400 blanks, 200 labels) clicked in the wall's file window
// until its fields are filled, and "上書き保存" until the file is on disk;
// then the same for a page of 8 MiB. Prints the median of several runs
// (targets: 150 ms each for the quiz page, 2 s each for the large one).
// Last, a page whose picture is a 4000 × 3000 JPEG photo: the click until
// the preview shows (target 200 ms), and each step of the picture's size
// bar (target 16 ms).
#include "app/linkrunner.h"
#include "benchstats.h"
#include "pageeditor/pagedocument.h"
#include "pageeditor/pageeditorwindow.h"
#include "pageeditor/pagefile.h"
#include "pageeditor/pagepictures.h"
#include "photo.h"
#include "pictures/picturelayer.h"
#include "wallstart.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>

namespace {

QString quizPage(const QString& folder) {
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), folder);
    QString framed;
    QString labels;
    for (int i = 0; i < 200; ++i) {
        framed += QStringLiteral(
                      "問%1：地名は(東京%1/Tokyo%1)、川は(信濃川%1|利根川/信濃川%1/石狩川)。\n")
                      .arg(i);
        labels += QStringLiteral("【解答%1】東京%1と信濃川%1\n").arg(i);
    }
    doc.fields.title = QStringLiteral("大きなクイズ");
    doc.fields.framedText = framed;
    doc.fields.unframedText = labels;
    return doc.Edit_SAVE();
}

QString largePage(const QString& folder) {
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), folder);
    QString text;
    while (text.size() < 4400000) // just under 8 MiB on disk
        text += QStringLiteral("ながい授業の記録です。line of the lesson\n");
    doc.fields.framedText = text;
    return doc.Edit_SAVE();
}

// Clicks `name` in the file window `runs` times; each time the editor is
// timed to its filled fields, then "上書き保存" to the written file.
void measure(QApplication& app, WallWindow& wall, const QString& name, int runs) {
    PageEditorWindow* editor = wall.findChild<PageEditorWindow*>();
    auto* framed = editor->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    auto* saveOver = editor->findChild<QToolButton*>(QStringLiteral("BitBtn4"));
    const QString path = wall.document().KIJUNDIR + name;
    std::vector<double> opening;
    std::vector<double> saving;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        bool filled = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!editor->isVisible() || filled)
                return;
            filled = !framed->toPlainText().isEmpty();
            if (!filled)
                return;
            opening.push_back(clock.nsecsElapsed() / 1e6);
            clock.restart();
            saveOver->click();
        });
        poll.start(0);
        clock.start();
        wall.links().FileListBox2Click(name);
        saving.push_back(clock.nsecsElapsed() / 1e6);
        app.processEvents();
    }
    std::printf("%s (%lld bytes): file window click to filled fields %.1f ms, "
                "上書き保存 to disk %.1f ms (median of %d)\n",
                qPrintable(name), QFileInfo(path).size(), median(opening), median(saving), runs);
    std::fflush(stdout);
}

QString photoPage(const QString& folder) {
    writePicture(photo(4000, 3000), folder + "photo.jpg", 90);
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), folder);
    doc.fields.framedText = QStringLiteral("写真のページ");
    doc.fields.ETAGSRC1 = QStringLiteral("<P>");
    doc.fields.Edit7 = pictureMarkup("photo.jpg", 800, 600, Placement::Centred, true);
    doc.fields.pictureName = QStringLiteral("photo.jpg");
    return doc.Edit_SAVE();
}

void measurePicture(QApplication& app, WallWindow& wall) {
    PageEditorWindow* editor = wall.findChild<PageEditorWindow*>();
    auto* preview = editor->findChild<QLabel*>(QStringLiteral("Image1"));
    auto* sizeBar = editor->findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
    auto* close = editor->findChild<QToolButton*>(QStringLiteral("BitBtn2"));
    std::vector<double> opening;
    std::vector<double> steps;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        QTimer poll;
        bool shown = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (shown || !editor->isVisible() || preview->pixmap().isNull())
                return;
            shown = true;
            opening.push_back(clock.nsecsElapsed() / 1e6);
            for (int width = 800; width > 400; width -= 4) {
                QElapsedTimer step;
                step.start();
                sizeBar->setValue(width);
                preview->repaint();
                steps.push_back(step.nsecsElapsed() / 1e6);
            }
            close->click();
        });
        poll.start(0);
        clock.start();
        wall.links().FileListBox2Click(QStringLiteral("photo.htm"));
        app.processEvents();
    }
    std::sort(steps.begin(), steps.end());
    std::printf("photo.htm (4000 x 3000 JPEG): click to preview %.1f ms (median of 5); "
                "size bar step median %.2f ms, slowest %.2f ms (%zu steps)\n",
                median(opening), steps[steps.size() / 2], steps.back(), steps.size());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString data = dir.filePath("zavik-data/");
    QDir().mkpath(data);
    writePageFile(data + "quiz.htm", quizPage(data));
    writePageFile(data + "large.htm", largePage(data));
    writePageFile(data + "photo.htm", photoPage(data));
    StartedWall wall = startWall(app, dir.filePath("zavik"));
    measure(app, *wall.window, QStringLiteral("quiz.htm"), 9);
    measure(app, *wall.window, QStringLiteral("large.htm"), 3);
    measurePicture(app, *wall.window);
    return 0;
}
