#include "pictures/cardpicture.h"

#include "pictures/picturelayer.h"
#include "storage/folderlisting.h"
#include "storage/pathforms.h"

#include <QHash>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// A picture much larger than its card is kept at twice the card's size at
// most: enough for a card made larger later, without holding photos whole.
constexpr int kKeptOverShown = 2;

QImage decode(const QString& path, QSize shownAt) {
    QImage image = readPicture(path, [shownAt](QSize) { return shownAt; }).image;
    const QSize most = shownAt * kKeptOverShown;
    if (!image.isNull() && shownAt.isValid() && !shownAt.isEmpty() &&
        (image.width() > most.width() || image.height() > most.height()))
        image = image.scaled(most, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

// A thumbnail smaller than the card, in the screen's own pixels, would be
// stretched: the picture itself is read instead, when it is the larger.
QImage decodeShown(const QString& path, const QString& picture, QSize shownAt) {
    QImage image = decode(path, shownAt);
    if (picture.isEmpty() || !shownAt.isValid() ||
        (image.width() >= shownAt.width() && image.height() >= shownAt.height()))
        return image;
    const QImage full = decode(picture, shownAt);
    if (full.width() > image.width() || full.height() > image.height())
        return full;
    return image;
}

} // namespace

QString thumbnailPath(const QString& pictureName, const QString& wallFolder) {
    const QString name = pictureName.mid(folderPart(pictureName).size());
    return wallFolder + QStringLiteral("NAIL/~") + name;
}

CardPictures::CardPictures(int budgetKiB) : kept_(budgetKiB) {}

CardPictures::Source CardPictures::sourceFor(const QString& pictureName, const QString& wallFolder,
                                             const QString& dataFolder, QSize shownAt) const {
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
    return {path, fallback ? picture : QString(), key, shownAt};
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
                          const QString& dataFolder, QSize shownAt) {
    Source source = sourceFor(pictureName, wallFolder, dataFolder, shownAt);
    if (source.path.isEmpty())
        return QImage();
    if (const QImage* kept = keptFor(source))
        return *kept;
    // A card larger than what is kept: read for the larger of the two.
    if (const Kept* smaller = kept_.object(source.key); smaller && shownAt.isValid())
        source.shownAt = shownAt.expandedTo(smaller->covers);
    const QImage image = decodeShown(source.path, source.picture, source.shownAt);
    keep(source, image);
    return image;
}

void CardPictures::prefetch(const QVector<Wanted>& wanted, const QString& wallFolder,
                            const QString& dataFolder) {
    // One decode per file, for the largest card that shows it.
    std::vector<Source> sources;
    QHash<QString, size_t> at;
    for (const Wanted& w : wanted) {
        Source s = sourceFor(w.pictureName, wallFolder, dataFolder, w.shownAt);
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
            images[i] = decodeShown(sources[i].path, sources[i].picture, sources[i].shownAt);
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
