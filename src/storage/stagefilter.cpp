#include "storage/stagefilter.h"

namespace {

// Resolves every block of one kind. Each pass removes at least the opening
// marker, so the text shrinks and the loop ends whatever the markers are.
QString resolveBlocks(QString S, const QString& open, const QString& close, bool shown) {
    qsizetype at = S.indexOf(open);
    while (at >= 0) {
        const QString A = S.left(at);
        const QString rest = S.mid(at + open.size());
        QString B;
        QString C;
        const qsizetype end = rest.indexOf(close);
        if (end >= 0) {
            B = rest.left(end);
            C = rest.mid(end + close.size());
        } else {
            C = rest.mid(1);
        }
        S = shown ? A + B + C : A + C;
        at = S.indexOf(open);
    }
    return S;
}

} // namespace

QString STANA(const QString& S, int ST1, int ST2) {
    QString out = resolveBlocks(S, QStringLiteral("/+"), QStringLiteral("+/"), ST1 > 0);
    out = resolveBlocks(out, QStringLiteral("/-"), QStringLiteral("-/"), ST2 > 0);
    return resolveBlocks(out, QStringLiteral("/*"), QStringLiteral("*/"), ST1 == 0 && ST2 == 0);
}
