// The wall's pen, the colour wipe, a screen grab written out, and printing.
// Run under a real X server of 1920 × 1080 (xvfb-run -a -s '-screen 0
// 1920x1080x24' bench/bench_drawing): the wall then has its full size, and
// the screen can be grabbed. Prints:
// - 1000 pen moves of 20 px over a wall of 100 cards, each handled and its
//   part of the wall repainted: median and 99th percentile;
// - five fingers drawing at once, 200 moves each, every touch event (a move
//   of all five) handled and repainted: median and 95th percentile;
// - the colour wipe of a 4000 × 3000 picture;
// - a grab of the whole screen written as JPEG (quality 100) and as BMP;
// - the wall of 100 cards rendered and printed to a PDF file.
#include "document/undohistory.h"
#include "drawing/colourwipe.h"
#include "drawing/picturecanvas.h"
#include "drawing/wallpen.h"
#include "drawing/wallprinter.h"
#include "pictures/picturelayer.h"
#include "platform/fonts.h"
#include "platform/screengrab.h"
#include "storage/wallfiles.h"
#include "support/mouse.h"
#include "wallstart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

void penMoves(QApplication& app, WallWindow& wall) {
    WallPen& pen = wall.pen();
    QWidget* canvas = pen.Image1;
    pen.chooseColour(0);
    sendMouse(canvas, QEvent::MouseButtonPress, QPoint(100, 100));
    std::vector<double> ms;
    for (int i = 0; i < 1000; ++i) {
        // A zigzag across the wall, 20 px a move.
        const int step = i % 80;
        const QPoint at(100 + 20 * (step < 40 ? step : 80 - step), 100 + (i / 8) % 800);
        QElapsedTimer t;
        t.start();
        sendMouse(canvas, QEvent::MouseMove, at);
        app.processEvents(); // the repaint of the touched part
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    sendMouse(canvas, QEvent::MouseButtonRelease, QPoint(100, 100));
    std::printf("wall %dx%d, %d cards\n", wall.document().NOWX, wall.document().NOWY,
                wall.document().count());
    std::printf("pen move, handled and repainted: median %.3f ms, 99th %.3f ms "
                "(targets <= 1, <= 4)\n",
                percentile(ms, 0.5), percentile(ms, 0.99));
}

void fingerMoves(QApplication& app, WallWindow& wall) {
    WallPen& pen = wall.pen();
    QWidget* canvas = pen.Image1;
    QPointingDevice* fingers = QTest::createTouchDevice();
    pen.chooseColour(1);
    constexpr int kFingers = 5;
    // Five wavy lines, 8 px a move, each from a point of the background
    // between the cards; they run on under the cards.
    std::vector<QPoint> starts;
    for (int y = 20; y < canvas->height() - 60 && starts.size() < size_t(kFingers); y += 7)
        for (int x = 20; x < canvas->width() / 4; x += 3)
            if (wall.childAt(canvas->mapTo(&wall, QPoint(x, y))) == canvas &&
                (starts.empty() || y - starts.back().y() >= 40)) {
                starts.push_back(QPoint(x, y));
                break;
            }
    if (starts.size() < size_t(kFingers)) {
        std::printf("five fingers: no room between the cards\n");
        return;
    }
    auto at = [&](int finger, int step) {
        const int wave = ((step / 10) % 2 ? step % 10 : 10 - step % 10) * 4;
        return canvas->mapTo(&wall, starts[size_t(finger)] + QPoint(8 * step, wave - 40));
    };
    {
        auto down = QTest::touchEvent(&wall, fingers);
        for (int f = 0; f < kFingers; ++f)
            down.press(f, at(f, 0));
    }
    std::vector<double> ms;
    for (int step = 1; step <= 200; ++step) {
        QElapsedTimer t;
        t.start();
        {
            auto moves = QTest::touchEvent(&wall, fingers);
            for (int f = 0; f < kFingers; ++f)
                moves.move(f, at(f, step));
        }
        app.processEvents(); // the repaint of the touched parts
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    {
        auto up = QTest::touchEvent(&wall, fingers);
        for (int f = 0; f < kFingers; ++f)
            up.release(f, at(f, 200));
    }
    app.processEvents();
    std::printf("five fingers at once, 200 moves each; a move of all five, handled and "
                "repainted: median %.3f ms, 95th %.3f ms (target median <= 4); %d steps kept\n",
                percentile(ms, 0.5), percentile(ms, 0.95), wall.document().history().undoCount());
}

void wipe() {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            row[x] = qRgb((x * 7) & 255, (y * 3) & 255, (x + y) & 255);
    }
    QElapsedTimer t;
    t.start();
    const QImage wiped = wipePenColour(photo, 0);
    std::printf("colour wipe 4000x3000: %.0f ms (target <= 150)\n", t.nsecsElapsed() / 1e6);
    if (wiped.isNull())
        std::printf("  (no picture)\n");
}

void grabAndWrite(const QTemporaryDir& dir) {
    for (const char* ext : {"jpg", "bmp"}) {
        QElapsedTimer t;
        t.start();
        const ScreenGrab shot = grabWholeScreen();
        if (shot.image.isNull()) {
            std::printf("screen grab: %s\n", qPrintable(shot.problem));
            return;
        }
        const bool written =
            writePicture(shot.image, dir.filePath(QStringLiteral("screen.%1").arg(ext)), 100);
        std::printf("grab %dx%d and write %s: %.0f ms%s (target <= 250)\n", shot.image.width(),
                    shot.image.height(), ext, t.nsecsElapsed() / 1e6, written ? "" : " FAILED");
    }
}

void print(WallWindow& wall, const QTemporaryDir& dir) {
    WallPrinter& printer = wall.printer();
    printer.setUpPrinter = [&](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(dir.filePath(QStringLiteral("wall.pdf")));
        return true;
    };
    QElapsedTimer t;
    t.start();
    const bool printed = printer.IPRINT(1);
    std::printf("wall rendered and printed to PDF: %.0f ms%s (target <= 300)\n",
                t.nsecsElapsed() / 1e6, printed ? "" : " FAILED");
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installFontSubstitutions();
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("zavik-data/"));
    QDir().mkpath(data);
    for (int i = 0; i < 100; ++i) {
        PosterRecord r;
        r.XS = (i % 10) * 190;
        r.YS = (i / 10) * 105;
        r.XXS = 180;
        r.YYS = 90;
        r.P = ((i % 18) + 1) * 1000;
        r.PT = 1000;
        r.R = 1000;
        r.TT = QStringLiteral("カード %1").arg(i);
        r.FTIME = QStringLiteral("20260101-000000");
        r.KAKUSU = QStringLiteral("0");
        writeCardFile(data + QStringLiteral("c%1.txt").arg(i, 3, 10, QLatin1Char('0')), r);
    }
    const StartedWall started = startWall(app, dir.filePath(QStringLiteral("zavik")));
    penMoves(app, *started.window);
    fingerMoves(app, *started.window);
    wipe();
    grabAndWrite(dir);
    print(*started.window, dir);
    return 0;
}
