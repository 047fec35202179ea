#include "model/linkrules.h"

#include "storage/pathforms.h"
#include "storage/records.h"

#include <algorithm>
#include <cmath>

#include <QFileInfo>

namespace {

struct CommandName {
    const char* prefix;
    char kind;
    bool save;
};

// Tested in this order; exact and case-sensitive.
const CommandName kCommands[] = {
    {">R", 'R', false}, {">SR", 'R', true}, {">L", 'L', false}, {">SL", 'L', true},
    {">U", 'U', false}, {">SU", 'U', true}, {">D", 'D', false}, {">SD", 'D', true},
    {">W", 'W', false}, {">SW", 'W', true}, {">w", 'w', false}, {">Sw", 'w', true},
    {">H", 'H', false}, {">SH", 'H', true}, {">h", 'h', false}, {">Sh", 'h', true}};

QString extensionOf(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

} // namespace

LinkDecision decideLink(const QString& L) {
    LinkDecision d;
    if (L == QLatin1String("<<<"))
        d.action = LinkAction::ExitWithoutSaving;
    else if (L == QLatin1String("<<"))
        d.action = LinkAction::SaveAndExit;
    else if (L == QLatin1String("<@"))
        d.action = LinkAction::BackToMark;
    else if (L == QLatin1String("<\\"))
        d.action = LinkAction::Home;
    else if (L == QLatin1String("<"))
        d.action = LinkAction::Back;
    else if (L.startsWith(QLatin1String(">DL"))) {
        d.action = LinkAction::CopyToDesktop;
        d.argument = L.mid(3);
    } else if (L == QLatin1String(">") || L.endsWith(QLatin1String("\\>")) ||
               L.endsWith(QLatin1String("/>"))) {
        d.action = LinkAction::OpenFolder;
        d.argument = L.left(L.indexOf(QLatin1Char('>')));
    } else if (L == QLatin1String(">PRN"))
        d.action = LinkAction::Print;
    else if (L == QLatin1String(">CSV"))
        d.action = LinkAction::Csv;
    else if (L.contains(QLatin1String(">BG"))) {
        d.action = LinkAction::Background;
        d.argument = L.left(L.indexOf(QLatin1String(">BG")));
    } else {
        for (const CommandName& c : kCommands) {
            const QString prefix = QLatin1String(c.prefix);
            if (L.startsWith(prefix)) {
                d.action = LinkAction::CardCommand;
                d.card.kind = QLatin1Char(c.kind);
                d.card.save = c.save;
                d.card.rest = L.mid(prefix.size());
                if (const auto n = parseStrictInt(d.card.rest.trimmed()))
                    d.card.n = qMax(0, *n);
                return d;
            }
        }
        d.action = LinkAction::Target;
    }
    return d;
}

namespace {

// CardSize's floor: a shrink stops there.
constexpr int kSmallestSide = 16;

// A size after a grow or a shrink by n, worked out in 64 bits: a grow stops
// at the wall's own size and a shrink at the floor, and a size already past
// that bound stays as it is, so that a grow never shrinks a card and a shrink
// never grows one.
int grown(int size, qint64 n, int ceiling) {
    return size >= ceiling ? size : int(std::min<qint64>(size + n, ceiling));
}
int shrunk(int size, qint64 n) {
    return size <= kSmallestSide ? size : int(std::max<qint64>(size - n, kSmallestSide));
}

} // namespace

CardGeometry applyCardCommand(CardGeometry g, const CardCommand& c, int CARDX, int CARDY, int CARDW,
                              int CARDH, QSize wall) {
    const qint64 n = qMax(0, c.n.value_or(0));
    // No step larger than ten walls wide moves a card anywhere more useful,
    // and a larger one would overflow.
    const int step = int(std::min<qint64>(n, kLongestCardStep));
    // Halves are compared as the click point against half the size,
    // computed exactly (no rounding of CARDW / 2).
    const bool rightHalf = 2 * qint64(CARDX) > CARDW;
    const bool rightHalfOrMiddle = 2 * qint64(CARDX) >= CARDW;
    const bool lowerHalf = 2 * qint64(CARDY) >= CARDH;
    // The commands that keep the far edge where it is move the near one by
    // what the size really changed.
    const int width = g.width;
    const int height = g.height;
    switch (c.kind.unicode()) {
    case 'R':
        g.left += step;
        break;
    case 'L':
        g.left -= step;
        break;
    case 'U':
        g.top -= step;
        break;
    case 'D':
        g.top += step;
        break;
    case 'W':
        g.width = rightHalf ? grown(width, n, wall.width()) : shrunk(width, n);
        break;
    case 'w':
        g.width = rightHalfOrMiddle ? shrunk(width, n) : grown(width, n, wall.width());
        g.left -= g.width - width;
        break;
    case 'H':
        g.height = lowerHalf ? shrunk(height, n) : grown(height, n, wall.height());
        g.top -= g.height - height;
        break;
    case 'h':
        g.height = lowerHalf ? grown(height, n, wall.height()) : shrunk(height, n);
        break;
    default:
        break;
    }
    return g;
}

TargetDecision decideTarget(const QString& link, const QString& wallFolder,
                            const QString& dataFolder,
                            const std::function<bool(const QString&)>& isFile) {
    TargetDecision t;
    QString L = link;
    const qsizetype gt = L.indexOf(QLatin1Char('>'));
    if (gt >= 0) {
        const QString zoom = L.mid(gt + 1);
        L = L.left(gt);
        if (!zoom.isEmpty() && zoom[0].isDigit()) {
            // Walls made where the decimal point is a comma still zoom.
            QString number;
            for (const QChar ch : zoom) {
                if (ch.isDigit() || ch == QLatin1Char('.') || ch == QLatin1Char(','))
                    number += ch == QLatin1Char(',') ? QLatin1Char('.') : ch;
                else
                    break;
            }
            bool ok = false;
            const double z = number.toDouble(&ok);
            t.zoom = ok && z > 0 && std::isfinite(z) ? z : 1.0;
        }
    }
    if (L.isEmpty()) {
        t.kind = TargetKind::Beep;
        return t;
    }
    const int pictures = int(L.count(QLatin1String(".jp"), Qt::CaseInsensitive) +
                             L.count(QLatin1String(".bmp"), Qt::CaseInsensitive));
    if (L.contains(QLatin1Char('&')) && pictures >= 2) {
        QStringList parts = L.split(QLatin1Char('&'));
        for (QString& p : parts)
            p = ZETTAI(p, wallFolder, dataFolder);
        t.pictureList = parts.join(QLatin1Char('&'));
        L = L.left(L.indexOf(QLatin1Char('&')));
    } else {
        t.pictureList = ZETTAI(L, wallFolder, dataFolder);
    }
    L = ZETTAI(L, wallFolder, dataFolder);
    t.path = L;
    if (isFile(L)) {
        const QString ext = extensionOf(L);
        static const QStringList picture{"png", "gif", "bmp", "jpeg", "jpg"};
        static const QStringList sound{"wav", "wma", "mp3"};
        if (picture.contains(ext))
            t.kind = TargetKind::Picture;
        else if (sound.contains(ext))
            t.kind = TargetKind::Sound;
        else if (ext == QLatin1String("html") || ext == QLatin1String("htm"))
            t.kind = TargetKind::Page;
        else if (ext == QLatin1String("trx") || ext == QLatin1String("tr2"))
            t.kind = TargetKind::Logo;
        else
            t.kind = TargetKind::OtherFile;
        return t;
    }
    // A web address ending in "/" is no folder.
    const bool address = L.contains(QLatin1String(":/"));
    if (L.size() > 2 && !address) {
        if (L.endsWith(QLatin1String("\\@")) || L.endsWith(QLatin1String("/@"))) {
            L.chop(1);
            t.markReturn = true;
        }
        if (endsWithSeparator(L)) {
            t.kind = isWindowsDrivePath(L) ? TargetKind::MissingFolder : TargetKind::Wall;
            t.path = withSlashes(L);
            return t;
        }
    }
    if (L.contains(QLatin1String("http:")) || L.contains(QLatin1String("https:"))) {
        t.kind = TargetKind::WebAddress;
        t.path = L;
        return t;
    }
    t.kind = TargetKind::Nothing;
    return t;
}

StageSwitch STANA2(const QString& S, int ST1, int ST2) {
    StageSwitch r{S, ST1, ST2, false};
    const bool pair = (S.contains(QLatin1String("/+")) && S.contains(QLatin1String("+/"))) ||
                      (S.contains(QLatin1String("/-")) && S.contains(QLatin1String("-/"))) ||
                      (S.contains(QLatin1String("/*")) && S.contains(QLatin1String("*/")));
    if (pair)
        return r;
    auto take = [&r](const char* marker) {
        const qsizetype at = r.link.indexOf(QLatin1String(marker));
        if (at < 0)
            return false;
        r.link.remove(at, 2);
        r.changed = true;
        return true;
    };
    while (take("/+")) {
        r.ST2 = 0;
        ++r.ST1;
    }
    while (take("/-")) {
        ++r.ST2;
        r.ST1 = 0;
    }
    while (take("/*")) {
        r.ST1 = 0;
        r.ST2 = 0;
    }
    return r;
}

DesktopCopy desktopCopyFor(const QString& link, const QString& wallFolder) {
    QString R = link.startsWith(QLatin1String(">DL")) ? link.mid(3) : link;
    if (!R.startsWith(QLatin1Char('\\')) && !R.startsWith(QLatin1Char('/')))
        return {wallFolder, QStringLiteral("【マイデスク】"), false};
    R = R.mid(1);
    qsizetype sep = -1;
    for (qsizetype i = 1; i < R.size(); ++i) {
        if (R[i] == QLatin1Char('\\') || R[i] == QLatin1Char('/')) {
            sep = i;
            break;
        }
    }
    if (sep <= 0)
        return {wallFolder, R, false};
    // Only a folder below the wall is copied: "..\" would reach the program's
    // folder or the desktop itself.
    const QString below = withSlashes(R.left(sep));
    const bool climbs = below.split(QLatin1Char('/')).contains(QStringLiteral("..")) ||
                        below.startsWith(QLatin1Char('/')) || below.contains(QLatin1Char(':'));
    return {wallFolder + below + QLatin1Char('/'), R.mid(sep + 1), climbs};
}

QString navigateBack(QStringList& history, const QString& dataFolder) {
    if (history.isEmpty())
        return dataFolder;
    return history.takeLast();
}

QString navigateHome(QStringList& history, QString& mark, const QString& dataFolder) {
    history.clear();
    mark.clear();
    return dataFolder;
}

QString navigateToMark(QStringList& history, const QString& mark, const QString& dataFolder) {
    QString current = dataFolder;
    for (qsizetype tries = history.size(); tries > 0 && !history.isEmpty(); --tries) {
        current = history.takeLast();
        if (current == mark)
            return current;
        current = dataFolder;
    }
    return current;
}
