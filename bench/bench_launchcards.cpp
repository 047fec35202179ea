// The launch-card maker on 20 chosen 4000 × 3000 JPEG photos: the cards,
// the sub-walls with both copies of each photo, the thumbnails and the wall
// read again (target: 5 s). Run under a real X server of 1920 × 1080
// (xvfb-run -a -s '-screen 0 1920x1080x24' bench/bench_launchcards), where
// the wall has room for the cards.
#include "dialogs/launchcardmaker.h"
#include "photo.h"
#include "pictures/picturelayer.h"
#include "support/scriptedprompts.h"
#include "wallstart.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("zavik-data"));
    QDir().mkpath(dir.filePath("photos"));
    QStringList files;
    const QImage picture = photo(4000, 3000);
    for (int i = 0; i < 20; ++i) {
        files << dir.filePath(QStringLiteral("photos/photo%1.jpg").arg(i));
        writePicture(picture, files.last(), 90);
    }
    StartedWall wall = startWall(app, dir.filePath("zavik"));
    WallWindow& w = *wall.window;
    LaunchCardMaker maker(w.document(), &w);
    ScriptedPrompts prompts;
    prompts.files = {files};
    maker.setPrompts(&prompts);
    maker.wallArea = [&] { return QRect(w.mapToGlobal(QPoint(0, 0)), w.size()); };
    QObject::connect(&maker, &LaunchCardMaker::reloadWallRequested, &w, [&] { w.N01Click(); });
    maker.resize(160, 120);
    maker.move(w.mapToGlobal(QPoint(40, 40)));
    maker.show();
    app.processEvents();
    QElapsedTimer t;
    t.start();
    maker.SpeedButton2->click();
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf("20 photos of 4000 x 3000 into launch cards with sub-walls, thumbnails and the "
                "reload: %.0f ms; %d cards on the wall\n",
                ms, int(w.document().count()));
    return 0;
}
