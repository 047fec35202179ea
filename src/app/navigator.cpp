#include "app/navigator.h"

#include "app/mediaplayerbar.h"
#include "app/toolcolumn.h"
#include "app/wallmodes.h"
#include "document/changedetection.h"
#include "document/walldocument.h"
#include "model/linkrules.h"
#include "storage/pathforms.h"

#include <QDir>

Navigator::Navigator(WallDocument& doc, WallModes& modes, ChangeDetection& changes,
                     ToolColumn& tools, MediaPlayerBar* player, QObject* parent)
    : QObject(parent), st(doc), modes_(modes), changes_(changes), tools_(tools),
      MediaPlayer1(player) {}

void Navigator::showWall(const QString& folder) {
    ChangeDetection::Pause pause(changes_);
    emit clearWall();
    st.KIJUNDIR = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QDir().mkpath(st.KIJUNDIR);
    modes_.SHOWFLG = true;
    emit layOut();
}

void Navigator::reload() {
    emit clearWall();
    modes_.SHOWFLG = true;
    emit layOut();
}

void Navigator::enter(const QString& folder, bool markReturn) {
    if (markReturn)
        modes_.DIRPOINT = st.KIJUNDIR;
    modes_.ListBox11.append(st.KIJUNDIR);
    showWall(folder);
}

void Navigator::BBUNKI(const QString& D) {
    if (modes_.BUSY)
        return;
    tools_.prepareCommand();
    enter(st.KIJUNDIR + withSlashes(D), false);
}

void Navigator::goBack() {
    showWall(navigateBack(modes_.ListBox11, st.KIJUNDIRBAK));
}

void Navigator::goHome() {
    showWall(navigateHome(modes_.ListBox11, modes_.DIRPOINT, st.KIJUNDIRBAK));
}

void Navigator::goToMark() {
    showWall(navigateToMark(modes_.ListBox11, modes_.DIRPOINT, st.KIJUNDIRBAK));
}

void Navigator::backAndHome(Qt::MouseButton button) {
    if (modes_.BUSY)
        return;
    MediaPlayer1->closeAndHide();
    tools_.prepareCommand();
    if (button == Qt::RightButton)
        goHome();
    else
        goBack();
}
