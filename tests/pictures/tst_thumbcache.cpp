#include "pictures/cardpicture.h"
#include "pictures/picturelayer.h"
#include "pictures/pngcodec.h"
#include "pictures/thumbnailcache.h"
#include "storage/filereading.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage filled(int w, int h, const QColor& c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

bool reddish(const QImage& img) {
    const QColor c = img.pixelColor(img.rect().center());
    return !img.isNull() && c.red() > 200 && c.green() < 60;
}

// A red photo copied from a camera: its time lies an hour back.
void writeOldPhoto(const QString& path, int w = 800, int h = 600) {
    QVERIFY(writePicture(filled(w, h, Qt::red), path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                          QFileDevice::FileModificationTime));
}

qint64 mtimeOf(const QString& path) {
    return QFileInfo(path).lastModified().toSecsSinceEpoch();
}

QString md5Png(const QByteArray& text) {
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex() + ".png";
}

QString cachePath(const QString& folder, const QString& picture) {
    return thumbnailCacheFolder() + folder + "/" + md5Png(fileUri(picture));
}

// A thumbnail as another program of the desktop writes it, through Qt's own
// PNG writer.
void writeThumbnail(const QString& path, const QImage& image, const QByteArray& uri, qint64 mtime) {
    QDir().mkpath(QFileInfo(path).path());
    QImage thumb = image;
    if (!uri.isEmpty())
        thumb.setText("Thumb::URI", uri);
    thumb.setText("Thumb::MTime", QString::number(mtime));
    QVERIFY(thumb.save(path, "PNG"));
}

// The picture's bytes replaced by as many that are no picture, its time
// kept: only a thumbnail can show it now.
void spoil(const QString& path) {
    const qint64 mtime = mtimeOf(path);
    const qint64 size = QFileInfo(path).size();
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(size, 'x'));
    QVERIFY(f.flush());
    QVERIFY(f.setFileTime(QDateTime::fromSecsSinceEpoch(mtime), QFileDevice::FileModificationTime));
}

// Owner, group and others as octal digits; Qt's "user" bits only repeat
// the owner's here.
int modeOf(const QString& path) {
    const int p = int(QFileInfo(path).permissions());
    return (p >> 12 & 7) * 0100 + (p >> 4 & 7) * 010 + (p & 7);
}

// A thumbnail is written at the lowest priority: on a busy machine it may
// take a while.
constexpr int kWriting = 60000;

} // namespace

class TestThumbCache : public QObject {
    Q_OBJECT
private slots:
    void init();
    void urisAreEscaped();
    void freshThumbnailsShowAndStaleOnesAreRewritten();
    void writtenThumbnailsAreTheOwnersAlone();
    void unwritableCacheIsPassedOver();

private:
    QTemporaryDir dir_;
    QString wall_;
    QString cache_;
};

void TestThumbCache::init() {
    // Each test its own cache, made by the program.
    QVERIFY(dir_.isValid());
    cache_ = dir_.path() + "/" + QTest::currentTestFunction() + "-cache";
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_));
    wall_ = dir_.path() + "/" + QTest::currentTestFunction() + "/";
    QVERIFY(QDir().mkpath(wall_));
}

void TestThumbCache::urisAreEscaped() {
    QCOMPARE(fileUri("/home/u/写真 #1;(a)&b=c,d@e.jpg"),
             QByteArray("file:///home/u/%E5%86%99%E7%9C%9F%20%231%3B(a)&b=c,d@e.jpg"));
}

void TestThumbCache::freshThumbnailsShowAndStaleOnesAreRewritten() {
    const QString photo = wall_ + "写真 1.jpg";
    writeOldPhoto(photo);
    const qint64 mtime = mtimeOf(photo);

    // The file manager's thumbnail is larger than the card needs: it is
    // scaled, and the picture is not read.
    const QString xlarge = cachePath("x-large", photo);
    writeThumbnail(xlarge, filled(512, 384, Qt::green), fileUri(photo), mtime);
    spoil(photo);
    QImage shown = CardPictures().load("写真 1.jpg", wall_, wall_, QSize(300, 200));
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.pixelColor(shown.rect().center()), QColor(Qt::green));

    // The thumbnails a stick brings beside its pictures, named by the file
    // name.
    const QString lent = wall_ + "b.jpg";
    writeOldPhoto(lent);
    writeThumbnail(wall_ + ".sh_thumbnails/large/" + md5Png("b.jpg"), filled(256, 192, Qt::blue),
                   QByteArray(), mtimeOf(lent));
    spoil(lent);
    shown = CardPictures().load("b.jpg", wall_, wall_, QSize(200, 150));
    QCOMPARE(shown.pixelColor(shown.rect().center()), QColor(Qt::blue));

    // A thumbnail of another file, or of the picture as it was, is passed
    // over; the picture is read and its thumbnail written anew.
    writeOldPhoto(photo);
    const qint64 now = mtimeOf(photo);
    const QString large = cachePath("large", photo);
    writeThumbnail(large, filled(256, 192, Qt::green), "file:///else.jpg", now);
    writeThumbnail(xlarge, filled(512, 384, Qt::green), fileUri(photo), now - 7);
    CardPictures pictures;
    QVERIFY(reddish(pictures.load("写真 1.jpg", wall_, wall_, QSize(200, 150))));
    QTRY_COMPARE_WITH_TIMEOUT(
        pngTextKeys(readRegularFile(large, 1 << 24).bytes).value("Thumb::URI"), fileUri(photo),
        kWriting);
    QVERIFY(reddish(pictures.load("写真 1.jpg", wall_, wall_, QSize(300, 200))));
    QTRY_COMPARE_WITH_TIMEOUT(
        pngTextKeys(readRegularFile(xlarge, 1 << 24).bytes).value("Thumb::MTime"),
        QByteArray::number(now), kWriting);
    QVERIFY(reddish(readPicture(xlarge).image));
}

void TestThumbCache::writtenThumbnailsAreTheOwnersAlone() {
    const QString photo = wall_ + "photo.jpg";
    writeOldPhoto(photo, 1200, 900);
    const QStringList before = QDir(wall_).entryList(QDir::AllEntries | QDir::Hidden);

    CardPictures pictures;
    QVERIFY(reddish(pictures.load("photo.jpg", wall_, wall_, QSize(200, 150))));
    const QString written = cachePath("large", photo);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(written), kWriting);
    const QByteArray bytes = readRegularFile(written, 1 << 24).bytes;
    const QHash<QByteArray, QByteArray> keys = pngTextKeys(bytes);
    QCOMPARE(keys.value("Thumb::URI"), fileUri(photo));
    QCOMPARE(keys.value("Thumb::MTime"), QByteArray::number(mtimeOf(photo)));
    QCOMPARE(keys.value("Thumb::Size"), QByteArray::number(QFileInfo(photo).size()));
    QCOMPARE(keys.value("Thumb::Image::Width"), QByteArray("1200"));
    QCOMPARE(readPicture(written).image.size(), QSize(256, 192));
    QCOMPARE(modeOf(written), 0600);
    for (const QString& folder : {cache_, cache_ + "/thumbnails", cache_ + "/thumbnails/large"})
        QCOMPARE(modeOf(folder), 0700);
    QCOMPARE(QDir(wall_).entryList(QDir::AllEntries | QDir::Hidden), before);

    // The cache's own pictures, and a picture changed a moment ago (whose
    // time could not tell a change within the same second), get none.
    QVERIFY(writePicture(filled(1200, 900, Qt::red), wall_ + "fresh.jpg"));
    QVERIFY(!pictures.load(written, wall_, wall_, QSize(100, 75)).isNull());
    QVERIFY(reddish(pictures.load("fresh.jpg", wall_, wall_, QSize(200, 150))));
    QTRY_COMPARE_WITH_TIMEOUT(pictures.cacheWritesPending(), 0, kWriting);
    QCOMPARE(QDir(cache_ + "/thumbnails/large").entryList(QDir::Files | QDir::Hidden).size(), 1);

    // Pictures going away with their thumbnails still to be written: what
    // was written is whole, nothing half-written is left.
    QVector<CardPictures::Wanted> wanted;
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i);
        writeOldPhoto(wall_ + name, 1200, 900);
        wanted.append({name, QSize(400, 300)});
    }
    CardPictures().prefetch(wanted, wall_, wall_);
    const QDir xlarge(cache_ + "/thumbnails/x-large");
    for (const QString& name : xlarge.entryList(QDir::Files | QDir::Hidden)) {
        QVERIFY2(name.endsWith(".png") && !name.startsWith("."), qPrintable(name));
        QCOMPARE(readPicture(xlarge.filePath(name)).image.size(), QSize(512, 384));
    }
}

void TestThumbCache::unwritableCacheIsPassedOver() {
    QVERIFY(QDir().mkpath(cache_));
    QFile blocker(cache_ + "/thumbnails");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    writeOldPhoto(wall_ + "photo.jpg", 1200, 900);

    QTest::failOnWarning(QRegularExpression(".*"));
    CardPictures pictures;
    QVERIFY(reddish(pictures.load("photo.jpg", wall_, wall_, QSize(200, 150))));
    QTRY_COMPARE_WITH_TIMEOUT(pictures.cacheWritesPending(), 0, kWriting);
    QVERIFY(QFileInfo(cache_ + "/thumbnails").isFile());
    QCOMPARE(QDir(cache_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"thumbnails"});
}

QTEST_MAIN(TestThumbCache)
#include "tst_thumbcache.moc"
