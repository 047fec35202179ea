// The page editor's document on a generated quiz page of 200 sections (400
// blanks, 200 labelled answers, about 120 KB): reading the file into the
// fields (readPageFile + Edit_LOAD) and writing it back with the quiz
// expansion (Edit_SAVE + writePageFile), medians of several runs (target
// <= 10 ms each); then the same on a page of nearly 8 MiB (target <= 2 s
// each).
#include "pageeditor/pagedocument.h"
#include "pageeditor/pagefile.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Questions with two blanks each, then their answers under labels after the
// last blank, each of which becomes a jump target.
QString quizText(int sections) {
    QString text;
    for (int i = 1; i <= sections; ++i)
        text += QStringLiteral("問%1：0℃で(氷/ice)、100℃で(水蒸気|水/水蒸気/氷)。"
                               "<A href=\"https://ja.wikipedia.org/wiki/Water_(molecule)\">"
                               "水</A>\n")
                    .arg(i);
    for (int i = 1; i <= sections; ++i)
        text += QStringLiteral("【解答%1】氷\n").arg(i);
    return text;
}

double medianMs(std::vector<qint64>& nanoseconds) {
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return double(nanoseconds[nanoseconds.size() / 2]) / 1e6;
}

// Writes a quiz page of `sections` sections to `path`; returns its size.
qint64 makePage(const QString& path, int sections) {
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(doc.templateSource(), QFileInfo(path).absolutePath());
    doc.fields.title = QStringLiteral("水の三態 小テスト");
    doc.fields.bigHeading = QStringLiteral("水の三態");
    doc.fields.framedText = QStringLiteral("空らんに当てはまる言葉を書きなさい。");
    doc.fields.unframedText = quizText(sections);
    writePageFile(path, doc.Edit_SAVE());
    return QFileInfo(path).size();
}

void measure(const char* name, const QString& path, int runs) {
    const QString folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    const QString copy = folder + QStringLiteral("copy.htm");
    PageMemory memory;
    std::vector<qint64> reading, writing;
    int blanks = 0;
    for (int run = 0; run < runs; ++run) {
        PageDocument doc(memory);
        QElapsedTimer clock;
        clock.start();
        const PageRead read = readPageFile(path);
        doc.Edit_LOAD(read.text, folder);
        reading.push_back(clock.nsecsElapsed());

        clock.restart();
        const QString page = doc.Edit_SAVE();
        writePageFile(copy, page);
        writing.push_back(clock.nsecsElapsed());
        blanks = int(page.count(QLatin1String("<input")) + page.count(QLatin1String("<SELECT")));
    }
    std::printf("%-28s %8.1f KB  %4d blanks  read %8.2f ms  write %8.2f ms  (median of %d)\n", name,
                double(QFileInfo(path).size()) / 1024, blanks, medianMs(reading), medianMs(writing),
                runs);
}

} // namespace

int main() {
    QTemporaryDir dir;
    const QString quiz = dir.filePath(QStringLiteral("quiz.htm"));
    makePage(quiz, 200);
    measure("quiz page, 200 sections", quiz, 21);

    // Sized from the small page to stay just under the 8 MiB an editable
    // page may have.
    const qint64 perSection = QFileInfo(quiz).size() / 200;
    const QString large = dir.filePath(QStringLiteral("large.htm"));
    const int sections = int((8 * 1024 * 1024 - 64 * 1024) / perSection);
    makePage(large, sections);
    measure("8 MiB page", large, 5);
    return 0;
}
