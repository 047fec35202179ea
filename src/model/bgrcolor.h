#pragma once

#include <QColor>

// Colour values are kept as $00BBGGRR words, the form the wall files and
// colour tables use; this is the one place they become colours.
inline QColor bgrColor(quint32 bbggrr) {
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

constexpr quint32 kNavy = 0x800000;   // the wall's own colour
constexpr quint32 kSilver = 0xC0C0C0; // the notice panel
