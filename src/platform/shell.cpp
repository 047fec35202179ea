#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool openWithShell(const QString& pathOrAddress) {
    const bool address = pathOrAddress.contains(QLatin1String("://")) ||
                         pathOrAddress.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
    const QUrl url = address ? QUrl(pathOrAddress) : QUrl::fromLocalFile(pathOrAddress);
    return QDesktopServices::openUrl(url);
}

bool startProgram(const QString& program, const QStringList& arguments,
                  const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

QString paintProgram() {
    for (const char* name : {"kolourpaint", "pinta", "mtpaint", "gimp"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

bool openInPaintProgram(const QString& picture) {
    const QString program = paintProgram();
    if (program.isEmpty())
        return openWithShell(picture);
    return startProgram(program, {picture});
}
