#include "platform/desktopprograms.h"

#include "platform/shell.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <optional>

namespace {

// Runs a short helper program and gives its output; nothing when it is not
// there, fails or hangs.
std::optional<QByteArray> runHelper(const QString& program, const QStringList& arguments,
                                    int waitMs) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return std::nullopt;
    QProcess helper;
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.start(found, arguments);
    if (!helper.waitForFinished(waitMs)) {
        helper.kill();
        helper.waitForFinished(1000);
        return std::nullopt;
    }
    if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0)
        return std::nullopt;
    return helper.readAllStandardOutput();
}

// Whether the desktop entry `id` describes a web browser: a page handed to
// one is shown, not edited.
bool isWebBrowser(const QString& id) {
    const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    QFile file(entry);
    if (entry.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("Categories=") && line.contains("WebBrowser"))
            return true;
    return false;
}

// The desktop entry the desktop opens plain text with; empty when it names
// none or names a browser.
QString textHandler() {
    const auto out =
        runHelper(QStringLiteral("xdg-mime"), {"query", "default", "text/plain"}, 3000);
    if (!out)
        return QString();
    const QString id = QString::fromLocal8Bit(out->split('\n').value(0)).trimmed();
    if (!id.endsWith(QLatin1String(".desktop")) || isWebBrowser(id))
        return QString();
    return id;
}

} // namespace

QString wordProcessor() {
    for (const char* name : {"libreoffice", "soffice"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

bool openInWordProcessor(const QString& file) {
    const QString program = wordProcessor();
    return !program.isEmpty() && startProgram(program, {QStringLiteral("--writer"), file});
}

bool openInTextEditor(const QString& file) {
    const QString id = textHandler();
    // gtk-launch returns as soon as the editor is started, and fails when
    // the entry cannot be launched.
    if (!id.isEmpty() && runHelper(QStringLiteral("gtk-launch"), {id, file}, 5000))
        return true;
    for (const char* name :
         {"gedit", "mousepad", "kate", "xed", "pluma", "leafpad", "featherpad"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return startProgram(found, {file});
    }
    return false;
}
