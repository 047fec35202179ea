#include "cards/textplacing.h"

#include "platform/fonts.h"
#include "storage/refspace.h"

#include <QFontMetrics>
#include <QRegularExpression>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>

namespace {

// The border and inner margins of a plain-text box, both sides together.
constexpr int kMemoFrame = 8;

QStringList splitLines(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

int wrappedLineCount(const QString& paragraph, qreal lineWidth, const QFont& font) {
    if (paragraph.isEmpty())
        return 1;
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int count = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineWidth);
        ++count;
    }
    layout.endLayout();
    return std::max(count, 1);
}

// Left edges of the pieces chained from `left1`: each piece follows the one
// before, and the charge shares the last subscript's column (the first one's
// when there is no middle text).
std::array<int, 6> chainRow(const std::array<int, 6>& w, int left1) {
    const int w45 = std::max(w[3], w[4]);
    std::array<int, 6> left{};
    left[0] = left1;
    left[1] = left[0] + w[0];
    left[2] = left[1] + w[1];
    left[3] = left[2] + w[2];
    left[4] = w[2] > 0 ? left[3] : left[1];
    left[5] = left[3] + w45;
    return left;
}

int rowWidth(const std::array<int, 6>& w) {
    return w[0] + w[1] + w[2] + std::max(w[3], w[4]) + w[5];
}

// The pieces measured in one font family: main pieces (1, 3, 6) at `mainSize`,
// subscripts and charge (2, 4, 5) at half of it.
struct MeasuredPieces {
    std::array<QSize, 6> extent;
    std::array<int, 6> width{};
    std::array<int, 6> pointSize{};
};

MeasuredPieces measurePieces(const TextPieces& p, int mainSize, QFont (*fontAt)(int)) {
    const int small = mainSize / 2;
    const std::array<int, 6> sizes = {mainSize, small, mainSize, small, small, mainSize};
    MeasuredPieces m;
    for (size_t i = 0; i < 6; ++i) {
        const QFont font = fontAt(sizes[i]);
        m.pointSize[i] = font.pointSize();
        m.extent[i] = pieceSize(font, p.piece[i]);
        m.width[i] = m.extent[i].width();
    }
    return m;
}

// Subscripts (2, 4) at `top2`, everything else, the charge included, at `top1`.
std::array<QRect, 6> pieceRects(const MeasuredPieces& m, const std::array<int, 6>& left, int top1,
                                int top2) {
    const std::array<int, 6> tops = {top1, top2, top1, top2, top1, top1};
    std::array<QRect, 6> rects;
    for (size_t i = 0; i < 6; ++i)
        rects[i] = QRect(QPoint(left[i], tops[i]), m.extent[i]);
    return rects;
}

} // namespace

int countMemoLines(const QString& text, int width, const QFont& font) {
    QStringList paragraphs = splitLines(text);
    if (paragraphs.size() > 1 && paragraphs.last().isEmpty())
        paragraphs.removeLast();
    // A box narrower than its frame still shows a character per line.
    const qreal lineWidth = std::max(width - kMemoFrame, 1);
    int lines = 0;
    for (const QString& paragraph : paragraphs)
        lines += wrappedLineCount(paragraph, lineWidth, font);
    return std::max(lines, 1);
}

QFont cardFont(int pointSize) {
    QFont font(kWallFontFamily);
    font.setPointSize(std::max(pointSize, 1));
    return font;
}

QFont flashFont(int pointSize) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(std::max(pointSize, 1));
    return font;
}

QSize pieceSize(const QFont& font, const QString& text) {
    if (text.isEmpty())
        return QSize(0, 0);
    const QFontMetrics metrics(font);
    const QStringList lines = splitLines(text);
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return QSize(width, metrics.lineSpacing() * int(lines.size()));
}

int mainFontSize(int H, int lines, bool hasPicture, int NOWY) {
    const int n = std::max(lines, 1);
    if (hasPicture)
        return std::max(scaleHalfEven(10, NOWY, ZETTAIY), scaleHalfEven(H, 1, 8LL * n));
    return scaleHalfEven(H, 1, 2LL * n);
}

std::array<int, 6> placeRow(const std::array<int, 6>& widths, int W) {
    return chainRow(widths, (W - rowWidth(widths)) / 2);
}

PiecePlacement placeCardText(const TextPieces& p, QSize card, int lines, bool hasPicture, int NOWY,
                             bool firstMade) {
    const MeasuredPieces m =
        measurePieces(p, mainFontSize(card.height(), lines, hasPicture, NOWY), cardFont);
    const int h1 = m.extent[0].height();
    const int top1 = hasPicture ? scaleHalfEven(5, NOWY, ZETTAIY) : scaleHalfEven(h1, 1, 5);
    // A new card lowers its subscripts by half the middle text's height; an
    // empty text part still stands one line high.
    const int h3 = p.piece[2].isEmpty() ? QFontMetrics(cardFont(m.pointSize[2])).lineSpacing()
                                        : m.extent[2].height();
    const int top2 = top1 + (firstMade ? h3 : h1) / 2;
    PiecePlacement out;
    out.rect = pieceRects(m, placeRow(m.width, card.width()), top1, top2);
    out.pointSize = m.pointSize;
    return out;
}

FlashPlacement placeFlashText(const TextPieces& p, int lines, int NOWY) {
    const MeasuredPieces m = measurePieces(p, scaleHalfEven(60, NOWY, ZETTAIY), flashFont);
    const int top1 = scaleHalfEven(5, NOWY, ZETTAIY);
    const int top2 = top1 + m.extent[0].height() / 2;
    FlashPlacement out;
    out.rect = pieceRects(m, chainRow(m.width, 0), top1, top2);
    out.pointSize = m.pointSize;
    out.window = QSize(rowWidth(m.width) + 10, 120 * std::max(lines, 1));
    return out;
}
