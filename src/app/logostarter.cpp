#include "app/logostarter.h"

#include "dialogs/startoverdialog.h"
#include "platform/desktopcopy.h"
#include "platform/shell.h"
#include "storage/htmlcopy.h"
#include "web/linkinterception.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

LogoStarter::LogoStarter(StartOverDialog* startOver, QObject* parent)
    : QObject(parent), startOver_(startOver) {
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] { SHELLTURXE2(FF2); });
}

QString LogoStarter::program() const {
    return resourceFolder + QStringLiteral("TURX/turx");
}

bool LogoStarter::acceptsProject(const QString& project) {
    const qint64 limit = weblink::maxLogoFileBytes;
    if (QFileInfo(project).size() <= limit)
        return true;
    QMessageBox::warning(qobject_cast<QWidget*>(parent()), QStringLiteral("Zavik"),
                         QStringLiteral("「%1」は%2MBを超えるので、TURXで開きませんでした。")
                             .arg(QDir::toNativeSeparators(project))
                             .arg(limit / (1024 * 1024)));
    return false;
}

QString LogoStarter::copyAndStart(const QString& P) {
    // Refused before it is copied: the copy alone would fill the disk.
    if (!acceptsProject(P))
        return QString();
    const QString folder = workingFolder();
    QDir().mkpath(folder);
    const QString T = folder + QFileInfo(P).fileName();
    bool copy = true;
    if (QFileInfo::exists(T)) {
        startOver_->exec();
        copy = startOver_->tag() == StartOverDialog::Restart;
    }
    if (copy) {
        copyOver(P, T);
        const QString from = QFileInfo(P).absolutePath();
        ALLCOPY(from, folder, QStringLiteral("wav"));
        ALLCOPY(from, folder, QStringLiteral("mid"));
    }
    SHELLTURXE(T, 1000);
    return T;
}

void LogoStarter::SHELLTURXE(const QString& project, int delay) {
    if (delay < 1) {
        SHELLTURXE2(project);
        return;
    }
    FF2 = project;
    Timer1->start(delayMs);
}

void LogoStarter::startNewProject() {
    const QString S = resourceFolder + QStringLiteral("プログラミングHOME/NEW.trx");
    const QString folder = workingFolder();
    QDir().mkpath(folder);
    const QString D = folder + QStringLiteral("NEW.trx");
    if (!QFileInfo::exists(D)) {
        copyOver(S, D);
        SHELLTURXE(D, 0);
        return;
    }
    startOver_->exec();
    const int choice = startOver_->tag();
    if (choice == StartOverDialog::Restart)
        copyOver(S, D);
    if (choice == StartOverDialog::Restart || choice == StartOverDialog::Continue)
        SHELLTURXE(D, 0);
}

void LogoStarter::SHELLTURXE2(const QString& project) {
    if (!project.isEmpty() && !acceptsProject(project))
        return;
    const QString folder = project.isEmpty() ? workingFolder() : QFileInfo(project).absolutePath();
    const QStringList arguments = project.isEmpty() ? QStringList() : QStringList{project};
    const bool ok = startProgram(program(), arguments, folder);
    emit started(project, ok);
}
