#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file through a temporary file in the same folder that is
// renamed over the old one, so that a crash or a full disk never leaves a
// half-written card: either the new file is there whole, or the old one is.
// On failure returns false and, when asked, a description for the user.
bool writeFileAtomically(const QString& path, const QByteArray& bytes,
                         QString* errorText = nullptr);
