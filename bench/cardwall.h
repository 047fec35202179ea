#pragma once

// The wall of text cards the wall benchmarks load: cards of every colour,
// both shapes, hints, formulas, spread over the reference space.
#include "storage/wallfiles.h"

#include <QDir>
#include <QLatin1Char>
#include <QString>
#include <QTemporaryDir>

inline void writeTextCards(const QString& folder, int cards) {
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
        writeCardFile(folder + QStringLiteral("c%1.txt").arg(i, 4, 10, QLatin1Char('0')), r);
    }
}

// The data folder of a wall of `cards` text cards under `dir`.
inline QString textCardWall(const QTemporaryDir& dir, int cards) {
    const QString data = dir.filePath(QStringLiteral("zavik-data/"));
    QDir().mkpath(data);
    writeTextCards(data, cards);
    return data;
}
