#pragma once

#include "cards/textcutting.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>

// Sizes and places the six pieces of a card text (see textcutting.h). Pure
// font arithmetic: the card widget and the flash-text window turn the results
// into labels.

// The number of visual lines `text` takes in a plain-text box `width` pixels
// wide: paragraphs split at CR LF, CR or LF wrap at word boundaries (anywhere
// inside a word too long for a line) within the box less its 8 pixels of
// border and margins. An empty paragraph is one line, a line break at the very
// end opens no line, and the result is at least 1.
int countMemoLines(const QString& text, int width, const QFont& font);

// The wall's font at `pointSize` (at least 1).
QFont cardFont(int pointSize);

// The flash-text window's font at `pointSize` (at least 1).
QFont flashFont(int pointSize);

// The size a label showing `text` takes when it sizes itself: the widest line
// by all lines (split at CR LF, CR or LF); 0 × 0 for an empty text.
QSize pieceSize(const QFont& font, const QString& text);

// The point size of the main text on a card `H` pixels high holding `lines`
// lines (less than 1 counts as 1): half a line's share of the height, or,
// beside a picture, an eighth of it but never less than 10 points scaled from
// a 1080-line wall to the wall's height NOWY.
int mainFontSize(int H, int lines, bool hasPicture, int NOWY);

struct PiecePlacement {
    std::array<QRect, 6> rect;      // in card coordinates, one per piece
    std::array<int, 6> pointSize{}; // of cardFont
};

// The left edges of the six pieces centred on a row `W` pixels wide, given
// their widths (0 for an empty piece). The charge stands above the last
// subscript, so the two share one column as wide as the wider of them. A row
// wider than the card starts at a negative left.
std::array<int, 6> placeRow(const std::array<int, 6>& widths, int W);

// Places the pieces on a card of size `card` whose text takes `lines` lines.
// Main text pieces get the main size, subscripts and charge half of it.
// Subscripts hang half a line below the main text; `firstMade` measures that
// half line on the middle piece instead of the first one.
PiecePlacement placeCardText(const TextPieces& p, QSize card, int lines, bool hasPicture, int NOWY,
                             bool firstMade);

struct FlashPlacement {
    std::array<QRect, 6> rect;      // on the panel inside the window
    std::array<int, 6> pointSize{}; // of flashFont
    QSize window;                   // the window's size
};

// Places the pieces in the flash-text window: a fixed large size scaled to
// the wall's height, laid out from the left edge, the window fitting the row.
FlashPlacement placeFlashText(const TextPieces& p, int lines, int NOWY);
