#include "support/shellrecorder.h"

#include <QDesktopServices>

ShellRecorder::ShellRecorder(const QStringList& schemes) : schemes_(schemes) {
    for (const QString& scheme : schemes_)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

ShellRecorder::~ShellRecorder() {
    for (const QString& scheme : schemes_)
        QDesktopServices::unsetUrlHandler(scheme);
}

void ShellRecorder::open(const QUrl& url) {
    opened << url;
}
