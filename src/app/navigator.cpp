#include "app/navigator.h"

#include "app/mediaplayerbar.h"
#include "app/toolcolumn.h"
#include "model/linkrules.h"
#include "model/wallstate.h"
#include "storage/pathforms.h"
#include "wall/changedetection.h"

#include <QDir>

Navigator::Navigator(WallState& state, ChangeDetection& changes, ToolColumn& tools,
                     MediaPlayerBar* player, QObject* parent)
    : QObject(parent), st(state), changes_(changes), tools_(tools), MediaPlayer1(player) {}

void Navigator::showWall(const QString& folder) {
    ChangeDetection::Pause pause(changes_);
    clearWall();
    st.KIJUNDIR = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QDir().mkpath(st.KIJUNDIR);
    st.SHOWFLG = true;
    layOut();
}

void Navigator::enter(const QString& folder, bool markReturn) {
    if (markReturn)
        st.DIRPOINT = st.KIJUNDIR;
    st.ListBox11.append(st.KIJUNDIR);
    showWall(folder);
}

void Navigator::BBUNKI(const QString& D) {
    if (st.BUSY)
        return;
    tools_.prepareCommand();
    enter(st.KIJUNDIR + withSlashes(D), false);
}

void Navigator::goBack() {
    showWall(navigateBack(st.ListBox11, st.KIJUNDIRBAK));
}

void Navigator::goHome() {
    showWall(navigateHome(st.ListBox11, st.DIRPOINT, st.KIJUNDIRBAK));
}

void Navigator::goToMark() {
    showWall(navigateToMark(st.ListBox11, st.DIRPOINT, st.KIJUNDIRBAK));
}

void Navigator::backAndHome(Qt::MouseButton button) {
    if (st.BUSY)
        return;
    MediaPlayer1->closeAndHide();
    tools_.prepareCommand();
    if (button == Qt::RightButton)
        goHome();
    else
        goBack();
}
