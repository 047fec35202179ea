#pragma once

#include "storage/folderlisting.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <atomic>

// The desktop's cache of thumbnails, which the user's file managers and
// picture viewers share: $XDG_CACHE_HOME/thumbnails/ (by default
// ~/.cache/thumbnails/), a folder per size ("normal" 128 pixels on the
// longest side, "large" 256, "x-large" 512, "xx-large" 1024), each thumbnail
// a PNG named by the MD5 of its picture's URI whose text keys say which
// picture it was made from ("Thumb::URI") and when that was last changed
// ("Thumb::MTime", whole seconds) and, where given, how large its file was
// ("Thumb::Size"). A picture brought on a stick or a share may carry
// thumbnails of its own in ".sh_thumbnails/" beside it, named by the MD5 of
// its file name: those are read, never written.

// The cache's folder, ending in "/".
QString thumbnailCacheFolder();

// The URI a file is known by in the cache: "file://" and its absolute path,
// every byte that may not stand in a URI's path as %XX.
QByteArray fileUri(const QString& absolutePath);

// Whether the cache is used for a picture shown on the wall of `wallFolder`:
// never for the cache's own pictures, and not while the cache lies inside
// the wall folder (looking at a wall writes nothing into it).
bool takesCachedThumbnail(const QString& picture, const QString& wallFolder);

// A thumbnail of `picture` (an absolute path, whose file looks like `stamp`)
// made from it as it is now, at least `shownAt` both ways or showing the
// whole picture; null when the cache and the folder beside it have none.
QImage cachedThumbnail(const QString& picture, const FileSignature& stamp, QSize shownAt);

// Writes thumbnails into the cache, one at a time on a thread of the lowest
// priority; nobody waits for them. Folders it makes are the
// owner's alone (0700), and so are the files (0600), each written whole and
// renamed into place. A cache that cannot be written is passed over without
// a word. When the writer goes away, what has not started is dropped and
// what has stops at its next step, leaving no file half written.
class ThumbnailCacheWriter {
public:
    ThumbnailCacheWriter();
    ~ThumbnailCacheWriter();
    ThumbnailCacheWriter(const ThumbnailCacheWriter&) = delete;
    ThumbnailCacheWriter& operator=(const ThumbnailCacheWriter&) = delete;

    // The thumbnail of `picture` as `decoded` from it (perhaps at a reduced
    // scale) for a card of `shownAt`; `full` is the picture's own size. It
    // is written at the smallest of 256, 512 and 1024 pixels on the longest
    // side (never larger than the picture) that covers the card, if any.
    void write(const QString& picture, const FileSignature& stamp, const QImage& decoded,
               QSize full, QSize shownAt);
    // Writes queued or running.
    int pending() const { return pending_; }

private:
    QThreadPool pool_;
    std::atomic<int> pending_{0};
    std::atomic<bool> leaving_{false};
};
