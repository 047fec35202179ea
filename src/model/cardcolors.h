#pragma once

#include <QColor>
#include <optional>

// The colour tables of cards. Card colours 1 to 19 (19 is transparent: the
// wall shows through the card and its picture); text colours 1 to 9. Any
// other code leaves the colour as it was.

constexpr int kTransparentCard = 19;

std::optional<QColor> cardColour(int code);
std::optional<QColor> textColour(int code);
