#include "pageeditor/pagestyles.h"

namespace {

// What sets one page kind apart; every value is written into the page as it
// stands here, semicolons included.
struct KindStyle {
    const char* marker;
    const char* bodyColour;
    const char* h1Background;
    const char* h1Colour;
    const char* h1Border;
    const char* borderColourLine; // carries its own line end; empty for most kinds
    const char* h2Colour;
    const char* h2Underline;
    const char* textColour;
    const char* h1Size;
    const char* h2Size;
    const char* textSize;
};

// Kinds 1 to 4: ノート, プレゼン, アイテム, 表紙.
const KindStyle kKinds[] = {
    {"<!--STYLE_IN1-->", ">", "#1faf9a;", "white;", "none none none none;", "", "#1faf9a;",
     "#1faf9a;", "black;", "11mm", "9mm", "9mm"},
    {"<!--STYLE_IN2-->", ">", "#1faf9a;", "white;", "none none none none;", "", "#1faf9a;",
     "#1faf9a;", "black;", "14mm", "12mm", "12mm"},
    {"<!--STYLE_IN3-->", " bgcolor=\"#ddf9ec\">", "#4ef8f3;", "black;",
     "double double double double;", "border-color :navy navy navy navy;\r\n", "black;", "white;",
     "black;", "15mm", "15mm", "15mm"},
    {"<!--STYLE_IN4-->", " bgcolor=\"#d9def9\">", "#8c8cff;", "white;",
     "outset outset outset outset;", "border-color : white white white white;\r\n", "black;",
     "white;", "black;", "16mm", "14mm", "14mm"},
};

} // namespace

QString Style(int kind, QString* bodyColour) {
    if (kind < 1 || kind > 4)
        return QString();
    const KindStyle& k = kKinds[kind - 1];
    if (bodyColour)
        *bodyColour = QLatin1String(k.bodyColour);

    QString s;
    s.reserve(900);
    auto line = [&s](const QString& text) { s += text + QLatin1String("\r\n"); };
    auto L = [](const char* text) { return QLatin1String(text); };
    line(L(k.marker));
    line(QStringLiteral("<STYLE type=\"text/css\">"));
    line(QStringLiteral("<!--"));
    line(QStringLiteral("H1{"));
    line(QStringLiteral("color : ") + L(k.h1Colour));
    line(QStringLiteral("background-color : ") + L(k.h1Background));
    line(QStringLiteral("font-size :") + L(k.h1Size) + QLatin1Char(';'));
    line(QStringLiteral("border-style : ") + L(k.h1Border));
    s += L(k.borderColourLine);
    for (const char* side : {"top", "left", "right", "bottom"})
        line(QStringLiteral("padding-%1 : 10px;").arg(L(side)));
    line(QStringLiteral("}"));
    line(QStringLiteral("H2{"));
    line(QStringLiteral("font-size :") + L(k.h2Size) +
         QStringLiteral(";border-style : none none inset none;"));
    line(QStringLiteral("border-bottom-color :  ") + L(k.h2Underline));
    line(QStringLiteral("color :  ") + L(k.h2Colour));
    line(QStringLiteral("}"));
    for (const char* element : {"P{", "A{", "TABLE{"}) {
        line(L(element));
        line(QStringLiteral("color :  ") + L(k.textColour));
        line(QStringLiteral("font-size :") + L(k.textSize) + QLatin1Char(';'));
        line(QStringLiteral("line-height : 1.3em;"));
        line(QStringLiteral("}"));
    }
    line(QStringLiteral("input, select, textarea {"));
    line(QStringLiteral("font-size: 90%;"));
    line(QStringLiteral("}"));
    line(QStringLiteral("-->"));
    line(QStringLiteral("</STYLE></HEAD>"));
    s += QLatin1String("<!--STYLE_OUT-->");
    return s;
}
