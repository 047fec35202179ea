// A 4000 × 3000 JPEG photo: its thumbnail from file to written file, and its
// load as the background of a 1920 × 1080 wall; also what decoding the JPEG
// at a reduced scale saves against decoding it whole.
#include "photo.h"
#include "pictures/backgroundfit.h"
#include "pictures/picturelayer.h"
#include "pictures/thumbnails.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

template <typename F> double medianMs(int runs, F f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        f();
        t.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString wall = dir.path() + QStringLiteral("/");
    const QString file = wall + QStringLiteral("photo.jpg");
    writePicture(photo(4000, 3000), file, 90);
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();

    const double full = medianMs(5, [&] { decodePicture(bytes); });
    const double half =
        medianMs(5, [&] { decodePicture(bytes, [](QSize) { return QSize(1920, 1440); }); });
    const double quarter =
        medianMs(5, [&] { decodePicture(bytes, [](QSize) { return QSize(800, 600); }); });
    const double thumb = medianMs(5, [&] {
        QFile::remove(wall + QStringLiteral("NAIL/~photo.jpg"));
        NAILIMAGELOADMAKE(file, wall);
    });
    bool loaded = false;
    const double background =
        medianMs(5, [&] { composeBackground(file, 1920, 1080, QColor(0, 0, 128), &loaded); });

    std::printf("4000 x 3000 JPEG (%lld KiB)\n", static_cast<long long>(bytes.size() / 1024));
    std::printf("decode whole:                 %7.1f ms\n", full);
    std::printf("decode at 1/2 (1920x1440 up): %7.1f ms\n", half);
    std::printf("decode at 1/4 (800x600 up):   %7.1f ms\n", quarter);
    std::printf("thumbnail, file to file:      %7.1f ms   (target <= 150 ms)\n", thumb);
    std::printf("background on 1920x1080:      %7.1f ms   (target <= 150 ms)%s\n", background,
                loaded ? "" : "  NOT LOADED");
    return 0;
}
