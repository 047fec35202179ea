#pragma once

#include <QLineF>
#include <QRectF>
#include <optional>

// The part of `line` inside `rect`, or nothing when the line misses it. A
// LOGO text may send the turtle millions of units away; the painter is only
// ever given what can be seen.
std::optional<QLineF> clipSegment(const QLineF& line, const QRectF& rect);
