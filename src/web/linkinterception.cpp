#include "web/linkinterception.h"

#include "storage/pathforms.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

using namespace weblink;

namespace {

const QString kFileUrl = QStringLiteral("file://");
const QString kExtra = QStringLiteral("&&&");
const QString kSubFolder = QStringLiteral("###");

bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// The text after the last separator (and, with `colon`, the last ":").
QString namePart(const QString& s, bool colon = true) {
    for (qsizetype i = s.size() - 1; i >= 0; --i)
        if (isSeparator(s[i]) || (colon && s[i] == QLatin1Char(':')))
            return s.mid(i + 1);
    return s;
}

// From the last "." of the name, dot included; empty without one.
QString extensionOf(const QString& s) {
    const QString name = namePart(s);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

bool containsAny(const QString& s, std::initializer_list<const char*> parts,
                 Qt::CaseSensitivity cs = Qt::CaseSensitive) {
    for (const char* p : parts)
        if (s.contains(QLatin1String(p), cs))
            return true;
    return false;
}

bool isSoundExtension(const QString& ext) {
    return containsAny(ext, {".wav", ".wma", ".mp3"});
}

bool isWebScheme(const QString& scheme) {
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// Whether `url` is a web address on `domain` or one of its sub-domains.
// Only the host counts: the domain written in a path, a query or a user
// name ("smb://h/youtube.com/x", "ssh://youtu.be@h/") hands nothing out.
bool isOnDomain(const QUrl& url, const QString& domain) {
    const QString host = url.host();
    return isWebScheme(url.scheme().toLower()) &&
           (host == domain || host.endsWith(QLatin1Char('.') + domain));
}

// Step 2: what the desktop gets by its domain. The maker's pages below
// "/logo1" stay in the pane.
bool isHandOffDomain(const QUrl& url) {
    if (isOnDomain(url, LinkDomains::maker))
        return !url.path().startsWith(LinkDomains::makerPagesInPane);
    return isOnDomain(url, LinkDomains::outside) || isOnDomain(url, LinkDomains::video) ||
           isOnDomain(url, LinkDomains::videoShort);
}

// The extension test is case-sensitive: "P.TRX" is no project.
bool isProjectExtension(const QString& ext) {
    return containsAny(ext, {".trx", ".tra"});
}

bool isLocal(const QString& W) {
    return W.contains(QLatin1Char('\\')) || W.contains(kFileUrl) ||
           W.startsWith(QLatin1Char('/')) || isWindowsDrivePath(W);
}

// A local link as a path of this file system. "file:///home/x" loses its
// root in CutNN, which a Windows drive does not need; it is put back here.
QString fileSystemPath(const QString& W) {
    QString p = CutNN(W);
    if (W.contains(QStringLiteral("file:///")) && !isWindowsDrivePath(p))
        p.prepend(QLatin1Char('/'));
    return withSlashes(p);
}

// Cuts `path` before the first `c` of its file name; a "#" or "+" in a
// folder name above it is part of the name, not a fragment.
void cutNameAt(QString& path, QChar c) {
    const qsizetype nameStart = path.size() - namePart(path, false).size();
    const qsizetype at = path.indexOf(c, nameStart);
    if (at >= 0)
        path.truncate(at);
}

// A name as it will lie on the disk: "%20" and "%22" decoded, "/" kept.
QString diskName(const QString& s) {
    return withSlashes(CutNN2(s));
}

bool liesInside(const QString& folder, const QString& path) {
    return QDir::cleanPath(path).startsWith(QDir::cleanPath(folder) + QLatin1Char('/'));
}

// The "###" part as a folder below the LOGO folder ("snd/", or empty for
// none). False when it would leave the LOGO folder. A "#" in it starts the
// address's fragment, which names no folder.
bool subFolderOf(QString S, QString& folder) {
    folder.clear();
    const qsizetype hash = S.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        S.truncate(hash);
    S = diskName(S);
    if (S.isEmpty())
        return true;
    if (S.startsWith(QLatin1Char('/')) || S.contains(QLatin1Char(':')))
        return false;
    const QString clean = QDir::cleanPath(S);
    if (clean == QLatin1String("..") || clean.startsWith(QLatin1String("../")))
        return false;
    if (clean != QLatin1String("."))
        folder = clean + QLatin1Char('/');
    return true;
}

// Step 5: the extras of a web link, each kept only when it lands inside the
// LOGO folder.
void addExtras(LinkDecision& d, const QString& W, const QString& S, const QString& X,
               const QString& logo) {
    QString sub;
    const bool subOk = subFolderOf(S, sub);
    if (subOk && !sub.isEmpty())
        d.foldersToMake << logo + sub;
    if (X.isEmpty())
        return;
    const QString B = W.left(W.lastIndexOf(QLatin1Char('/')) + 1);
    for (QString name : X.split(kExtra)) {
        const bool intoLogo = name.startsWith(QLatin1String(".."));
        if (intoLogo)
            name.remove(0, 2);
        else if (!subOk)
            continue; // its folder would leave the LOGO folder
        // An absolute name would be made again below the LOGO folder: it is
        // refused, not moved.
        if (name.isEmpty() || name.contains(QLatin1Char(':')) || endsWithSeparator(name) ||
            diskName(name).startsWith(QLatin1Char('/')))
            continue;
        // Cleaned: "a/../b.wav" must not need a folder "a" to be written.
        const QString destination =
            QDir::cleanPath(logo + (intoLogo ? QString() : sub) + diskName(name));
        if (liesInside(logo, destination))
            d.extras << LinkFetch{B + name, destination};
    }
}

// Step 9: the browser goes on, unless nobody should follow the scheme.
LinkDecision letThrough(LinkDecision d, const QString& W) {
    if (!isLocal(W) && !isBrowsableScheme(QUrl(W).scheme())) {
        d.action = LinkAction::Beep;
        return d;
    }
    d.action = LinkAction::LetThrough;
    d.path = W;
    if (!containsAny(W, {"about:blank", "blank.ht", "_background_"}))
        d.shown = W;
    return d;
}

} // namespace

namespace weblink {

LinkDecision decideLink(const QString& U, const LinkPlace& place, LinkBrowser browser) {
    LinkDecision d;
    // 1. A sound lying in the wall folder plays on the wall.
    if (browser == LinkBrowser::WallPane) {
        const QString N = namePart(U);
        const QString sound = place.wallFolder + N;
        if (!N.isEmpty() && QFileInfo(sound).isFile() &&
            isSoundExtension(extensionOf(N).toLower())) {
            d.action = LinkAction::PlaySound;
            d.path = sound;
            return d;
        }
    }
    // 2. Mail, the maker's site, the partner and the video service belong
    // to the desktop. Only web and mail links count as mail: a page must
    // not start a handler of another scheme through an "@". A domain counts
    // only as the host of a web address.
    const QUrl url(U);
    const QString scheme = url.scheme().toLower();
    const bool mailLike = isWebScheme(scheme) || scheme == QLatin1String("mailto");
    if ((mailLike && U.contains(QLatin1Char('@'))) || isHandOffDomain(url)) {
        d.action = LinkAction::ToShell;
        d.path = U;
        return d;
    }
    // 3. The LOGO working folder.
    const QString logo = place.dataFolder + QStringLiteral("LOGO/");
    d.workingFolder = logo;
    d.foldersToMake << logo;
    // 4. The link text: the address, its extra files, their sub-folder.
    QString W = U;
    QString S;
    QString X;
    if (const qsizetype at = W.indexOf(kSubFolder); at >= 0) {
        S = W.mid(at + kSubFolder.size());
        W.truncate(at);
    }
    W = expandRangeMarkers(W);
    if (const qsizetype at = W.indexOf(kExtra); at >= 0) {
        X = W.mid(at + kExtra.size());
        W.truncate(at);
    }
    const bool local = isLocal(W);
    const QString ext = extensionOf(W);
    // Only a project on the web has files to fetch: "about:" or "data:" with
    // extras would copy local files into the LOGO folder, and a page has no
    // use for sounds in it.
    const bool web = !local && isWebScheme(QUrl(W).scheme().toLower());
    // 5. The extras of a web project.
    if (web && isProjectExtension(ext))
        addExtras(d, W, S, X, logo);
    // 6. A local file that is missing.
    QString L = fileSystemPath(W);
    if (local) {
        if (ext.contains(QLatin1Char('#')))
            cutNameAt(L, QLatin1Char('#'));
        if (namePart(W).contains(QLatin1Char('+')))
            cutNameAt(L, QLatin1Char('+'));
        if (!ext.isEmpty() && !QFileInfo::exists(L)) {
            d.action = LinkAction::Beep;
            return d;
        }
        // 7. A local folder opens in the desktop's file browser (a folder
        // whose name has a dot in it too). Any other file without an
        // extension may be a program, which the desktop would start.
        if (QFileInfo(L).isDir()) {
            d.action = LinkAction::ToShell;
            d.path = L;
            return d;
        }
        if (ext.isEmpty()) {
            d.action = LinkAction::Beep;
            return d;
        }
    }
    // The help browser plays a sound wherever it lies.
    if (browser == LinkBrowser::HelpBrowser && isSoundExtension(ext)) {
        const QString sound = fileSystemPath(W);
        if (QFileInfo(sound).isFile()) {
            d.action = LinkAction::PlaySound;
            d.path = sound;
            return d;
        }
    }
    // 8. A LOGO project.
    if (isProjectExtension(ext)) {
        if (local) {
            const QString P = fileSystemPath(W);
            if (QFileInfo(P).isFile()) {
                d.action = LinkAction::LocalProject;
                d.path = P;
                d.target = logo + QFileInfo(P).fileName();
                return d;
            }
        } else if (web) {
            // The fragment and the query are no part of the file's name.
            QString name = namePart(W, false);
            for (const QChar c : {QLatin1Char('#'), QLatin1Char('?')})
                cutNameAt(name, c);
            d = letThrough(d, W);
            if (d.action == LinkAction::LetThrough && !name.isEmpty()) {
                d.action = LinkAction::WebProject;
                d.target = logo + diskName(name);
            }
            return d;
        }
    }
    // 9. The browser goes on.
    return letThrough(d, W);
}

bool isBrowsableScheme(const QString& scheme) {
    static const QStringList browsable{QStringLiteral("http"), QStringLiteral("https"),
                                       QStringLiteral("file"), QStringLiteral("about"),
                                       QStringLiteral("data"), QStringLiteral("blob")};
    return browsable.contains(scheme, Qt::CaseInsensitive);
}

QString CutNN(const QString& S) {
    QString r = S;
    for (const QString& prefix : {QStringLiteral("file:///"), kFileUrl}) {
        const qsizetype at = r.indexOf(prefix);
        if (at >= 0)
            r = CutNN2(r.mid(at + prefix.size()));
    }
    return r;
}

QString CutNN2(const QString& S) {
    QString r = S;
    r.replace(QLatin1Char('/'), QLatin1Char('\\'));
    r.replace(QLatin1String("%20"), QLatin1String(" "));
    r.replace(QLatin1String("%22"), QLatin1String("\""));
    return r;
}

QString expandRangeMarkers(const QString& W) {
    // Upper case, then lower case; each with no digit, then 1, 2 and 3.
    QString r = W;
    for (const char first : {'A', 'a'}) {
        for (const QString& digit :
             {QString(), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}) {
            const QString marker = kExtra + QLatin1Char(first) + digit + QLatin1Char('-') +
                                   QLatin1Char(char(first + 25)) + digit + QLatin1String(".wav");
            if (!r.contains(marker))
                continue;
            QString names;
            for (int i = 0; i < 26; ++i)
                names += kExtra + QLatin1Char(char(first + i)) + digit + QLatin1String(".wav");
            r.replace(marker, names);
        }
    }
    return r;
}

} // namespace weblink
