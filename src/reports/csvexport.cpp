#include "reports/csvexport.h"

#include "cards/cardboard.h"
#include "cards/cardwidget.h"
#include "model/wallstate.h"
#include "storage/atomicfile.h"
#include "storage/csvtext.h"
#include "storage/refspace.h"

QString csvTimeText(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy年MM月dd日hh時mm分ss秒"));
}

QStringList csvLines(const QDateTime& when, const QString& wallFolder,
                     const QList<CsvCard>& cards) {
    QStringList lines{
        csvTimeText(when), wallFolder,
        QStringLiteral("☆,文字,ヒント,フラッシュ,X座標,Y座標,幅,縦,パネル色,文字色,")};
    for (const CsvCard& c : cards)
        lines << csvLine({c.mark, c.text, c.hint, c.flash, QString::number(c.x),
                          QString::number(c.y), QString::number(c.width), QString::number(c.height),
                          QString::number(c.panelTag), QString::number(c.textTag)});
    return lines;
}

QList<CsvCard> cardsAsShown(const WallState& st, const CardBoard& board) {
    QList<CsvCard> cards;
    const int n = qMin(int(st.cards.size()), board.count());
    for (int i = 0; i < n; ++i) {
        const CardEntry& e = st.cards[i];
        const CardWidget* w = board.card(i);
        // Unsaved moves are exported as the wall shows them.
        cards << CsvCard{e.KSU,
                         e.TT,
                         e.S2,
                         e.KFLG,
                         toReferenceX(w->x(), st.NOWX),
                         toReferenceY(w->y(), st.NOWY),
                         toReferenceX(w->width(), st.NOWX),
                         toReferenceY(w->height(), st.NOWY),
                         w->panelTag,
                         w->textTags[0]};
    }
    return cards;
}

QString exportCsv(const WallState& st, const CardBoard& board, const QDateTime& when,
                  QString* error) {
    const QString path = st.KIJUNDIR + csvTimeText(when) + QStringLiteral(".csv");
    QString why;
    if (!writeFileAtomically(path, csvBytes(csvLines(when, st.KIJUNDIR, cardsAsShown(st, board))),
                             &why)) {
        if (error)
            *error = QStringLiteral("「%1」を書けません：%2").arg(path, why);
        return QString();
    }
    return path;
}
