#pragma once

#include <QString>

// The one rule for the name of a card file that a user typed, that a list
// gave or that is made new: line breaks and other control characters go,
// and every character that a file name cannot hold on Windows or Linux is
// replaced by its full-width form. Nothing is cut: "1組:田中" and "2組:田中"
// stay two names, and "C:\Users\太郎" never becomes "太郎". Returns an empty
// string when nothing is left but the extension, in which case nothing is to
// be written. Names read from existing files are never cleaned: a card goes
// back to the file it came from.
QString cleanCardFileName(const QString& name);
