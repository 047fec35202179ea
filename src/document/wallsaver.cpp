#include "document/wallsaver.h"

#include "document/changedetection.h"
#include "document/walldocument.h"
#include "document/wallloader.h"
#include "document/wallsurface.h"
#include "pictures/picturelayer.h"
#include "storage/cardnames.h"
#include "storage/folderlisting.h"
#include "storage/pathforms.h"
#include "storage/refspace.h"
#include "storage/timestamp.h"
#include "storage/underscorecopy.h"
#include "storage/wallfiles.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Deletes a settings file the wall no longer has; false, with the reason,
// when it stays.
bool removeSettingsFile(const QString& path, QString* failure) {
    QFile file(path);
    if (file.remove())
        return true;
    if (failure)
        *failure = QStringLiteral("「%1」：%2").arg(path, file.errorString());
    return false;
}

} // namespace

WallSaver::WallSaver(WallDocument& doc) : st(doc) {}

bool WallSaver::PANELSAVE(int I, int N, QString* failure) {
    if (!st.has(I))
        return false;
    st.aboutToChange(I);
    CardEntry& e = st.entryForWriting(I);
    if (N == 2)
        e.FTIME = makeTimestamp();

    // The card's own texts, stamp and flash text as held; its paths in their
    // stored form, and where it stands now.
    PosterRecord r = e;
    r.POST = SOUTAI(e.POST, st.KIJUNDIR, st.KIJUNDIRBAK);
    r.NOTE = SOUTAI(e.NOTE, st.KIJUNDIR, st.KIJUNDIRBAK);
    r.FNAME = SOUTAI(e.FNAME, st.KIJUNDIR, st.KIJUNDIRBAK);
    r.XS = toReferenceX(e.rect.x(), st.NOWX);
    r.YS = toReferenceY(e.rect.y(), st.NOWY);
    r.XXS = toReferenceX(e.rect.width(), st.NOWX);
    r.YYS = toReferenceY(e.rect.height(), st.NOWY);
    // The stored codes carry the card's number in their lower three digits.
    r.P = e.colour * 1000 + I;
    r.PT = e.textColour * 1000 + I;
    r.R = e.shape * 1000 + I;
    r.KAKUSU = storedCheckOff(e.checkOff, e.KAKUSU);

    // A card goes back to the file it came from, whatever characters its
    // name holds; a name a user typed, or one that is no plain file name, is
    // cleaned.
    QString name = e.FNAME;
    if (!e.nameFromFile || name.contains(QLatin1Char('/')))
        name = cleanCardFileName(name);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (N <= 0 || (dot >= 0 ? name.left(dot) : name).isEmpty())
        return false;
    e.FNAME = name;
    QString error;
    if (!writeCard(e, r, &error)) {
        const QString line = QStringLiteral("「%1」：%2").arg(st.KIJUNDIR + e.FNAME, error);
        if (failure)
            *failure = line;
        else
            emit st.problems(QStringLiteral("カードを保存できません"), {line});
        return false;
    }
    e.nameFromFile = true;
    // What the file holds now is where the card was stored.
    e.XS = r.XS;
    e.YS = r.YS;
    e.XXS = r.XXS;
    e.YYS = r.YYS;
    e.P = r.P;
    e.PT = r.PT;
    e.R = r.R;
    e.KAKUSU = r.KAKUSU;
    e.unsaved = false;
    st.BAKNAME = e.FNAME;
    st.loader().noteWritten(e.FNAME);
    emit st.filesChanged();
    return true;
}

bool WallSaver::writeCard(CardEntry& e, PosterRecord& r, QString* error) {
    if (!e.newFile) {
        // Another program on the same wall (a share) saved this card since
        // it was read or written here: writing now would lose its save
        // unseen. Theirs
        // is taken at the next look, and the user is told.
        if (e.disk.exists() && QFileInfo::exists(st.KIJUNDIR + e.FNAME) &&
            st.loader().changedElsewhere(e)) {
            e.unsaved = false;
            st.loader().lookAgain(e.FNAME);
            *error = QStringLiteral("ほかのコンピューターかプログラムが先にこのカードを保存して"
                                    "いました。そちらに変わります（ここでの変更は保存されて"
                                    "いません）。");
            return false;
        }
        st.aboutToWrite(e.FNAME);
        return writeCardFile(st.KIJUNDIR + e.FNAME, r, error);
    }
    // A name made from the time may have been taken since it was chosen, by
    // another machine on the same wall: then the next free one.
    for (int tries = 0; tries < 100; ++tries) {
        r.FNAME = SOUTAI(e.FNAME, st.KIJUNDIR, st.KIJUNDIRBAK);
        bool taken = false;
        st.aboutToWrite(e.FNAME);
        if (writeNewCardFile(st.KIJUNDIR + e.FNAME, r, &taken, error)) {
            e.newFile = false;
            return true;
        }
        if (!taken)
            return false;
        e.FNAME = st.newCardFileName(e.FTIME);
    }
    return false;
}

QString WallSaver::backgroundPictureForDrawing() {
    auto newName = [] { return makeTimestamp() + QStringLiteral(".bmp"); };
    if (st.KABEIMAGE.isEmpty())
        st.KABEIMAGE = newName();
    QString path = ZETTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK);
    const QString ext = QFileInfo(path).suffix().toLower();
    const bool writable =
        ext == QLatin1String("bmp") || ext == QLatin1String("jpg") || ext == QLatin1String("jpeg");
    // A picture of another wall, or one we cannot write in its own format,
    // stays as it is: the drawing becomes a new picture of this wall.
    if (!path.startsWith(st.KIJUNDIR) || !writable) {
        st.KABEIMAGE = newName();
        path = st.KIJUNDIR + st.KABEIMAGE;
    }
    return path;
}

bool WallSaver::writeWallIni(const QString& stamp, QString* failure) {
    const QString wall = st.KIJUNDIR + st.KABE3;
    PanelRecord r{SOUTAI(st.KABEIMAGE, st.KIJUNDIR, st.KIJUNDIRBAK), stamp};
    QString error;
    const bool written = writePanelFile(wall, r, &error);
    if (written)
        st.KABEIMAGEOLDTIME = stamp;
    else if (failure)
        *failure = QStringLiteral("「%1」：%2").arg(wall, error);
    st.BAKNAME = wall;
    return written;
}

void withdrawBackground(WallDocument& st) {
    st.loader().dropLooksUnderWay();
    emit st.backgroundCleared();
    QFile::remove(st.KIJUNDIR + st.KABE3);
    st.KABEIMAGEOLDTIME = QStringLiteral("NIL");
    st.KABEIMAGE.clear();
    st.KABEIMG.clear();
}

bool WallSaver::KABEBACKSAVE(int N, QString* failure) {
    st.loader().dropLooksUnderWay();
    emit st.fullWallNeeded();
    bool written = true;
    if (N == 3) {
        withdrawBackground(st);
    } else if (N == 4) {
        if (st.KABEIMAGE.isEmpty())
            st.KABEIMAGE = makeTimestamp() + QStringLiteral(".bmp");
        written = writeWallIni(makeTimestamp(), failure);
    } else if (N == 1) {
        // The picture is written only when the wall was drawn on: writing
        // the canvas back otherwise would crop and shrink the user's photo.
        if (st.canvasDrawn) {
            const QString path = backgroundPictureForDrawing();
            QString error;
            // The untouched original stays beside it; without it the picture
            // is not drawn over.
            if (!keepUnderscoreCopy(path)) {
                written = false;
                if (failure)
                    *failure =
                        QStringLiteral("「%1」：元の画像を残せません").arg(underscoreCopyOf(path));
            } else if (writePicture(st.surface() ? st.surface()->canvasImage() : QImage(), path,
                                    100, &error)) {
                st.canvasDrawn = false;
                emit st.backgroundPictureWritten();
            } else {
                written = false;
                if (failure)
                    *failure = QStringLiteral("「%1」：%2").arg(path, error);
            }
        }
        if (written && !st.KABEIMAGE.isEmpty())
            written = writeWallIni(makeTimestamp(), failure);
    }
    emit st.filesChanged();
    return written;
}

bool WallSaver::KABEWEBSAVE(const QString& page, QString* failure) {
    QString W = page;
    if (!W.contains(QLatin1Char('/')))
        W = W.mid(folderPart(W).size());
    st.loader().dropLooksUnderWay();
    const QString html = st.KIJUNDIR + st.KABE2;
    if (!W.contains(QLatin1Char('.'))) {
        if (QFileInfo::exists(html)) {
            emit st.webWindowHidden();
            return removeSettingsFile(html, failure);
        }
        return true;
    }
    UrlRecord r = st.settings.web;
    r.page = W;
    r.WEBOLDTIME = makeTimestamp();
    QString error;
    const bool written = writeUrlFile(html, r, &error);
    if (!written && failure)
        *failure = QStringLiteral("「%1」：%2").arg(html, error);
    emit st.filesChanged();
    return written;
}

bool WallSaver::KABEDIRMAKE(QString* failure) {
    st.loader().dropLooksUnderWay();
    const QString dir = st.KIJUNDIR + st.KABE4;
    if (st.settings.files.mask.isEmpty()) {
        if (QFileInfo::exists(dir)) {
            emit st.fileWindowHidden();
            return removeSettingsFile(dir, failure);
        }
        return true;
    }
    st.settings.files.DIROLDTIME = makeTimestamp();
    const MaskRecord r = st.settings.files;
    QString error;
    const bool written = writeMaskFile(dir, r, &error);
    if (!written && failure)
        *failure = QStringLiteral("「%1」：%2").arg(dir, error);
    emit st.fileWindowShown();
    return written;
}

QStringList WallSaver::saveSettings() {
    QStringList failed;
    QString failure;
    if (!KABEBACKSAVE(1, &failure))
        failed << failure;
    if (!KABEWEBSAVE(st.settings.web.page, &failure))
        failed << failure;
    if (!KABEDIRMAKE(&failure))
        failed << failure;
    if (!KABEWEBSAVE(st.settings.web.page, &failure))
        failed << failure;
    failed.removeDuplicates();
    return failed;
}

WallSaver::ExitSave WallSaver::saveForExit(WallLoader& loader, bool everyCard) {
    // A look at the folder under way ends first, and is not taken: the
    // cards are written after it, each checked against its file here.
    st.changes().endLook();
    ExitSave result;
    QString failure;
    if (!KABEBACKSAVE(1, &failure))
        result.failed << failure;
    for (int i = 0; i < st.count(); ++i) {
        if (st.card(i).checkOff == CheckOff::LinkMoved)
            loader.REPANELLOAD(i, st.card(i).FNAME);
        const bool collapsed = st.card(i).checkOff == CheckOff::Collapsed;
        // A collapsed check-off card is written full size, to come back
        // collapsed at the next start.
        if (collapsed)
            st.expandToStoredSize(i);
        // A file someone else changed since it was read is theirs to keep.
        const CardEntry& e = st.card(i);
        bool saved = false;
        if (!everyCard && loader.changedElsewhere(e)) {
            result.leftAlone << e.FNAME;
        } else if (!PANELSAVE(i, 1, &failure)) {
            result.failed << failure;
        } else {
            saved = true;
        }
        if (collapsed) // the wall stays as it was, should the user go on with it
            st.collapse(i, saved);
    }
    return result;
}
