#pragma once

#include <QString>

// Cleans a card file name that a user typed or that is made new: drops the
// folder part (up to the last "\" or ":"), removes line breaks and puts the
// full-width form in place of characters Windows cannot hold in a name.
// Returns an empty string when nothing is left but the extension, in which
// case nothing is to be written. Names read from existing files are never
// cleaned: a card goes back to the file it came from.
QString cleanCardFileName(const QString& name);
