#include "model/cardcolors.h"

#include "model/bgrcolor.h"

std::optional<QColor> cardColour(int code) {
    static const quint32 kCard[] = {0xFFFFFF, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x00FF00,
                                    0x000000, 0x808080, 0xC0C0C0, 0xA6CAF0, 0xFF0000,
                                    0x800000, 0xC0DCC0, 0x808000, 0x008000, 0x008080,
                                    0x000080, 0x800080, 0x0000FF, 0x808080};
    if (code < 1 || code > 19)
        return std::nullopt;
    return bgrColor(kCard[code - 1]);
}

std::optional<QColor> textColour(int code) {
    static const quint32 kText[] = {0x000000, 0x0000FF, 0x008000, 0x00FFFF, 0xFF0000,
                                    0xFFFFFF, 0xFF00FF, 0x800080, 0xFFFF00};
    if (code < 1 || code > 9)
        return std::nullopt;
    return bgrColor(kText[code - 1]);
}
