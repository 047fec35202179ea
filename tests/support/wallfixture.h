#pragma once

#include "cards/cardboard.h"
#include "model/wallstate.h"
#include "storage/records.h"
#include "storage/wallfiles.h"
#include "wall/wallloader.h"
#include "wall/wallsaver.h"
#include "wall/wallsurface.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

// A whole file's bytes, written or read in one step.
inline bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A card record as a teacher's wall would hold it.
inline PosterRecord textCard(const QString& text, int x = 100, int y = 100,
                             const QString& stamp = QStringLiteral("20260101-000000")) {
    PosterRecord r;
    r.XS = x;
    r.YS = y;
    r.XXS = 300;
    r.YYS = 120;
    r.P = 4000;
    r.PT = 1000;
    r.R = 1000;
    r.TT = text;
    r.FTIME = stamp;
    r.KAKUSU = QStringLiteral("0");
    return r;
}

// Records what the loaders and savers asked of the window.
class FakeSurface : public WallSurface {
public:
    QStringList backgrounds; // pictures loaded
    int cleared = 0;
    QString webPage;
    bool webHidden = false;
    bool fileWindowShown = false;
    QStringList problems;
    QImage canvas;

    void KABEIMAGELOAD(const QString& path) override { backgrounds << path; }
    void clearBackground() override { ++cleared; }
    QImage canvasImage() const override { return canvas; }
    void setWallCursor(bool) override {}
    int fullScreenRestored = 0;
    void restoreFullScreen() override { ++fullScreenRestored; }
    void KABEWEBLOAD(const QString& page) override { webPage = page; }
    void hideWebWindow() override { webHidden = true; }
    void showFileWindow() override { fileWindowShown = true; }
    void hideFileWindow() override { fileWindowShown = false; }
    void refreshFileWindow() override {}
    void reportProblems(const QString&, const QStringList& lines) override { problems << lines; }
};

// A wall of a given size in pixels on a folder of its own, with the board,
// loader and saver wired as the wall window wires them.
struct WallFixture {
    QTemporaryDir dir;
    WallState st;
    QWidget area;
    FakeSurface surface;
    std::unique_ptr<CardBoard> board;
    std::unique_ptr<WallLoader> loader;
    std::unique_ptr<WallSaver> saver;

    explicit WallFixture(int NOWX = 1920, int NOWY = 1080) {
        st.KIJUNDIRBAK = dir.path() + QStringLiteral("/zavik-data/");
        st.KIJUNDIR = st.KIJUNDIRBAK;
        QDir().mkpath(st.KIJUNDIR);
        resize(NOWX, NOWY);
        rewire();
    }

    void resize(int NOWX, int NOWY) {
        st.NOWX = st.ZETTAIX0 = NOWX;
        st.NOWY = st.ZETTAIY0 = NOWY;
        area.resize(NOWX, NOWY);
    }

    // A fresh wall on the same folder, as after a restart.
    void rewire() {
        if (board)
            board->clear();
        board = std::make_unique<CardBoard>(st, &area);
        loader = std::make_unique<WallLoader>(st, *board, surface);
        saver = std::make_unique<WallSaver>(st, *board, surface);
        board->saveCard = [this](int i) { saver->PANELSAVE(i, 1); };
        saver->written = [this](const QString& name) { loader->noteWritten(name); };
    }

    QString path(const QString& name) const { return st.KIJUNDIR + name; }
    void write(const QString& name, const PosterRecord& r) const { writeCardFile(path(name), r); }
    void writeRaw(const QString& name, const QByteArray& bytes) const {
        writeFileBytes(path(name), bytes);
    }
    QByteArray bytes(const QString& name) const { return readFileBytes(path(name)); }
    QStringList cardNames() const {
        QStringList names;
        for (const CardEntry& e : st.cards)
            names << e.FNAME;
        return names;
    }
};
