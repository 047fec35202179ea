#pragma once

#include <QString>

// Hands a file, a folder or a web address to the desktop shell, which opens
// it with the program the user chose for it. Returns false when nothing could
// be started; callers ignore that, as a failed launch changes nothing.
bool openWithShell(const QString& pathOrAddress);

// Starts a program on its own, not waited for.
bool startProgram(const QString& program, const QStringList& arguments,
                  const QString& workingFolder = QString());
