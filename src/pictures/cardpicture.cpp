#include "pictures/cardpicture.h"

#include "pictures/picturelayer.h"
#include "storage/folderlisting.h"
#include "storage/pathforms.h"

#include <QSet>
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
    const QString key = QStringLiteral("%1|%2|%3|%4x%5")
                            .arg(path)
                            .arg(sig.size)
                            .arg(sig.mtimeNs)
                            .arg(shownAt.width())
                            .arg(shownAt.height());
    return {path, key, shownAt};
}

void CardPictures::keep(const Source& source, const QImage& image) {
    if (image.isNull())
        return;
    const qsizetype costKiB = image.sizeInBytes() / 1024 + 1;
    kept_.insert(source.key, new QImage(image), int(qMin<qsizetype>(costKiB, kept_.maxCost())));
}

QImage CardPictures::load(const QString& pictureName, const QString& wallFolder,
                          const QString& dataFolder, QSize shownAt) {
    const Source source = sourceFor(pictureName, wallFolder, dataFolder, shownAt);
    if (source.path.isEmpty())
        return QImage();
    if (const QImage* kept = kept_.object(source.key))
        return *kept;
    const QImage image = decode(source.path, shownAt);
    keep(source, image);
    return image;
}

void CardPictures::prefetch(const QVector<Wanted>& wanted, const QString& wallFolder,
                            const QString& dataFolder) {
    std::vector<Source> sources;
    QSet<QString> seen;
    for (const Wanted& w : wanted) {
        Source s = sourceFor(w.pictureName, wallFolder, dataFolder, w.shownAt);
        if (s.path.isEmpty() || kept_.contains(s.key) || seen.contains(s.key))
            continue;
        seen.insert(s.key);
        sources.push_back(std::move(s));
    }
    if (sources.size() < 2)
        return; // one picture is read as fast where it is needed

    std::vector<QImage> images(sources.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < sources.size(); i = next++)
            images[i] = decode(sources[i].path, sources[i].shownAt);
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
