// One of two Zavik programs on one wall folder, as on a school share: the
// real wall window, with its change detection running, makes edits for a
// while as a teacher would (drags, card saves, copies given a text of their
// own), then saves and exits. Every edit, everything the program told the
// user and how it ended go to a log for tst_sharedwall to check.
// Usage: sharedwall_peer <wall folder> <name> <milliseconds> <seed> <log>
//        [<file that appears when the other peer has exited>]
#include "app/wallwindow.h"
#include "cards/cardmenu.h"
#include "document/changedetection.h"
#include "document/walldocument.h"
#include "document/wallloader.h"
#include "storage/refspace.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTextStream>
#include <QTimer>

namespace {

qint64 now() {
    return QDateTime::currentMSecsSinceEpoch();
}

class Peer : public QObject {
public:
    Peer(WallWindow& wall, const QStringList& args)
        : wall_(wall), st_(wall.document()), name_(args[2]), until_(now() + args[3].toLongLong()),
          random_(args[4].toUInt()), log_(args[5]), otherDone_(args.value(6)) {
        log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
        connect(&wall_, &WallWindow::problemsReported, this,
                [this](const QString& title, const QStringList& lines) {
                    write({QStringLiteral("report"), title, lines.join(QLatin1Char('|'))});
                });
        // What change detection took from the other program.
        connect(&st_, &WallDocument::cardChanged, this, [this](int n, CardChange what) {
            if (what == CardChange::Rebuilt && !acting_)
                logPlace("seen", n);
        });
        connect(&st_, &WallDocument::cardAdded, this, [this](int n) {
            if (!acting_)
                logPlace("seen", n);
        });
        // The exit's own questions and notices are modal: they are answered
        // as a user would, going on and exiting, and logged as told.
        connect(&answer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            write({QStringLiteral("report"), box->text(),
                   box->informativeText().replace(QLatin1Char('\n'), QLatin1Char('|'))});
            if (box->button(QMessageBox::Yes))
                box->button(QMessageBox::Yes)->click();
            else
                box->accept();
        });
        answer_.start(20);
        connect(&edits_, &QTimer::timeout, this, &Peer::step);
        edits_.start(40);
        // Edits this fast keep restarting the wall's own two-second change
        // detection (a copy holds it): its pass runs on a timer of its own
        // here, more often, so that the two programs meet many times.
        connect(&looks_, &QTimer::timeout, this, [this] { wall_.changes().Timer2Timer(); });
        looks_.start(700);
    }

private:
    void write(const QStringList& fields) {
        QTextStream(&log_) << fields.join(QLatin1Char('\t')) << '\n';
        log_.flush();
    }
    void logPlace(const char* what, int n) {
        const QRect r = st_.card(n).rect;
        write({QLatin1String(what), st_.card(n).FNAME,
               QString::number(toReferenceX(r.x(), st_.NOWX)),
               QString::number(toReferenceY(r.y(), st_.NOWY)), st_.card(n).TT,
               QString::number(now())});
    }

    void step() {
        if (now() >= until_) {
            edits_.stop();
            looks_.stop();
            finish();
            return;
        }
        if (st_.count() == 0)
            return;
        acting_ = true;
        act();
        acting_ = false;
    }

    void act() {
        const int n = random_.bounded(st_.count());
        const int dice = random_.bounded(100);
        if (dice < 55) {
            const WallDocument::UserStep step(st_, QStringLiteral("カードの移動"));
            st_.setRect(
                n, QRect(QPoint(random_.bounded(st_.NOWX - 100), random_.bounded(st_.NOWY - 60)),
                         st_.card(n).rect.size()));
            logPlace("move", n);
        } else if (dice < 85) {
            st_.PBAN = n;
            wall_.cardMenu().saveCard();
            logPlace("save", n);
        } else if (dice < 88) {
            st_.PBAN = n;
            write({QStringLiteral("delete"), st_.card(n).FNAME, QString::number(now())});
            wall_.cardMenu().deleteCard();
        } else if (st_.count() < 200) {
            st_.PBAN = n;
            wall_.cardMenu().copyCard();
            const int copy = st_.PBAN;
            const CardEntry& e = st_.card(copy);
            const WallDocument::UserStep step(st_, QStringLiteral("カードに書く"));
            st_.setTexts(copy, e.KSU, QStringLiteral("%1-%2").arg(name_).arg(++made_), e.KFLG, e.S2,
                         e.NOTE);
            wall_.cardMenu().saveCard();
            logPlace("new", copy);
        }
    }

    void finish() {
        // The other program's exit is seen by one pass of change detection
        // before this one exits, as a running wall would see it.
        if (!otherDone_.isEmpty()) {
            if (!QFileInfo::exists(otherDone_)) {
                QTimer::singleShot(20, this, &Peer::finish);
                return;
            }
            st_.loader().changeDetectionTick();
        }
        write({QStringLiteral("exit"), QString::number(now())});
        wall_.OWARI();
        for (int n = 0; n < st_.count(); ++n)
            logPlace("held", n);
        write({QStringLiteral("done"), QString::number(now())});
        QCoreApplication::quit();
    }

    WallWindow& wall_;
    WallDocument& st_;
    QString name_;
    qint64 until_;
    QRandomGenerator random_;
    QFile log_;
    QString otherDone_;
    QTimer edits_;
    QTimer looks_;
    QTimer answer_;
    int made_ = 0;
    bool acting_ = false; // a change now is this program's own
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6)
        return 2;
    QString data = args[1];
    if (!data.endsWith(QLatin1Char('/')))
        data += QLatin1Char('/');
    WallWindow wall(WallFolders{data, data, data + QStringLiteral("../[Zavik]/")});
    wall.showOnScreen();
    Peer peer(wall, args);
    return app.exec();
}
