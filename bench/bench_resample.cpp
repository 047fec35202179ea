// Resampling a 4000 × 3000 photo-sized picture to 1920 × 1440 and 800 × 600:
// Zavik's resampler, the straightforward per-pixel version it must agree with,
// and ImageMagick's cubic filter with the same kernel (B = 0, C = 1) run as a
// separate program on the same input. ImageMagick's time is also given net of
// a plain read-and-write of the input, so its file handling is not counted
// against it (that copy writes the full-size picture, so the net figure
// rather flatters it). Last, libvips (linked into this benchmark only) resizes
// the same decoded picture in-process with its cubic kernel, on as many
// threads as Zavik's resampler uses: once as vips_resize does by default
// (a box shrink first where the step is large) and once cubic throughout.
#include "benchstats.h"
#include "pictures/bicubic.h"
#include "pictures/bicubic_reference.h"

#ifdef ZAVIK_HAVE_VIPS
#include <vips/vips.h>
#endif

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

namespace {

struct Case {
    const char* name;
    int width;
    int height;
};

// A smooth gradient in every channel with noise on top, so neither flat runs
// nor pure noise flatter anyone.
QImage makePicture(int width, int height) {
    std::mt19937 random(20240517u);
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int base[3] = {255 * x / (width - 1), 255 * y / (height - 1),
                                 255 * (x + y) / (width + height - 2)};
            for (int c = 0; c < 3; ++c) {
                const int noise = int(random() % 41) - 20;
                line[3 * x + c] = uchar(std::clamp(base[c] + noise, 0, 255));
            }
        }
    }
    return picture;
}

// Wall time of one run of the program in milliseconds; negative on failure.
double runMs(const QString& program, const QStringList& arguments) {
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return -1.0;
    }
    return timer.nsecsElapsed() / 1e6;
}

double medianRunMs(const QString& program, const QStringList& arguments, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = runMs(program, arguments);
        if (ms < 0)
            return -1.0;
        times.push_back(ms);
    }
    return median(times);
}

QString magickThreads(const QString& convert) {
    QProcess process;
    process.start(convert, {QStringLiteral("-list"), QStringLiteral("resource")});
    process.waitForFinished(-1);
    for (const QByteArray& line : process.readAllStandardOutput().split('\n'))
        if (line.trimmed().startsWith("Thread:"))
            return QString::fromLatin1(line.trimmed().mid(7).trimmed());
    return QStringLiteral("?");
}

#ifdef ZAVIK_HAVE_VIPS
// libvips resizing `picture` to w × h in memory, median of 5 in ms; `gap` as
// vips_resize takes it (0: cubic all the way). The result is written out
// to memory, so that the lazy pipeline really runs.
double vipsResizeMs(const QImage& picture, int w, int h, double gap) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        VipsImage* in =
            vips_image_new_from_memory(picture.constBits(), size_t(picture.sizeInBytes()),
                                       picture.width(), picture.height(), 3, VIPS_FORMAT_UCHAR);
        VipsImage* out = nullptr;
        const double hscale = double(w) / picture.width();
        const double vscale = double(h) / picture.height();
        if (!in || vips_resize(in, &out, hscale, "vscale", vscale, "kernel", VIPS_KERNEL_CUBIC,
                               "gap", gap, nullptr) != 0) {
            std::fprintf(stderr, "libvips: %s\n", vips_error_buffer());
            return -1.0;
        }
        size_t size = 0;
        void* pixels = vips_image_write_to_memory(out, &size);
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (out->Xsize != w || out->Ysize != h || size != size_t(w) * h * 3)
            std::fprintf(stderr, "libvips made %dx%d\n", out->Xsize, out->Ysize);
        g_free(pixels);
        g_object_unref(out);
        g_object_unref(in);
    }
    return median(times);
}

template <size_t N>
void compareWithVips(const QImage& picture, const Case (&cases)[N],
                     const std::vector<double>& zavikMs) {
    if (VIPS_INIT("bench_resample") != 0) {
        std::printf("\nlibvips did not start: no libvips figures.\n");
        return;
    }
    // Same threads as Zavik's resampler (at most 4, one per core); no
    // operation cache, or the second run would cost nothing.
    const int threads = int(std::min(std::max(std::thread::hardware_concurrency(), 1u), 4u));
    vips_concurrency_set(threads);
    vips_cache_set_max(0);
    std::printf("\nlibvips %s, in-process, %d threads, cubic kernel:\n", vips_version_string(),
                threads);
    std::printf("%-24s %10s %18s %18s %12s\n", "case", "Zavik ms", "libvips default ms",
                "libvips gap 0 ms", "Zavik faster");
    for (size_t i = 0; i < N; ++i) {
        const double usual = vipsResizeMs(picture, cases[i].width, cases[i].height, 2.0);
        const double cubic = vipsResizeMs(picture, cases[i].width, cases[i].height, 0.0);
        const bool faster = zavikMs[i] < usual && zavikMs[i] < cubic;
        std::printf("%-24s %10.1f %18.1f %18.1f %12s\n", cases[i].name, zavikMs[i], usual, cubic,
                    faster ? "yes" : "NO");
    }
    std::printf("libvips: median of 5, picture handed over in memory, result written to memory.\n");
    vips_shutdown();
}
#endif

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int sourceWidth = 4000;
    const int sourceHeight = 3000;
    const Case cases[] = {{"4000x3000 -> 1920x1440", 1920, 1440},
                          {"4000x3000 -> 800x600", 800, 600}};

    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("in.ppm"));
    const QString output = dir.filePath(QStringLiteral("out.ppm"));
    const QImage picture = makePicture(sourceWidth, sourceHeight);
    if (!picture.save(input, "PPM")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(input));
        return 1;
    }

    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert-im6.q16"));
    double copyMs = -1.0;
    if (convert.isEmpty()) {
        std::printf("convert-im6.q16 not found: no ImageMagick figures.\n");
    } else {
        std::printf("ImageMagick threads: %s\n", qPrintable(magickThreads(convert)));
        copyMs = medianRunMs(convert, {input, output}, 3);
        std::printf("ImageMagick plain copy of the input: %.1f ms (median of 3)\n", copyMs);
    }
    std::printf("Hardware threads: %u\n\n", std::thread::hardware_concurrency());

    std::printf("%-24s %10s %14s %22s %12s %9s\n", "case", "Zavik ms", "reference ms",
                "ImageMagick raw/net ms", "speed-up", "max diff");
    std::vector<double> zavikMs;
    for (const Case& c : cases) {
        std::vector<double> times;
        QImage ours;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer timer;
            timer.start();
            ours = BitmapResize_Bicubic(picture, c.width, c.height);
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        const double oursMs = median(times);
        zavikMs.push_back(oursMs);

        QElapsedTimer timer;
        timer.start();
        const QImage expected = referenceBicubic(picture, c.width, c.height);
        const double referenceMs = timer.nsecsElapsed() / 1e6;
        const int difference = maxChannelDifference(ours, expected);

        QString magick = QStringLiteral("-");
        QString speedUp = QStringLiteral("-");
        if (copyMs >= 0) {
            const QString geometry = QStringLiteral("%1x%2!").arg(c.width).arg(c.height);
            const double rawMs = medianRunMs(
                convert,
                {input, QStringLiteral("-filter"), QStringLiteral("Cubic"),
                 QStringLiteral("-define"), QStringLiteral("filter:b=0"), QStringLiteral("-define"),
                 QStringLiteral("filter:c=1"), QStringLiteral("-resize"), geometry, output},
                3);
            if (rawMs >= 0) {
                const double netMs = rawMs - copyMs;
                magick = QStringLiteral("%1 / %2").arg(rawMs, 0, 'f', 1).arg(netMs, 0, 'f', 1);
                speedUp = QStringLiteral("%1x").arg(netMs / oursMs, 0, 'f', 1);
            }
        }
        std::printf("%-24s %10.1f %14.1f %22s %12s %9d\n", c.name, oursMs, referenceMs,
                    qPrintable(magick), qPrintable(speedUp), difference);
    }
    std::printf("\nZavik: median of 5; reference: 1 run; ImageMagick: median of 3, net = raw "
                "minus the plain copy; speed-up = ImageMagick net / Zavik.\n");
#ifdef ZAVIK_HAVE_VIPS
    compareWithVips(picture, cases, zavikMs);
#else
    std::printf("\nBuilt without libvips (libvips-dev): no libvips figures.\n");
#endif
    return 0;
}
