#pragma once

#include <QString>

// A picture that is drawn on or replaced keeps its untouched original beside
// it, under the same name with "_" in front: "bg.jpg" keeps "_bg.jpg".

// The path of the original kept beside `path`.
QString underscoreCopyOf(const QString& path);

// Keeps the original of `path` beside it, unless one is kept already (the
// first original is the one worth keeping). False when a copy was needed
// and could not be made.
bool keepUnderscoreCopy(const QString& path);

// Puts the kept original back over `path`. False when there is none or the
// copy failed.
bool restoreUnderscoreCopy(const QString& path);
