#include "dialogs/launchcardmaker.h"

#include "cards/cardboard.h"
#include "cards/menuitems.h"
#include "dialogs/launchcards.h"
#include "document/walldocument.h"
#include "pictures/thumbnails.h"
#include "platform/beep.h"
#include "platform/shell.h"
#include "storage/htmlcopy.h"
#include "storage/timestamp.h"
#include "storage/wallfiles.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace {

// A file that could not be written, and why, for the user.
QString failure(const QString& path, const QString& why) {
    return QStringLiteral("%1（%2）").arg(QDir::toNativeSeparators(path), why);
}

} // namespace

LaunchCardMaker::LaunchCardMaker(WallDocument& doc, QWidget* wallWindow)
    : QDialog(wallWindow, Qt::Dialog | Qt::WindowStaysOnTopHint), st(doc) {
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
    FileRequest request;
    request.mode = FileRequest::OpenMany;
    request.title = QStringLiteral("ファイル");
    request.folder = folder_;
    request.filter = QStringLiteral("すべて (*);;画像 (*.jpeg *.jpg *.bmp);;動画 (*.avi *.wmv);;"
                                    "TURX (*.trx)");
    const QStringList files = prompts_->chooseFiles(request);
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

QList<FileCopy> LaunchCardMaker::Job::writes() const {
    QList<FileCopy> all = copies;
    for (const QString& target : written)
        all << FileCopy{file, target};
    return all;
}

LaunchCardMaker::Job LaunchCardMaker::copyJob(const QString& file, const QString& copy) const {
    Job job;
    job.file = file;
    job.copies << FileCopy{file, copy};
    const QString from = QFileInfo(file).absolutePath() + QLatin1Char('/');
    const QString to = QFileInfo(copy).absolutePath() + QLatin1Char('/');
    QStringList along;
    if (QFileInfo(file).suffix().toLower().contains(QLatin1String("htm")))
        along = BACKUPFiles(file);
    if (isLogoProject(file))
        along = QDir(from).entryList({QStringLiteral("*.wav"), QStringLiteral("*.mid")},
                                     QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QString& name : along)
        job.copies << FileCopy{from + name, to + name};
    return job;
}

QList<LaunchCardMaker::Job> LaunchCardMaker::settle(const QList<Job>& jobs, QStringList& leftOut,
                                                    const QString& ifNot) {
    QHash<QString, QString> source; // what the batch writes, and where from
    QList<Job> unique;
    QList<QStringList> replacing; // by each of them
    QStringList replaced;
    for (const Job& job : jobs) {
        const QList<FileCopy> writes = job.writes();
        // Two chosen files may share what goes along (the sounds of one
        // folder), never a card or a copy of their own.
        const bool clash = std::any_of(writes.cbegin(), writes.cend(), [&](const FileCopy& c) {
            const auto by = source.constFind(c.to);
            return by != source.cend() && *by != c.from;
        });
        if (clash) {
            leftOut << job.file;
            continue;
        }
        for (const FileCopy& c : writes)
            source.insert(c.to, c.from);
        unique << job;
        replacing << filesReplaced(writes);
        replaced << replacing.last();
    }
    replaced.removeDuplicates();
    if (replaced.isEmpty() || prompts_->ask(replaceQuestion(replaced, st.KIJUNDIR, ifNot)))
        return unique;
    QList<Job> keeping;
    for (qsizetype i = 0; i < unique.size(); ++i)
        if (replacing[i].isEmpty())
            keeping << unique[i];
    return keeping;
}

bool LaunchCardMaker::runCopies(const Job& job, QStringList& failed) {
    for (const FileCopy& c : job.copies) {
        QDir().mkpath(QFileInfo(c.to).absolutePath());
        QString why;
        const CopyResult result = copies.copy(c.from, c.to, &why);
        if (result == CopyResult::Cancelled)
            return false;
        if (result == CopyResult::Failed)
            failed << failure(c.to, why);
    }
    return true;
}

void LaunchCardMaker::makeCards() {
    QStringList leftOut;
    QList<Job> jobs;
    for (const QString& f : chosen()) {
        if (linkReadsOtherwise(f) || st.count() + jobs.size() >= WallDocument::kMaxCards) {
            leftOut << f;
            continue;
        }
        const LaunchCard c = planLaunchCard(f, st.KIJUNDIR);
        Job job;
        if (c.kind == LaunchKind::Picture) {
            job.file = f;
            job.copies = {FileCopy{f, c.copy}, FileCopy{f, c.original}};
            job.written << c.subWall + QStringLiteral("wall.ini");
        } else {
            job = copyJob(f, c.copy);
        }
        job.written << st.KIJUNDIR + c.card.FNAME;
        job.card = c;
        jobs << job;
    }
    const QRect first = templateRect();
    const QRect wall = wallArea ? wallArea() : QRect();
    const auto places = launchSlots(first, int(jobs.size()), wall.size());
    if (!places) {
        zavikBeep();
        emit noticeRequested(QStringLiteral("---　入りきりません　---"), 2000);
        return; // the maker stays open; nothing is made
    }
    // The places are those of the first cards of the scheme, whichever
    // files the question leaves out.
    jobs =
        settle(jobs, leftOut, QStringLiteral("それらを残し、そのファイルのカードは作りません。"));
    QStringList failed;
    QStringList cancelled;
    // The whole batch is one step.
    std::optional<WallDocument::UserStep> step(std::in_place, st, QStringLiteral("起動カード"));
    for (int i = 0; i < jobs.size(); ++i) {
        const Job& job = jobs[i];
        setWindowTitle(QFileInfo(job.file).absolutePath());
        if (!runCopies(job, failed)) {
            for (int j = i; j < jobs.size(); ++j)
                cancelled << jobs[j].file;
            break;
        }
        // A copy that failed is named afterwards; the card is made all the
        // same.
        CardEntry p = job.card.card;
        p.FTIME = makeTimestamp();
        p.rect.moveLeft(places->at(i).x());
        p.rect.moveTop(places->at(i).y());
        p.rect.setWidth(first.width());
        p.rect.setHeight(first.height());
        if (job.card.kind == LaunchKind::Picture) {
            NAILIMAGELOADMAKE2(job.file, p.POST, st.KIJUNDIR);
            PanelRecord background;
            background.KABEIMAGE = p.POST;
            background.KABEIMAGEOLDTIME = p.FTIME;
            const QString wallIni = job.card.subWall + QStringLiteral("wall.ini");
            QString why;
            if (!writePanelFile(wallIni, background, &why))
                failed << failure(wallIni, why);
        }
        st.PanelMake(1, p);
    }
    step.reset();
    QStringList said;
    if (!leftOut.isEmpty())
        said << QStringLiteral("次のファイルはカードにしませんでした：") << leftOut;
    if (!cancelled.isEmpty())
        said << QStringLiteral("コピーを取り消したので、次のファイルはカードにしませんでした：")
             << cancelled;
    if (!failed.isEmpty())
        said << QStringLiteral("次のファイルをコピーできませんでした：") << failed;
    if (!said.isEmpty())
        prompts_->tell(said.join(QLatin1Char('\n')));
    emit reloadWallRequested();
    accept();
}

void LaunchCardMaker::startFiles() {
    for (const QString& file : chosen()) {
        // Without the LOGO environment a project goes to the desktop, as
        // every other file does.
        if (isLogoProject(file) && logoInstalled && logoInstalled()) {
            emit noticeRequested(QStringLiteral("TURXを起動・・・"), 4000);
            emit startLogoRequested(file);
        } else {
            emit noticeRequested(QFileInfo(file).fileName() + QStringLiteral("を起動・・・"), 4000);
            openWithShell(file);
        }
        emit tuckRequested();
    }
}

void LaunchCardMaker::copyFiles() {
    QList<Job> jobs;
    for (const QString& file : chosen())
        jobs << copyJob(file, st.KIJUNDIR + QFileInfo(file).fileName());
    QStringList leftOut;
    jobs = settle(jobs, leftOut, QStringLiteral("それらを残し、そのファイルはコピーしません。"));
    QStringList failed;
    QStringList said;
    for (const Job& job : jobs) {
        if (!runCopies(job, failed)) {
            said << QStringLiteral("コピーを取り消しました：") + job.file;
            break;
        }
    }
    if (!leftOut.isEmpty())
        said
            << QStringLiteral(
                   "同じ名前のファイルがほかにも選ばれたので、次のファイルはコピーしませんでした：")
            << leftOut;
    if (!failed.isEmpty())
        said << QStringLiteral("次のファイルをコピーできませんでした：") << failed;
    if (!said.isEmpty())
        prompts_->tell(said.join(QLatin1Char('\n')));
}
