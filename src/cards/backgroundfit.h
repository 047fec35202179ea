#pragma once

#include <QRect>
#include <QSize>

// Where a background picture of w × h pixels is drawn on a wall of
// NOWX × NOWY: a landscape picture fills the wall's width, top-aligned, and
// may run past the bottom by up to half the wall (a taller one is fitted to
// the height and centred); a portrait picture fills the height at the left
// edge. `canvasWidth` and `canvasHeight` are the canvas's size before it is
// set to the wall's, which the centring uses.
QRect fitBackground(int w, int h, int NOWX, int NOWY, int canvasWidth, int canvasHeight);
