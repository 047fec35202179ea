#include "pictures/cardpicture.h"

#include "pictures/picturelayer.h"
#include "pictures/thumbnailcache.h"
#include "storage/folderlisting.h"
#include "storage/pathforms.h"

#include <QHash>
#include <QtMath>
#include <atomic>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// A picture much larger than its card is kept at twice the card's size at
// most: enough for a card made larger later, without holding photos whole.
// On a screen of more device pixels than the wall's own, the card's size in
// them is allowance enough. Either way it is kept large enough to cover the
// card, so that the card never stretches it.
constexpr int kKeptOverShown = 2;

// `shownAt` is in device pixels, `ratio` of them to one of the wall's. A
// picture up to `slack` times as large as what is kept is kept as it is.
QImage fitKept(const QImage& image, QSize shownAt, qreal ratio, qreal slack = 1.0) {
    if (image.isNull() || !shownAt.isValid() || shownAt.isEmpty())
        return image;
    const QSize most = (shownAt * (kKeptOverShown / qMax(ratio, 1.0))).expandedTo(shownAt);
    if (image.width() <= most.width() * slack && image.height() <= most.height() * slack)
        return image;
    QSize kept = image.size().scaled(most, Qt::KeepAspectRatio);
    const QSize cover = image.size().scaled(shownAt, Qt::KeepAspectRatioByExpanding);
    if (cover.width() > kept.width())
        kept = cover;
    if (kept.width() >= image.width())
        return image;
    return image.scaled(kept, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QSize inDevicePixels(QSize size, qreal ratio) {
    if (!size.isValid() || ratio == 1.0)
        return size;
    return QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
}

QString thumbnailPath(const QString& pictureName, const QString& wallFolder) {
    const QString name = pictureName.mid(folderPart(pictureName).size());
    return wallFolder + QStringLiteral("NAIL/~") + name;
}

CardPictures::CardPictures(int budgetKiB)
    : budgetKiB_(budgetKiB), kept_(budgetKiB),
      cacheWriter_(std::make_unique<ThumbnailCacheWriter>()) {}

CardPictures::~CardPictures() = default;

int CardPictures::cacheWritesPending() const {
    return cacheWriter_->pending();
}

void CardPictures::budgetFor(qreal ratio) {
    // A card's picture has ratio² the pixels: as many cards are kept as at 1.
    const qreal scale = qMax(1.0, ratio * ratio);
    kept_.setMaxCost(int(qMin<qreal>(budgetKiB_ * scale, std::numeric_limits<int>::max())));
}

CardPictures::Source CardPictures::sourceFor(const QString& pictureName, const QString& wallFolder,
                                             const QString& dataFolder, QSize shownAt,
                                             qreal ratio) const {
    if (pictureName.isEmpty())
        return {};
    Source source;
    source.picture = ZETTAI(pictureName, wallFolder, dataFolder);
    source.stamp = signatureOf(source.picture);
    const QString thumb = thumbnailPath(pictureName, wallFolder);
    const FileSignature thumbSig = signatureOf(thumb);
    // A picture replaced after its thumbnail was made shows itself.
    if (thumbSig.exists() && (!source.stamp.exists() || thumbSig.mtimeNs >= source.stamp.mtimeNs)) {
        source.nail = thumb;
        source.key = QStringLiteral("%1|%2|%3").arg(thumb).arg(thumbSig.size).arg(thumbSig.mtimeNs);
    }
    if (!source.stamp.exists()) {
        source.picture.clear();
    } else {
        // A thumbnail may be passed over for the picture: it is part of the key.
        source.key += QStringLiteral("|%1|%2|%3")
                          .arg(source.picture)
                          .arg(source.stamp.size)
                          .arg(source.stamp.mtimeNs);
    }
    source.shownAt = inDevicePixels(shownAt, ratio);
    source.cached = !source.picture.isEmpty() && source.shownAt.isValid() &&
                    !source.shownAt.isEmpty() && takesCachedThumbnail(source.picture, wallFolder);
    return source;
}

// The wall's own thumbnail comes first. One smaller than the card in device
// pixels would be stretched: the picture itself is read instead, when it is
// the larger.
QImage CardPictures::decodeShown(const Source& source, qreal ratio) const {
    if (source.nail.isEmpty())
        return pictureShown(source, ratio);
    const QSize shownAt = source.shownAt;
    QImage image = fitKept(readPicture(source.nail, [shownAt](QSize) { return shownAt; }).image,
                           shownAt, ratio);
    if (source.picture.isEmpty() || !shownAt.isValid() ||
        (image.width() >= shownAt.width() && image.height() >= shownAt.height()))
        return image;
    const QImage full = pictureShown(source, ratio);
    if (full.width() > image.width() || full.height() > image.height())
        return full;
    return image;
}

QImage CardPictures::pictureShown(const Source& source, qreal ratio) const {
    const QSize shownAt = source.shownAt;
    if (source.cached) {
        const QImage cached = cachedThumbnail(source.picture, source.stamp, shownAt);
        // The desktop's thumbnails come in few sizes, none much larger
        // than a card: scaling one a little would cost more than it saves.
        if (!cached.isNull())
            return fitKept(cached, shownAt, ratio, 1.25);
    }
    const PictureRead read = readPicture(source.picture, [shownAt](QSize) { return shownAt; });
    if (source.cached)
        cacheWriter_->write(source.picture, source.stamp, read.image, read.fullSize, shownAt);
    return fitKept(read.image, shownAt, ratio);
}

const QImage* CardPictures::keptFor(const Source& source) const {
    const Kept* kept = kept_.object(source.key);
    if (!kept)
        return nullptr;
    // Shown at no particular size: the picture as it was read.
    const bool covers = source.shownAt.isValid()
                            ? kept->covers.isValid() &&
                                  kept->covers.width() >= source.shownAt.width() &&
                                  kept->covers.height() >= source.shownAt.height()
                            : !kept->covers.isValid();
    return covers ? &kept->image : nullptr;
}

void CardPictures::keep(const Source& source, const QImage& image) {
    if (image.isNull())
        return;
    const qsizetype costKiB = image.sizeInBytes() / 1024 + 1;
    kept_.insert(source.key, new Kept{image, source.shownAt},
                 int(qMin<qsizetype>(costKiB, kept_.maxCost())));
}

QImage CardPictures::load(const QString& pictureName, const QString& wallFolder,
                          const QString& dataFolder, QSize shownAt, qreal ratio) {
    budgetFor(ratio);
    Source source = sourceFor(pictureName, wallFolder, dataFolder, shownAt, ratio);
    if (source.key.isEmpty())
        return QImage();
    if (const QImage* kept = keptFor(source))
        return *kept;
    // A card larger than what is kept: read for the larger of the two.
    if (const Kept* smaller = kept_.object(source.key); smaller && shownAt.isValid())
        source.shownAt = source.shownAt.expandedTo(smaller->covers);
    const QImage image = decodeShown(source, ratio);
    keep(source, image);
    return image;
}

void CardPictures::prefetch(const QVector<Wanted>& wanted, const QString& wallFolder,
                            const QString& dataFolder, qreal ratio) {
    budgetFor(ratio);
    // One decode per file, for the largest card that shows it.
    std::vector<Source> sources;
    QHash<QString, size_t> at;
    for (const Wanted& w : wanted) {
        Source s = sourceFor(w.pictureName, wallFolder, dataFolder, w.shownAt, ratio);
        if (s.key.isEmpty() || keptFor(s))
            continue;
        if (const auto seen = at.constFind(s.key); seen != at.cend()) {
            QSize& largest = sources[*seen].shownAt;
            largest = largest.expandedTo(s.shownAt);
            continue;
        }
        at.insert(s.key, sources.size());
        sources.push_back(std::move(s));
    }
    if (sources.empty())
        return;

    std::vector<QImage> images(sources.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < sources.size(); i = next++)
            images[i] = decodeShown(sources[i], ratio);
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < std::min<size_t>(cores, sources.size()); ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no more threads to be had: this one does the rest
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    for (size_t i = 0; i < sources.size(); ++i)
        keep(sources[i], images[i]);
}
