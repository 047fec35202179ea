#pragma once

#include <QString>

// The wall's own font family, as the program names it.
inline const QString kWallFontFamily = QStringLiteral("ＭＳ Ｐゴシック");

// Maps the Windows font names the walls use to metric-compatible fonts of
// this system, so card text lays out as it did where the wall was made.
void installFontSubstitutions();
