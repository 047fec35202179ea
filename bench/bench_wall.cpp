// Loading a wall of 1000 text cards and watching it for changes, offscreen.
// Prints the full load (layout pass with a fresh load), one change-detection
// tick with nothing changed, and the memory the process holds.
#include "app/wallwindow.h"
#include "platform/fonts.h"
#include "storage/wallfiles.h"
#include "wall/changedetection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    const int cards = argc > 1 ? atoi(argv[1]) : 1000;

    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("zavik-data/"));
    QDir().mkpath(data);
    for (int i = 0; i < cards; ++i) {
        PosterRecord r;
        r.XS = (i * 37) % 1700;
        r.YS = (i * 53) % 950;
        r.XXS = 200;
        r.YYS = 100;
        r.P = ((i % 18) + 1) * 1000;
        r.PT = 1000;
        r.R = (i % 3) * 1000;
        r.S2 = QStringLiteral("ヒント %1").arg(i);
        r.TT = i % 2 ? QStringLiteral("H2SO4 カード%1").arg(i) : QStringLiteral("カード %1").arg(i);
        r.FTIME = QStringLiteral("20260101-000000");
        r.KAKUSU = QStringLiteral("0");
        writeCardFile(data + QStringLiteral("c%1.txt").arg(i, 4, 10, QLatin1Char('0')), r);
    }

    const long before = residentKb();
    WallWindow wall(dir.filePath(QStringLiteral("zavik")));
    wall.showOnScreen();
    app.processEvents();

    std::vector<double> loads;
    for (int run = 0; run < 5; ++run) {
        wall.ALLCLEAR();
        app.processEvents();
        QElapsedTimer t;
        t.start();
        wall.state().SHOWFLG = true;
        wall.SAITEIJI();
        loads.push_back(t.nsecsElapsed() / 1e6);
    }
    app.processEvents();
    const long after = residentKb();

    std::vector<double> ticks;
    for (int run = 0; run < 21; ++run) {
        QElapsedTimer t;
        t.start();
        wall.changes().Timer2Timer();
        ticks.push_back(t.nsecsElapsed() / 1e6);
    }

    std::printf("cards on the wall:            %d\n", wall.state().PBANSU);
    std::printf("full load (median of 5):      %.1f ms   (target <= 300 ms)\n", median(loads));
    std::printf("change tick (median of 21):   %.2f ms   (target <= 10 ms)\n", median(ticks));
    std::printf("resident memory before wall:  %ld KiB\n", before);
    std::printf("resident memory, wall shown:  %ld KiB (+%ld KiB)\n", after, after - before);
    return 0;
}
