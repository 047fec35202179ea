#pragma once

#include "storage/folderlisting.h"

#include <QCache>
#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>
#include <memory>

class ThumbnailCacheWriter;

// A size of the wall in the screen's device pixels, `ratio` of them to one
// of the wall's, rounded up.
QSize inDevicePixels(QSize size, qreal ratio);

// The thumbnail's path for a picture name (any of the three path forms).
QString thumbnailPath(const QString& pictureName, const QString& wallFolder);

// The pictures cards show. A card shows its thumbnail "NAIL/~name" of the
// wall folder when there is one at least as new as the picture and at least
// as large as the card on the screen, else the picture itself, else none.
// Sizes are the wall's; `ratio` is the screen's device pixels to one of them,
// and pictures are decoded for the device pixels. Looking at a wall writes
// nothing into it: a picture without a thumbnail of its own shows the
// desktop's thumbnail of it (thumbnailcache.h) when there is one made from
// it as it is now and large enough; else it is decoded no larger than the
// cards showing it need (a large JPEG at a reduced scale, anything else
// scaled down at once), and the desktop's cache gets its thumbnail
// afterwards, in the background. Either is kept here, in memory, once per
// file, for every card that shows it and for the next time the wall is
// built. A card larger than what is kept has the file read again. A picture
// that cannot be read gives none.
class CardPictures {
public:
    // `budgetKiB` bounds the memory the kept pictures take at a ratio of 1.
    explicit CardPictures(int budgetKiB = 192 * 1024);
    // Thumbnails not yet being written into the desktop's cache are dropped.
    ~CardPictures();
    CardPictures(const CardPictures&) = delete;
    CardPictures& operator=(const CardPictures&) = delete;

    QImage load(const QString& pictureName, const QString& wallFolder, const QString& dataFolder,
                QSize shownAt = QSize(), qreal ratio = 1.0);

    // What the cards of a wall about to be built will show, read ahead on
    // every core at once, so that a wall of photos comes up quickly.
    struct Wanted {
        QString pictureName;
        QSize shownAt;
    };
    void prefetch(const QVector<Wanted>& wanted, const QString& wallFolder,
                  const QString& dataFolder, qreal ratio = 1.0);

    // Thumbnails queued or being written into the desktop's cache.
    int cacheWritesPending() const;

private:
    // The files a card shows and the key it is kept under; no key for none.
    struct Source {
        QString nail;        // the wall's own thumbnail, when it is fresh
        QString picture;     // read when there is none, or it is smaller than the card
        FileSignature stamp; // the picture's
        bool cached = false; // the desktop's thumbnail cache is used for it
        QString key;
        QSize shownAt; // in device pixels
    };
    Source sourceFor(const QString& pictureName, const QString& wallFolder,
                     const QString& dataFolder, QSize shownAt, qreal ratio) const;
    // The kept picture of a file, when it is large enough for `shownAt`.
    const QImage* keptFor(const Source& source) const;
    void keep(const Source& source, const QImage& image);
    QImage decodeShown(const Source& source, qreal ratio) const;
    QImage pictureShown(const Source& source, qreal ratio) const;
    void budgetFor(qreal ratio);

    struct Kept {
        QImage image;
        QSize covers; // the largest card it was decoded for, in device pixels
    };
    int budgetKiB_;
    QCache<QString, Kept> kept_;
    std::unique_ptr<ThumbnailCacheWriter> cacheWriter_;
};
