#include "pictures/cardpicture.h"

#include "pictures/picturelayer.h"
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

// `shownAt` is in device pixels, `ratio` of them to one of the wall's.
QImage decode(const QString& path, QSize shownAt, qreal ratio) {
    QImage image = readPicture(path, [shownAt](QSize) { return shownAt; }).image;
    if (image.isNull() || !shownAt.isValid() || shownAt.isEmpty())
        return image;
    const QSize most = (shownAt * (kKeptOverShown / qMax(ratio, 1.0))).expandedTo(shownAt);
    if (image.width() <= most.width() && image.height() <= most.height())
        return image;
    QSize kept = image.size().scaled(most, Qt::KeepAspectRatio);
    const QSize cover = image.size().scaled(shownAt, Qt::KeepAspectRatioByExpanding);
    if (cover.width() > kept.width())
        kept = cover;
    if (kept.width() >= image.width())
        return image;
    return image.scaled(kept, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// A thumbnail smaller than the card in device pixels would be stretched: the
// picture itself is read instead, when it is the larger.
QImage decodeShown(const QString& path, const QString& picture, QSize shownAt, qreal ratio) {
    QImage image = decode(path, shownAt, ratio);
    if (picture.isEmpty() || !shownAt.isValid() ||
        (image.width() >= shownAt.width() && image.height() >= shownAt.height()))
        return image;
    const QImage full = decode(picture, shownAt, ratio);
    if (full.width() > image.width() || full.height() > image.height())
        return full;
    return image;
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

CardPictures::CardPictures(int budgetKiB) : budgetKiB_(budgetKiB), kept_(budgetKiB) {}

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
    const QString picture = ZETTAI(pictureName, wallFolder, dataFolder);
    const FileSignature pictureSig = signatureOf(picture);
    const QString thumb = thumbnailPath(pictureName, wallFolder);
    const FileSignature thumbSig = signatureOf(thumb);
    // A picture replaced after its thumbnail was made shows itself.
    const bool useThumb =
        thumbSig.exists() && (!pictureSig.exists() || thumbSig.mtimeNs >= pictureSig.mtimeNs);
    if (!useThumb && !pictureSig.exists())
        return {};
    const QString path = useThumb ? thumb : picture;
    const FileSignature sig = useThumb ? thumbSig : pictureSig;
    QString key = QStringLiteral("%1|%2|%3").arg(path).arg(sig.size).arg(sig.mtimeNs);
    // A thumbnail may be passed over for the picture: it is part of the key.
    const bool fallback = useThumb && pictureSig.exists();
    if (fallback)
        key += QStringLiteral("|%1|%2").arg(pictureSig.size).arg(pictureSig.mtimeNs);
    return {path, fallback ? picture : QString(), key, inDevicePixels(shownAt, ratio)};
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
    if (source.path.isEmpty())
        return QImage();
    if (const QImage* kept = keptFor(source))
        return *kept;
    // A card larger than what is kept: read for the larger of the two.
    if (const Kept* smaller = kept_.object(source.key); smaller && shownAt.isValid())
        source.shownAt = source.shownAt.expandedTo(smaller->covers);
    const QImage image = decodeShown(source.path, source.picture, source.shownAt, ratio);
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
        if (s.path.isEmpty() || keptFor(s))
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
            images[i] = decodeShown(sources[i].path, sources[i].picture, sources[i].shownAt, ratio);
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
