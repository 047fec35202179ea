#include "pictures/backgroundfit.h"
#include "pictures/cardpicture.h"
#include "pictures/picturelayer.h"
#include "pictures/stretchdraw.h"
#include "pictures/thumbnails.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <zlib.h>

namespace {

QImage gradient(int w, int h) {
    QImage img(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y,
                              QColor(x * 255 / qMax(1, w - 1), y * 255 / qMax(1, h - 1), 128));
    return img;
}

QByteArray pngBytes(const QImage& img) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A PNG whose header declares width × height, with a valid header checksum.
QByteArray pngDeclaring(quint32 width, quint32 height) {
    QByteArray ihdr("IHDR");
    char dims[8];
    qToBigEndian(width, dims);
    qToBigEndian(height, dims + 4);
    ihdr.append(dims, 8);
    ihdr.append("\x08\x02\x00\x00\x00", 5);
    char crc[4];
    qToBigEndian(
        quint32(crc32(0, reinterpret_cast<const Bytef*>(ihdr.constData()), uInt(ihdr.size()))),
        crc);
    QByteArray out("\x89PNG\r\n\x1A\n", 8);
    out.append("\x00\x00\x00\x0D", 4);
    out.append(ihdr);
    out.append(crc, 4);
    // A first data chunk, so the reader gets as far as the picture itself.
    const QByteArray idat("IDAT\x78\x9C\x00\x00", 8);
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(idat.constData()), 8)), crc);
    out.append("\x00\x00\x00\x04", 4);
    out.append(idat);
    out.append(crc, 4);
    return out;
}

int maxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            worst = qMax(worst, qMax(qAbs(p.red() - q.red()),
                                     qMax(qAbs(p.green() - q.green()), qAbs(p.blue() - q.blue()))));
        }
    return worst;
}

} // namespace

class TestPictureLayer : public QObject {
    Q_OBJECT
private slots:
    void readsByContent();
    void jpegRoundTripAndReducedDecode();
    void pngReducedOnTheWay();
    void badInputFailsCleanly();
    void thumbnails();
    void cardsShowPicturesWithoutWriting();
    void backgroundFit_data();
    void backgroundFit();
    void stretchDrawKeepsPixels();
};

void TestPictureLayer::readsByContent() {
    QTemporaryDir dir;
    const QImage img = gradient(30, 20);
    // A PNG named ".jpg" is read as the PNG it is.
    writeFile(dir.filePath("png.jpg"), pngBytes(img));
    const PictureRead png = readPicture(dir.filePath("png.jpg"));
    QCOMPARE(png.image.size(), QSize(30, 20));
    QCOMPARE(maxDifference(png.image, img), 0);
    QVERIFY(writePicture(img, dir.filePath("a.bmp")));
    QCOMPARE(sniffPictureFormat(readFile(dir.filePath("a.bmp"))), PictureFormat::Bmp);
    QCOMPARE(maxDifference(readPicture(dir.filePath("a.bmp")).image, img), 0);
    img.save(dir.filePath("a.gif"), "GIF");
    if (QFileInfo(dir.filePath("a.gif")).size() > 0) // Qt reads GIF but may not write it
        QCOMPARE(readPicture(dir.filePath("a.gif")).image.size(), QSize(30, 20));
    QVERIFY(!writePicture(img, dir.filePath("a.png")));
    QVERIFY(!QFileInfo::exists(dir.filePath("a.png")));
}

void TestPictureLayer::jpegRoundTripAndReducedDecode() {
    const QImage img = gradient(800, 600);
    const QByteArray q100 = encodeJpeg(img, 100);
    const QByteArray q90 = encodeJpeg(img, 90);
    QVERIFY(q100.size() > q90.size());
    const PictureRead full = decodePicture(q100);
    QCOMPARE(full.image.size(), QSize(800, 600));
    QVERIFY(maxDifference(full.image, img) <= 4);
    // The decoder shrinks by 1/8, 1/4 or 1/2 while staying at least the target.
    auto at = [&](QSize target) {
        return decodePicture(q100, [target](QSize) { return target; }).image.size();
    };
    QCOMPARE(at(QSize(100, 75)), QSize(100, 75));
    QCOMPARE(at(QSize(101, 75)), QSize(200, 150));
    QCOMPARE(at(QSize(200, 150)), QSize(200, 150));
    QCOMPARE(at(QSize(400, 301)), QSize(800, 600));
    const PictureRead reduced = decodePicture(q100, [](QSize) { return QSize(10, 10); });
    QCOMPARE(reduced.fullSize, QSize(800, 600));
    // Grey-scale JPEGs come out as colour pictures.
    const PictureRead grey =
        decodePicture(encodeJpeg(img.convertToFormat(QImage::Format_Grayscale8), 95));
    QCOMPARE(grey.image.size(), QSize(800, 600));
}

void TestPictureLayer::pngReducedOnTheWay() {
    // Shown at a third of its size or less, a PNG is averaged down while it
    // is read: 1000 × 800 for 300 × 200 is read in blocks of 3.
    const QImage full = gradient(1000, 800);
    const PictureRead read = decodePicture(pngBytes(full), [](QSize) { return QSize(300, 200); });
    QCOMPARE(read.fullSize, QSize(1000, 800));
    QCOMPARE(read.image.size(), QSize(334, 267));
    QCOMPARE(decodePicture(pngBytes(full)).image.size(), QSize(1000, 800));
    for (const QPoint at : {QPoint(0, 0), QPoint(150, 100), QPoint(333, 266)}) {
        const QColor want = full.pixelColor(qMin(at.x() * 3 + 1, 999), qMin(at.y() * 3 + 1, 799));
        const QColor got = read.image.pixelColor(at);
        QVERIFY(qAbs(got.red() - want.red()) <= 2 && qAbs(got.green() - want.green()) <= 2);
    }
    // Palette pictures with a see-through colour keep it.
    QImage indexed = gradient(600, 600).convertToFormat(QImage::Format_Indexed8);
    indexed.setColor(0, qRgba(0, 0, 0, 0));
    const QImage small =
        decodePicture(pngBytes(indexed), [](QSize) { return QSize(100, 100); }).image;
    QCOMPARE(small.size(), QSize(100, 100));
    QVERIFY(small.hasAlphaChannel());
}

void TestPictureLayer::badInputFailsCleanly() {
    const QByteArray jpeg = encodeJpeg(gradient(300, 200), 90);
    const PictureRead cut = decodePicture(jpeg.left(jpeg.size() / 2));
    QVERIFY(cut.image.isNull());
    QVERIFY(!cut.error.isEmpty());

    QByteArray png = pngBytes(gradient(64, 64));
    const qsizetype idat = png.indexOf("IDAT");
    png[idat + 10] = char(png[idat + 10] ^ 0x55); // the data no longer fits its checksum
    QVERIFY(decodePicture(png).image.isNull());

    QVERIFY(decodePicture(QByteArray()).image.isNull());
    QVERIFY(decodePicture("not a picture at all").image.isNull());
    QVERIFY(decodePicture(QByteArray("\xFF\xD8\xFF", 3)).image.isNull());

    // Huge declared sizes are refused before anything is decoded.
    const PictureRead hugePng = decodePicture(pngDeclaring(100000, 100000));
    QVERIFY(hugePng.image.isNull());
    QCOMPARE(hugePng.fullSize, QSize(100000, 100000));
    QByteArray hugeJpeg = jpeg;
    const qsizetype sof = hugeJpeg.indexOf("\xFF\xC0");
    QVERIFY(sof > 0);
    hugeJpeg[sof + 5] = char(0xFF); // height 65xxx
    hugeJpeg[sof + 6] = char(0x00);
    hugeJpeg[sof + 7] = char(0xFF); // width 65xxx
    hugeJpeg[sof + 8] = char(0x00);
    QVERIFY(decodePicture(hugeJpeg).image.isNull());
    QByteArray hugeBmp = encodeBmp(gradient(4, 4));
    qToLittleEndian(qint32(100000), hugeBmp.data() + 18);
    qToLittleEndian(qint32(100000), hugeBmp.data() + 22);
    QVERIFY(decodePicture(hugeBmp).image.isNull());
}

void TestPictureLayer::thumbnails() {
    QTemporaryDir dir;
    const QString wall = dir.path() + "/";
    QVERIFY(writePicture(gradient(1200, 900), wall + "photo.jpg"));
    QVERIFY(NAILIMAGELOADMAKE(wall + "photo.jpg", wall));
    const QString thumb = wall + "NAIL/~photo.jpg";
    QCOMPARE(sniffPictureFormat(readFile(thumb)), PictureFormat::Jpeg);
    QCOMPARE(readPicture(thumb).image.size(), QSize(800, 600));

    QVERIFY(writePicture(gradient(300, 200), wall + "small.bmp"));
    QVERIFY(NAILIMAGELOADMAKE(wall + "small.bmp", wall));
    QCOMPARE(sniffPictureFormat(readFile(wall + "NAIL/~small.bmp")), PictureFormat::Bmp);
    QCOMPARE(readPicture(wall + "NAIL/~small.bmp").image.size(), QSize(900, 600));

    writeFile(wall + "pic.png", pngBytes(gradient(30, 30)));
    QVERIFY(!NAILIMAGELOADMAKE(wall + "pic.png", wall));
    QVERIFY(!QFileInfo::exists(wall + "NAIL/~pic.png"));

    // A 2000 × 2 strip would need a 600000 × 600 thumbnail: refused.
    QCOMPARE(thumbnailSize(QSize(2000, 2)), QSize());
    QCOMPARE(thumbnailSize(QSize(1200, 900)), QSize(800, 600));
    QCOMPARE(thumbnailSize(QSize(10, 7)), QSize(857, 600));
    QVERIFY(writePicture(gradient(2000, 2), wall + "strip.bmp"));
    QVERIFY(!NAILIMAGELOADMAKE(wall + "strip.bmp", wall));
    QCOMPARE(CardPictures().load("strip.bmp", wall, wall).size(), QSize(2000, 2));

    // Named after another file; a missing picture makes nothing.
    QString error;
    QVERIFY(NAILIMAGELOADMAKE2(wall + "photo.jpg", "card.jpg", wall, &error));
    QVERIFY(QFileInfo::exists(wall + "NAIL/~card.jpg"));
    QVERIFY(!NAILIMAGELOADMAKE2(wall + "gone.jpg", "x.jpg", wall, &error));
}

void TestPictureLayer::cardsShowPicturesWithoutWriting() {
    QTemporaryDir dir;
    const QString wall = dir.path() + "/";
    QDir().mkpath(wall + "a");
    QDir().mkpath(wall + "b");
    auto filled = [](const QColor& c) {
        QImage img(1600, 1200, QImage::Format_RGB32);
        img.fill(c);
        return img;
    };
    QVERIFY(writePicture(filled(Qt::red), wall + "a/cat.jpg"));
    QVERIFY(writePicture(filled(Qt::blue), wall + "b/cat.jpg"));
    auto centre = [](const QImage& img) { return img.pixelColor(img.rect().center()); };
    auto reddish = [](const QColor& c) { return c.red() > 200 && c.blue() < 60; };

    // Same file names in two folders, no thumbnails: each card its own
    // picture, decoded no larger than twice the card, and nothing written.
    CardPictures pictures;
    const QImage a = pictures.load("a\\cat.jpg", wall, wall, QSize(200, 150));
    const QImage b = pictures.load("b\\cat.jpg", wall, wall, QSize(200, 150));
    QVERIFY(reddish(centre(a)));
    QVERIFY(!reddish(centre(b)));
    QVERIFY(a.width() >= 200 && a.width() <= 400);
    QVERIFY(!QFileInfo::exists(wall + "NAIL"));

    // A thumbnail made when the picture was chosen is shown, until the
    // picture is replaced after it.
    QTest::qWait(20);
    QDir().mkpath(wall + "NAIL");
    QVERIFY(writePicture(filled(Qt::green), wall + "NAIL/~cat.jpg"));
    QVERIFY(centre(pictures.load("a\\cat.jpg", wall, wall, QSize(200, 150))).green() > 200);
    QTest::qWait(20);
    QVERIFY(writePicture(filled(Qt::blue), wall + "a/cat.jpg"));
    QVERIFY(centre(pictures.load("a\\cat.jpg", wall, wall, QSize(200, 150))).blue() > 200);

    QVERIFY(pictures.load("missing.jpg", wall, wall).isNull());
    QVERIFY(pictures.load(QString(), wall, wall).isNull());

    // One file shown by eight cards of several sizes is decoded once, for
    // the largest of them, and kept no larger than twice that; a card grown
    // past it has it read again.
    QVERIFY(gradient(2000, 1500).save(wall + "big.png"));
    QVector<CardPictures::Wanted> eight;
    for (int i = 0; i < 8; ++i)
        eight.append({QStringLiteral("big.png"), QSize(100 + 20 * i, 75 + 15 * i)});
    const int decodes = decodedPictureCount();
    pictures.prefetch(eight, wall, wall);
    for (const CardPictures::Wanted& card : eight)
        QVERIFY(pictures.load(card.pictureName, wall, wall, card.shownAt).width() <= 2 * 240);
    QCOMPARE(decodedPictureCount(), decodes + 1);
    QVERIFY(pictures.load("big.png", wall, wall, QSize(600, 450)).width() >= 600);
    QCOMPARE(decodedPictureCount(), decodes + 2);
}

void TestPictureLayer::backgroundFit_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("drawn");
    QTest::newRow("4000x3000") << QSize(4000, 3000) << QRect(0, 0, 1920, 1440);
    QTest::newRow("1000x950") << QSize(1000, 950) << QRect(392, 0, 1137, 1080);
    QTest::newRow("900x1600") << QSize(900, 1600) << QRect(0, 0, 608, 1080);
    QTest::newRow("16:9") << QSize(1280, 720) << QRect(0, 0, 1920, 1080);
    QTest::newRow("square") << QSize(500, 500) << QRect(420, 0, 1080, 1080);
}

void TestPictureLayer::backgroundFit() {
    QFETCH(QSize, picture);
    QFETCH(QRect, drawn);
    QCOMPARE(fitBackground(picture.width(), picture.height(), 1920, 1080), drawn);
}

void TestPictureLayer::stretchDrawKeepsPixels() {
    QImage two(2, 1, QImage::Format_RGB888);
    two.setPixelColor(0, 0, Qt::red);
    two.setPixelColor(1, 0, Qt::blue);
    QImage page(8, 2, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    StretchDrawBitmap(p, QRect(0, 0, 8, 2), two);
    p.end();
    QCOMPARE(page.pixelColor(3, 1), QColor(Qt::red));
    QCOMPARE(page.pixelColor(4, 0), QColor(Qt::blue));
}

QTEST_MAIN(TestPictureLayer)
#include "tst_picturelayer.moc"
