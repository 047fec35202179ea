#pragma once

#include <QColor>
#include <QString>
#include <optional>

// The sixteen pen colours that SETPC takes by number: 0 black, 1 blue,
// 2 green, 3 cyan, 4 red, 5 magenta, 6 yellow, 7 white, 8 brown, 9 tan,
// 10 forest, 11 aqua, 12 salmon, 13 purple, 14 orange, 15 grey.
constexpr int kLogoPaletteSize = 16;

// An invalid colour for a number outside 0..15.
QColor logoPaletteColour(int index);

// A colour by its English name, in any case: the palette's names first (and
// "gray"), then the usual web colour names such as "pink" or "navy".
std::optional<QColor> logoColourForName(const QString& name);
