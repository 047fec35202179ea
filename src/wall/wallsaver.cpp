#include "wall/wallsaver.h"

#include "cards/cardboard.h"
#include "cards/cardwidget.h"
#include "model/wallstate.h"
#include "pictures/picturelayer.h"
#include "storage/cardnames.h"
#include "storage/folderlisting.h"
#include "storage/pathforms.h"
#include "storage/refspace.h"
#include "storage/timestamp.h"
#include "storage/underscorecopy.h"
#include "storage/wallfiles.h"
#include "wall/wallloader.h"
#include "wall/wallsurface.h"

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

WallSaver::WallSaver(WallState& state, CardBoard& board, WallSurface& surface)
    : st(state), board_(board), surface_(surface) {}

bool WallSaver::PANELSAVE(int I, int N, QString* failure) {
    if (I < 0 || I >= st.cards.size() || I >= board_.count())
        return false;
    CardEntry& e = st.cards[I];
    const CardWidget* c = board_.card(I);
    if (N == 2)
        e.FTIME = makeTimestamp();

    PosterRecord r;
    r.POST = SOUTAI(e.POST, st.KIJUNDIR, st.KIJUNDIRBAK);
    r.XS = toReferenceX(c->x(), st.NOWX);
    r.YS = toReferenceY(c->y(), st.NOWY);
    r.XXS = toReferenceX(c->width(), st.NOWX);
    r.YYS = toReferenceY(c->height(), st.NOWY);
    r.P = c->panelTag;
    r.PT = c->textTags[0];
    r.STP = e.STP;
    r.R = c->pictureTag;
    r.S2 = e.S2;
    r.NOTE = SOUTAI(e.NOTE, st.KIJUNDIR, st.KIJUNDIRBAK);
    r.TT = e.TT;
    r.FNAME = SOUTAI(e.FNAME, st.KIJUNDIR, st.KIJUNDIRBAK);
    r.FTIME = e.FTIME;
    r.KFLG = e.KFLG;
    r.KSU = e.KSU;
    r.KAKUSU = e.KAKUSU;

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
            surface_.reportProblems(QStringLiteral("カードを保存できません"), {line});
        return false;
    }
    e.nameFromFile = true;
    st.BAKNAME = e.FNAME;
    if (written)
        written(e.FNAME);
    surface_.refreshFileWindow();
    return true;
}

bool WallSaver::writeCard(CardEntry& e, PosterRecord& r, QString* error) {
    if (!e.newFile)
        return writeCardFile(st.KIJUNDIR + e.FNAME, r, error);
    // A name made from the time may have been taken since it was chosen, by
    // another machine on the same wall: then the next free one.
    for (int tries = 0; tries < 100; ++tries) {
        r.FNAME = SOUTAI(e.FNAME, st.KIJUNDIR, st.KIJUNDIRBAK);
        bool taken = false;
        if (writeNewCardFile(st.KIJUNDIR + e.FNAME, r, &taken, error)) {
            e.newFile = false;
            return true;
        }
        if (!taken)
            return false;
        e.FNAME = board_.newCardFileName(e.FTIME);
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

void withdrawBackground(WallState& st, WallSurface& surface) {
    surface.clearBackground();
    QFile::remove(st.KIJUNDIR + st.KABE3);
    st.KABEIMAGEOLDTIME = QStringLiteral("NIL");
    st.KABEIMAGE.clear();
    st.KABEIMG.clear();
}

bool WallSaver::KABEBACKSAVE(int N, QString* failure) {
    surface_.restoreFullScreen();
    bool written = true;
    if (N == 3) {
        withdrawBackground(st, surface_);
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
            } else if (writePicture(surface_.canvasImage(), path, 100, &error)) {
                st.canvasDrawn = false;
            } else {
                written = false;
                if (failure)
                    *failure = QStringLiteral("「%1」：%2").arg(path, error);
            }
        }
        if (written && !st.KABEIMAGE.isEmpty())
            written = writeWallIni(makeTimestamp(), failure);
    }
    surface_.refreshFileWindow();
    return written;
}

bool WallSaver::KABEWEBSAVE(const QString& page, QString* failure) {
    QString W = page;
    if (!W.contains(QLatin1Char('/')))
        W = W.mid(folderPart(W).size());
    const QString html = st.KIJUNDIR + st.KABE2;
    if (!W.contains(QLatin1Char('.'))) {
        if (QFileInfo::exists(html)) {
            surface_.hideWebWindow();
            return removeSettingsFile(html, failure);
        }
        return true;
    }
    const WindowSettings& s = st.settings;
    UrlRecord r;
    r.page = W;
    r.WEBOLDTIME = makeTimestamp();
    r.X = s.webX;
    r.Y = s.webY;
    r.width = s.webWidth;
    r.height = s.webHeight;
    r.ribbon = s.ribbon;
    QString error;
    const bool written = writeUrlFile(html, r, &error);
    if (!written && failure)
        *failure = QStringLiteral("「%1」：%2").arg(html, error);
    surface_.refreshFileWindow();
    return written;
}

bool WallSaver::KABEDIRMAKE(QString* failure) {
    const WindowSettings& s = st.settings;
    const QString dir = st.KIJUNDIR + st.KABE4;
    if (s.fileMask.isEmpty()) {
        if (QFileInfo::exists(dir)) {
            surface_.hideFileWindow();
            return removeSettingsFile(dir, failure);
        }
        return true;
    }
    st.DIROLDTIME = makeTimestamp();
    MaskRecord r;
    r.mask = s.fileMask;
    r.label = s.fileLabel;
    r.DIROLDTIME = st.DIROLDTIME;
    r.X = s.fileX;
    r.Y = s.fileY;
    r.width = s.fileWidth;
    r.height = s.fileHeight;
    QString error;
    const bool written = writeMaskFile(dir, r, &error);
    if (!written && failure)
        *failure = QStringLiteral("「%1」：%2").arg(dir, error);
    surface_.showFileWindow();
    return written;
}

QStringList WallSaver::saveSettings() {
    QStringList failed;
    QString failure;
    if (!KABEBACKSAVE(1, &failure))
        failed << failure;
    if (!KABEWEBSAVE(st.settings.webPage, &failure))
        failed << failure;
    if (!KABEDIRMAKE(&failure))
        failed << failure;
    if (!KABEWEBSAVE(st.settings.webPage, &failure))
        failed << failure;
    failed.removeDuplicates();
    return failed;
}

WallSaver::ExitSave WallSaver::saveForExit(WallLoader& loader, bool everyCard) {
    ExitSave result;
    QString failure;
    if (!KABEBACKSAVE(1, &failure))
        result.failed << failure;
    for (int i = 0; i < board_.count() && i < st.cards.size(); ++i) {
        CardEntry& e = st.cards[i];
        if (e.KAKUSU == QLatin1String("3"))
            loader.REPANELLOAD(i, e.FNAME);
        const bool collapsed = e.KAKUSU == QLatin1String("2");
        if (collapsed) {
            // A collapsed check-off card is written full size, to come back
            // collapsed at the next start.
            e.KAKUSU = QStringLiteral("1");
            board_.expandToStoredSize(i);
        }
        // A file someone else changed since it was read is theirs to keep.
        if (!everyCard && signatureOf(st.KIJUNDIR + e.FNAME) != e.disk) {
            result.leftAlone << e.FNAME;
        } else if (!PANELSAVE(i, 1, &failure)) {
            result.failed << failure;
        }
        if (collapsed)
            board_.collapse(i); // the wall stays as it was, should the user go on with it
    }
    return result;
}
