#include "platform/fonts.h"

#include <QFont>

void installFontSubstitutions() {
    QFont::insertSubstitution(kWallFontFamily, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
}
