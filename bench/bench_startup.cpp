// The program's start-up, timed from outside: the real executable is copied
// into a portable folder of its own and started again and again with the
// start-up probe on; each run prints when the wall first painted, counted
// from the moment this benchmark launched it (loading the libraries
// included) and from main(). Walls: empty, 1000 text cards, and a web
// window for contrast (it starts the browser engine). The bare
// process, "--version", gives the cost of loading alone.
// Run under an X server: xvfb-run -a -s '-screen 0 1920x1080x24' bench_startup
#include "app/startupprobe.h"
#include "benchstats.h"
#include "cardwall.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Run {
    double launchMs = -1;
    double mainMs = -1;
    bool engineStarted = false;
};

// One start of `program` with the probe; a failed run has negative times.
Run startOnce(const QString& program) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const qint64 launched = StartupProbe::monotonicNs();
    env.insert(QStringLiteral("ZAVIK_STARTUP_PROBE"), QStringLiteral("launched=%1").arg(launched));
    process.setProcessEnvironment(env);
    process.start(program, {});
    Run run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        std::fprintf(stderr, "%s did not end\n", qPrintable(program));
        return run;
    }
    // "first wall painted: M ms after main(), L ms after launch; web engine …"
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const qsizetype at = out.indexOf(QLatin1String("first wall painted: "));
    if (at < 0) {
        std::fprintf(stderr, "no probe line: %s\n", process.readAllStandardError().constData());
        return run;
    }
    const QStringList words = out.mid(at).split(QLatin1Char(' '));
    run.mainMs = words.value(3).toDouble();
    run.launchMs = words.value(7).toDouble();
    run.engineStarted = !out.contains(QLatin1String("not started"));
    return run;
}

double versionMs(const QString& program) {
    QProcess process;
    const qint64 launched = StartupProbe::monotonicNs();
    process.start(program, {QStringLiteral("--version")});
    process.waitForFinished(30000);
    return (StartupProbe::monotonicNs() - launched) / 1e6;
}

// A portable folder: the program, its resources and a data folder.
QString portableFolder(const QTemporaryDir& dir, const QString& executable) {
    const QString program = dir.filePath(QStringLiteral("zavik"));
    QFile::copy(executable, program);
    QFile::link(QStringLiteral(ZAVIK_RESOURCES), dir.filePath(QStringLiteral("[Zavik]")));
    QDir().mkpath(dir.filePath(QStringLiteral("zavik-data")));
    return program;
}

void measure(const char* name, const QString& program, int runs, double target) {
    startOnce(program); // the first start fills the disk cache
    std::vector<double> launch, main;
    bool engine = false;
    for (int i = 0; i < runs; ++i) {
        const Run r = startOnce(program);
        if (r.launchMs < 0)
            return;
        launch.push_back(r.launchMs);
        main.push_back(r.mainMs);
        engine = engine || r.engineStarted;
    }
    std::printf("%-16s launch to first paint: median %.0f ms, %.0f–%.0f   (target <= %.0f ms)\n",
                name, median(launch), *std::min_element(launch.begin(), launch.end()),
                *std::max_element(launch.begin(), launch.end()), target);
    std::printf("%-16s main() to first paint: median %.0f ms; web engine %s\n", "", median(main),
                engine ? "STARTED" : "not started");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString executable =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QCoreApplication::applicationDirPath() + QStringLiteral("/../src/zavik");
    const int runs = argc > 2 ? atoi(argv[2]) : 9;
    if (!QFile::exists(executable)) {
        std::fprintf(stderr, "no program at %s\n", qPrintable(executable));
        return 1;
    }

    QTemporaryDir empty;
    const QString emptyProgram = portableFolder(empty, executable);
    std::vector<double> bare;
    for (int i = 0; i < runs; ++i)
        bare.push_back(versionMs(emptyProgram));
    std::printf("%-16s launch to exit:        median %.0f ms (loading the program alone)\n",
                "--version", median(bare));
    measure("empty wall", emptyProgram, runs, 500);

    QTemporaryDir full;
    const QString fullProgram = portableFolder(full, executable);
    writeTextCards(full.filePath(QStringLiteral("zavik-data/")), 1000);
    measure("1000 cards", fullProgram, runs, 700);

    // For contrast: a wall with a web window starts the engine.
    QTemporaryDir web;
    const QString webProgram = portableFolder(web, executable);
    QFile page(web.filePath(QStringLiteral("zavik-data/index.html")));
    QFile settings(web.filePath(QStringLiteral("zavik-data/html.ini")));
    if (page.open(QIODevice::WriteOnly) && settings.open(QIODevice::WriteOnly)) {
        page.write("<html><body style='background:#cfe'>Zavik</body></html>");
        settings.write("\xEF\xBB\xBF<URL=\"index.html\",20260101-000000,870,150,990,800,1>\r\n");
        page.close();
        settings.close();
        measure("web window", webProgram, runs, 2000);
    }
    return 0;
}
