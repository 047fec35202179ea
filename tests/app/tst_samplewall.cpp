// The sample wall a new portable folder starts with, read by the ordinary
// loader: every card file reads without a message, every picture decodes,
// every link leads somewhere that exists, and the sample still shows what a
// wall can hold.
#include "model/linkrules.h"
#include "pictures/picturelayer.h"
#include "storage/pathforms.h"
#include "support/wallfixture.h"

#include <QDirIterator>
#include <QtTest>

namespace {

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QDir(from).relativeFilePath(path);
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QVERIFY2(QFile::copy(path, target), qPrintable(target));
    }
}

void verifyPicture(const QString& path) {
    const PictureRead read = readPicture(path);
    QVERIFY2(!read.image.isNull(), qPrintable(path + QStringLiteral(": ") + read.error));
}

} // namespace

class TestSampleWall : public QObject {
    Q_OBJECT
private slots:
    void everyWallLoadsAndEveryLinkLeadsSomewhere();
};

void TestSampleWall::everyWallLoadsAndEveryLinkLeadsSomewhere() {
    WallFixture w;
    copyFolder(QStringLiteral(ZAVIK_SAMPLE_WALL "/"), w.st().KIJUNDIRBAK);
    const auto isFile = [](const QString& p) { return QFileInfo(p).isFile(); };

    QSet<QString> seen; // what the walls show, by kind
    QStringList walls{w.st().KIJUNDIRBAK};
    for (int i = 0; i < walls.size(); ++i) {
        const QString wall = walls[i];
        w.st().clear();
        w.st().KIJUNDIR = wall;
        w.loader->PANELLOAD();
        QVERIFY2(w.surface.problems.isEmpty(), qPrintable(w.surface.problems.join('\n')));
        const qsizetype files = QDir(wall).entryList({"*.txt"}, QDir::Files).size();
        QCOMPARE(qsizetype(w.st().count()), files);

        const auto background = readPanelFile(wall + QStringLiteral("wall.ini"));
        QVERIFY2(background, qPrintable(wall));
        verifyPicture(ZETTAI(background->KABEIMAGE, wall, w.st().KIJUNDIRBAK));
        for (const QString& thumb : QDir(wall + "NAIL").entryList(QDir::Files))
            verifyPicture(wall + QStringLiteral("NAIL/") + thumb);

        for (const CardEntry& e : std::as_const(w.st().cards())) {
            const QString card = wall + e.FNAME;
            if (!e.POST.isEmpty()) {
                verifyPicture(ZETTAI(e.POST, wall, w.st().KIJUNDIRBAK));
                seen << QStringLiteral("picture");
            }
            if (e.STP == 1)
                seen << QStringLiteral("stamp");
            if (!e.KAKUSU.isEmpty() && e.KAKUSU != QLatin1String("0"))
                seen << QStringLiteral("check-off");
            if (!e.KFLG.isEmpty())
                seen << QStringLiteral("flash");
            if (!e.KSU.isEmpty())
                seen << QStringLiteral("mark");
            if (e.NOTE.isEmpty())
                continue;
            const LinkDecision link = decideLink(e.NOTE);
            if (link.action == LinkAction::Back) {
                seen << QStringLiteral("back");
                continue;
            }
            if (link.action == LinkAction::OpenFolder) {
                QVERIFY2(QFileInfo(ZETTAI(link.argument, wall, w.st().KIJUNDIRBAK)).isDir(),
                         qPrintable(card));
                seen << QStringLiteral("folder");
                continue;
            }
            QCOMPARE(link.action, LinkAction::Target);
            const TargetDecision t = decideTarget(e.NOTE, wall, w.st().KIJUNDIRBAK, isFile);
            QVERIFY2(QFileInfo::exists(t.path), qPrintable(card + " → " + t.path));
            switch (t.kind) {
            case TargetKind::Wall:
                if (!walls.contains(t.path))
                    walls << t.path;
                seen << QStringLiteral("wall");
                break;
            case TargetKind::Picture:
                seen << QStringLiteral("viewer");
                break;
            case TargetKind::Sound:
                seen << QStringLiteral("sound");
                break;
            case TargetKind::Logo:
                seen << QStringLiteral("logo");
                break;
            default:
                QFAIL(qPrintable(card + ": a link the sample should not hold"));
            }
        }
    }
    QVERIFY(walls.size() >= 2);
    const QSet<QString> wanted{"picture", "stamp", "check-off", "flash", "mark", "back",
                               "folder",  "wall",  "viewer",    "sound", "logo"};
    QVERIFY2(seen.contains(wanted), qPrintable(QStringList((wanted - seen).values()).join(", ")));
}

QTEST_MAIN(TestSampleWall)
#include "tst_samplewall.moc"
