#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class WallDocument;

// The CSV export of a wall's cards, for a spreadsheet: one row per card with
// its mark, text, hint, flash text, place and size as shown, and colours.

struct CsvCard {
    QString mark;
    QString text; // as stored, layout codes included
    QString hint;
    QString flash;
    int x = 0; // reference units
    int y = 0;
    int width = 0;
    int height = 0;
    int panelTag = 0; // card colour code × 1000 + n
    int textTag = 0;  // text colour code × 1000 + n
};

// The export's time as it names the file and heads it.
QString csvTimeText(const QDateTime& when);
// The lines of the file: the time, the wall folder, the header, the cards.
QStringList csvLines(const QDateTime& when, const QString& wallFolder, const QList<CsvCard>& cards);
// The wall's cards in card order, where the screen shows them.
QList<CsvCard> cardsAsShown(const WallDocument& doc);

// Writes the CSV file of the wall into its folder: its path, or nothing with
// the reason in `error`.
QString exportCsv(const WallDocument& doc, const QDateTime& when, QString* error);
