#pragma once

#include <QString>

// The style block of page kind `kind` (1 to 4; empty for 0), and the body
// colour part the kind gives the body tag (`BODYS2`), which `bodyColour`
// receives for kinds 1 to 4.
QString Style(int kind, QString* bodyColour = nullptr);
