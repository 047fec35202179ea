#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool openWithShell(const QString& pathOrAddress) {
    const bool address = pathOrAddress.contains(QLatin1String("://"));
    const QUrl url = address ? QUrl(pathOrAddress) : QUrl::fromLocalFile(pathOrAddress);
    return QDesktopServices::openUrl(url);
}

bool startProgram(const QString& program, const QStringList& arguments,
                  const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}
