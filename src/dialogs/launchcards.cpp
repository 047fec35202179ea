#include "dialogs/launchcards.h"

#include "storage/cardnames.h"

#include <QFileInfo>

std::optional<QList<QPoint>> launchSlots(const QRect& first, int count, const QSize& wall) {
    QList<QPoint> places;
    const int W = first.width();
    const int H = first.height();
    if (W <= 0 || H <= 0 || first.bottom() >= wall.height())
        return std::nullopt;
    const int gap = H / 8;
    int column = 0;
    int row = 0;
    for (int i = 0; i < count; ++i) {
        int top = first.y() + row * (H + gap);
        if (row > 0 && top + H > wall.height()) {
            ++column;
            row = 0;
            top = first.y();
        }
        const int left = first.x() + column * (W + gap);
        if (left + W > wall.width())
            return std::nullopt;
        places << QPoint(left, top);
        ++row;
    }
    return places;
}

LaunchCard planLaunchCard(const QString& file, const QString& wallFolder) {
    const QFileInfo info(file);
    const QString N = info.fileName();
    const QString KAKU = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString B = KAKU.isEmpty() ? N : N.left(N.size() - KAKU.size());
    const QString E = KAKU.mid(1);
    const QString kaku = KAKU.toLower();
    LaunchCard c;
    CardEntry& r = c.card;
    r.textColour = 4;
    r.shape = 1;
    r.KAKUSU = QStringLiteral("0");
    if (kaku == QLatin1String(".jpg") || kaku == QLatin1String(".jpeg") ||
        kaku == QLatin1String(".bmp")) {
        // The picture becomes the background of a sub-wall of its own.
        const QString P = B + E + KAKU;
        c.kind = LaunchKind::Picture;
        c.subWall = wallFolder + B + E + QLatin1Char('/');
        c.copy = c.subWall + P;
        c.original = c.subWall + QLatin1Char('_') + P;
        r.colour = 7;
        r.POST = P;
        r.TT = P;
        r.NOTE = B + E + QLatin1Char('\\');
        r.FNAME = cleanCardFileName(B + E + QStringLiteral(".txt"));
        return c;
    }
    // Pages, LOGO projects and other files are copied into the wall folder
    // under their own names; other files open where they were chosen.
    c.copy = wallFolder + N;
    r.TT = N;
    r.NOTE = N;
    if (kaku == QLatin1String(".html")) {
        c.kind = LaunchKind::Page;
        r.colour = 3;
        r.FNAME = B + QStringLiteral(".txt");
    } else if (isLogoProject(file)) {
        c.kind = LaunchKind::Logo;
        r.colour = 14;
        r.FNAME = B + E + QStringLiteral(".txt");
    } else {
        c.kind = LaunchKind::Other;
        r.colour = 10;
        r.NOTE = file;
        r.FNAME = N + QStringLiteral(".txt");
    }
    r.FNAME = cleanCardFileName(r.FNAME);
    return c;
}

bool linkReadsOtherwise(const QString& file) {
    return file.contains(QLatin1Char('>')) || file.contains(QLatin1Char('\\'));
}

bool isLogoProject(const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == QLatin1String("trx") || suffix == QLatin1String("tr2");
}
