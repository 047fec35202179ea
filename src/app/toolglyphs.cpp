#include "app/toolglyphs.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Every glyph is drawn on a 100 × 100 board that is scaled to the button.
// Shapes stay inside roughly 10..90 so they never touch the button's edge.
constexpr qreal kBoard = 100.0;

// Dark outlines keep the shapes apart from the silver button face; the fill
// colours are strong enough to tell the buttons apart at a glance.
const QColor kInk(0x1c, 0x1c, 0x3a);
const QColor kRed(0xdc, 0x2a, 0x2a);
const QColor kBlue(0x25, 0x66, 0xd9);
const QColor kGreen(0x21, 0x9a, 0x45);
const QColor kYellow(0xff, 0xc8, 0x1e);
const QColor kPaper(0xfc, 0xfc, 0xf6);
const QColor kSteel(0xc4, 0xca, 0xd6);

QPen inkPen(qreal width) {
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Fills a shape and draws its outline in ink.
void shape(QPainter& p, const QPainterPath& path, const QColor& fill, qreal line) {
    p.setPen(inkPen(line));
    p.setBrush(fill);
    p.drawPath(path);
}

void shape(QPainter& p, const QRectF& rect, qreal radius, const QColor& fill, qreal line) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    shape(p, path, fill, line);
}

QPainterPath circle(QPointF centre, qreal r) {
    QPainterPath path;
    path.addEllipse(centre, r, r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QVector<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// A thick line with an ink border: the ink goes underneath, a little wider.
void bandedStroke(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width,
                  qreal line) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, width + 2 * line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

// Text as a vector path, scaled to fill `box` (keeping its proportions) and
// centred in it, so that digits look the same at every button size.
QPainterPath textIn(const QString& text, const QRectF& box) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF r = path.boundingRect();
    if (r.isEmpty())
        return path;
    const qreal k = std::min(box.width() / r.width(), box.height() / r.height());
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(k, k);
    t.translate(-r.center().x(), -r.center().y());
    return t.map(path);
}

// A round clock face with hands at ten past ten, the usual "time" sign.
void clock(QPainter& p, QPointF c, qreal r, qreal line) {
    shape(p, circle(c, r), kPaper, line);
    p.setPen(QPen(kInk, line * 0.7));
    for (int i = 0; i < 12; i += 3) {
        const qreal a = i * M_PI / 6;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.drawLine(c + dir * r * 0.72, c + dir * r * 0.86);
    }
    p.setPen(QPen(kRed, line * 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -r * 0.66));
    p.setPen(QPen(kInk, line * 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(r * 0.5, r * 0.1));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(c, line * 0.8, line * 0.8);
}

// A pencil whose point is at `tip`, its body running off at `angle` degrees
// (clockwise from the positive x axis, as QPainter::rotate counts).
void pencil(QPainter& p, QPointF tip, qreal angle, qreal length, qreal thickness, qreal line) {
    p.save();
    p.translate(tip);
    p.rotate(angle);
    const qreal h = thickness / 2;
    const qreal cone = thickness * 1.25;
    const qreal eraser = thickness * 0.75;
    const qreal band = thickness * 0.4;
    const qreal bodyEnd = length - eraser - band;

    QPainterPath outline;
    outline.moveTo(0, 0);
    outline.lineTo(cone, -h);
    outline.lineTo(length - 2, -h);
    outline.quadTo(length, -h, length, -h + 2);
    outline.lineTo(length, h - 2);
    outline.quadTo(length, h, length - 2, h);
    outline.lineTo(cone, h);
    outline.closeSubpath();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf5, 0xcf, 0x98));
    p.drawPath(outline);
    p.setBrush(kYellow);
    p.drawRect(QRectF(cone, -h, bodyEnd - cone, thickness));
    p.setBrush(QColor(0xe0, 0x9a, 0x10));
    p.drawRect(QRectF(cone, h / 3, bodyEnd - cone, h * 2 / 3));
    p.setBrush(QColor(0xa8, 0xae, 0xb8));
    p.drawRect(QRectF(bodyEnd, -h, band, thickness));
    p.setBrush(QColor(0xff, 0x8a, 0xa8));
    p.drawRect(QRectF(bodyEnd + band, -h, eraser - 2, thickness));
    p.setBrush(kInk);
    p.drawPath(polygon({{0, 0}, {cone * 0.4, -h * 0.4}, {cone * 0.4, h * 0.4}}));

    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(line));
    p.drawPath(outline);
    p.setPen(inkPen(line * 0.7));
    p.drawLine(QPointF(cone, -h), QPointF(cone, h));
    p.drawLine(QPointF(bodyEnd, -h), QPointF(bodyEnd, h));
    p.drawLine(QPointF(bodyEnd + band, -h), QPointF(bodyEnd + band, h));
    p.restore();
}

// A cog wheel with a hole in the middle.
void gear(QPainter& p, QPointF c, qreal r, int teeth, const QColor& fill, qreal line) {
    const qreal inner = r * 0.7;
    const qreal pitch = 2 * M_PI / teeth;
    auto at = [&](qreal angle, qreal radius) {
        return c + QPointF(std::cos(angle), std::sin(angle)) * radius;
    };
    QPolygonF rim;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * pitch;
        rim << at(a - pitch * 0.3, inner) << at(a - pitch * 0.17, r) << at(a + pitch * 0.17, r)
            << at(a + pitch * 0.3, inner);
    }
    QPainterPath path;
    path.addPolygon(rim);
    path.closeSubpath();
    path = path.subtracted(circle(c, r * 0.36));
    shape(p, path, fill, line);
}

// A card as it appears on the wall: a rounded rectangle in a bright colour.
void card(QPainter& p, const QRectF& rect, const QColor& fill, qreal line) {
    shape(p, rect, 7, fill, line);
}

// ---------------------------------------------------------------------------
// The glyphs

// Menu with an exit: three bars and a red power badge.
void drawMenu(QPainter& p, qreal line) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(10, 14, 64, 11), 5, 5);
    p.drawRoundedRect(QRectF(10, 32, 64, 11), 5, 5);
    p.drawRoundedRect(QRectF(10, 50, 30, 11), 5, 5);

    const QPointF c(67, 67);
    shape(p, circle(c, 22), kRed, line);
    QPainterPath arc;
    const QRectF ring(c.x() - 11, c.y() - 11, 22, 22);
    arc.arcMoveTo(ring, 60);
    arc.arcTo(ring, 60, -300);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arc);
    p.drawLine(QPointF(c.x(), c.y() - 14), QPointF(c.x(), c.y() - 3));
}

// Back (left arrow) and home (a little house).
void drawBackHome(QPainter& p, qreal line) {
    // House in the upper right.
    shape(p, QRectF(58, 28, 28, 20), 1.5, kPaper, line);
    shape(p, polygon({{51, 31}, {72, 10}, {93, 31}}), kRed, line);

    // The arrow.
    shape(p, polygon({{10, 64}, {40, 36}, {40, 53}, {84, 53}, {84, 75}, {40, 75}, {40, 92}}), kBlue,
          line);
}

// Number notes: a spiral notebook with "00" on its page.
void drawNumberNotes(QPainter& p, qreal line) {
    shape(p, QRectF(20, 10, 66, 80), 5, kPaper, line);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(20 + line / 2, 10 + line / 2, 10, 80 - line));
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(line));
    p.drawLine(QPointF(30, 10), QPointF(30, 90));
    for (int i = 0; i < 5; ++i) {
        const qreal y = 19 + i * 15.5;
        p.setPen(inkPen(line * 1.3));
        p.drawLine(QPointF(13, y), QPointF(27, y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPath(textIn(QStringLiteral("00"), QRectF(36, 28, 44, 44)));
}

// The programming turtle, seen from above, heading up.
void drawTurtle(QPainter& p, qreal line) {
    const QColor skin(0x8c, 0xd1, 0x5a);
    // Legs, tail and head go under the shell.
    const QPointF legs[] = {{27, 33}, {73, 33}, {27, 73}, {73, 73}};
    for (const QPointF& leg : legs) {
        p.save();
        p.translate(leg);
        p.rotate((leg.x() < 50) == (leg.y() < 50) ? -35 : 35);
        QPainterPath foot;
        foot.addEllipse(QPointF(0, 0), 12, 8);
        shape(p, foot, skin, line);
        p.restore();
    }
    shape(p, polygon({{44, 80}, {56, 80}, {50, 91}}), skin, line);
    QPainterPath head;
    head.addEllipse(QPointF(50, 20), 10, 11);
    shape(p, head, skin, line);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(45.5, 17), 2.4, 2.4);
    p.drawEllipse(QPointF(54.5, 17), 2.4, 2.4);

    QPainterPath shell;
    shell.addEllipse(QPointF(50, 54), 27, 29);
    shape(p, shell, kGreen, line);
    // The plates: a middle hexagon with lines out to the rim.
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const qreal a = M_PI / 6 + i * M_PI / 3;
        hex << QPointF(50 + 11 * std::cos(a), 54 + 12 * std::sin(a));
    }
    QPainterPath plates;
    plates.addPolygon(hex);
    plates.closeSubpath();
    p.setBrush(QColor(0x6c, 0xc0, 0x4a));
    p.setPen(inkPen(line * 0.8));
    p.drawPath(plates);
    p.save();
    p.setClipPath(shell);
    for (int i = 0; i < 6; ++i) {
        const QPointF out(50 + 40 * std::cos(M_PI / 6 + i * M_PI / 3),
                          54 + 40 * std::sin(M_PI / 6 + i * M_PI / 3));
        p.drawLine(hex[i], out);
    }
    p.restore();
}

// Hide: an eye struck through.
void drawHide(QPainter& p, qreal line) {
    QPainterPath eye;
    eye.moveTo(9, 50);
    eye.cubicTo(24, 18, 76, 18, 91, 50);
    eye.cubicTo(76, 82, 24, 82, 9, 50);
    eye.closeSubpath();
    shape(p, eye, kPaper, line);
    p.save();
    p.setClipPath(eye);
    shape(p, circle({50, 50}, 16), kBlue, line);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(50, 50), 7.5, 7.5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(44.5, 44.5), 3.5, 3.5);

    QPainterPath slash;
    slash.moveTo(19, 85);
    slash.lineTo(81, 15);
    bandedStroke(p, slash, kRed, 9, line);
}

// One right click: a mouse with its right button lit, and a "1".
void drawRightClickOnce(QPainter& p, qreal line) {
    QPainterPath body;
    body.addRoundedRect(QRectF(42, 10, 46, 80), 23, 23);
    shape(p, body, kPaper, line);
    QPainterPath right;
    right.addRect(QRectF(65, 0, 40, 45));
    right = right.intersected(body);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPath(right);
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(line));
    p.drawPath(body);
    p.drawLine(QPointF(65, 10), QPointF(65, 45));
    p.drawLine(QPointF(42, 45), QPointF(88, 45));

    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(textIn(QStringLiteral("1"), QRectF(10, 26, 26, 50)));
}

// Background settings: a framed landscape with a cog.
void drawBackground(QPainter& p, qreal line) {
    shape(p, QRectF(10, 12, 66, 56), 2, QColor(0xb0, 0x6a, 0x2c), line);
    const QRectF view(18, 20, 50, 40);
    p.save();
    p.setClipRect(view);
    p.fillRect(view, QColor(0x8e, 0xd2, 0xff));
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(30, 31), 6, 6);
    QPainterPath hills;
    hills.moveTo(14, 62);
    hills.lineTo(14, 50);
    hills.quadTo(30, 36, 46, 50);
    hills.quadTo(58, 40, 72, 48);
    hills.lineTo(72, 62);
    hills.closeSubpath();
    p.setBrush(kGreen);
    p.drawPath(hills);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(line * 0.7));
    p.drawRect(view);

    gear(p, QPointF(69, 69), 22, 7, QColor(0x7c, 0x86, 0x9a), line);
}

// Make cards: a card with a green plus badge.
void drawMakeCard(QPainter& p, qreal line) {
    card(p, QRectF(22, 14, 62, 52), QColor(0x7f, 0xc8, 0xf8), line);
    card(p, QRectF(10, 30, 62, 54), kYellow, line);
    shape(p, circle({70, 68}, 19), kGreen, line);
    p.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(70, 58), QPointF(70, 78));
    p.drawLine(QPointF(60, 68), QPointF(80, 68));
}

// Make launch cards: a card with a play triangle.
void drawLaunchCard(QPainter& p, qreal line) {
    card(p, QRectF(10, 18, 80, 64), QColor(0x7f, 0xc8, 0xf8), line);
    shape(p, polygon({{38, 31}, {38, 69}, {70, 50}}), kRed, line);
}

// Redisplay: a circular arrow.
void drawRedisplay(QPainter& p, qreal line) {
    const QPointF c(50, 53);
    const qreal r = 28;
    const QRectF ring(c.x() - r, c.y() - r, 2 * r, 2 * r);
    QPainterPath arc;
    arc.arcMoveTo(ring, 55);
    arc.arcTo(ring, 55, -290);
    QPainterPathStroker stroker;
    stroker.setWidth(12);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath band = stroker.createStroke(arc);

    // The head sits where the arc ends, pointing along it.
    const qreal end = qDegreesToRadians(55.0 - 290.0);
    const QPointF at(c.x() + r * std::cos(end), c.y() - r * std::sin(end));
    const QPointF dir(std::sin(end), std::cos(end));
    const QPointF side(-dir.y(), dir.x());
    const QPainterPath head =
        polygon({at - dir * 2 + side * 15, at + dir * 17, at - dir * 2 - side * 15});
    shape(p, band.united(head).simplified(), kBlue, line);
}

// Pen drawing: a pencil drawing a wavy line.
void drawPen(QPainter& p, qreal line) {
    QPainterPath wave;
    wave.moveTo(12, 76);
    for (int i = 1; i <= 40; ++i) {
        const qreal x = 12 + i;
        wave.lineTo(x, 76 + 8 * std::sin(i * 2 * M_PI / 20));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRed, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(wave);
    pencil(p, QPointF(52, 76), -45, 64, 19, line);
}

// Draw on the whole screen in a few seconds: a screen, a clock and a pencil.
void drawScreenPen(QPainter& p, qreal line) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(40, 62, 12, 10));
    shape(p, QRectF(10, 10, 74, 56), 5, QColor(0x3c, 0x44, 0x5c), line);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9c, 0xdc, 0xff));
    p.drawRect(QRectF(17, 17, 60, 42));
    p.setPen(QPen(kRed, 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath scribble;
    scribble.moveTo(24, 36);
    scribble.quadTo(30, 22, 37, 32);
    scribble.quadTo(44, 44, 52, 38);
    p.drawPath(scribble);
    pencil(p, QPointF(52, 38), 45, 54, 15, line);
    clock(p, QPointF(28, 71), 18, line);
}

// Clear the pen strokes: an eraser.
void drawEraser(QPainter& p, qreal line) {
    p.setPen(QPen(QColor(0x80, 0x80, 0x90), 4, Qt::DotLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 87), QPointF(40, 87));

    p.save();
    p.translate(52, 50);
    p.rotate(-35);
    const QRectF whole(-36, -17, 72, 34);
    QPainterPath block;
    block.addRoundedRect(whole, 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x8c, 0xb0));
    p.drawPath(block);
    p.save();
    p.setClipRect(QRectF(-4, -20, 44, 40));
    p.setBrush(kBlue);
    p.drawPath(block);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(line));
    p.drawPath(block);
    p.drawLine(QPointF(-4, -17), QPointF(-4, 17));
    p.restore();
}

// One half of a pair of scissors, drawn upright around the pivot at (0, 0)
// and then turned by `angle`.
void scissorHalf(QPainter& p, qreal angle, bool leftBlade, qreal line) {
    p.save();
    p.rotate(angle);
    const qreal s = leftBlade ? -1 : 1;
    QPainterPath blade;
    blade.moveTo(0, -42);
    blade.lineTo(s * 8, -4);
    blade.lineTo(s * 4, 20);
    blade.lineTo(-s * 4, 20);
    blade.lineTo(-s * 3, -4);
    blade.closeSubpath();
    shape(p, blade, kSteel, line * 0.85);
    QPainterPath ring = circle({0, 31}, 13).subtracted(circle({0, 31}, 6));
    shape(p, ring, QColor(0xf0, 0x30, 0x30), line * 0.85);
    p.restore();
}

// Timed screen cut-out: scissors and a clock.
void drawTimedCut(QPainter& p, qreal line) {
    p.save();
    p.translate(35, 50);
    scissorHalf(p, 25, false, line);
    scissorHalf(p, -25, true, line);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(0, 0), 3, 3);
    p.restore();
    clock(p, QPointF(74, 28), 16, line);
}

// Screen capture, known to its users as the anglerfish: a round, friendly
// fish with its lure light held out in front.
void drawAnglerfish(QPainter& p, qreal line) {
    const QColor body(0xf0, 0x8a, 0x3c);
    const QColor fin(0xd0, 0x5e, 0x22);
    // Tail.
    shape(p, polygon({{74, 58}, {91, 42}, {88, 58}, {91, 75}}), fin, line);

    // The lure on its stalk, glowing.
    QPainterPath stalk;
    stalk.moveTo(46, 36);
    stalk.cubicTo(44, 14, 28, 8, 22, 20);
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(line));
    p.drawPath(stalk);
    QRadialGradient glow(QPointF(21, 24), 14);
    glow.setColorAt(0, QColor(255, 240, 120, 230));
    glow.setColorAt(1, QColor(255, 240, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(21, 24), 14, 14);
    shape(p, circle({21, 24}, 6.5), QColor(0xff, 0xe6, 0x3a), line);

    QPainterPath fish;
    fish.addEllipse(QPointF(50, 60), 30, 25);
    shape(p, fish, body, line);
    // A fin on the side.
    shape(p, polygon({{58, 65}, {69, 59}, {68, 73}}), fin, line * 0.6);

    // The wide mouth with a few teeth.
    QPainterPath mouth;
    mouth.moveTo(20, 60);
    mouth.quadTo(34, 65, 48, 63);
    mouth.quadTo(40, 82, 23, 75);
    mouth.closeSubpath();
    p.save();
    p.setClipPath(fish);
    shape(p, mouth, QColor(0x6a, 0x1a, 0x2a), line * 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(polygon({{27, 62.5}, {32, 63.8}, {29.5, 69}}));
    p.drawPath(polygon({{36, 64.5}, {41, 64.4}, {38.5, 70}}));
    p.restore();

    // A big eye makes it friendly.
    shape(p, circle({46, 47}, 10), Qt::white, line * 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(44, 48), 5.5, 5.5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(42, 46), 2, 2);
}

using GlyphPainter = void (*)(QPainter&, qreal);

struct Glyph {
    const char* name;
    GlyphPainter draw;
};

const Glyph kGlyphs[] = {
    {"SpeedButton1", drawMenu},         {"SpeedButton7", drawBackHome},
    {"SpeedButton16", drawNumberNotes}, {"SpeedButton25", drawTurtle},
    {"SpeedButton14", drawHide},        {"SpeedButton8", drawRightClickOnce},
    {"SpeedButton6", drawBackground},   {"SpeedButton4", drawMakeCard},
    {"SpeedButton19", drawLaunchCard},  {"SpeedButton12", drawRedisplay},
    {"SpeedButton2", drawPen},          {"SpeedButton10", drawScreenPen},
    {"SpeedButton3", drawEraser},       {"SpeedButton23", drawTimedCut},
    {"SpeedButton27", drawAnglerfish},
};

QPixmap blankPixmap(int size, qreal dpr) {
    const int device = std::max(1, qRound(size * dpr));
    QPixmap pm(device, device);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

// The drag strip: a tile of raised dots, one or two columns depending on
// the width, two rows per tile so the spacing stays even when the tile is
// repeated down the strip.
QPixmap gripTile(int size, qreal dpr) {
    QPixmap pm = blankPixmap(size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = std::max<qreal>(1.0, size / 8.0);
    const qreal shadow = std::max<qreal>(1.0, r / 2);
    QVector<qreal> columns;
    if (size >= 12)
        columns << size / 3.0 << size * 2 / 3.0;
    else
        columns << size / 2.0;
    const qreal rows[] = {size / 4.0, size * 3 / 4.0};
    p.setPen(Qt::NoPen);
    for (qreal x : columns) {
        for (qreal y : rows) {
            p.setBrush(QColor(0x10, 0x10, 0x30, 200));
            p.drawEllipse(QPointF(x + shadow / 2, y + shadow / 2), r, r);
            p.setBrush(QColor(0xe8, 0xe8, 0xf0));
            p.drawEllipse(QPointF(x - shadow / 2, y - shadow / 2), r, r);
        }
    }
    return pm;
}

} // namespace

QPixmap toolGlyph(const QString& buttonName, int size, qreal devicePixelRatio) {
    if (size <= 0 || devicePixelRatio <= 0)
        return QPixmap();
    if (buttonName == QLatin1String("SpeedButton26"))
        return gripTile(size, devicePixelRatio);
    for (const Glyph& g : kGlyphs) {
        if (buttonName != QLatin1String(g.name))
            continue;
        QPixmap pm = blankPixmap(size, devicePixelRatio);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal scale = size / kBoard;
        p.scale(scale, scale);
        // Outlines about 1.3 pixels on the smallest buttons, never heavier
        // than 2.6 pixels on big ones, whatever the board scale.
        const qreal outlinePx = std::clamp(size * 0.045, 1.3, 2.6);
        g.draw(p, outlinePx / scale);
        return pm;
    }
    return QPixmap();
}

QPixmap splashPicture() {
    const int width = 253;
    const int height = 136;
    QPixmap pm(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient ground(0, 0, 0, height);
    ground.setColorAt(0, QColor(0x36, 0xa8, 0x4c));
    ground.setColorAt(1, QColor(0x1e, 0x7a, 0x34));
    p.fillRect(pm.rect(), ground);

    // A few cards pinned about the wall, each with a shadow and some lines
    // standing for its text.
    struct SplashCard {
        QRectF rect;
        QColor colour;
        bool round;
    };
    const SplashCard cards[] = {
        {{12, 10, 42, 26}, QColor(0xff, 0xd8, 0x3a), false},
        {{62, 8, 34, 20}, QColor(0xff, 0x9c, 0xc0), false},
        {{196, 12, 44, 28}, QColor(0x8c, 0xd4, 0xff), false},
        {{150, 6, 30, 18}, QColor(0xff, 0xff, 0xff), false},
        {{14, 98, 38, 26}, QColor(0xff, 0xa0, 0x4c), false},
        {{62, 108, 30, 18}, QColor(0xc8, 0xa8, 0xff), false},
        {{194, 96, 46, 30}, QColor(0xff, 0xf4, 0xb0), true},
    };
    for (const SplashCard& c : cards) {
        QPainterPath path;
        if (c.round)
            path.addEllipse(c.rect);
        else
            path.addRoundedRect(c.rect, 4, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0x30, 0x10, 90));
        p.drawPath(path.translated(2, 2));
        p.setBrush(c.colour);
        p.setPen(QPen(c.colour.darker(150), 1));
        p.drawPath(path);
        p.setPen(QPen(QColor(0, 0, 0, 70), 1.6, Qt::SolidLine, Qt::RoundCap));
        const QRectF inner = c.rect.adjusted(c.rect.width() * 0.22, c.rect.height() * 0.32,
                                             -c.rect.width() * 0.22, -c.rect.height() * 0.32);
        p.drawLine(inner.topLeft(), inner.topRight());
        p.drawLine(inner.bottomLeft(),
                   QPointF(inner.center().x() + inner.width() / 6, inner.bottom()));
    }

    // The name, large, with a soft dark edge so it stands off the green.
    const QPainterPath title = textIn(QStringLiteral("Zavik"), QRectF(46, 34, 160, 52));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0c, 0x40, 0x18, 150));
    p.drawPath(title.translated(2.5, 2.5));
    p.setBrush(Qt::white);
    p.drawPath(title);

    QFont sub(QStringLiteral("IPAPGothic"));
    sub.setPixelSize(15);
    p.setFont(sub);
    p.setPen(QColor(0xf0, 0xff, 0xe8));
    p.drawText(QRectF(0, 88, width, 20), Qt::AlignCenter, QStringLiteral("カードの壁"));
    return pm;
}
