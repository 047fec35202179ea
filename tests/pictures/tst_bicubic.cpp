#include "pictures/bicubic.h"
#include "pictures/bicubic_reference.h"

#include <QtTest>
#include <cmath>
#include <limits>
#include <random>

namespace {

QImage randomPicture(int width, int height, unsigned seed,
                     QImage::Format format = QImage::Format_RGB888) {
    std::mt19937 random(seed);
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar* line = picture.scanLine(y);
        for (int i = 0; i < 3 * width; ++i)
            line[i] = uchar(random() & 0xff);
    }
    return picture.convertToFormat(format);
}

// A picture from rows of "R,G,B" triples.
QImage pictureOf(const QList<QList<QRgb>>& rows) {
    QImage picture(int(rows.first().size()), int(rows.size()), QImage::Format_RGB888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, rows[y][x]);
    return picture;
}

} // namespace

class TestBicubic : public QObject {
    Q_OBJECT
private slots:
    void kernelValues_data();
    void kernelValues();
    void kernelWeightsSumToOne_data();
    void kernelWeightsSumToOne();
    void setByte_data();
    void setByte();
    void sameSizeIsIdentity_data();
    void sameSizeIsIdentity();
    void twoByTwoToFourByFourMatchesExactly();
    void twoByTwoToFourByFourByHand();
    void wholeFactorShrinkPicksSourcePixels_data();
    void wholeFactorShrinkPicksSourcePixels();
    void matchesReference_data();
    void matchesReference();
    void sharpEdgeOvershootClamps();
    void nothingToResample_data();
    void nothingToResample();
};

void TestBicubic::kernelValues_data() {
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("expected");
    QTest::newRow("0") << 0.0 << 1.0;
    QTest::newRow("0.25") << 0.25 << 0.890625;
    QTest::newRow("0.5") << 0.5 << 0.625;
    QTest::newRow("0.75") << 0.75 << 0.296875;
    QTest::newRow("1") << 1.0 << 0.0;
    QTest::newRow("1.25") << 1.25 << -0.140625;
    QTest::newRow("1.5") << 1.5 << -0.125;
    QTest::newRow("1.75") << 1.75 << -0.046875;
    QTest::newRow("2") << 2.0 << 0.0;
}

void TestBicubic::kernelValues() {
    QFETCH(double, t);
    QFETCH(double, expected);
    // Every value here is a short binary fraction, so the kernel is exact.
    QCOMPARE(bicubicKernel(t), expected);
}

void TestBicubic::kernelWeightsSumToOne_data() {
    QTest::addColumn<double>("f");
    QTest::newRow("0") << 0.0;
    QTest::newRow("0.1") << 0.1;
    QTest::newRow("0.5") << 0.5;
    QTest::newRow("0.9") << 0.9;
}

void TestBicubic::kernelWeightsSumToOne() {
    // The four taps around a position between two pixels; a flat picture
    // must stay flat, which needs both pieces of the kernel right.
    QFETCH(double, f);
    const double sum =
        bicubicKernel(1 + f) + bicubicKernel(f) + bicubicKernel(1 - f) + bicubicKernel(2 - f);
    QVERIFY2(std::fabs(sum - 1.0) < 1e-12, qPrintable(QString::number(sum, 'g', 17)));
}

void TestBicubic::setByte_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5 to even") << 2.5 << 2;
    QTest::newRow("3.5 to even") << 3.5 << 4;
    QTest::newRow("0.5 to even") << 0.5 << 0;
    QTest::newRow("254.5 to even") << 254.5 << 254;
    QTest::newRow("just above a half") << 254.500001 << 255;
    QTest::newRow("127.49") << 127.49 << 127;
    QTest::newRow("-0.4") << -0.4 << 0;
    QTest::newRow("-31.875") << -31.875 << 0;
    QTest::newRow("255.6") << 255.6 << 255;
    QTest::newRow("300") << 300.0 << 255;
    QTest::newRow("huge") << 1e300 << 255;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestBicubic::setByte() {
    QFETCH(double, x);
    QFETCH(int, expected);
    QCOMPARE(SetByte(x), expected);
}

void TestBicubic::sameSizeIsIdentity_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("1x1") << QSize(1, 1);
    QTest::newRow("13x1") << QSize(13, 1);
    QTest::newRow("1x9") << QSize(1, 9);
    QTest::newRow("37x23") << QSize(37, 23);
    QTest::newRow("640x480, threaded") << QSize(640, 480);
}

void TestBicubic::sameSizeIsIdentity() {
    QFETCH(QSize, size);
    const QImage source = randomPicture(size.width(), size.height(), 7);
    QCOMPARE(BitmapResize_Bicubic(source, size.width(), size.height()), source);
}

void TestBicubic::twoByTwoToFourByFourMatchesExactly() {
    // Every weight here is a multiple of 1/8, so the sums are exact whatever
    // their order and no rounding may differ.
    for (unsigned seed = 1; seed <= 200; ++seed) {
        const QImage source = randomPicture(2, 2, seed);
        QCOMPARE(BitmapResize_Bicubic(source, 4, 4), referenceBicubic(source, 4, 4));
    }
}

void TestBicubic::twoByTwoToFourByFourByHand() {
    const QImage source =
        pictureOf({{qRgb(10, 20, 30), qRgb(200, 100, 0)}, {qRgb(50, 60, 70), qRgb(90, 80, 250)}});
    const QImage result = BitmapResize_Bicubic(source, 4, 4);
    QCOMPARE(result.format(), QImage::Format_RGB888);
    QCOMPARE(result, referenceBicubic(source, 4, 4));
    // (1, 0) samples x = 0.5: weights −1/8, 5/8, 5/8, −1/8 on columns −1..2,
    // and both outside columns read column 0: 3/8 of it plus 5/8 of column 1.
    QCOMPARE(result.pixel(1, 0), qRgb(129, 70, 11));
    // (3, 0) samples 1.5: columns 2 and 3 are outside and read column 1, so
    // −1/8 of column 0 plus 9/8 of column 1; blue goes to −3.75 and clamps.
    QCOMPARE(result.pixel(3, 0), qRgb(224, 110, 0));
    // Both axes at 0.5, and both at 1.5 (blue overshoots to 307).
    QCOMPARE(result.pixel(1, 1), qRgb(95, 72, 118));
    QCOMPARE(result.pixel(3, 3), qRgb(79, 79, 255));
    // Even positions fall on source pixels.
    QCOMPARE(result.pixel(0, 0), source.pixel(0, 0));
    QCOMPARE(result.pixel(2, 2), source.pixel(1, 1));
}

void TestBicubic::wholeFactorShrinkPicksSourcePixels_data() {
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("target");
    QTest::newRow("halves") << QSize(40, 30) << QSize(20, 15);
    QTest::newRow("fifths by thirds") << QSize(45, 30) << QSize(9, 10);
    QTest::newRow("to 1x1") << QSize(50, 30) << QSize(1, 1);
}

void TestBicubic::wholeFactorShrinkPicksSourcePixels() {
    // With no half-pixel offset, target pixel i sits exactly on source pixel
    // i × factor, where only the centre tap has weight.
    QFETCH(QSize, source);
    QFETCH(QSize, target);
    const QImage picture = randomPicture(source.width(), source.height(), 11);
    const QImage result = BitmapResize_Bicubic(picture, target.width(), target.height());
    const int fx = source.width() / target.width();
    const int fy = source.height() / target.height();
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            QCOMPARE(result.pixel(x, y), picture.pixel(x * fx, y * fy));
}

void TestBicubic::matchesReference_data() {
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<int>("format");
    const int rgb = QImage::Format_RGB888;
    QTest::newRow("enlarge odd") << QSize(37, 23) << QSize(100, 61) << rgb;
    QTest::newRow("shrink odd") << QSize(101, 79) << QSize(31, 17) << rgb;
    QTest::newRow("shrink one axis, enlarge the other") << QSize(90, 20) << QSize(33, 47) << rgb;
    QTest::newRow("threaded enlarge") << QSize(300, 200) << QSize(641, 433) << rgb;
    QTest::newRow("threaded shrink") << QSize(1203, 901) << QSize(400, 299) << rgb;
    QTest::newRow("strong shrink") << QSize(2000, 3) << QSize(17, 5) << rgb;
    QTest::newRow("1x1 source") << QSize(1, 1) << QSize(5, 3) << rgb;
    QTest::newRow("1-wide source") << QSize(1, 40) << QSize(7, 13) << rgb;
    QTest::newRow("1-high source") << QSize(40, 1) << QSize(9, 2) << rgb;
    QTest::newRow("1-wide target") << QSize(50, 30) << QSize(1, 17) << rgb;
    QTest::newRow("1-high target") << QSize(50, 30) << QSize(23, 1) << rgb;
    QTest::newRow("wide thin target") << QSize(3, 3) << QSize(1000, 2) << rgb;
    QTest::newRow("32-bit source") << QSize(64, 48) << QSize(50, 70) << int(QImage::Format_RGB32);
    QTest::newRow("grey source") << QSize(64, 48) << QSize(99, 31)
                                 << int(QImage::Format_Grayscale8);
}

void TestBicubic::matchesReference() {
    QFETCH(QSize, source);
    QFETCH(QSize, target);
    QFETCH(int, format);
    const QImage picture =
        randomPicture(source.width(), source.height(), 3, QImage::Format(format));
    const QImage result = BitmapResize_Bicubic(picture, target.width(), target.height());
    QCOMPARE(result.format(), QImage::Format_RGB888);
    QCOMPARE(result.size(), target);
    // Float sums in another order may tip a rounding, never more.
    const int difference =
        maxChannelDifference(result, referenceBicubic(picture, target.width(), target.height()));
    QVERIFY2(difference >= 0 && difference <= 1,
             qPrintable(QStringLiteral("largest channel difference %1").arg(difference)));
}

void TestBicubic::sharpEdgeOvershootClamps() {
    // Red rises from 0 to 255 across the middle, green falls, blue is flat.
    const QList<QRgb> row = {qRgb(0, 255, 100), qRgb(0, 255, 100), qRgb(255, 0, 100),
                             qRgb(255, 0, 100)};
    const QImage result = BitmapResize_Bicubic(pictureOf({row, row}), 8, 4);
    // At x = 0.5 red sums to −31.875 and green to 286.875; at 2.5 the other
    // way round; at 1.5 both are exactly 127.5 and go to the even 128.
    const QList<QRgb> expected = {qRgb(0, 255, 100),   qRgb(0, 255, 100), qRgb(0, 255, 100),
                                  qRgb(128, 128, 100), qRgb(255, 0, 100), qRgb(255, 0, 100),
                                  qRgb(255, 0, 100),   qRgb(255, 0, 100)};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            QCOMPARE(result.pixel(x, y), expected[x]);
}

void TestBicubic::nothingToResample_data() {
    QTest::addColumn<QImage>("source");
    QTest::addColumn<QSize>("target");
    const QImage some = randomPicture(4, 3, 5);
    QTest::newRow("null source") << QImage() << QSize(10, 10);
    QTest::newRow("0x0 source") << QImage(0, 0, QImage::Format_RGB888) << QSize(10, 10);
    QTest::newRow("width 0") << some << QSize(0, 10);
    QTest::newRow("height 0") << some << QSize(10, 0);
    QTest::newRow("negative") << some << QSize(-3, 5);
}

void TestBicubic::nothingToResample() {
    QFETCH(QImage, source);
    QFETCH(QSize, target);
    QVERIFY(BitmapResize_Bicubic(source, target.width(), target.height()).isNull());
}

QTEST_APPLESS_MAIN(TestBicubic)
#include "tst_bicubic.moc"
