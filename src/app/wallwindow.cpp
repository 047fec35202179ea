#include "app/wallwindow.h"

#include "app/filewindow.h"
#include "app/historycommands.h"
#include "app/linkrunner.h"
#include "app/logostarter.h"
#include "app/mainmenu.h"
#include "app/mediaplayerbar.h"
#include "app/navigator.h"
#include "app/noticepanel.h"
#include "app/numbernotesmenu.h"
#include "app/restorewindow.h"
#include "app/toolcolumn.h"
#include "app/windowmodes.h"
#include "cards/cardboard.h"
#include "cards/cardmenu.h"
#include "cards/cardmouse.h"
#include "cards/cardwidget.h"
#include "dialogs/cardeditordialog.h"
#include "dialogs/folderchooserdialog.h"
#include "dialogs/linkdialog.h"
#include "dialogs/newcardcommand.h"
#include "dialogs/quickcardeditor.h"
#include "dialogs/rubydialog.h"
#include "dialogs/settingsdialog.h"
#include "dialogs/startovercanceldialog.h"
#include "dialogs/startoverdialog.h"
#include "document/changedetection.h"
#include "document/wallloader.h"
#include "document/wallsaver.h"
#include "drawing/flashwindow.h"
#include "drawing/picturecanvas.h"
#include "drawing/pictureeditorwindow.h"
#include "drawing/pictureviewerwindow.h"
#include "drawing/screencapture.h"
#include "drawing/wallpen.h"
#include "drawing/wallprinter.h"
#include "model/bgrcolor.h"
#include "model/wallgeometry.h"
#include "pageeditor/pageeditorwindow.h"
#include "platform/folders.h"
#include "platform/fonts.h"
#include "platform/touchhold.h"
#include "storage/wallfiles.h"
#include "web/filefetcher.h"
#include "web/helpbrowserwindow.h"
#include "web/weblinkactions.h"
#include "web/webpane.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>
#include <utility>

WallWindow::WallWindow(const QString& executablePath, QWidget* parent)
    : WallWindow(deriveFolders(executablePath), parent) {}

WallWindow::WallWindow(const WallFolders& folders, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), doc_(new WallDocument(this)),
      st(*doc_), folders_(folders) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Zavik"));
    setFont(QFont(kWallFontFamily));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, bgrColor(kNavy));
    setPalette(pal);
    setAutoFillBackground(true);

    st.setSurface(this);
    makeParts();
    wireCards();
    wireTools();
    wireMenus();
    wireDrawing();
    wireWeb();
    wireSettings();
    installShortcuts();
}

WallWindow::~WallWindow() = default;

void WallWindow::makeParts() {
    TForm6 = new StartOverDialog(this);
    TForm27 = new StartOverCancelDialog(this);

    // Stacked bottom to top: the canvas, the file window, the tools and the
    // sound bar; cards come above them all as they are made.
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setCursor(Qt::PointingHandCursor);
    // The wall takes the keyboard back from a field on it when the field
    // goes or the user presses a card or the wall: the wall's keys (take
    // back, make again) are then the wall's again.
    Panel2->setFocusPolicy(Qt::StrongFocus);
    board_ = new CardBoard(st, flags_.BUSY, flags_.RFLG, Panel2);
    changes_ = &st.changes();
    pen_ = new WallPen(st, flags_.pen, flags_.BUSY, flags_.RFLGK, flags_.POM, Panel2);
    Panel4 = new FileWindow(Panel2);
    tools_ = new ToolColumn(st, flags_, Panel2);
    Panel1 = new NoticePanel(this);
    MediaPlayer1 = new MediaPlayerBar(Panel2);
    PopupMenu5 = new NumberNotesMenu(this);
    PopupMenu2 = new MainMenu(this);

    cardMenu_ = new CardMenu(st, flags_.BUSY, *board_, this);
    mouse_ = new CardMouse(st, flags_.BUSY, flags_.RFLGK, flags_.RFLG, *board_, this);

    TForm2 = new FlashWindow(this);
    TForm21 = new PictureViewerWindow(this, &flags_.pen, &flags_.BUSY, &flags_.RFLGK);
    TForm21->pen = pen_;
    pen_->viewer = TForm21;
    webActions_ = new WebLinkActions(this);
    webPane_ = new WebPane(st, *webActions_, Panel2);
    // Above the background, below the file window, the tools and the cards.
    webPane_->stackUnder(Panel4);
    webPane_->Panel3->stackUnder(Panel4);
    TForm23 = new HelpBrowserWindow(st, *webActions_, this);
    TForm26 = new FolderChooserDialog(this);
    TForm20 = new RestoreWindow(this);
    logo = new LogoStarter(TForm6, this);
    TForm3 = new CardEditorDialog(st, flags_.BUSY, *board_, st.saver(), *changes_, TForm26, this);
    TForm18 = new QuickCardEditor(this);
    TForm19 = new SettingsDialog(st, this);
    TForm4 = new PageEditorWindow(this);
    TForm15 = new LinkDialog(TForm4);
    TForm13 = new RubyDialog(TForm4);
    newCards = new NewCardCommand(st, flags_.BUSY, *changes_, TForm18, TForm3, Panel2);

    navigator_ = new Navigator(st, flags_, *changes_, *tools_, MediaPlayer1, this);
    modes_ = new WindowModes(st, flags_, this, *tools_, TForm20);
    TForm25 = new PictureEditorWindow(flags_.pen, this);
    capture_ = new ScreenCapture(st, flags_.BUSY, this);
    printer_ = new WallPrinter(st, flags_.BUSY, this);
    links_ =
        new LinkRunner({st, flags_, this, *board_, *changes_, *mouse_, *cardMenu_, *tools_, *Panel1,
                        *navigator_, *modes_, TForm2, TForm21, TForm23, MediaPlayer1, logo},
                       this);
}

void WallWindow::wireCards() {
    connect(board_, &CardBoard::cardCreated, this, [this](CardWidget* c) {
        connect(c, &CardWidget::pressed, mouse_, &CardMouse::press);
        connect(c, &CardWidget::pressed, tools_,
                [this](CardWidget*, QPoint, Qt::MouseButton, bool byTouch) {
                    tools_->cardPressed(byTouch);
                });
        connect(c, &CardWidget::moved, mouse_, &CardMouse::move);
        connect(c, &CardWidget::released, mouse_, &CardMouse::release);
    });
    connect(cardMenu_, &CardMenu::aboutToDelete, this, [this] {
        TForm2->stop();
        if (TForm3->isVisible())
            TForm3->close();
    });
    connect(cardMenu_, &CardMenu::cardEditorRequested, this, [this] { TForm3->openOn(st.PBAN); });
    followDocument();

    connect(mouse_, &CardMouse::runCard, links_, &LinkRunner::JIKKOU);
    connect(mouse_, &CardMouse::penOff, this, [this] { MSswitch(false); });
    connect(mouse_, &CardMouse::oneShotDisarmed, tools_, &ToolColumn::showOneShotDisarmed);
    connect(mouse_, &CardMouse::cardMenuRequested, this, [this](QPoint at) {
        emit cardMenuRequested(at);
        cardMenu_->PopupMenu1->popup(at);
    });

    connect(navigator_, &Navigator::clearWall, this, &WallWindow::ALLCLEAR);
    connect(navigator_, &Navigator::layOut, this, &WallWindow::SAITEIJI);
    connect(links_, &LinkRunner::saveAndExitRequested, this, &WallWindow::OWARI);
    connect(links_, &LinkRunner::exitWithoutSavingRequested, this, &WallWindow::exitWithoutSaving);
    connect(Panel4, &FileWindow::fileClicked, links_, &LinkRunner::FileListBox2Click);
}

void WallWindow::wireTools() {
    connect(tools_, &ToolColumn::penOffRequested, this, [this] { MSswitch(false); });
    connect(tools_->SpeedButton1, &QToolButton::clicked, this, [this] {
        if (flags_.BUSY)
            return;
        tools_->prepareCommand();
        PopupMenu2->popup(QPoint(x() + st.NOWX - 350, tools_->SpeedButton1->y() + y()));
    });
    connect(tools_->SpeedButton5, &QToolButton::clicked, links_, &LinkRunner::openWallFolder);
    connect(tools_->SpeedButton14, &QToolButton::clicked, modes_, &WindowModes::SpeedButton14Click);
    connect(tools_->SpeedButton12, &QToolButton::clicked, this, &WallWindow::SpeedButton12Click);
    connect(tools_->SpeedButton4, &QToolButton::clicked, newCards, &NewCardCommand::CARDMAKE);
    connect(newCards, &NewCardCommand::commandStarting, tools_, &ToolColumn::prepareCommand);
    connect(tools_->SpeedButton16, &QToolButton::clicked, this, [this] {
        tools_->prepareCommand();
        const QPoint cursor = mapFromGlobal(QCursor::pos());
        PopupMenu5->popup(QPoint(x() + cursor.x() - 150, y() + cursor.y()));
    });
    connect(tools_, &ToolColumn::backOrHome, navigator_, &Navigator::backAndHome);
    connect(tools_->SpeedButton2, &QToolButton::clicked, pen_, &WallPen::togglePen);
    connect(tools_->SpeedButton3, &QToolButton::clicked, pen_, &WallPen::wipe);
    connect(pen_, &WallPen::penSwitched, tools_->SpeedButton2, &QToolButton::setChecked);
    connect(pen_, &WallPen::oneShotDisarmed, this, [this] {
        flags_.RFLGK = false;
        tools_->showOneShotDisarmed();
    });
    connect(pen_, &WallPen::tuckRequested, modes_, &WindowModes::TAKO);
    connect(pen_, &WallPen::stampRequested, links_, &LinkRunner::wallPress);
    // The viewer's picture is the pen's other surface: it disarms and tucks alike.
    connect(TForm21, &PictureViewerWindow::oneShotDisarmed, pen_, &WallPen::oneShotDisarmed);
    connect(TForm21, &PictureViewerWindow::tuckRequested, pen_, &WallPen::tuckRequested);
    connect(tools_, &ToolColumn::programming, links_, &LinkRunner::programming);

    Panel2->installEventFilter(this);
    pen_->Image1->installEventFilter(this);
    Panel2->setMouseTracking(true);
    // A finger held still opens what the right button opens: the card menu,
    // the pen menu (with the pen on too), the tools' second meanings.
    pen_->setTouchHold(new TouchHold(this));
}

void WallWindow::wireMenus() {
    connect(PopupMenu5, &NumberNotesMenu::noteChosen, navigator_, &Navigator::BBUNKI);
    connect(PopupMenu2->Zavik2, &QAction::triggered, links_, &LinkRunner::openHelp);
    connect(PopupMenu2->N67, &QAction::triggered, this,
            [this] { links_->JIKKOU2(QStringLiteral(">DL")); });
    connect(PopupMenu2->N2, &QAction::triggered, this, [this] { modes_->setBordered(true); });
    connect(PopupMenu2->N5, &QAction::triggered, this, [this] { modes_->setBordered(false); });
    connect(PopupMenu2->N01, &QAction::triggered, this, &WallWindow::N01Click);
    connect(PopupMenu2->N3, &QAction::triggered, this, &WallWindow::OWARI);
    connect(PopupMenu2->N32, &QAction::triggered, this, &WallWindow::exitWithoutSaving);
    history_ = new HistoryCommands(st.history(), flags_.BUSY, PopupMenu2->Undo1, PopupMenu2->Redo1,
                                   tools_->SpeedButton28, this);
    // A teacher drawing in the picture viewer takes strokes back there.
    history_->attach(TForm21);
}

void WallWindow::wireDrawing() {
    connect(tools_->SpeedButton23, &QToolButton::clicked, this, [this] {
        tools_->prepareCommand();
        capture_->showMenu(QCursor::pos());
    });
    capture_->watchCorner(tools_->SpeedButton27);
    capture_->watchDrawingButton(tools_->SpeedButton10);
    capture_->handles = {tools_->SpeedButton26, tools_->SpeedButton27, tools_->Panel6};
    capture_->wallIsAside = [this] { return pos() != QPoint(0, 0); };
    capture_->editorWindow = TForm25;
    connect(capture_, &ScreenCapture::editorRequested, this, [this](const QImage& screenshot) {
        ChangeDetection::Pause pause(*changes_);
        EditorPlacement at{st.ZETTAIX0, st.ZETTAIY0, st.NOWX,
                           x() + tools_->Panel6->x() > st.ZETTAIX0 / 2};
        TForm25->openOn(screenshot, at);
    });
    connect(TForm25, &PictureEditorWindow::captureMenuRequested, capture_->PopupMenu4,
            [this](QPoint at) { capture_->PopupMenu4->popup(at); });

    connect(printer_, &WallPrinter::hideToolsRequested, this, [this] {
        MSswitch(false);
        tools_->XSHOW(false);
        tools_->SpeedButton7->hide();
    });
    connect(printer_, &WallPrinter::showToolsRequested, this, [this] {
        tools_->XSHOW(true);
        tools_->SpeedButton7->setVisible(st.KIJUNDIR != st.KIJUNDIRBAK);
    });
    printer_->setWindowsOver({TForm21, TForm2});
    connect(PopupMenu2->N20, &QAction::triggered, printer_, &WallPrinter::N20Click);
    connect(PopupMenu2->CSV1, &QAction::triggered, links_, &LinkRunner::CSV1Click);
    connect(PopupMenu2->N21, &QAction::triggered, links_, &LinkRunner::N21Click);
    connect(tools_->SpeedButton19, &QToolButton::clicked, links_, &LinkRunner::SpeedButton19Click);
    connect(links_, &LinkRunner::printRequested, printer_, &WallPrinter::N20Click);
}

void WallWindow::wireWeb() {
    // A file a link fetches that is there already: asked as for a project.
    webActions_->fetcher().fetchAnew = [this](const QString& destination) {
        TForm6->setWindowTitle(QFileInfo(destination).fileName());
        TForm6->exec();
        TForm6->setWindowTitle(QStringLiteral("Zavik"));
        return TForm6->tag() == StartOverDialog::Restart;
    };
    connect(webActions_, &WebLinkActions::playSound, MediaPlayer1, &MediaPlayerBar::openAndPlay);
    connect(webActions_, &WebLinkActions::copyAndStartProject, logo, &LogoStarter::copyAndStart);
    connect(webActions_, &WebLinkActions::startProject, logo,
            [this](const QString& project) { logo->SHELLTURXE(project, 0); });
    connect(webPane_, &WebPane::tuckRequested, modes_, &WindowModes::TAKO);
    connect(TForm23, &HelpBrowserWindow::startProgrammingRequested, logo,
            &LogoStarter::startNewProject);
}

void WallWindow::wireSettings() {
    connect(tools_->SpeedButton6, &QToolButton::clicked, this, &WallWindow::SpeedButton6Click);
    connect(TForm19, &SettingsDialog::showBackgroundRequested, this,
            [this](const QString& path) { pen_->KABEIMAGELOAD(path); });
    connect(TForm19, &SettingsDialog::writeBackgroundRequested, this, [this](int mode) {
        QString failure;
        if (!st.saver().KABEBACKSAVE(mode, &failure))
            reportProblems(QStringLiteral("背景の設定を保存できませんでした。"), {failure});
    });
    connect(TForm19, &SettingsDialog::clearBackgroundRequested, this,
            [this] { pen_->clearToNavy(); });
    connect(TForm19, &SettingsDialog::redrawCardsRequested, this, [this] { board_->ALLTEIJI(); });
    connect(TForm19, &SettingsDialog::pointFileWindowRequested, this,
            [this] { refreshFileWindow(); });
    connect(TForm19, &SettingsDialog::tuckRequested, modes_, &WindowModes::TAKO);
    connect(TForm19, &SettingsDialog::pageFolderChosen, TForm3, &CardEditorDialog::startPicturesIn);
    TForm19->openPageEditor = [this](const QString& path, int tag) {
        return TForm4->openPage(path, tag, st.KIJUNDIR);
    };
    connect(TForm4, &PageEditorWindow::pageWritten, this, [this] { refreshFileWindow(); });
    connect(TForm4, &PageEditorWindow::tuckRequested, modes_, &WindowModes::TAKO);
    TForm4->setMarkupAnswers({[this] { return TForm15->ask(); },
                              [this](const QString& base) { return TForm13->ask(base); }});
    connect(links_, &LinkRunner::pageEditRequested, this, [this](const QString& path) {
        TForm4->openPage(path, 1, st.KIJUNDIR);
        webPane_->showEditedPage(path);
    });
}

void WallWindow::SpeedButton6Click() {
    if (flags_.BUSY)
        return;
    tools_->prepareCommand();
    ChangeDetection::Pause pause(*changes_);
    TForm19->fillFrom(st.settings);
    if (TForm19->run() != 1)
        return;
    st.settings = TForm19->settings();
    const QStringList failed = st.saver().saveSettings();
    ALLCLEAR();
    flags_.SHOWFLG = true;
    SAITEIJI();
    if (!failed.isEmpty())
        reportProblems(
            QStringLiteral(
                "設定を保存できませんでした。ディスクの空きと書き込みの許可を確かめてください。"),
            failed);
}

void WallWindow::installShortcuts() {
    auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { OWARI(); });
    shortcut(QKeySequence(Qt::Key_F5), [this] { SpeedButton12Click(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left),
             [this] { navigator_->backAndHome(Qt::LeftButton); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Home),
             [this] { navigator_->backAndHome(Qt::RightButton); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), [this] { modes_->SpeedButton14Click(); });
    shortcut(QKeySequence(Qt::Key_F2), [this] { tools_->SpeedButton8Click(); });
}

void WallWindow::showOnScreen() {
    if (const QScreen* s = screen())
        setGeometry(s->geometry());
    showFullScreen();
}

void WallWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!formShown_) {
        formShown_ = true;
        windowHandle()->installEventFilter(this);
        FormShow();
    }
}

void WallWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void WallWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (formShown_)
        FormResize();
}

void WallWindow::FormShow() {
    flags_.TAKOFL = false;
    flags_.BUSY = false;
    st.KABEIMAGEOLDTIME = QStringLiteral("NIL");
    st.ZETTAIX0 = 0;
    st.ZETTAIY0 = 0;
    pen_->clearToNavy();
    st.MEMO = headerText();
    flags_.ListBox11.clear();
    flags_.SHOWFLG = true;
    st.clear();
    st.KABE3 = QStringLiteral("wall.ini");
    st.KABE2 = QStringLiteral("html.ini");
    st.KABE4 = QStringLiteral("dir.ini");
    st.KABEIMAGE.clear();
    st.KABEIMG.clear();
    st.KIJUNEX = folders_.KIJUNEX;
    st.KIJUNDIR = folders_.KIJUNDIR;
    ensureFolder(st.KIJUNDIR);
    st.KIJUNDIRBAK = st.KIJUNDIR;
    logo->dataFolder = st.KIJUNDIRBAK;
    logo->resourceFolder = st.KIJUNEX;
    Panel1->Timer5->start();
    FormResize();
}

void WallWindow::FormResize() {
    Panel2->setGeometry(rect());
    tools_->placeFixed(height());
    if (tools_->Panel6->y() == 0 || flags_.TAKOFL) {
        flags_.TAKOFL = false;
        return;
    }
    Panel2->setCursor(Qt::PointingHandCursor);
    pen_->Image1->setCursor(Qt::PointingHandCursor);
    if (flags_.SHOWFLG) {
        if (st.ZETTAIX0 == 0) {
            // The first resize can come before the window manager has made
            // the window full screen (or there is none): measure the screen.
            const QSize client = screen() ? screen()->geometry().size() : size();
            st.ZETTAIX0 = client.width();
            st.ZETTAIY0 = client.height();
        }
        const WallSize wall = wallSizeFor(st.ZETTAIX0, st.ZETTAIY0);
        st.NOWX = wall.NOWX;
        st.NOWY = wall.NOWY;
        pen_->clearToNavy();
        QFont hintFont(kWallFontFamily);
        hintFont.setPointSize(qMax(1, hintFontSize(st.NOWY)));
        QToolTip::setFont(hintFont);
    }
    Panel4->setGeometry(fileWindowRect(st.settings, st.NOWX, st.NOWY));
    SAITEIJI();
}

void WallWindow::SAITEIJI() {
    const WallSize wall = clampWallSize({st.NOWX, st.NOWY}, st.ZETTAIX0, st.ZETTAIY0);
    st.NOWX = wall.NOWX;
    st.NOWY = wall.NOWY;
    refreshFileWindow();
    flags_.BUSY = true;
    changes_->stop();
    tools_->place(height(), font(), devicePixelRatioF());
    MediaPlayer1->move(scaleToWallX(80, st.NOWX), scaleToWallY(8, st.NOWY));
    if (flags_.SHOWFLG) {
        flags_.XFLG = true;
        flags_.SHOWFLG = false;
        tools_->SpeedButton7->setVisible(st.KIJUNDIR != st.KIJUNDIRBAK);
        st.loader().KABELOAD();
        st.loader().PANELLOAD();
    }
    placeQuickEditor();
    changes_->start();
    flags_.BUSY = false;
}

void WallWindow::placeQuickEditor() {
    TForm18->placeTextArea(Panel2->mapToGlobal(QPoint(scaleToWallX(20, st.NOWX), st.NOWY / 2)));
}

void WallWindow::MATHU(const QString& text, int ms) {
    Panel1->MATHU(text, ms);
}

void WallWindow::OWARI() {
    if (flags_.BUSY)
        return;
    ChangeDetection::Pause pause(*changes_);
    bool everyCard = false;
    if (!QFileInfo(st.KIJUNDIR).isDir()) {
        // The wall folder went away while the wall was shown: its cards live
        // only on the screen now.
        QMessageBox gone(QMessageBox::Warning, QStringLiteral("Zavik"),
                         QStringLiteral("このかべのフォルダ「%1」がなくなっています。")
                             .arg(QDir::toNativeSeparators(st.KIJUNDIR)),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
        gone.setInformativeText(QStringLiteral(
            "はい：フォルダを作り直して、いま見えているカードを保存して終了します。\n"
            "いいえ：保存しないで終了します。\nキャンセル：終了しません。"));
        gone.setDefaultButton(QMessageBox::Cancel);
        const int answer = gone.exec();
        if (answer == QMessageBox::No) {
            close();
            return;
        }
        if (answer != QMessageBox::Yes)
            return;
        QDir().mkpath(st.KIJUNDIR);
        everyCard = true;
    }
    const WallSaver::ExitSave saved = st.saver().saveForExit(st.loader(), everyCard);
    if (!saved.failed.isEmpty()) {
        QMessageBox failed(QMessageBox::Warning, QStringLiteral("Zavik"),
                           QStringLiteral("保存できなかったものがあります："),
                           QMessageBox::Yes | QMessageBox::No, this);
        failed.setInformativeText(saved.failed.join(QLatin1Char('\n')) +
                                  QStringLiteral("\n\n保存しないまま終了しますか？"));
        failed.setDefaultButton(QMessageBox::No);
        if (failed.exec() != QMessageBox::Yes)
            return;
    }
    if (!saved.leftAlone.isEmpty()) {
        QMessageBox box(
            QMessageBox::Information, QStringLiteral("Zavik"),
            QStringLiteral("ほかのプログラムが変えたカードファイルは、そのままにしました："),
            QMessageBox::Ok, this);
        box.setInformativeText(saved.leftAlone.join(QLatin1Char('\n')));
        box.exec();
    }
    close();
}

void WallWindow::exitWithoutSaving() {
    if (flags_.BUSY)
        return;
    changes_->stop();
    close();
}

void WallWindow::ALLCLEAR() {
    TForm2->stop();
    if (TForm4->isVisible())
        TForm4->reject(); // its page belongs to the wall being cleared
    st.MEMO = headerText();
    st.settings.files.mask.clear();
    st.settings.web.page.clear();
    st.settings.files.label.clear();
    pen_->clearToNavy();
    st.KABEIMAGE.clear();
    st.KABEIMG.clear();
    st.clear();
}

void WallWindow::MSswitch(bool on) {
    pen_->MSswitch(on);
}

void WallWindow::SpeedButton12Click() {
    if (flags_.BUSY)
        return;
    tools_->prepareCommand();
    MediaPlayer1->closeAndHide();
    ALLCLEAR();
    flags_.SHOWFLG = true;
    SAITEIJI();
}

void WallWindow::N01Click() {
    if (flags_.BUSY)
        return;
    ChangeDetection::Pause pause(*changes_);
    ALLCLEAR();
    flags_.SHOWFLG = true;
    SAITEIJI();
}

bool WallWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == windowHandle() && type == QEvent::Expose && windowHandle()->isExposed()) {
        const QList<QPointer<QWidget>> waiting = std::exchange(pendingNotices_, {});
        for (const QPointer<QWidget>& notice : waiting)
            if (notice)
                showAboveWall(notice);
    }
    // The wall's own mouse: the tools follow it, or a finger's taps, and a
    // left press places a stamp.
    if ((watched == Panel2 || watched == pen_->Image1) &&
        (type == QEvent::MouseMove || type == QEvent::MouseButtonPress)) {
        const auto* e = static_cast<QMouseEvent*>(event);
        auto* on = static_cast<QWidget*>(watched);
        tools_->followWall(e, on->mapTo(this, e->position().toPoint()).x(), width());
        if (type == QEvent::MouseButtonPress && e->button() == Qt::LeftButton && watched == Panel2)
            links_->wallPress(e->position().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

QImage WallWindow::canvasImage() const {
    return pen_->canvasImage();
}

void WallWindow::followDocument() {
    connect(&st, &WallDocument::backgroundShown, pen_, &WallPen::KABEIMAGELOAD);
    connect(&st, &WallDocument::backgroundCleared, pen_, &WallPen::clearToNavy);
    connect(&st, &WallDocument::wallCursorChanged, this, [this](bool arrow) {
        Panel2->setCursor(arrow ? Qt::ArrowCursor : Qt::PointingHandCursor);
    });
    connect(&st, &WallDocument::fullWallNeeded, modes_, &WindowModes::restoreFullScreen);
    connect(&st, &WallDocument::webWindowShown, webPane_, &WebPane::KABEWEBLOAD);
    connect(&st, &WallDocument::webWindowHidden, webPane_, &WebPane::hidePane);
    connect(&st, &WallDocument::fileWindowShown, this,
            [this] { Panel4->showFor(st.settings, st.KIJUNDIR, st.NOWX, st.NOWY); });
    connect(&st, &WallDocument::fileWindowHidden, Panel4, &QWidget::hide);
    connect(&st, &WallDocument::filesChanged, this, &WallWindow::refreshFileWindow);
    connect(&st, &WallDocument::problems, this, &WallWindow::reportProblems);
}

void WallWindow::refreshFileWindow() {
    Panel4->refresh(st.KIJUNDIR, st.settings.files.mask);
}

void WallWindow::reportProblems(const QString& title, const QStringList& lines) {
    emit problemsReported(title, lines);
    // Problems found while one such notice is still open join it.
    if (problemBox_ && problemBox_->text() == title) {
        problemBox_->setInformativeText(problemBox_->informativeText() + QLatin1Char('\n') +
                                        lines.join(QLatin1Char('\n')));
        return;
    }
    // Not modal: change detection may find a damaged file at any moment,
    // and the wall must go on working behind the message.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Zavik"), title,
                                QMessageBox::Ok, this);
    problemBox_ = box;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(lines.join(QLatin1Char('\n')));
    box->setModal(false);
    showAboveWall(box);
}

void WallWindow::showAboveWall(QWidget* notice) {
    // A notice shown before the full-screen wall is on the screen ends up
    // stacked under it: it waits until the wall is exposed.
    if (!windowHandle() || !windowHandle()->isExposed()) {
        pendingNotices_.append(notice);
        return;
    }
    notice->show();
    notice->raise();
    notice->activateWindow();
}
