// The page editor opening pages of deeply nested markup, offscreen: a page
// whose framed text is "<B>" nested to each depth is opened until its fields
// are filled, or until the editor says it will not open it. Prints the median
// of three runs per depth. Argument: the largest depth (default 100000).
#include "benchstats.h"
#include "pageeditor/pagedocument.h"
#include "pageeditor/pageeditorwindow.h"
#include "pageeditor/pagefile.h"
#include "platform/userprompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

namespace {

QString nestedPage(int depth, const QString& folder) {
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), folder);
    doc.fields.framedText = QStringLiteral("<B>").repeated(depth) + QStringLiteral("深い") +
                            QStringLiteral("</B>").repeated(depth);
    return doc.Edit_SAVE();
}

// The user as the benchmark plays it: what the editor says is a refusal,
// timed when it is said.
class RefusalClock : public UserPrompts {
public:
    std::function<void()> refusal;
    bool ask(const QString&) override { return false; }
    void tell(const QString&) override { refusal(); }
    QStringList chooseFiles(const FileRequest&) override { return {}; }
};

void measure(PageEditorWindow& editor, const QString& path, int depth) {
    std::vector<double> opening;
    bool refused = false;
    QElapsedTimer clock;
    RefusalClock prompts;
    prompts.refusal = [&] {
        refused = true;
        opening.push_back(clock.nsecsElapsed() / 1e6);
    };
    editor.setPrompts(prompts);
    auto* close = editor.findChild<QToolButton*>(QStringLiteral("BitBtn2"));
    for (int i = 0; i < 3; ++i) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!editor.isVisible())
                return;
            poll.stop();
            opening.push_back(clock.nsecsElapsed() / 1e6);
            close->click();
        });
        poll.start(0);
        clock.start();
        editor.openPage(path, 1, QFileInfo(path).absolutePath() + QLatin1Char('/'));
    }
    std::printf("depth %6d (%8lld bytes): %s after %.1f ms (median of 3)\n", depth,
                QFileInfo(path).size(), refused ? "refused" : "opened", median(opening));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int largest = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    QWidget wall;
    wall.resize(1920, 1080);
    PageEditorWindow editor(&wall);
    for (const int depth : {1000, 2000, 3000, 3500, 4000, 8000, 16000, 32000, 64000, 100000}) {
        if (depth > largest)
            break;
        const QString path = folder + QStringLiteral("deep.htm");
        writePageFile(path, nestedPage(depth, folder));
        measure(editor, path, depth);
    }
    return 0;
}
