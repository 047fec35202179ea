#include "app/linkrunner.h"

#include "app/logostarter.h"
#include "app/mediaplayerbar.h"
#include "app/navigator.h"
#include "app/noticepanel.h"
#include "app/toolcolumn.h"
#include "app/wallmodes.h"
#include "app/windowmodes.h"
#include "cards/cardboard.h"
#include "cards/cardmenu.h"
#include "cards/cardmouse.h"
#include "cards/cardwidget.h"
#include "dialogs/launchcardmaker.h"
#include "document/changedetection.h"
#include "document/walldocument.h"
#include "document/wallloader.h"
#include "drawing/flashwindow.h"
#include "drawing/pictureviewerwindow.h"
#include "model/bgrcolor.h"
#include "model/wallgeometry.h"
#include "platform/beep.h"
#include "platform/desktopcopy.h"
#include "platform/shell.h"
#include "reports/csvexport.h"
#include "reports/foldertreewindow.h"
#include "storage/editorpage.h"
#include "storage/pathforms.h"
#include "storage/stagefilter.h"
#include "web/helpbrowserwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

namespace {

QString bareName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

LinkRunner::LinkRunner(const LinkRunnerParts& parts, QObject* parent) : QObject(parent), p(parts) {}

void LinkRunner::JIKKOU(int n) {
    WallDocument& st = p.st;
    WallModes& modes_ = p.flags;
    p.TForm2->stop();
    if (modes_.BUSY || !st.has(n) || n >= p.board.count())
        return;
    const CardEntry e = st.card(n);
    // The stage switch first, for its effect on the counters.
    const StageSwitch stage = STANA2(e.NOTE, st.ST1, st.ST2);
    if (stage.changed)
        st.setStage(stage.ST1, stage.ST2);
    QString link = STANA(e.NOTE, st.ST1, st.ST2);
    if (e.checkOff == CheckOff::Armed) {
        const WallDocument::UserStep step(st, QStringLiteral("チェック"));
        st.collapse(n);
    } else if (e.checkOff == CheckOff::Collapsed) {
        const WallDocument::UserStep step(st, QStringLiteral("チェック"));
        st.loader().REPANELLOAD(n, e.FNAME);
        st.setCheckOff(n, CheckOff::Armed);
        return;
    }
    if (e.STP == 1) {
        // The card that armed stamping is remembered: a press on another
        // card in between must not change what is stamped.
        modes_.POM = true;
        POMCARD = n;
        return;
    }
    modes_.POM = false;
    POMCARD = -1;
    const QString flash = STANA(e.KFLG, st.ST1, st.ST2);
    if (!flash.isEmpty()) {
        const int lines = p.board.lineCount(flash);
        link = p.TForm2->showFlash(flash, e.colour, p.board.card(n)->textColour(), link,
                                   QPoint(p.mouse.PGKX, p.mouse.PGKY), p.window->geometry(), lines,
                                   st.NOWY, &modes_.RFLGK);
    }
    if (!link.isEmpty())
        JIKKOU2(link);
}

void LinkRunner::JIKKOU2(const QString& L) {
    WallDocument& st = p.st;
    WallModes& modes_ = p.flags;
    p.MediaPlayer1->closeAndHide();
    modes_.KAKUDAI = 1.0;
    const LinkDecision d = decideLink(L);
    switch (d.action) {
    case LinkAction::ExitWithoutSaving:
        emit exitWithoutSavingRequested();
        return;
    case LinkAction::SaveAndExit:
        emit saveAndExitRequested();
        return;
    case LinkAction::BackToMark:
        p.navigator.goToMark();
        return;
    case LinkAction::Home:
        p.navigator.goHome();
        return;
    case LinkAction::Back:
        p.navigator.goBack();
        return;
    case LinkAction::CopyToDesktop: {
        const DesktopCopy copy = desktopCopyFor(L, st.KIJUNDIR);
        if (copy.outsideTheWall) {
            QMessageBox::warning(p.window, QStringLiteral("Zavik"),
                                 QStringLiteral("「%1」：このかべの中のフォルダだけをデスクトップに"
                                                "コピーできます。")
                                     .arg(L));
            return;
        }
        FDL(p.window, copy.source, copy.name);
        return;
    }
    case LinkAction::OpenFolder:
        p.tools.prepareCommand();
        handToShell(st.KIJUNDIR + withSlashes(d.argument),
                    QStringLiteral("エクスプローラーを起動・・・"), 3000);
        return;
    case LinkAction::Print:
        emit printRequested();
        return;
    case LinkAction::Csv:
        CSV1Click();
        return;
    case LinkAction::Background: {
        const QString picture = ZETTAI(d.argument, st.KIJUNDIR, st.KIJUNDIRBAK);
        if (QFileInfo(picture).isFile())
            emit st.backgroundShown(picture);
        return;
    }
    case LinkAction::CardCommand:
        runCardCommand(L, d.card);
        return;
    case LinkAction::Target:
        break;
    }

    const TargetDecision t = decideTarget(L, st.KIJUNDIR, st.KIJUNDIRBAK,
                                          [](const QString& f) { return QFileInfo(f).isFile(); });
    modes_.KAKUDAI = t.zoom;
    switch (t.kind) {
    case TargetKind::Beep:
        zavikBeep();
        return;
    case TargetKind::Picture:
        openPictures(L, t.pictureList);
        return;
    case TargetKind::Sound:
        p.MediaPlayer1->move(scaleToWallX(80, st.NOWX), p.MediaPlayer1->y());
        p.MediaPlayer1->openAndPlay(t.path);
        return;
    case TargetKind::Page:
        p.TForm23->showPage(t.path);
        return;
    case TargetKind::Logo:
        p.notice.MATHU(bareName(t.path) + QStringLiteral("を起動・・・"), 4000);
        p.logo->copyAndStart(t.path);
        p.modes.TAKO();
        return;
    case TargetKind::OtherFile:
        handToShell(t.path, bareName(t.path) + QStringLiteral("を起動・・・"), 3000);
        return;
    case TargetKind::Wall:
        p.navigator.enter(t.path, t.markReturn);
        return;
    case TargetKind::MissingFolder:
        zavikBeep();
        p.notice.MATHU(QStringLiteral("このフォルダは見つかりません"), 3000);
        return;
    case TargetKind::WebAddress:
        handToShell(t.path, QStringLiteral("エクスプローラーを起動・・・"), 3000);
        return;
    case TargetKind::Nothing:
        return;
    }
}

void LinkRunner::runCardCommand(const QString& L, const CardCommand& command) {
    WallDocument& st = p.st;
    const int n = st.PBAN;
    if (n < 0 || n >= p.board.count())
        return;
    if (!command.n) {
        QMessageBox::warning(
            p.window, QStringLiteral("Zavik"),
            QStringLiteral("リンク「%1」の数字「%2」が整数ではありません。").arg(L, command.rest));
        return;
    }
    const QRect r = st.card(n).rect;
    const CardGeometry g =
        applyCardCommand({r.x(), r.y(), r.width(), r.height()}, command, p.mouse.CARDX,
                         p.mouse.CARDY, p.mouse.CARDW, p.mouse.CARDH, QSize(st.NOWX, st.NOWY));
    const bool collapsed = st.card(n).checkOff == CheckOff::Collapsed;
    const WallDocument::UserStep step(st, QStringLiteral("カードの移動"));
    st.setRect(n, QRect(g.left, g.top, g.width, g.height));
    const QChar k = command.kind;
    const bool resizes = k == QLatin1Char('W') || k == QLatin1Char('w') || k == QLatin1Char('H') ||
                         k == QLatin1Char('h');
    if (resizes && !collapsed)
        p.board.CardSize(); // the 16-pixel floors before anything is written
    // Every plain command marks the card as moved by a link, so that save
    // and exit puts it back where its file says. A saving command on a
    // collapsed check-off card writes it with its full size and state.
    if (!command.save || !collapsed)
        st.setCheckOff(n, CheckOff::LinkMoved);
    if (command.save)
        p.cardMenu.saveCard();
}

void LinkRunner::openPictures(const QString& L, const QString& pictureList) {
    WallDocument& st = p.st;
    WallModes& modes_ = p.flags;
    const int n = st.PBAN;
    const QColor colour =
        n >= 0 && n < p.board.count() ? p.board.card(n)->fillColour() : bgrColor(kSilver);
    // A picture that does not decode opens no viewer, and the user hears it.
    if (!p.TForm21->openLink(L, pictureList, colour, modes_.KAKUDAI,
                             QPoint(p.mouse.PGKX, p.mouse.PGKY), QSize(st.NOWX, st.NOWY),
                             p.window->geometry()))
        zavikBeep();
}

void LinkRunner::FileListBox2Click(const QString& name) {
    if (name.isEmpty()) {
        zavikBeep();
        return;
    }
    // Outside changes are followed again once the click's action is done.
    ChangeDetection::Pause pause(p.changes);
    const QString path = p.st.KIJUNDIR + name;
    if (!QFileInfo(path).isFile())
        return;
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("wav") || ext == QLatin1String("wma") || ext == QLatin1String("mp3")) {
        p.MediaPlayer1->openAndPlay(path);
    } else if (ext == QLatin1String("trx") || ext == QLatin1String("tr2")) {
        p.notice.MATHU(name + QStringLiteral("を起動・・・"), 4000);
        p.logo->copyAndStart(path);
    } else if ((ext == QLatin1String("htm") || ext == QLatin1String("html")) &&
               isEditorPage(path)) {
        emit pageEditRequested(path);
    } else {
        handToShell(path, name + QStringLiteral("を起動・・・"), 4000, false);
    }
}

void LinkRunner::wallPress(QPoint at) {
    WallDocument& st = p.st;
    WallModes& modes_ = p.flags;
    if (!modes_.POM)
        return;
    modes_.POM = false;
    const int B = POMCARD;
    POMCARD = -1;
    if (B < 0 || B >= p.board.count())
        return;
    const WallDocument::UserStep step(st, QStringLiteral("スタンプ"));
    st.PCOPY(B, QRect(at, st.card(B).rect.size()), 2);
    p.changes.start();
}

void LinkRunner::openWallFolder() {
    p.tools.prepareCommand();
    handToShell(p.st.KIJUNDIR, QStringLiteral("エクスプローラーを起動・・・"), 3000);
}

void LinkRunner::CSV1Click() {
    if (p.flags.BUSY)
        return;
    ChangeDetection::Pause pause(p.changes);
    QString error;
    const QString path = exportCsv(p.st, QDateTime::currentDateTime(), &error);
    if (path.isEmpty())
        QMessageBox::warning(
            p.window, QStringLiteral("Zavik"),
            error + QStringLiteral("\nディスクの空きと書き込みの許可を確かめてください。"));
    else
        p.notice.MATHU(QFileInfo(path).fileName() + QStringLiteral("に保存しました"), 3000);
}

void LinkRunner::N21Click() {
    if (p.flags.BUSY)
        return;
    // The program's folder holds the data folder and the resource folder.
    const QString top = QFileInfo(QDir::cleanPath(p.st.KIJUNDIRBAK)).absolutePath();
    FolderTreeWindow window(p.window);
    window.FormShow(top, p.st.KIJUNDIRBAK);
    window.exec();
}

void LinkRunner::SpeedButton19Click() {
    if (p.flags.BUSY)
        return;
    p.tools.prepareCommand();
    if (!TForm24) {
        TForm24 = new LaunchCardMaker(p.st, p.window);
        connect(TForm24, &LaunchCardMaker::noticeRequested, this,
                [this](const QString& text, int ms) { p.notice.MATHU(text, ms); });
        connect(TForm24, &LaunchCardMaker::tuckRequested, &p.modes, &WindowModes::TAKO);
        connect(TForm24, &LaunchCardMaker::startLogoRequested, this,
                [this](const QString& project) {
                    if (p.logo->acceptsProject(project))
                        startProgram(p.logo->program(), {project});
                });
        TForm24->logoInstalled = [this] { return QFileInfo(p.logo->program()).isFile(); };
        connect(TForm24, &LaunchCardMaker::reloadWallRequested, &p.navigator, &Navigator::reload);
        TForm24->wallArea = [this] {
            return QRect(p.window->mapToGlobal(QPoint(0, 0)), p.window->size());
        };
    }
    ChangeDetection::Pause pause(p.changes);
    TForm24->exec();
}

void LinkRunner::openHelp() {
    p.notice.MATHU(QStringLiteral("Zavik WEBページを起動・・・"), 1000);
    const QString page = p.st.KIJUNEX + QStringLiteral("ZavikHELP/index.html");
    if (QFileInfo(page).isFile())
        openWithShell(page);
    else
        QMessageBox::information(p.window, QStringLiteral("Zavik"),
                                 QStringLiteral("ヘルプのページ（%1）が見つかりません。")
                                     .arg(QDir::toNativeSeparators(page)));
    p.modes.TAKO();
}

void LinkRunner::programming(Qt::MouseButton button) {
    const bool newProject = button == Qt::RightButton || p.flags.RFLGK;
    p.tools.prepareCommand();
    if (newProject) {
        p.notice.MATHU(QStringLiteral("TURXを起動・・・"), 4000);
        p.logo->SHELLTURXE2(QString());
        p.modes.TAKO();
        return;
    }
    const QString page = p.st.KIJUNEX + QStringLiteral("プログラミングHOME/index.html");
    if (QFileInfo(page).isFile())
        p.TForm23->showPage(page);
    else
        p.notice.MATHU(QStringLiteral("プログラミングのページは準備中です"), 3000);
}

void LinkRunner::handToShell(const QString& path, const QString& notice, int ms, bool tuck) {
    p.notice.MATHU(notice, ms);
    openWithShell(path);
    if (tuck)
        p.modes.TAKO();
}
