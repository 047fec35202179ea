#pragma once

#include "logoerror.h"

#include <QColor>
#include <QPointF>
#include <optional>
#include <vector>

// What a run of a LOGO text leaves behind. Coordinates are LOGO's own: the
// origin at the centre of the canvas, y up, 1 unit = 1 pixel of a 500 × 500
// canvas.

struct LogoSegment {
    QPointF from;
    QPointF to;
    QColor colour;
    double width = 1;
};

struct LogoTurtle {
    QPointF position;   // home is (0, 0)
    double heading = 0; // degrees clockwise from straight up, in [0, 360)
    bool penDown = true;
    QColor colour = QColor(Qt::black);
    double penWidth = 1;
};

struct LogoResult {
    std::vector<LogoSegment> segments; // in drawing order
    LogoTurtle turtle;                 // where the run ended, or stopped
    std::optional<LogoError> error;    // why the run stopped early
    qint64 commandCount = 0;           // commands carried out
};
