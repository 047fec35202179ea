// The web window on the wall. Run under a real X server (xvfb-run -a -s
// '-screen 0 1920x1080x24' bench/bench_webpane). Prints:
// - the wall with a local page in its web window: the wall shown, the page's
//   loadFinished, and its first painted frame (the page's own colour seen on
//   the screen), each counted from the start (target: painted within
//   2 s of the wall showing);
// - 20 later local pages, each timed from the request to loadFinished:
//   median and slowest (target: median at most 200 ms).
#include "storage/wallfiles.h"
#include "wallstart.h"
#include "web/webpane.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

void writePage(const QString& path, int n) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return;
    QByteArray html = "<html><body style='background:#c03020;color:white'><h1>Page " +
                      QByteArray::number(n) + "</h1>";
    for (int i = 0; i < 200; ++i)
        html += "<p>Lesson line " + QByteArray::number(i) + " <a href='page" +
                QByteArray::number(i % 20) + ".html'>next</a></p>";
    f.write(html + "</body></html>");
}

// What the X server shows of the pane: the page's colour once it painted.
bool showsPage(QWebEngineView* view) {
    const QPoint at = view->mapToGlobal(QPoint(3, view->height() - 5));
    const QImage shot = view->screen()->grabWindow(0, at.x(), at.y(), 1, 1).toImage();
    return !shot.isNull() && shot.pixelColor(0, 0) == QColor(0xc0, 0x30, 0x20);
}

// Runs the event loop until `done` holds or `ms` pass; false on time out.
template <typename F> bool waitFor(F done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString data = dir.filePath("zavik-data/");
    QDir().mkpath(data);
    for (int i = 0; i < 21; ++i)
        writePage(data + QStringLiteral("page%1.html").arg(i), i);
    writeUrlFile(data + "html.ini", {QStringLiteral("page0.html"),
                                     QStringLiteral("20260101-000000"), 870, 150, 990, 800, 1});

    QElapsedTimer clock;
    clock.start();
    StartedWall wall = startWall(app, dir.filePath("zavik"));
    const double shown = clock.nsecsElapsed() / 1e6;
    QWebEngineView* view = wall.window->webPane().view();
    if (!view) {
        std::printf("the wall made no web window\n");
        return 1;
    }
    bool finished = false;
    QObject::connect(view, &QWebEngineView::loadFinished, [&](bool) { finished = true; });
    waitFor([&] { return finished; }, 20000);
    const double loaded = clock.nsecsElapsed() / 1e6;
    const bool painted = waitFor([&] { return showsPage(view); }, 20000);
    const double paintedMs = clock.nsecsElapsed() / 1e6;
    std::printf("wall shown %.0f ms, first page loadFinished %.0f ms, painted %s %.0f ms "
                "(%.0f ms after the wall showed)\n",
                shown, loaded, painted ? "at" : "NOT by", paintedMs, paintedMs - shown);

    std::vector<double> times;
    for (int i = 1; i <= 20; ++i) {
        finished = false;
        QElapsedTimer t;
        t.start();
        view->load(QUrl::fromLocalFile(data + QStringLiteral("page%1.html").arg(i)));
        if (!waitFor([&] { return finished; }, 20000)) {
            std::printf("page %d did not finish loading\n", i);
            return 1;
        }
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("20 later pages to loadFinished: median %.1f ms, slowest %.1f ms\n",
                times[times.size() / 2], times.back());
    return 0;
}
