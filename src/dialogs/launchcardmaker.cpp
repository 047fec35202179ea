#include "dialogs/launchcardmaker.h"

#include "cards/cardboard.h"
#include "cards/menuitems.h"
#include "dialogs/launchcards.h"
#include "model/wallstate.h"
#include "pictures/thumbnails.h"
#include "platform/beep.h"
#include "platform/desktopcopy.h"
#include "platform/shell.h"
#include "storage/htmlcopy.h"
#include "storage/refspace.h"
#include "storage/timestamp.h"
#include "storage/wallfiles.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The wall's own card and settings files, which a chosen file of the same
// name must not replace unasked.
bool isWallFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return QFileInfo(path).isFile() &&
           (suffix == QLatin1String("txt") || suffix == QLatin1String("ini"));
}

} // namespace

LaunchCardMaker::LaunchCardMaker(WallState& state, QWidget* wallWindow)
    : QDialog(wallWindow, Qt::Dialog | Qt::WindowStaysOnTopHint), st(state) {
    setObjectName(QStringLiteral("TForm24"));
    setModal(true);
    resize(384, 92 + 40);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setToolTip(QStringLiteral("この大きさで表示カードを作る"));
    QPalette blue = Memo1->palette();
    blue.setColor(QPalette::Base, QColor(0, 0, 255));
    Memo1->setPalette(blue);
    Memo1->setReadOnly(true);
    Memo1->installEventFilter(this);
    layout->addWidget(Memo1, 1);
    auto* bar = new QHBoxLayout;
    auto button = [this, bar](const char* name, const QString& caption, const QString& hint) {
        return addToolButton(this, bar, name, caption, hint);
    };
    SpeedButton2 = button("SpeedButton2", QStringLiteral("起動カード"),
                          QStringLiteral("ファイルをコピーして起動するカードを作成"));
    SpeedButton1 =
        button("SpeedButton1", QStringLiteral("起動　　"), QStringLiteral("ファイルを起動する"));
    SpeedButton5 = button("SpeedButton5", QStringLiteral("フォルダにコピー"),
                          QStringLiteral("作品フォルダにコピーする"));
    layout->addLayout(bar);
    connect(SpeedButton2, &QToolButton::clicked, this, &LaunchCardMaker::makeCards);
    connect(SpeedButton1, &QToolButton::clicked, this, &LaunchCardMaker::startFiles);
    connect(SpeedButton5, &QToolButton::clicked, this, &LaunchCardMaker::copyFiles);

    chooseFiles = [this](const QString& folder) {
        return QFileDialog::getOpenFileNames(
            this, QStringLiteral("ファイル"), folder,
            QStringLiteral("すべて (*);;画像 (*.jpeg *.jpg *.bmp);;動画 (*.avi *.wmv);;"
                           "TURX (*.trx)"));
    };
    ask = [this](const QString& question) {
        return QMessageBox::question(this, QStringLiteral("Zavik"), question) == QMessageBox::Yes;
    };
    tell = [this](const QString& text) {
        QMessageBox::warning(this, QStringLiteral("Zavik"), text);
    };
}

void LaunchCardMaker::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setWindowTitle(st.KIJUNDIR);
}

bool LaunchCardMaker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1 && event->type() == QEvent::Enter) {
        const QRect r = templateRect();
        Memo1->setToolTip(QStringLiteral("[横%1,縦%2]に%3×%4のカードを作る")
                              .arg(r.x())
                              .arg(r.y())
                              .arg(r.width())
                              .arg(r.height()));
    }
    return QDialog::eventFilter(watched, event);
}

QRect LaunchCardMaker::templateRect() const {
    const QRect wall = wallArea ? wallArea() : QRect();
    const QPoint at = Memo1->mapToGlobal(QPoint(0, 0)) - wall.topLeft();
    return QRect(at, Memo1->size());
}

QStringList LaunchCardMaker::chosen() {
    const QStringList files = chooseFiles ? chooseFiles(folder_) : QStringList();
    QStringList existing;
    for (const QString& f : files) {
        if (!QFileInfo(f).isFile())
            break; // the list ends at a file that is not there
        existing << f;
    }
    if (!existing.isEmpty())
        folder_ = QFileInfo(existing.first()).absolutePath();
    return existing;
}

bool LaunchCardMaker::copyTo(const QString& from, const QString& to, QStringList& failed) {
    // A file already where it should go is not copied onto itself; a card or
    // settings file of the wall is replaced only when the user says so.
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        return true;
    if (isWallFile(to) &&
        !(ask && ask(QStringLiteral("「%1」はこのかべのファイルです。置き換えますか？").arg(to))))
        return false;
    if (!copyOver(from, to)) {
        failed << to;
        return false;
    }
    return true;
}

void LaunchCardMaker::copyAlong(const QString& file, const QString& copy, QStringList& failed) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix.contains(QLatin1String("htm")))
        BACKUP(file, copy);
    if (suffix.contains(QLatin1String("tr"))) {
        const QString from = QFileInfo(file).absolutePath();
        for (const char* ext : {"wav", "mid"}) {
            const QString problem = ALLCOPY(from, st.KIJUNDIR, QLatin1String(ext));
            if (!problem.isEmpty())
                failed << problem;
        }
    }
}

void LaunchCardMaker::makeCards() {
    QStringList files = chosen();
    QStringList leftOut;
    QStringList usable;
    for (const QString& f : files) {
        if (linkReadsOtherwise(f) || st.cards.size() + usable.size() >= CardBoard::kMaxCards)
            leftOut << f;
        else
            usable << f;
    }
    const QRect first = templateRect();
    const QRect wall = wallArea ? wallArea() : QRect();
    const auto places = launchSlots(first, int(usable.size()), wall.size());
    if (!places) {
        zavikBeep();
        if (notice)
            notice(QStringLiteral("---　入りきりません　---"), 2000);
        return; // the maker stays open; nothing is made
    }
    QStringList failed;
    for (int i = 0; i < usable.size(); ++i) {
        const QString& file = usable[i];
        setWindowTitle(QFileInfo(file).absolutePath());
        LaunchCard c = planLaunchCard(file, st.KIJUNDIR);
        PosterRecord& r = c.card;
        r.FTIME = makeTimestamp();
        r.XS = toReferenceX(places->at(i).x(), st.NOWX);
        r.YS = toReferenceY(places->at(i).y(), st.NOWY);
        r.XXS = toReferenceX(first.width(), st.NOWX);
        r.YYS = toReferenceY(first.height(), st.NOWY);
        r.P += i;
        r.PT += i;
        r.R += i;
        // A copy that failed is named afterwards and the card is made all
        // the same; a wall file the user would not replace leaves it out.
        const qsizetype failures = failed.size();
        if (c.kind == LaunchKind::Picture) {
            QDir().mkpath(c.subWall);
            if (!copyTo(file, c.copy, failed) && failed.size() == failures)
                continue;
            copyTo(file, c.original, failed);
            NAILIMAGELOADMAKE2(file, r.POST, st.KIJUNDIR);
            PanelRecord background;
            background.KABEIMAGE = r.POST;
            background.KABEIMAGEOLDTIME = r.FTIME;
            if (!writePanelFile(c.subWall + QStringLiteral("wall.ini"), background))
                failed << c.subWall + QStringLiteral("wall.ini");
        } else if (copyTo(file, c.copy, failed)) {
            copyAlong(file, c.copy, failed);
        } else if (failed.size() == failures) {
            continue;
        }
        if (!writeCardFile(st.KIJUNDIR + r.FNAME, r))
            failed << st.KIJUNDIR + r.FNAME;
    }
    QStringList said;
    if (!leftOut.isEmpty())
        said << QStringLiteral("次のファイルはカードにしませんでした：") << leftOut;
    if (!failed.isEmpty())
        said << QStringLiteral("次のファイルをコピーできませんでした：") << failed;
    if (!said.isEmpty() && tell)
        tell(said.join(QLatin1Char('\n')));
    if (reloadWall)
        reloadWall();
    accept();
}

void LaunchCardMaker::startFiles() {
    for (const QString& file : chosen()) {
        if (QFileInfo(file).suffix().toLower().contains(QLatin1String("tr")) && startLogo) {
            if (notice)
                notice(QStringLiteral("TURXを起動・・・"), 4000);
            startLogo(file);
        } else {
            if (notice)
                notice(QFileInfo(file).fileName() + QStringLiteral("を起動・・・"), 4000);
            openWithShell(file);
        }
        if (tuck)
            tuck();
    }
}

void LaunchCardMaker::copyFiles() {
    QStringList failed;
    for (const QString& file : chosen()) {
        const QString copy = st.KIJUNDIR + QFileInfo(file).fileName();
        if (copyTo(file, copy, failed))
            copyAlong(file, copy, failed);
    }
    if (!failed.isEmpty() && tell)
        tell(QStringLiteral("次のファイルをコピーできませんでした：\n") +
             failed.join(QLatin1Char('\n')));
}
