#pragma once

#include "web/linkinterception.h"

#include <QObject>

class FileFetcher;
class InterceptingPage;
class QWidget;

// Carries out what the link table decided for the web pane and the help
// browser: one fetcher for both, so that only one link fetches at a time.
// What happens on the wall (a sound, the LOGO environment) is asked for by
// signals; the wall window answers them.
class WebLinkActions : public QObject {
    Q_OBJECT
public:
    explicit WebLinkActions(QWidget* window);

    FileFetcher& fetcher() { return *fetcher_; }

    // Acts on `decision`, made for a link of `page`.
    void carryOut(const weblink::LinkDecision& decision, InterceptingPage* page);

signals:
    void playSound(const QString& path);
    // A local project: copied into the LOGO folder (asking first), started
    // 3 seconds later.
    void copyAndStartProject(const QString& project);
    // A fetched project: started at once.
    void startProject(const QString& project);

private:
    FileFetcher* fetcher_;
};
