#include "pictures/thumbnailcache.h"

#include "pictures/picturelayer.h"
#include "pictures/pngcodec.h"
#include "storage/atomicfile.h"
#include "storage/filereading.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <iterator>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

namespace {

struct CacheSize {
    int pixels;
    const char* folder;
};

constexpr CacheSize kSizes[] = {
    {128, "normal"}, {256, "large"}, {512, "x-large"}, {1024, "xx-large"}};
// "normal" is read when it covers a card, but never written: a card is
// rarely that small, and a larger thumbnail serves it as well.
constexpr int kFirstWritten = 1;

// Writes waiting with the pixels they were given, at most.
constexpr int kMostHeld = 32;

// No thumbnail file is anywhere near this large.
constexpr qint64 kMaxThumbnailBytes = 64 * 1024 * 1024;

qint64 mtimeSeconds(const FileSignature& stamp) {
    constexpr qint64 kNs = 1'000'000'000;
    return stamp.mtimeNs >= 0 ? stamp.mtimeNs / kNs : (stamp.mtimeNs - kNs + 1) / kNs;
}

QString md5Name(const QByteArray& text) {
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool covers(QSize size, QSize shownAt) {
    return size.width() >= shownAt.width() && size.height() >= shownAt.height();
}

// The thumbnail at `path`, when its keys say it was made from the picture
// as it is now (`uri` empty: a thumbnail beside the picture, which names it
// by a relative URI, if at all) and it is large enough.
QImage freshThumbnail(const QString& path, const QByteArray& uri, const FileSignature& stamp,
                      QSize shownAt) {
    const FileRead read = readRegularFile(path, kMaxThumbnailBytes);
    if (read.problem != FileRead::Problem::None)
        return QImage();
    const QHash<QByteArray, QByteArray> keys = pngTextKeys(read.bytes);
    if (!uri.isEmpty() && keys.value("Thumb::URI") != uri)
        return QImage();
    bool ok = false;
    if (keys.value("Thumb::MTime").trimmed().toLongLong(&ok) != mtimeSeconds(stamp) || !ok)
        return QImage();
    const auto size = keys.constFind("Thumb::Size");
    if (size != keys.cend() && size->trimmed().toLongLong() != stamp.size)
        return QImage();
    QImage image = decodePicture(read.bytes).image;
    // A picture smaller than the thumbnail's size is kept whole in it.
    const QSize whole(keys.value("Thumb::Image::Width").toInt(),
                      keys.value("Thumb::Image::Height").toInt());
    if (image.isNull() || !(covers(image.size(), shownAt) || image.size() == whole))
        return QImage();
    return image;
}

// Looks in each size folder under `root` large enough for the card.
QImage firstFresh(const QString& root, const QString& name, const QByteArray& uri,
                  const FileSignature& stamp, QSize shownAt) {
    const int longest = qMax(shownAt.width(), shownAt.height());
    for (const CacheSize& size : kSizes) {
        if (size.pixels < longest)
            continue;
        const QString path = root + QLatin1String(size.folder) + QLatin1Char('/') + name;
        QImage image = freshThumbnail(path, uri, stamp, shownAt);
        if (!image.isNull())
            return image;
    }
    return QImage();
}

QSize sizeAt(QSize full, int pixels) {
    if (full.width() <= pixels && full.height() <= pixels)
        return full;
    return full.scaled(pixels, pixels, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// The size written for a card, and the index of its folder; -1 for none.
std::pair<QSize, int> writtenSize(QSize full, QSize shownAt) {
    if (full.isEmpty() || !shownAt.isValid())
        return {QSize(), -1};
    for (int i = kFirstWritten; i < int(std::size(kSizes)); ++i) {
        const QSize size = sizeAt(full, kSizes[i].pixels);
        if (covers(size, shownAt) || size == full)
            return {size, i};
    }
    return {QSize(), -1};
}

// Thumbnails are written with time to spare: the thread gets the smallest
// share of a busy processor, yet never none (one that ran only on an idle
// core could wait for ever on a busy machine). Linux sets this per thread.
void yieldToOtherWork() {
#ifdef Q_OS_LINUX
    setpriority(PRIO_PROCESS, 0, 19);
#endif
}

QString cacheHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
}

// Makes a missing folder the owner's alone; false when it cannot be had.
bool privateFolder(const QString& path) {
    if (QFileInfo(path).isDir())
        return true;
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    return QDir().mkdir(path, owner);
}

} // namespace

QString thumbnailCacheFolder() {
    return cacheHome() + QStringLiteral("/thumbnails/");
}

QByteArray fileUri(const QString& absolutePath) {
    QByteArray path = QFile::encodeName(absolutePath);
    if (!path.startsWith('/'))
        path.prepend('/');
    // What a URI's path may hold as it is: letters, digits, the unreserved
    // marks, and ":@&=+$," and "/". ";" would start a parameter.
    static const QByteArray kAsIs("-_.!~*'():@&=+$,/");
    QByteArray uri("file://");
    uri.reserve(path.size() * 3 + uri.size());
    for (const char c : path) {
        const auto byte = uchar(c);
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (alnum || (byte < 0x80 && kAsIs.contains(c))) {
            uri.append(c);
            continue;
        }
        static const char kHex[] = "0123456789ABCDEF";
        uri.append('%').append(kHex[byte >> 4]).append(kHex[byte & 0xF]);
    }
    return uri;
}

bool takesCachedThumbnail(const QString& picture, const QString& wallFolder) {
    const QString cache = cleanAbsolute(thumbnailCacheFolder()) + QLatin1Char('/');
    const QString wall = cleanAbsolute(wallFolder) + QLatin1Char('/');
    return !cleanAbsolute(picture).startsWith(cache) && !cache.startsWith(wall);
}

QImage cachedThumbnail(const QString& picture, const FileSignature& stamp, QSize shownAt) {
    if (!stamp.exists() || !shownAt.isValid() || shownAt.isEmpty())
        return QImage();
    const QString path = cleanAbsolute(picture);
    const QByteArray uri = fileUri(path);
    QImage image = firstFresh(thumbnailCacheFolder(), md5Name(uri), uri, stamp, shownAt);
    if (!image.isNull())
        return image;
    const QFileInfo file(path);
    const QString shared = file.path() + QStringLiteral("/.sh_thumbnails/");
    if (!QFileInfo(shared).isDir())
        return QImage();
    return firstFresh(shared, md5Name(QFile::encodeName(file.fileName())), QByteArray(), stamp,
                      shownAt);
}

ThumbnailCacheWriter::ThumbnailCacheWriter() {
    pool_.setMaxThreadCount(1);
    pool_.setThreadPriority(QThread::LowestPriority);
}

ThumbnailCacheWriter::~ThumbnailCacheWriter() {
    // The rest are dropped, and the one under way stops at its next step.
    leaving_ = true;
    pool_.clear();
    pool_.waitForDone();
}

void ThumbnailCacheWriter::write(const QString& picture, const FileSignature& stamp,
                                 const QImage& decoded, QSize full, QSize shownAt) {
    const auto [size, index] = writtenSize(full, shownAt);
    // A file changed within the last seconds may change again within the
    // same second, which the thumbnail's whole seconds could not tell.
    const qint64 seconds = mtimeSeconds(stamp);
    if (!size.isValid() || decoded.isNull() || seconds >= QDateTime::currentSecsSinceEpoch() - 1)
        return;
    const QString home = cacheHome();
    const QString folder = thumbnailCacheFolder() + QLatin1String(kSizes[index].folder);
    const QString path = cleanAbsolute(picture);
    // A picture read smaller than the thumbnail, for a small card, is read
    // again here rather than on the way to the screen; so is one whose
    // pixels would pile up behind many others (a wall of a thousand photos).
    const QImage from = covers(decoded.size(), size) && pending_ < kMostHeld ? decoded : QImage();
    ++pending_;
    pool_.start([this, home, folder, path, stamp, seconds, from, full, size = size] {
        yieldToOtherWork();
        QImage source = from;
        if (source.isNull() && !leaving_) {
            const PictureRead read = readPicture(path, [size](QSize) { return size; });
            if (read.fullSize == full && signatureOf(path) == stamp &&
                covers(read.image.size(), size))
                source = read.image;
        }
        if (!source.isNull() && !leaving_ && privateFolder(home) &&
            privateFolder(home + QStringLiteral("/thumbnails")) && privateFolder(folder)) {
            const QByteArray uri = fileUri(path);
            const QImage thumb = source.size() == size ? source
                                                       : source.scaled(size, Qt::IgnoreAspectRatio,
                                                                       Qt::SmoothTransformation);
            const QByteArray bytes =
                encodePng(thumb, {{"Thumb::URI", uri},
                                  {"Thumb::MTime", QByteArray::number(seconds)},
                                  {"Thumb::Size", QByteArray::number(stamp.size)},
                                  {"Thumb::Image::Width", QByteArray::number(full.width())},
                                  {"Thumb::Image::Height", QByteArray::number(full.height())},
                                  {"Software", "Zavik"}});
            if (!bytes.isEmpty() && !leaving_)
                writePrivateFileAtomically(folder + QLatin1Char('/') + md5Name(uri), bytes);
        }
        --pending_;
    });
}
