#include "app/wallwindow.h"

#include "app/linkrules.h"
#include "app/logostarter.h"
#include "app/mediaplayerbar.h"
#include "app/restorewindow.h"
#include "app/toolcolumnlayout.h"
#include "app/toolglyphs.h"
#include "cards/cardboard.h"
#include "cards/cardmenu.h"
#include "cards/cardmouse.h"
#include "cards/cardwidget.h"
#include "cards/menuitems.h"
#include "cards/textplacing.h"
#include "dialogs/folderchooserdialog.h"
#include "dialogs/startovercanceldialog.h"
#include "dialogs/startoverdialog.h"
#include "drawing/flashwindow.h"
#include "drawing/pictureviewerwindow.h"
#include "model/bgrcolor.h"
#include "model/wallgeometry.h"
#include "pictures/backgroundfit.h"
#include "pictures/picturelayer.h"
#include "platform/beep.h"
#include "platform/desktopcopy.h"
#include "platform/folders.h"
#include "platform/fonts.h"
#include "platform/shell.h"
#include "storage/folderlisting.h"
#include "storage/pathforms.h"
#include "storage/recorderror.h"
#include "storage/refspace.h"
#include "storage/stagefilter.h"
#include "storage/wallfiles.h"
#include "wall/wallloader.h"
#include "wall/wallsaver.h"
#include "web/helpbrowserwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// Buttons and the grab tab sized by the layout pass keep these below it.
constexpr int kStripWidth = 10;   // SpeedButton26
constexpr int kCaptureSide = 40;  // SpeedButton27
constexpr int kNoticeHeight = 36; // Panel1
constexpr int kNoticeCharWidth = 16;

QTimer* makeTimer(QObject* parent, const char* name, int interval) {
    auto* t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    return t;
}

} // namespace

WallWindow::WallWindow(const QString& executablePath, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), executablePath_(executablePath) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Zavik"));
    setFont(QFont(kWallFontFamily));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, bgrColor(kNavy));
    setPalette(pal);
    setAutoFillBackground(true);

    TForm6 = new StartOverDialog(this);
    TForm27 = new StartOverCancelDialog(this);

    Timer1 = makeTimer(this, "Timer1", 300);
    Timer1->setSingleShot(true);
    Timer2 = makeTimer(this, "Timer2", 2000);
    Timer3 = makeTimer(this, "Timer3", 500);
    Timer5 = makeTimer(this, "Timer5", 1000);
    Timer6 = makeTimer(this, "Timer6", 4000);
    Timer7 = makeTimer(this, "Timer7", 2000);
    connect(Timer5, &QTimer::timeout, this, [this] {
        Timer5->stop();
        Panel1->hide();
    });

    buildControls();

    board_ = std::make_unique<CardBoard>(st, Panel2);
    loader_ = std::make_unique<WallLoader>(st, *board_, *this);
    saver_ = std::make_unique<WallSaver>(st, *board_, *this);
    board_->saveCard = [this](int index) { saver_->PANELSAVE(index, 1); };
    board_->stopChangeDetection = [this] { Timer2->stop(); };
    board_->startChangeDetection = [this] { Timer2->start(); };
    saver_->written = [this](const QString& name) { loader_->noteWritten(name); };
    connect(Timer2, &QTimer::timeout, this, &WallWindow::Timer2Timer);

    cardMenu_ = new CardMenu(st, *board_, this);
    cardMenu_->reloadCard = [this](int index, const QString& name) {
        loader_->REPANELLOAD(index, name);
    };
    cardMenu_->writeCard = [this](int index, int mode) { return saver_->PANELSAVE(index, mode); };
    cardMenu_->closeFlash = [this] { TForm2->stop(); };
    cardMenu_->restartChangeDetection = [this] { Timer2->start(); };
    mouse_ = new CardMouse(st, *board_, this);
    board_->cardCreated = [this](CardWidget* c) {
        connect(c, &CardWidget::pressed, mouse_, &CardMouse::press);
        connect(c, &CardWidget::moved, mouse_, &CardMouse::move);
        connect(c, &CardWidget::released, mouse_, &CardMouse::release);
    };
    connect(mouse_, &CardMouse::runCard, this, &WallWindow::JIKKOU);
    connect(mouse_, &CardMouse::penOff, this, &WallWindow::MSswitchOff);
    connect(mouse_, &CardMouse::oneShotDisarmed, this, [this] { SpeedButton8->setChecked(false); });
    connect(mouse_, &CardMouse::cardMenuRequested, this, [this](QPoint at) {
        emit cardMenuRequested(at);
        cardMenu_->PopupMenu1->popup(at);
    });

    TForm2 = new FlashWindow(this);
    TForm21 = new PictureViewerWindow(this);
    TForm23 = new HelpBrowserWindow(this);
    TForm26 = new FolderChooserDialog(this);
    TForm20 = new RestoreWindow(this);
    connect(TForm20, &RestoreWindow::restoreRequested, this, &WallWindow::restoreWall);
    logo = new LogoStarter(TForm6, this);
}

WallWindow::~WallWindow() = default;

QToolButton* WallWindow::makeToolButton(const char* name, const QString& hint) {
    auto* b = new QToolButton(Panel2);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setToolTipDuration(3000);
    b->setAutoRaise(false);
    b->setFocusPolicy(Qt::NoFocus);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

void WallWindow::buildControls() {
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setCursor(Qt::PointingHandCursor);

    Image1 = new QLabel(Panel2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setCursor(Qt::PointingHandCursor);

    Panel4 = new QWidget(Panel2);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setAutoFillBackground(true);
    // The file window keeps the desktop's own colours, its caption a title
    // bar in the wall's navy.
    QPalette filePalette = QApplication::palette();
    filePalette.setColor(QPalette::Window, bgrColor(kNavy));
    filePalette.setColor(QPalette::WindowText, Qt::white);
    Panel4->setPalette(filePalette);
    Label1 = new QLabel(Panel4);
    Label1->setObjectName(QStringLiteral("Label1"));
    FileListBox2 = new QListWidget(Panel4);
    FileListBox2->setObjectName(QStringLiteral("FileListBox2"));
    auto* fileColumn = new QVBoxLayout(Panel4);
    fileColumn->setContentsMargins(2, 2, 2, 2);
    fileColumn->setSpacing(2);
    fileColumn->addWidget(Label1);
    fileColumn->addWidget(FileListBox2);
    Panel4->hide();

    SpeedButton1 = makeToolButton("SpeedButton1", QStringLiteral("終了・メニュー"));
    SpeedButton5 = makeToolButton("SpeedButton5", QStringLiteral("フォルダを開く"));
    SpeedButton5->setToolButtonStyle(Qt::ToolButtonTextOnly);
    SpeedButton7 = makeToolButton("SpeedButton7", QStringLiteral("左もどる/右HOME"));
    SpeedButton7->hide();
    SpeedButton16 = makeToolButton("SpeedButton16", QStringLiteral("数字ノート"));
    SpeedButton25 =
        makeToolButton("SpeedButton25", QStringLiteral("左：プログラミング　／右：クリックで新規"));
    SpeedButton14 = makeToolButton("SpeedButton14", QStringLiteral("かくす"));
    SpeedButton8 =
        makeToolButton("SpeedButton8", QStringLiteral("1回だけ、左クリックを右クリックとする"));
    SpeedButton6 = makeToolButton("SpeedButton6", QStringLiteral("背景の設定"));
    SpeedButton4 = makeToolButton("SpeedButton4", QStringLiteral("カードを作る"));
    SpeedButton19 = makeToolButton("SpeedButton19", QStringLiteral("表示カードを作る"));
    SpeedButton12 = makeToolButton("SpeedButton12", QStringLiteral("再表示"));
    SpeedButton2 = makeToolButton("SpeedButton2", QStringLiteral("背景に線画"));
    SpeedButton10 = makeToolButton("SpeedButton10", QStringLiteral("5秒後に全画面に線画"));
    SpeedButton3 = makeToolButton("SpeedButton3", QStringLiteral("背景の線画を消す"));
    SpeedButton23 = makeToolButton("SpeedButton23", QStringLiteral("タイマーで画面の切取り"));
    SpeedButton26 = makeToolButton(
        "SpeedButton26",
        QStringLiteral("画面ドラッグ（右クリックでフィット）　下のアンコウで画面の切取り"));
    SpeedButton26->setAutoRaise(true);
    SpeedButton26->setBackgroundRole(QPalette::Window);
    SpeedButton26->setAutoFillBackground(true);
    SpeedButton27 = makeToolButton("SpeedButton27", QStringLiteral("キャプチャー"));
    SpeedButton27->setAutoRaise(true);

    Panel6 = new QWidget(Panel2);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->move(0, 1); // anywhere but the top: a tab at 0, 0 means "tucked"
    SpeedButton11 = new QToolButton(Panel6);
    SpeedButton11->setObjectName(QStringLiteral("SpeedButton11"));
    SpeedButton11->setText(QStringLiteral("Zavik"));
    SpeedButton11->setToolTip(QStringLiteral("画面のドラッグ（右クリックでフィット）"));
    SpeedButton11->setToolTipDuration(3000);
    SpeedButton11->setFocusPolicy(Qt::NoFocus);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    QPalette silver = Panel1->palette();
    silver.setColor(QPalette::Window, bgrColor(kSilver));
    Panel1->setPalette(silver);
    Panel1->setAutoFillBackground(true);
    SpeedButton9 = new QToolButton(Panel1);
    SpeedButton9->setObjectName(QStringLiteral("SpeedButton9"));
    SpeedButton9->setAutoRaise(true);
    SpeedButton9->setFocusPolicy(Qt::NoFocus);
    Panel1->hide();

    MediaPlayer1 = new MediaPlayerBar(Panel2);

    // The number notes: ten sub-walls "ノート00" to "ノート69" under each
    // of seven sub-menus.
    PopupMenu5 = new QMenu(this);
    PopupMenu5->setObjectName(QStringLiteral("PopupMenu5"));
    for (int tens = 0; tens < 7; ++tens) {
        QMenu* sub = PopupMenu5->addMenu(QString::number(tens));
        for (int ones = 0; ones < 10; ++ones) {
            const QString nn = QStringLiteral("%1%2").arg(tens).arg(ones);
            QAction* item = sub->addAction(nn);
            item->setObjectName(QStringLiteral("note") + nn);
            connect(item, &QAction::triggered, this,
                    [this, nn] { BBUNKI(QStringLiteral("ノート") + nn + QLatin1Char('/')); });
        }
    }
    connect(SpeedButton16, &QToolButton::clicked, this, [this] {
        prepareCommand();
        const QPoint cursor = mapFromGlobal(QCursor::pos());
        PopupMenu5->popup(QPoint(x() + cursor.x() - 150, y() + cursor.y()));
    });
    SpeedButton7->installEventFilter(this);
    connect(FileListBox2, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { FileListBox2Click(item ? item->text() : QString()); });

    buildMainMenu();
    connectToolButtons();
    installShortcuts();
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
    st.TAKOFL = false;
    st.BUSY = false;
    st.KABEIMAGEOLDTIME = QStringLiteral("NIL");
    st.ZETTAIX = 1920;
    st.ZETTAIY = 1080;
    st.ZETTAIX0 = 0;
    st.ZETTAIY0 = 0;
    Image2 = QImage();
    Image1->setGeometry(0, 0, st.NOWX, st.NOWY);
    st.MSON2 = false;
    st.MEMO = headerText();
    st.ListBox11.clear();
    st.SHOWFLG = true;
    st.cards.clear();
    st.PBAN = 0;
    st.PBANSU = 0;
    st.KABE3 = QStringLiteral("wall.ini");
    st.KABE2 = QStringLiteral("html.ini");
    st.KABE4 = QStringLiteral("dir.ini");
    st.KABEIMAGE.clear();
    st.KABEIMG.clear();
    const WallFolders folders = deriveFolders(executablePath_);
    st.KIJUNEX = folders.KIJUNEX;
    st.KIJUNDIR = folders.KIJUNDIR;
    // Without a data folder the wall is simply empty.
    ensureFolder(st.KIJUNDIR);
    st.KIJUNDIRBAK = st.KIJUNDIR;
    logo->dataFolder = st.KIJUNDIRBAK;
    logo->resourceFolder = st.KIJUNEX;
    Timer5->start();
    FormResize();
}

void WallWindow::placeFixedControls() {
    const int h = height();
    SpeedButton27->setGeometry(0, h - 2 * kCaptureSide, kCaptureSide, kCaptureSide);
    SpeedButton26->setGeometry(0, -30 - 2 * kCaptureSide, kStripWidth, 2 * h);
    SpeedButton27->raise();
}

void WallWindow::FormResize() {
    Panel2->setGeometry(rect());
    placeFixedControls();
    if (Panel6->y() == 0 || st.TAKOFL) {
        st.TAKOFL = false;
        return;
    }
    Panel2->setCursor(Qt::PointingHandCursor);
    Image1->setCursor(Qt::PointingHandCursor);
    if (st.SHOWFLG) {
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
        Image1->setGeometry(0, 0, st.NOWX, st.NOWY);
        Image2 = QImage(qMax(1, st.NOWX), qMax(1, st.NOWY), QImage::Format_RGB32);
        Image2.fill(bgrColor(kNavy));
        paintCanvas();
        QFont hintFont(kWallFontFamily);
        hintFont.setPointSize(qMax(1, hintFontSize(st.NOWY)));
        QToolTip::setFont(hintFont);
    }
    Panel4->setGeometry(fileWindowRect(st.settings, st.NOWX, st.NOWY));
    SAITEIJI();
}

void WallWindow::paintCanvas() {
    QPixmap canvas(qMax(1, st.NOWX), qMax(1, st.NOWY));
    canvas.fill(bgrColor(kNavy));
    Image1->setPixmap(canvas);
}

void WallWindow::SAITEIJI() {
    const WallSize wall = clampWallSize({st.NOWX, st.NOWY}, st.ZETTAIX0, st.ZETTAIY0);
    st.NOWX = wall.NOWX;
    st.NOWY = wall.NOWY;
    refreshFileWindow();
    st.BUSY = true;

    const int side = toolButtonSide(st.NOWY);
    const QList<QToolButton*> column{SpeedButton1,  SpeedButton7,  SpeedButton16, SpeedButton25,
                                     SpeedButton14, SpeedButton8,  SpeedButton6,  SpeedButton4,
                                     SpeedButton19, SpeedButton12, SpeedButton2,  SpeedButton10,
                                     SpeedButton3,  SpeedButton23};
    for (QToolButton* b : column) {
        b->resize(side, side);
        b->setIconSize(QSize(side - 6, side - 6));
        b->setIcon(toolGlyph(b->objectName(), side - 6, devicePixelRatioF()));
    }
    Panel6->resize(side, qMax(18, scaleToWallY(32, st.NOWY)));
    SpeedButton11->setGeometry(Panel6->rect());
    QFont tabFont = font();
    tabFont.setPixelSize(qMax(8, Panel6->height() * 2 / 5));
    SpeedButton11->setFont(tabFont);
    SpeedButton27->setIcon(
        toolGlyph(QStringLiteral("SpeedButton27"), kCaptureSide - 4, devicePixelRatioF()));
    SpeedButton27->setIconSize(QSize(kCaptureSide - 4, kCaptureSide - 4));
    QPalette strip = SpeedButton26->palette();
    strip.setBrush(QPalette::Window,
                   QBrush(toolGlyph(QStringLiteral("SpeedButton26"), kStripWidth)));
    SpeedButton26->setPalette(strip);

    // The folder button names the wall folder below the data folder.
    QString below = st.KIJUNDIR;
    if (below.startsWith(st.KIJUNDIRBAK))
        below = below.mid(st.KIJUNDIRBAK.size());
    SpeedButton5->setText(below);
    SpeedButton5->setToolTip(below + QStringLiteral("フォルダを開く"));
    const FolderButtonGeometry folder =
        folderButtonGeometry(int(below.size()), st.NOWY, st.ZETTAIX0, SpeedButton1->width());
    SpeedButton5->setGeometry(folder.rect);
    QFont folderFont = font();
    folderFont.setPointSize(qMax(1, folder.fontSize));
    SpeedButton5->setFont(folderFont);

    Timer2->stop();

    ToolColumnInput in;
    in.ZETTAIX0 = st.ZETTAIX0;
    in.NOWY = st.NOWY;
    in.clientHeight = height();
    in.panel6Height = Panel6->height();
    for (QToolButton* b : column)
        in.widths[b->objectName()] = b->width();
    const QHash<QString, QPoint> at = toolColumnPositions(in);
    for (QToolButton* b : column)
        b->move(at.value(b->objectName()));
    Panel6->move(at.value(QStringLiteral("Panel6")));
    MediaPlayer1->move(scaleToWallX(80, st.NOWX), scaleToWallY(8, st.NOWY));

    if (st.SHOWFLG) {
        st.XFLG = true;
        st.SHOWFLG = false;
        SpeedButton7->setVisible(st.KIJUNDIR != st.KIJUNDIRBAK);
        loadWall();
    }

    Timer2->start();
    st.BUSY = false;
}

void WallWindow::loadWall() {
    loader_->KABELOAD();
    loader_->PANELLOAD();
}

void WallWindow::MATHU(const QString& text, int ms) {
    const int width = kNoticeCharWidth * int(text.size());
    Panel1->resize(width, kNoticeHeight);
    SpeedButton9->setGeometry(Panel1->rect());
    SpeedButton9->setText(text);
    Panel1->move((this->width() - width) / 2, (height() - kNoticeHeight) / 2);
    Panel1->show();
    Panel1->raise();
    Timer5->setInterval(ms);
    Timer5->start();
}

void WallWindow::TAKO() {
    if (pos() == QPoint(0, 0))
        return;
    st.TAKOFL = true;
    // Window managers refuse windows moved off the screen, so the window
    // becomes the tab's size at the corner rather than sliding out of view.
    const int tabW = Panel6->width();
    const int tabH = Panel6->height();
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    Panel6->move(0, 0);
    showNormal();
    setGeometry(st.ZETTAIX0 - tabW, st.ZETTAIY0 - tabH - 2, tabW, tabH + 2);
    for (QWidget* w : {static_cast<QWidget*>(Panel6), static_cast<QWidget*>(SpeedButton10),
                       static_cast<QWidget*>(SpeedButton11), static_cast<QWidget*>(SpeedButton26),
                       static_cast<QWidget*>(SpeedButton27)})
        w->show();
    Panel6->raise();
}

void WallWindow::openMainMenu() {
    const QPoint at(x() + st.NOWX - 350, SpeedButton1->y() + y());
    PopupMenu2->popup(at);
}

void WallWindow::OWARI() {
    Timer2->stop();
    saver_->KABEBACKSAVE(1);
    QStringList leftAlone;
    for (int i = 0; i < board_->count() && i < st.cards.size(); ++i) {
        CardEntry& e = st.cards[i];
        if (e.KAKUSU == QLatin1String("3"))
            loader_->REPANELLOAD(i, e.FNAME);
        if (e.KAKUSU == QLatin1String("2")) {
            // A collapsed check-off card is written full size, to come back
            // collapsed at the next start.
            e.KAKUSU = QStringLiteral("1");
            try {
                const auto records = readCardFile(st.KIJUNDIR + e.FNAME);
                if (!records.isEmpty())
                    board_->card(i)->resize(toPixelsX(records.last().XXS, st.NOWX),
                                            toPixelsY(records.last().YYS, st.NOWY));
            } catch (const RecordError&) {
            }
        }
        // A file someone else changed since it was read is theirs to keep.
        if (signatureOf(st.KIJUNDIR + e.FNAME) != e.disk) {
            leftAlone << e.FNAME;
            continue;
        }
        saver_->PANELSAVE(i, 1);
    }
    if (!leftAlone.isEmpty()) {
        QMessageBox box(
            QMessageBox::Information, QStringLiteral("Zavik"),
            QStringLiteral("ほかのプログラムが変えたカードファイルは、そのままにしました："),
            QMessageBox::Ok, this);
        box.setInformativeText(leftAlone.join(QLatin1Char('\n')));
        box.exec();
    }
    close();
}

void WallWindow::ALLCLEAR() {
    TForm2->stop();
    st.MEMO = headerText();
    st.settings.fileMask.clear();
    st.settings.webPage.clear();
    st.settings.fileLabel.clear();
    clearBackground();
    st.KABEIMAGE.clear();
    st.KABEIMG.clear();
    board_->clear();
}

void WallWindow::Timer2Timer() {
    Timer2->stop();
    loader_->changeDetectionTick();
    Timer2->start();
}

void WallWindow::KABEIMAGELOAD(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        clearBackground();
        return;
    }
    st.KABEIMG = path;
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext != QLatin1String("bmp") && ext != QLatin1String("jpg") &&
        ext != QLatin1String("jpeg") && ext != QLatin1String("gif"))
        return;
    st.KABEIMAGE = path;
    const QImage canvas = composeBackground(path, st.NOWX, st.NOWY, bgrColor(kNavy));
    st.MSON2 = true;
    st.canvasDrawn = false;
    Image1->setGeometry(0, 0, st.NOWX, st.NOWY);
    Image1->setPixmap(QPixmap::fromImage(canvas));
    Image2 = canvas;
}

void WallWindow::clearBackground() {
    Image1->setGeometry(0, 0, st.NOWX, st.NOWY);
    paintCanvas();
    Image2 = QImage(qMax(1, st.NOWX), qMax(1, st.NOWY), QImage::Format_RGB32);
    Image2.fill(bgrColor(kNavy));
    st.MSON2 = false;
    st.canvasDrawn = false;
}

QImage WallWindow::canvasImage() const {
    return Image1->pixmap().toImage();
}

void WallWindow::setWallCursor(bool arrow) {
    Panel2->setCursor(arrow ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

void WallWindow::KABEWEBLOAD(const QString& page) {
    // The page is kept for the web window, which shows it once it exists.
    webPage_ = page;
}

void WallWindow::hideWebWindow() {
    webPage_.clear();
}

void WallWindow::showFileWindow() {
    const WindowSettings& s = st.settings;
    Label1->setText(s.fileLabel + QLatin1Char('(') + s.fileMask + QLatin1Char(')'));
    Panel4->setGeometry(fileWindowRect(s, st.NOWX, st.NOWY));
    refreshFileWindow();
    Panel4->show();
}

void WallWindow::hideFileWindow() {
    Panel4->hide();
}

void WallWindow::refreshFileWindow() {
    FileListBox2->clear();
    if (st.settings.fileMask.isEmpty())
        return;
    if (const auto names = listMatchingFiles(st.KIJUNDIR, st.settings.fileMask))
        FileListBox2->addItems(*names);
}

void WallWindow::reportProblems(const QString& title, const QStringList& lines) {
    emit problemsReported(title, lines);
    // Not modal: change detection may find a damaged file at any moment,
    // and the wall must go on working behind the message.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Zavik"), title,
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(lines.join(QLatin1Char('\n')));
    box->setModal(false);
    box->show();
}

void WallWindow::exitWithoutSaving() {
    Timer2->stop();
    close();
}

bool WallWindow::eventFilter(QObject* watched, QEvent* event) {
    // The back button answers both mouse buttons: left back, right home.
    if (watched == SpeedButton7 && event->type() == QEvent::MouseButtonRelease) {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (SpeedButton7->rect().contains(e->position().toPoint()))
            backAndHome(e->button());
        SpeedButton7->setDown(false);
        return true;
    }
    if ((watched == SpeedButton11 || watched == SpeedButton26) &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
         event->type() == QEvent::MouseButtonRelease))
        return tabEvent(event);
    if (watched == SpeedButton25 && event->type() == QEvent::MouseButtonRelease) {
        const auto* e = static_cast<QMouseEvent*>(event);
        SpeedButton25->setDown(false);
        if (!SpeedButton25->rect().contains(e->position().toPoint()))
            return true;
        MSswitchOff();
        if (e->button() == Qt::RightButton || st.RFLGK) {
            st.RFLGK = false;
            SpeedButton8->setChecked(false);
            MATHU(QStringLiteral("TURXを起動・・・"), 4000);
            logo->SHELLTURXE2(QString());
            TAKO();
        } else {
            const QString page = st.KIJUNEX + QStringLiteral("プログラミングHOME/index.html");
            if (QFileInfo(page).isFile())
                TForm23->showPage(page);
            else
                MATHU(QStringLiteral("プログラミングのページは準備中です"), 3000);
        }
        return true;
    }
    if ((watched == Panel2 || watched == Image1) && event->type() == QEvent::MouseMove) {
        const auto* e = static_cast<QMouseEvent*>(event);
        wallMouseMove(static_cast<QWidget*>(watched)->mapTo(this, e->position().toPoint()).x());
    }
    if ((watched == Panel2 || watched == Image1) && event->type() == QEvent::MouseButtonPress) {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton)
            wallPress(static_cast<QWidget*>(watched)->mapTo(Panel2, e->position().toPoint()));
    }
    return QWidget::eventFilter(watched, event);
}

void WallWindow::MSswitchOff() {
    st.MSON = false;
}

void WallWindow::XSHOW(bool on) {
    st.XFLG = on;
    for (QWidget* w : std::initializer_list<QWidget*>{
             SpeedButton1, SpeedButton19, Panel6, SpeedButton10, SpeedButton12, SpeedButton23,
             SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6, SpeedButton8,
             SpeedButton11, SpeedButton26, SpeedButton27, SpeedButton14, SpeedButton16,
             SpeedButton25})
        w->setVisible(on);
}

QString WallWindow::bareName(const QString& path) const {
    return QFileInfo(path).fileName();
}

void WallWindow::handToShell(const QString& path, const QString& notice, int ms, bool tuck) {
    MATHU(notice, ms);
    openWithShell(path);
    if (tuck)
        TAKO();
}

void WallWindow::JIKKOU(int n) {
    TForm2->stop();
    if (st.BUSY || n < 0 || n >= st.cards.size() || n >= board_->count())
        return;
    const CardEntry e = st.cards[n];
    // The stage switch first, for its effect on the counters.
    const StageSwitch stage = STANA2(e.NOTE, st.ST1, st.ST2);
    if (stage.changed) {
        st.ST1 = stage.ST1;
        st.ST2 = stage.ST2;
        board_->ALLTEIJI();
    }
    QString link = STANA(e.NOTE, st.ST1, st.ST2);
    if (e.KAKUSU == QLatin1String("1")) {
        st.cards[n].KAKUSU = QStringLiteral("2");
        board_->card(n)->resize(20, 20);
        board_->card(n)->setCollapsed(true);
    } else if (e.KAKUSU == QLatin1String("2")) {
        loader_->REPANELLOAD(n, e.FNAME);
        st.cards[n].KAKUSU = QStringLiteral("1");
        return;
    }
    if (e.STP == 1) {
        // The card that armed stamping is remembered: a press on another
        // card in between must not change what is stamped.
        st.POM = true;
        POMCARD = n;
        return;
    }
    st.POM = false;
    POMCARD = -1;
    const QString flash = STANA(e.KFLG, st.ST1, st.ST2);
    if (!flash.isEmpty()) {
        CardWidget* c = board_->card(n);
        const int lines = board_->lineCount(flash);
        link = TForm2->showFlash(flash, c->panelTag / 1000, c->textColour(), link,
                                 QPoint(mouse_->PGKX, mouse_->PGKY), geometry(), lines, st.NOWY,
                                 &st.RFLGK);
    }
    if (!link.isEmpty())
        JIKKOU2(link);
}

void WallWindow::showWall(const QString& folder) {
    Timer2->stop();
    ALLCLEAR();
    st.KIJUNDIR = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    QDir().mkpath(st.KIJUNDIR);
    st.SHOWFLG = true;
    SAITEIJI();
    Timer2->start();
}

void WallWindow::BBUNKI(const QString& D) {
    if (st.BUSY)
        return;
    st.RFLGK = false;
    SpeedButton8->setChecked(false);
    MSswitchOff();
    st.ListBox11.append(st.KIJUNDIR);
    showWall(st.KIJUNDIR + withSlashes(D));
}

void WallWindow::goBack() {
    showWall(navigateBack(st.ListBox11, st.KIJUNDIRBAK));
}

void WallWindow::goHome() {
    showWall(navigateHome(st.ListBox11, st.DIRPOINT, st.KIJUNDIRBAK));
}

void WallWindow::goToMark() {
    showWall(navigateToMark(st.ListBox11, st.DIRPOINT, st.KIJUNDIRBAK));
}

void WallWindow::backAndHome(Qt::MouseButton button) {
    if (st.BUSY)
        return;
    MediaPlayer1->closeAndHide();
    prepareCommand();
    Image1->setCursor(Qt::PointingHandCursor);
    if (button == Qt::RightButton) {
        goHome();
    } else {
        clearBackground();
        goBack();
    }
}

void WallWindow::JIKKOU2(const QString& L) {
    MediaPlayer1->closeAndHide();
    st.KAKUDAI = 1.0;
    const LinkDecision d = decideLink(L);
    switch (d.action) {
    case LinkAction::ExitWithoutSaving:
        if (!st.BUSY)
            exitWithoutSaving();
        return;
    case LinkAction::SaveAndExit:
        if (!st.BUSY)
            OWARI();
        return;
    case LinkAction::BackToMark:
        goToMark();
        return;
    case LinkAction::Home:
        goHome();
        return;
    case LinkAction::Back:
        goBack();
        return;
    case LinkAction::CopyToDesktop: {
        const DesktopCopy copy = desktopCopyFor(L, st.KIJUNDIR);
        FDL(this, copy.source, copy.name);
        return;
    }
    case LinkAction::OpenFolder:
        MSswitchOff();
        st.RFLGK = false;
        SpeedButton8->setChecked(false);
        handToShell(st.KIJUNDIR + withSlashes(d.argument),
                    QStringLiteral("エクスプローラーを起動・・・"), 3000);
        return;
    case LinkAction::Print:
    case LinkAction::Csv:
        // Printing and the CSV export come with their own commands.
        return;
    case LinkAction::Background: {
        const QString picture = ZETTAI(d.argument, st.KIJUNDIR, st.KIJUNDIRBAK);
        if (QFileInfo(picture).isFile())
            KABEIMAGELOAD(picture);
        return;
    }
    case LinkAction::CardCommand: {
        const int n = st.PBAN;
        if (n < 0 || n >= board_->count())
            return;
        if (!d.card.n) {
            QMessageBox::warning(this, QStringLiteral("Zavik"),
                                 QStringLiteral("リンク「%1」の数字「%2」が整数ではありません。")
                                     .arg(L, d.card.rest));
            return;
        }
        CardWidget* c = board_->card(n);
        const CardGeometry g =
            applyCardCommand({c->x(), c->y(), c->width(), c->height()}, d.card, mouse_->CARDX,
                             mouse_->CARDY, mouse_->CARDW, mouse_->CARDH);
        const bool collapsed = st.cards[n].KAKUSU == QLatin1String("2");
        c->setGeometry(g.left, g.top, g.width, g.height);
        const QChar k = d.card.kind;
        const bool resizes = k == QLatin1Char('W') || k == QLatin1Char('w') ||
                             k == QLatin1Char('H') || k == QLatin1Char('h');
        if (resizes && !collapsed)
            board_->CardSize(); // the 16-pixel floors before anything is written
        if (!collapsed)
            st.cards[n].KAKUSU = QStringLiteral("3");
        // A collapsed check-off card is written with its full size and state.
        if (d.card.save)
            cardMenu_->saveCard();
        return;
    }
    case LinkAction::Target:
        break;
    }

    const TargetDecision t = decideTarget(L, st.KIJUNDIR, st.KIJUNDIRBAK,
                                          [](const QString& p) { return QFileInfo(p).isFile(); });
    st.KAKUDAI = t.zoom;
    switch (t.kind) {
    case TargetKind::Beep:
        zavikBeep();
        return;
    case TargetKind::Picture: {
        // A picture that does not decode opens no viewer (a second click on
        // an open list still closes it).
        if (TForm21->list() != t.pictureList || !TForm21->isOpen()) {
            const QString first = t.pictureList.section(QLatin1Char('&'), 0, 0);
            if (readPicture(first, [](QSize) { return QSize(1, 1); }).image.isNull()) {
                zavikBeep();
                return;
            }
        }
        const int n = st.PBAN;
        const QColor colour =
            n >= 0 && n < board_->count() ? board_->card(n)->fillColour() : bgrColor(kSilver);
        TForm21->openLink(L, t.pictureList, colour, st.KAKUDAI, QPoint(mouse_->PGKX, mouse_->PGKY),
                          QSize(st.NOWX, st.NOWY), geometry());
        return;
    }
    case TargetKind::Sound:
        MediaPlayer1->move(scaleToWallX(80, st.NOWX), MediaPlayer1->y());
        MediaPlayer1->openAndPlay(t.path);
        return;
    case TargetKind::Page:
        TForm23->showPage(t.path);
        return;
    case TargetKind::Logo:
        MATHU(bareName(t.path) + QStringLiteral("を起動・・・"), 4000);
        logo->copyAndStart(t.path);
        TAKO();
        return;
    case TargetKind::OtherFile:
        handToShell(t.path, bareName(t.path) + QStringLiteral("を起動・・・"), 3000);
        return;
    case TargetKind::Wall:
        if (t.markReturn)
            st.DIRPOINT = st.KIJUNDIR;
        st.ListBox11.append(st.KIJUNDIR);
        showWall(t.path);
        return;
    case TargetKind::WebAddress:
        handToShell(t.path, QStringLiteral("エクスプローラーを起動・・・"), 3000);
        return;
    case TargetKind::Nothing:
        return;
    }
}

void WallWindow::FileListBox2Click(const QString& name) {
    if (name.isEmpty()) {
        zavikBeep();
        return;
    }
    Timer2->stop();
    // Outside changes are followed again once the click's action is done.
    struct Restart {
        QTimer* timer;
        ~Restart() { timer->start(); }
    } restart{Timer2};
    const QString path = st.KIJUNDIR + name;
    if (!QFileInfo(path).isFile())
        return;
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("wav") || ext == QLatin1String("wma") || ext == QLatin1String("mp3")) {
        MediaPlayer1->openAndPlay(path);
    } else if (ext == QLatin1String("trx") || ext == QLatin1String("tr2")) {
        MATHU(name + QStringLiteral("を起動・・・"), 4000);
        logo->copyAndStart(path);
    } else {
        // Pages the page editor wrote open in it once it is there; until
        // then every page goes to the desktop's browser.
        handToShell(path, name + QStringLiteral("を起動・・・"), 4000, false);
    }
}

void WallWindow::buildMainMenu() {
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->setToolTipsVisible(true);
    QAction* help = addItem(PopupMenu2, "Zavik2", QStringLiteral("HELP"));
    N21 = addItem(PopupMenu2, "N21", QStringLiteral("フォルダ構成"));
    notYet(N21, QStringLiteral("データフォルダのフォルダ構成を表示します"));
    QAction* desk = addItem(PopupMenu2, "N67", QStringLiteral("フォルダ→【マイデスク】[>DL]"));
    QMenu* form = PopupMenu2->addMenu(QStringLiteral("   ウィンドウ形式の変更"));
    form->menuAction()->setObjectName(QStringLiteral("N24"));
    QAction* bordered = addItem(form, "N2", QStringLiteral("ボーダーつき画面"));
    QAction* borderless = addItem(form, "N5", QStringLiteral("ボーダー無し画面"));
    N01 = addItem(PopupMenu2, "N01", QStringLiteral("未提案の☆を消す"));
    CSV1 = addItem(PopupMenu2, "CSV1", QStringLiteral("カード情報をCSV保存[>CSV]"));
    notYet(CSV1, QStringLiteral("このかべのカードをCSVファイルに書き出します"));
    N20 = addItem(PopupMenu2, "N20", QStringLiteral("画面を印刷[>PRN]"));
    notYet(N20, QStringLiteral("かべを印刷します"));
    N3 = addItem(PopupMenu2, "N3", QStringLiteral("保存して終了[<<]"));
    N32 = addItem(PopupMenu2, "N32", QStringLiteral("保存しないで終了[<<<]"));

    connect(help, &QAction::triggered, this, [this] {
        MATHU(QStringLiteral("Zavik WEBページを起動・・・"), 1000);
        const QString page = st.KIJUNEX + QStringLiteral("ZavikHELP/index.html");
        if (QFileInfo(page).isFile())
            openWithShell(page);
        else
            QMessageBox::information(this, QStringLiteral("Zavik"),
                                     QStringLiteral("ヘルプのページ（%1）が見つかりません。")
                                         .arg(QDir::toNativeSeparators(page)));
        TAKO();
    });
    connect(desk, &QAction::triggered, this, [this] { JIKKOU2(QStringLiteral(">DL")); });
    connect(bordered, &QAction::triggered, this, [this] { setBordered(true); });
    connect(borderless, &QAction::triggered, this, [this] { setBordered(false); });
    connect(N01, &QAction::triggered, this, &WallWindow::N01Click);
    connect(N3, &QAction::triggered, this, [this] {
        if (!st.BUSY)
            OWARI();
    });
    connect(N32, &QAction::triggered, this, [this] {
        if (!st.BUSY)
            exitWithoutSaving();
    });
}

void WallWindow::connectToolButtons() {
    connect(SpeedButton1, &QToolButton::clicked, this, [this] {
        if (st.BUSY)
            return;
        prepareCommand();
        openMainMenu();
    });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] {
        prepareCommand();
        handToShell(st.KIJUNDIR, QStringLiteral("エクスプローラーを起動・・・"), 3000);
    });
    connect(SpeedButton14, &QToolButton::clicked, this, &WallWindow::SpeedButton14Click);
    SpeedButton8->setCheckable(true);
    connect(SpeedButton8, &QToolButton::clicked, this, &WallWindow::SpeedButton8Click);
    connect(SpeedButton12, &QToolButton::clicked, this, &WallWindow::SpeedButton12Click);
    // The programming button answers both mouse buttons.
    SpeedButton25->installEventFilter(this);
    SpeedButton11->installEventFilter(this);
    SpeedButton26->installEventFilter(this);
    Panel2->installEventFilter(this);
    Image1->installEventFilter(this);
    Panel2->setMouseTracking(true);
    Image1->setMouseTracking(true);
    // Commands whose windows come later: present, greyed, with their hints.
    for (QToolButton* b : {SpeedButton6, SpeedButton4, SpeedButton19, SpeedButton2, SpeedButton10,
                           SpeedButton3, SpeedButton23, SpeedButton27})
        b->setEnabled(false);
}

void WallWindow::installShortcuts() {
    auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
        if (!st.BUSY)
            OWARI();
    });
    shortcut(QKeySequence(Qt::Key_F5), [this] { SpeedButton12Click(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { backAndHome(Qt::LeftButton); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Home), [this] { backAndHome(Qt::RightButton); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), [this] { SpeedButton14Click(); });
    shortcut(QKeySequence(Qt::Key_F2), [this] { SpeedButton8Click(); });
}

void WallWindow::prepareCommand() {
    MSswitchOff();
    st.RFLGK = false;
    SpeedButton8->setChecked(false);
}

void WallWindow::SpeedButton12Click() {
    if (st.BUSY)
        return;
    prepareCommand();
    MediaPlayer1->closeAndHide();
    ALLCLEAR();
    st.SHOWFLG = true;
    SAITEIJI();
}

void WallWindow::N01Click() {
    if (st.BUSY)
        return;
    Timer2->stop();
    ALLCLEAR();
    st.SHOWFLG = true;
    SAITEIJI();
    Timer2->start();
}

void WallWindow::SpeedButton14Click() {
    if (st.BUSY)
        return;
    prepareCommand();
    // Window managers keep windows on the screen: the wall hides instead of
    // sliding up out of view.
    hide();
    TForm20->move(0, 0);
    TForm20->show();
    TForm20->raise();
}

void WallWindow::restoreWall() {
    st.TAKOFL = true;
    setGeometry(0, 0, st.ZETTAIX0, st.ZETTAIY0);
    showFullScreen();
    raise();
    activateWindow();
}

void WallWindow::SpeedButton8Click() {
    if (st.BUSY)
        return;
    st.RFLGK = !st.RFLGK;
    SpeedButton8->setChecked(st.RFLGK);
    zavikBeep();
}

void WallWindow::setBordered(bool bordered) {
    // Changing the window's frame hides it; it is shown again at once.
    setWindowFlag(Qt::FramelessWindowHint, !bordered);
    if (bordered) {
        showMaximized();
    } else {
        setGeometry(0, 0, st.ZETTAIX0, st.ZETTAIY0);
        showFullScreen();
    }
}

void WallWindow::tuckOrUntuck() {
    st.TAKOFL = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    const int tabW = Panel6->width();
    const int tabH = Panel6->height();
    if (pos() != QPoint(0, 0)) {
        // Untuck: the full screen again, the tab back at its corner.
        setGeometry(0, 0, st.ZETTAIX0, st.ZETTAIY0);
        showFullScreen();
        Panel6->move(st.ZETTAIX0 - tabW - 2, st.ZETTAIY0 - tabH);
    } else {
        // Tuck: only the tab shows, near the top right corner.
        Panel6->move(0, 0);
        showNormal();
        setGeometry(st.ZETTAIX0 - tabW, 2, tabW, tabH);
        for (QWidget* w : std::initializer_list<QWidget*>{Panel6, SpeedButton10, SpeedButton11,
                                                          SpeedButton26, SpeedButton27})
            w->show();
        Panel6->raise();
    }
}

bool WallWindow::tabEvent(QEvent* event) {
    auto* e = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        Timer6->stop();
        Panel6->raise();
        if (e->button() == Qt::RightButton) {
            tuckOrUntuck();
        } else {
            FBAK = true;
            FXBAK = int(e->globalPosition().x()) - x();
            FYBAK = int(e->globalPosition().y()) - y();
        }
        return true;
    case QEvent::MouseMove:
        if (FBAK)
            move(int(e->globalPosition().x()) - FXBAK, int(e->globalPosition().y()) - FYBAK);
        return true;
    case QEvent::MouseButtonRelease:
        FBAK = false;
        return true;
    default:
        return false;
    }
}

void WallWindow::wallMouseMove(int x) {
    // Round(width − 160 × NOWX / 1920), computed exactly.
    const int right = scaleHalfEven(qint64(width()) * 1920 - 160LL * st.NOWX, 1, 1920);
    const bool middle = scaleToWallX(80, st.NOWX) <= x && x <= right;
    if (middle == st.XFLG)
        XSHOW(!middle);
}

void WallWindow::wallPress(QPoint at) {
    if (!st.POM)
        return;
    st.POM = false;
    const int B = POMCARD;
    POMCARD = -1;
    if (B < 0 || B >= board_->count())
        return;
    CardWidget* c = board_->card(B);
    board_->PCOPY(B, at.x(), at.y(), c->width(), c->height(), 2);
    Timer2->start();
}
