#include "logopalette.h"

#include <array>

namespace {

struct PaletteEntry {
    const char* name;
    QRgb rgb;
};

// Strong, distinct colours that show well on the white canvas and on a
// classroom projector.
constexpr std::array<PaletteEntry, kLogoPaletteSize> kPalette{{
    {"black", 0x000000},
    {"blue", 0x0000ff},
    {"green", 0x00ff00},
    {"cyan", 0x00ffff},
    {"red", 0xff0000},
    {"magenta", 0xff00ff},
    {"yellow", 0xffff00},
    {"white", 0xffffff},
    {"brown", 0x9b603b},
    {"tan", 0xc58812},
    {"forest", 0x64a240},
    {"aqua", 0x78bbbb},
    {"salmon", 0xff9577},
    {"purple", 0x9071d0},
    {"orange", 0xffa300},
    {"grey", 0xb7b7b7},
}};

} // namespace

QColor logoPaletteColour(int index) {
    if (index < 0 || index >= kLogoPaletteSize)
        return QColor();
    return QColor::fromRgb(kPalette[size_t(index)].rgb);
}

std::optional<QColor> logoColourForName(const QString& name) {
    const QString lower = name.toLower();
    if (lower == QLatin1String("gray"))
        return logoPaletteColour(15);
    for (size_t i = 0; i < kPalette.size(); ++i) {
        if (lower == QLatin1String(kPalette[i].name))
            return QColor::fromRgb(kPalette[i].rgb);
    }
    // QColor also reads "#ff0000" and similar forms; only plain names are
    // words a pupil would write.
    for (QChar c : lower) {
        if (c < QLatin1Char('a') || c > QLatin1Char('z'))
            return std::nullopt;
    }
    const QColor named = QColor::fromString(lower);
    if (lower.isEmpty() || !named.isValid() || named.alpha() == 0)
        return std::nullopt;
    return named;
}
