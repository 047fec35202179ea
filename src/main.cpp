#include "app/commandline.h"
#include "app/splashwindow.h"
#include "app/startupprobe.h"
#include "app/wallwindow.h"
#include "app/zavikapplication.h"
#include "platform/folders.h"
#include "platform/fonts.h"
#include "platform/translations.h"

#include <QDir>
#include <QMessageBox>
#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[]) {
    const qint64 started = StartupProbe::monotonicNs();
    const CommandLine line = readCommandLine(argc, argv);
    if (line.exitCode)
        return *line.exitCode;
    // Stay-on-top, the cursor position and screen capture need X11; under a
    // Wayland session the program runs on XWayland unless the user chose.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // The page browser's engine refuses to run as root inside its sandbox;
    // school machines often run the program as root from a USB stick.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    ZavikApplication app(argc, argv);
    installJapaneseTranslations(&app);
    installFontSubstitutions();

    const RunFolders run =
        foldersForRun(QCoreApplication::applicationFilePath(), line.dataFolder, QDir::homePath());
    if (!run.problem.isEmpty()) {
        std::fprintf(stderr, "zavik: %s\n", qPrintable(run.problem));
        QMessageBox::critical(nullptr, QStringLiteral("Zavik"), run.problem);
        return 2;
    }
    prepareDataFolder(run);

    auto* splash = new SplashWindow;
    splash->show();

    WallWindow wall(run.folders);
    // The program lives as long as the wall window, whatever else is open.
    QObject::connect(&wall, &WallWindow::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    StartupProbe::watch(&wall, started);
    wall.showOnScreen();
    splash->raise();
    return app.exec();
}
