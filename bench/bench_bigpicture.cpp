// Eight cards of several sizes showing one 9999 × 10000 PNG, offscreen: how
// long the wall takes to come up, and the memory the program holds then and
// at its peak. The picture is made by a process of its own first, so that
// making it does not count.
#include "platform/fonts.h"
#include "storage/wallfiles.h"
#include "wallstart.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Smooth colour fields: a photo's size, made and encoded in seconds.
int makePicture(const QString& path) {
    QImage img(9999, 10000, QImage::Format_RGB888);
    for (int y = 0; y < img.height(); ++y) {
        uchar* line = img.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            line[3 * x] = uchar(x * 255 / img.width());
            line[3 * x + 1] = uchar(y * 255 / img.height());
            line[3 * x + 2] = uchar((x ^ y) & 0xFF);
        }
    }
    return img.save(path, "PNG", 90) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--make") == 0)
        return makePicture(QString::fromLocal8Bit(argv[2]));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();

    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("zavik-data/"));
    QDir().mkpath(data);
    const QString picture = data + QStringLiteral("huge.png");
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {"--make", picture}) != 0) {
        std::printf("could not make the picture\n");
        return 1;
    }
    for (int i = 0; i < 8; ++i) {
        PosterRecord r;
        r.POST = QStringLiteral("huge.png");
        r.XS = (i % 4) * 450;
        r.YS = (i / 4) * 500;
        r.XXS = 200 + 40 * i;
        r.YYS = 200 + 40 * i;
        r.P = 1000;
        r.PT = 1000;
        r.R = 1000;
        r.FTIME = QStringLiteral("20260101-000000");
        r.KAKUSU = QStringLiteral("0");
        writeCardFile(data + QStringLiteral("c%1.txt").arg(i), r);
    }

    const long before = statusKb("VmRSS:");
    const double ms = startWall(app, dir.filePath(QStringLiteral("zavik"))).ms;
    std::printf("8 cards showing one 9999 x 10000 PNG (%lld MiB)\n",
                static_cast<long long>(QFileInfo(picture).size() / (1024 * 1024)));
    std::printf("start-up with the cards shown: %.0f ms   (target <= 3000 ms)\n", ms);
    std::printf("resident before the wall:      %ld KiB\n", before);
    std::printf("resident with the wall shown:  %ld KiB   (target < 400 MiB)\n",
                statusKb("VmRSS:"));
    std::printf("resident at the peak:          %ld KiB\n", statusKb("VmHWM:"));
    return 0;
}
