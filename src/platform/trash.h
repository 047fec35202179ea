#pragma once

#include <QString>

// Moves a file into the desktop's trash, from where the user can bring it
// back. False, with the reason in `error`, when the file stays where it was.
bool moveToTrash(const QString& path, QString* error = nullptr);
