#pragma once

#include <QString>

// Hands a file, a folder, a web or a mail address ("mailto:") to the desktop
// shell, which opens it with the program the user chose for it. Returns false
// when nothing could be started; callers ignore that, as a failed launch
// changes nothing.
bool openWithShell(const QString& pathOrAddress);

// Starts a program on its own, not waited for.
bool startProgram(const QString& program, const QStringList& arguments,
                  const QString& workingFolder = QString());

// The paint program of this desktop: the first of kolourpaint, pinta,
// mtpaint and gimp found on PATH; empty when there is none.
QString paintProgram();

// Opens a picture in the paint program, not waited for; without one the
// desktop shell opens it with whatever the user chose for pictures.
bool openInPaintProgram(const QString& picture);
