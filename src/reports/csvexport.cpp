#include "reports/csvexport.h"

#include "document/walldocument.h"
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

QList<CsvCard> cardsAsShown(const WallDocument& doc) {
    QList<CsvCard> cards;
    for (int i = 0; i < doc.count(); ++i) {
        const CardEntry& e = doc.card(i);
        // Unsaved moves are exported as the wall shows them.
        cards << CsvCard{e.KSU,
                         e.TT,
                         e.S2,
                         e.KFLG,
                         toReferenceX(e.rect.x(), doc.NOWX),
                         toReferenceY(e.rect.y(), doc.NOWY),
                         toReferenceX(e.rect.width(), doc.NOWX),
                         toReferenceY(e.rect.height(), doc.NOWY),
                         e.colour * 1000 + i,
                         e.textColour * 1000 + i};
    }
    return cards;
}

QString exportCsv(const WallDocument& st, const QDateTime& when, QString* error) {
    const QString path = st.KIJUNDIR + csvTimeText(when) + QStringLiteral(".csv");
    QString why;
    if (!writeFileAtomically(path, csvBytes(csvLines(when, st.KIJUNDIR, cardsAsShown(st))), &why)) {
        if (error)
            *error = QStringLiteral("「%1」を書けません：%2").arg(path, why);
        return QString();
    }
    return path;
}
