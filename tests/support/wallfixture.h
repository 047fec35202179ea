#pragma once

#include "cards/cardboard.h"
#include "document/walldocument.h"
#include "document/wallloader.h"
#include "document/wallsaver.h"
#include "document/wallsurface.h"
#include "storage/records.h"
#include "storage/wallfiles.h"
#include "support/filebytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

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

// A card whose link is `link`, at 100,100, 300 × 120 reference units.
inline PosterRecord linkCard(const QString& link, const QString& text = QStringLiteral("card")) {
    PosterRecord r = textCard(text);
    r.NOTE = link;
    return r;
}

// Card n moved on the wall as a drag moves it: the document takes the place.
inline void moveCard(WallDocument& doc, int n, QPoint to) {
    doc.setRect(n, QRect(to, doc.card(n).rect.size()));
}

// Records what the wall document told the window.
class FakeSurface : public QObject, public WallSurface {
public:
    QStringList backgrounds; // pictures loaded
    int cleared = 0;
    QString shownPage; // the web window's page
    bool webHidden = false;
    bool fileWindowShown = false;
    QStringList problems;
    QImage canvas;
    int fullScreenRestored = 0;

    QImage canvasImage() const override { return canvas; }

    void follow(WallDocument& doc) {
        connect(&doc, &WallDocument::backgroundShown, this,
                [this](const QString& path) { backgrounds << path; });
        connect(&doc, &WallDocument::backgroundCleared, this, [this] { ++cleared; });
        connect(&doc, &WallDocument::fullWallNeeded, this, [this] { ++fullScreenRestored; });
        connect(&doc, &WallDocument::webWindowShown, this,
                [this](const QString& page) { shownPage = page; });
        connect(&doc, &WallDocument::webWindowHidden, this, [this] { webHidden = true; });
        connect(&doc, &WallDocument::fileWindowShown, this, [this] { fileWindowShown = true; });
        connect(&doc, &WallDocument::fileWindowHidden, this, [this] { fileWindowShown = false; });
        connect(&doc, &WallDocument::problems, this,
                [this](const QString&, const QStringList& lines) { problems << lines; });
    }
};

// A wall of a given size in pixels on a folder of its own: its document and
// the card board that shows it, wired as the wall window wires them.
struct WallFixture {
    QTemporaryDir dir;
    // The window's modes the cards and editors are handed.
    bool busy = false;
    bool oneShotArmed = false;
    int pressState = 0;
    QWidget area;
    FakeSurface surface;
    std::unique_ptr<WallDocument> doc;
    std::unique_ptr<CardBoard> board;
    WallLoader* loader = nullptr;
    WallSaver* saver = nullptr;

    explicit WallFixture(int NOWX = 1920, int NOWY = 1080) {
        doc = std::make_unique<WallDocument>();
        doc->setSurface(&surface);
        doc->KIJUNDIRBAK = dir.path() + QStringLiteral("/zavik-data/");
        doc->KIJUNDIR = doc->KIJUNDIRBAK;
        QDir().mkpath(doc->KIJUNDIR);
        resize(NOWX, NOWY);
        rewire();
    }

    WallDocument& st() { return *doc; }

    void resize(int NOWX, int NOWY) {
        doc->NOWX = doc->ZETTAIX0 = NOWX;
        doc->NOWY = doc->ZETTAIY0 = NOWY;
        area.resize(NOWX, NOWY);
    }

    // A fresh wall on the same folder, as after a restart.
    void rewire() {
        if (board)
            doc->clear();
        board.reset();
        auto fresh = std::make_unique<WallDocument>();
        fresh->setSurface(&surface);
        fresh->KIJUNDIRBAK = doc->KIJUNDIRBAK;
        fresh->KIJUNDIR = doc->KIJUNDIR;
        fresh->NOWX = doc->NOWX;
        fresh->NOWY = doc->NOWY;
        fresh->ZETTAIX0 = doc->ZETTAIX0;
        fresh->ZETTAIY0 = doc->ZETTAIY0;
        doc = std::move(fresh);
        surface.follow(*doc);
        board = std::make_unique<CardBoard>(*doc, busy, pressState, &area);
        loader = &doc->loader();
        saver = &doc->saver();
    }

    QString path(const QString& name) const { return doc->KIJUNDIR + name; }
    void write(const QString& name, const PosterRecord& r) const { writeCardFile(path(name), r); }
    void writeRaw(const QString& name, const QByteArray& bytes) const {
        writeFileBytes(path(name), bytes);
    }
    QByteArray bytes(const QString& name) const { return readFileBytes(path(name)); }
    QStringList cardNames() const {
        QStringList names;
        for (const CardEntry& e : doc->cards())
            names << e.FNAME;
        return names;
    }
};
