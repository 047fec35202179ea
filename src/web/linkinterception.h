#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the web pane and the help browser do with a link before the browser
// follows it: play a sound on the wall, hand it to the desktop, fetch a LOGO
// project with its media and start the LOGO environment on it, open a
// folder, refuse it, or let the browser go on. The decision is a plain
// function of the link and the files that exist; the browser only carries
// it out, after the navigation request has been answered.
//
// The names live in a namespace of their own: the card links of the wall
// window have a LinkAction and a LinkDecision too, and both headers meet in
// the wall window.
namespace weblink {

// The domains the link table hands to the desktop's browser, with their
// sub-domains, when they are the host of a web address. The pages of the
// maker's site below "/logo1" stay in the pane.
namespace LinkDomains {
inline const QString maker = QStringLiteral("zavik.invalid");
inline const QString makerPagesInPane = QStringLiteral("/logo1");
// Not a part of the maker's domain: "/logo1" pages must not end up here.
inline const QString outside = QStringLiteral("zavik-partner.invalid");
inline const QString video = QStringLiteral("youtube.com");
inline const QString videoShort = QStringLiteral("youtu.be");
} // namespace LinkDomains

// A LOGO project is a few kilobytes, its sounds rarely more than a few
// megabytes: no project or extra larger than this is fetched, copied into
// the LOGO folder or opened in the LOGO environment.
inline constexpr qint64 maxLogoFileBytes = 16 * 1024 * 1024;

// Which browser asks: the two run slightly different tables.
enum class LinkBrowser {
    WallPane,    // the web pane on the wall: a sound in the wall folder first
    HelpBrowser, // the help browser: a sound anywhere, before the LOGO step
};

enum class LinkAction {
    PlaySound,    // `path`: play it in the wall's media player
    ToShell,      // `path`: hand to the desktop shell (a folder, a mail or web address)
    Beep,         // a missing local file, one without an extension that is no
                  // folder, or a scheme nobody should follow
    LocalProject, // `path`: copy into the LOGO folder (asking), start 3 s later
    WebProject,   // `path` (a web address) to `target`: fetch, then start at
                  // once; when the fetch fails (not when it is refused), the
                  // browser goes to `path` once, unasked, and fetches nothing
                  // more for it
    LetThrough,   // the browser goes on
};

// One file to fetch: from an address (or a local path) to a path inside the
// LOGO working folder.
struct LinkFetch {
    QString source;
    QString destination;
};

struct LinkDecision {
    LinkAction action = LinkAction::LetThrough;
    // LetThrough and WebProject: the link without its "&&&" and "###" parts.
    QString path;
    // WebProject: where the project lands; LocalProject: where it is copied.
    QString target;
    // The LOGO working folder, once the table has got that far: every file
    // fetched for the link must land inside it.
    QString workingFolder;
    // Folders to make before anything is fetched: the LOGO working folder,
    // and the link's sub-folder for its extra files.
    QStringList foldersToMake;
    // The link's extra files, for web links, in order; each destination lies
    // inside the LOGO working folder (names that would leave it are left out).
    QList<LinkFetch> extras;
    // What the address line (the help browser: its caption) shows when the
    // browser goes on; empty: it keeps what it shows.
    QString shown;
};

// Where the links are looked at from.
struct LinkPlace {
    QString wallFolder; // KIJUNDIR, with a trailing "/"
    QString dataFolder; // KIJUNDIRBAK, with a trailing "/"; the LOGO folder is "LOGO/" in it
};

// The decision for link U. A file URL comes as its local path
// (QUrl::toLocalFile); any other URL as QUrl::toString(), which keeps "&&&"
// and "###". In U "/" counts as "\", and a path that begins with "/" is
// local.
LinkDecision decideLink(const QString& U, const LinkPlace& place, LinkBrowser browser);

// Whether the browser may show a URL of this scheme at all: http, https,
// file, about, data and blob. Others (smb:, custom schemes) beep.
bool isBrowsableScheme(const QString& scheme);

// A file URL as a path: everything up to and including "file:///" (then
// "file://") goes, "/" becomes "\", "%20" a blank and "%22" a double quote.
// Text without the prefix comes back unchanged.
QString CutNN(const QString& S);
// The same three replacements on the whole text.
QString CutNN2(const QString& S);

// The range markers of link extras ("&&&A-Z.wav" and the others) replaced by
// the 26 names each stands for.
QString expandRangeMarkers(const QString& W);

} // namespace weblink
