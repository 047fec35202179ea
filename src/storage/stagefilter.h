#pragma once

#include <QString>

// Stage blocks let one card text show more as a lesson goes on. Three kinds of
// block are shown or hidden by the wall's two stage counters:
//   "/+ … +/"  shown while ST1 > 0
//   "/- … -/"  shown while ST2 > 0
//   "/* … */"  shown only while both counters are 0
// The kinds are resolved in that order, each from its first opening marker on,
// so a block of one kind may hold blocks of the kinds resolved after it.
// An opening marker without its closing marker takes the one character after
// it away with it and shows nothing.
QString STANA(const QString& S, int ST1, int ST2);
