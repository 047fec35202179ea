#include "pictures/pictureops.h"

#include <QtTest>

namespace {

// A picture in which every pixel has a colour of its own (up to 256 a side).
QImage numbered(int width, int height, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgba(x, y, (x * 7 + y * 13) & 0xFF, 255 - (x + y) % 200));
    return picture;
}

const QRgb kFill = qRgb(240, 251, 255);

} // namespace

class TestPictureOps : public QObject {
    Q_OBJECT
private slots:
    void sizes_data();
    void sizes();
    void bilinearValues();
    void quarterTurnKeepsEveryPixel();
    void slantedTurnShowsThroughOnlyAround();
    void mirrors();
    void nothingToWorkOn();
};

void TestPictureOps::sizes_data() {
    QTest::addColumn<bool>("turn");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("zoom 2") << false << 2.0 << QSize(200, 100);
    QTest::newRow("zoom 1/2") << false << 0.5 << QSize(50, 25);
    // The corners are rounded by truncating toward zero after adding a half.
    QTest::newRow("turn 90") << true << 90.0 << QSize(49, 100);
    QTest::newRow("turn -90") << true << -90.0 << QSize(50, 99);
    QTest::newRow("turn 45") << true << 45.0 << QSize(105, 106);
    QTest::newRow("turn 0") << true << 0.0 << QSize(100, 50);
}

void TestPictureOps::sizes() {
    QFETCH(bool, turn);
    QFETCH(double, amount);
    QFETCH(QSize, expected);
    const QImage source = numbered(100, 50);
    if (turn) {
        QCOMPARE(rotatedSize(source.size(), amount), expected);
        QCOMPARE(Rotate(source, amount).size(), expected);
    } else {
        const QImage zoomed = BitmapResize_Bilinear(source, int(100 * amount), int(50 * amount));
        QCOMPARE(zoomed.size(), expected);
        QVERIFY(!zoomed.hasAlphaChannel());
    }
}

void TestPictureOps::bilinearValues() {
    // Black and white side by side, twice as wide: the second pixel samples
    // half way (127.5, halves to even), the last two sit on the white one.
    QImage pair(2, 1, QImage::Format_RGB32);
    pair.setPixel(0, 0, qRgb(0, 0, 0));
    pair.setPixel(1, 0, qRgb(255, 255, 255));
    const QImage wide = BitmapResize_Bilinear(pair, 4, 1);
    const int reds[] = {0, 128, 255, 255};
    for (int x = 0; x < 4; ++x)
        QCOMPARE(qRed(wide.pixel(x, 0)), reds[x]);

    // Each channel on its own, in both directions.
    QImage square(2, 2, QImage::Format_RGB888);
    square.setPixel(0, 0, qRgb(0, 100, 200));
    square.setPixel(1, 0, qRgb(100, 0, 50));
    square.setPixel(0, 1, qRgb(200, 200, 0));
    square.setPixel(1, 1, qRgb(0, 0, 0));
    const QImage big = BitmapResize_Bilinear(square, 4, 4);
    QCOMPARE(big.pixel(0, 0), qRgb(0, 100, 200));
    QCOMPARE(big.pixel(1, 1), qRgb(75, 75, 62)); // blue is 62.5
    QCOMPARE(big.pixel(2, 0), qRgb(100, 0, 50));
    QCOMPARE(big.pixel(3, 3), qRgb(0, 0, 0));

    // A see-through picture keeps its alpha, resampled like a colour.
    QImage faded(2, 1, QImage::Format_ARGB32);
    faded.setPixel(0, 0, qRgba(10, 10, 10, 0));
    faded.setPixel(1, 0, qRgba(10, 10, 10, 255));
    QCOMPARE(qAlpha(BitmapResize_Bilinear(faded, 4, 1).pixel(1, 0)), 128);
}

void TestPictureOps::quarterTurnKeepsEveryPixel() {
    QImage source = numbered(100, 50, QImage::Format_RGB32);
    // The fill colour inside the picture is a picture pixel like any other.
    source.setPixel(0, 0, kFill);
    const QImage turned = Rotate(source, 90);
    QCOMPARE(turned.size(), QSize(49, 100));
    // Clockwise: the top-left pixel goes to the top right. Nothing of the
    // picture is see-through.
    for (int j = 0; j < turned.height(); ++j)
        for (int i = 0; i < turned.width(); ++i)
            QCOMPARE(turned.pixel(i, j), source.pixel(j, 48 - i));
    QCOMPARE(turned.pixel(48, 0), kFill | 0xFF000000u);
}

void TestPictureOps::slantedTurnShowsThroughOnlyAround() {
    const QImage source = numbered(100, 50, QImage::Format_RGB888);
    const QImage turned = Rotate(source, 45);
    QCOMPARE(turned.size(), QSize(105, 106));
    for (QPoint corner : {QPoint(0, 0), QPoint(104, 0), QPoint(0, 105), QPoint(104, 105)}) {
        QCOMPARE(qAlpha(turned.pixel(corner)), 0);
        QCOMPARE(turned.pixel(corner) & 0xFFFFFF, kFill & 0xFFFFFF);
    }
    QCOMPARE(qAlpha(turned.pixel(52, 53)), 255);
}

void TestPictureOps::mirrors() {
    const QImage source = numbered(30, 20, QImage::Format_ARGB32);
    QCOMPARE(SAYU(SAYU(source)), source);
    QCOMPARE(JOUGE(JOUGE(source)), source);
    QCOMPARE(SAYU(source).pixel(0, 5), source.pixel(29, 5));
    QCOMPARE(JOUGE(source).pixel(4, 0), source.pixel(4, 19));
}

void TestPictureOps::nothingToWorkOn() {
    const QImage source = numbered(10, 10);
    QVERIFY(BitmapResize_Bilinear(source, 0, 10).isNull());
    QVERIFY(BitmapResize_Bilinear(source, 10, -1).isNull());
    QVERIFY(BitmapResize_Bilinear(QImage(), 5, 5).isNull());
    QVERIFY(Rotate(QImage(), 30).isNull());
    QVERIFY(rotatedSize(QSize(), 30).isEmpty());
    QVERIFY(SAYU(QImage()).isNull());
}

QTEST_APPLESS_MAIN(TestPictureOps)
#include "tst_pictureops.moc"
