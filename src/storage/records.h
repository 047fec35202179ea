#pragma once

#include <QString>
#include <QVector>
#include <optional>

// The four records of a wall folder, field by field, with the names the rest
// of the program uses. Integer fields hold what is stored (the colour and
// shape fields keep code × 1000 + n; use the code helpers to read the code).

// One card (any ".txt" file of a wall folder).
struct PosterRecord {
    QString POST;   // picture path, one of the three path forms, or empty
    int XS = 0;     // left, reference units
    int YS = 0;     // top
    int XXS = 0;    // width
    int YYS = 0;    // height
    int P = 0;      // card colour code × 1000 + n
    int PT = 0;     // text colour code × 1000 + n
    int STP = 0;    // stamp switch: 0 ordinary, 1 stamp card, 2 placed copy
    int R = 0;      // shape code × 1000 + n; code 0 is elliptical
    QString S2;     // hint
    QString NOTE;   // link
    QString TT;     // card text with its layout codes, may span lines
    QString FNAME;  // file name as written (informational only)
    QString FTIME;  // stamp
    QString KFLG;   // flash text
    QString KSU;    // mark
    QString KAKUSU; // check-off state

    int colourCode() const { return P / 1000; }
    int textColourCode() const { return PT / 1000; }
    int shapeCode() const { return R / 1000; }
    bool operator==(const PosterRecord& o) const;
};

// "wall.ini": the background picture.
struct PanelRecord {
    QString KABEIMAGE;
    QString KABEIMAGEOLDTIME;
    bool operator==(const PanelRecord& o) const;
};

// "html.ini": the web window, in reference units.
struct UrlRecord {
    QString page;
    QString WEBOLDTIME;
    int X = 0;
    int Y = 0;
    int width = 0;
    int height = 0;
    int ribbon = 0; // > 0: the button strip is shown under the pane
    bool operator==(const UrlRecord& o) const;
};

// "dir.ini": the file window, in reference units.
struct MaskRecord {
    QString mask;
    QString label;
    QString DIROLDTIME;
    int X = 0;
    int Y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const MaskRecord& o) const;
};

// Readers. They take the whole decoded text of a file (lines joined by CR LF)
// and throw RecordError (without the file name, which the caller adds) on an
// integer field that does not convert or a record that is cut short.

// Every card record of a card file, in order; the caller rebuilds one card
// from each in turn, so the last one shapes the card.
QVector<PosterRecord> parsePosterRecords(const QString& text);
// Settings files: the last record wins; none when the file holds no record.
std::optional<PanelRecord> parsePanelRecord(const QString& text);
// The web pane's width is shortened so that it ends 60 units short of the
// right edge of the reference space.
std::optional<UrlRecord> parseUrlRecord(const QString& text);
std::optional<MaskRecord> parseMaskRecord(const QString& text);

// Writers: one record as one string (without the line handling of the file).
// A field that holds the delimiter that closes it gets the full-width form of
// that delimiter, so that every record reads back field for field.
QString formatPosterRecord(const PosterRecord& r);
QString formatPanelRecord(const PanelRecord& r);
QString formatUrlRecord(const UrlRecord& r);
QString formatMaskRecord(const MaskRecord& r);

// Strict signed decimal conversion: optional sign, digits, within int range.
std::optional<int> parseStrictInt(QStringView text);
