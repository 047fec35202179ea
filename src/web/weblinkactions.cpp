#include "web/weblinkactions.h"

#include "platform/beep.h"
#include "platform/shell.h"
#include "web/filefetcher.h"
#include "web/interceptingpage.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

using namespace weblink;

WebLinkActions::WebLinkActions(QWidget* window)
    : QObject(window), fetcher_(new FileFetcher(window)) {}

void WebLinkActions::carryOut(const LinkDecision& d, InterceptingPage* page) {
    QPointer<InterceptingPage> guarded(page);
    auto goTo = [guarded](const QString& link) {
        if (!guarded)
            return;
        const bool local = link.startsWith(QLatin1Char('/')) || link.contains(QLatin1Char('\\'));
        guarded->navigateUnasked(
            local ? QUrl::fromLocalFile(QString(link).replace(QLatin1Char('\\'), QLatin1Char('/')))
                  : QUrl(link));
    };
    const bool fetching = !d.extras.isEmpty() || d.action == LinkAction::WebProject;
    if (fetching && fetcher_->busy()) {
        zavikBeep(); // one link fetches at a time
        return;
    }
    // The LOGO folder first, then the link's sub-folder, which must not lead
    // out of it through a link.
    for (const QString& folder : d.foldersToMake)
        if (fetching || d.action == LinkAction::LocalProject)
            makeFolderIn(d.workingFolder, folder);

    switch (d.action) {
    case LinkAction::PlaySound:
        emit playSound(d.path);
        return;
    case LinkAction::ToShell:
        openWithShell(d.path);
        return;
    case LinkAction::Beep:
        zavikBeep();
        return;
    case LinkAction::LocalProject:
        emit copyAndStartProject(d.path);
        return;
    case LinkAction::WebProject: {
        QList<LinkFetch> files = d.extras;
        files << LinkFetch{d.path, d.target};
        const QString project = d.target;
        const QString link = d.path;
        fetcher_->fetch(d.workingFolder, files, [this, project, link, goTo](bool ok) {
            if (ok)
                emit startProject(project);
            else if (!fetcher_->lastRefused())
                goTo(link); // the browser tries the address itself, once
        });
        return;
    }
    case LinkAction::LetThrough: {
        // The link's extra files first, then the page.
        const QString link = d.path;
        fetcher_->fetch(d.workingFolder, d.extras, [goTo, link](bool) { goTo(link); });
        return;
    }
    }
}
