// Our BMP writer's files read back pixel for pixel, alpha included, through Qt's own reader.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "BmpWriter.h"

namespace {

QImage decode(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    return reader.read();
}

QImage testPattern() {
    QImage image(7, 5, QImage::Format_ARGB32);  // odd width: row padding matters at 24 bits
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = (x == 0) ? 0 : (x == 1 ? 128 : 255);
            image.setPixel(x, y, qRgba(30 * x, 40 * y, 200 - 20 * x, alpha));
        }
    }
    return image;
}

TEST(BmpWriter, ThirtyTwoBitKeepsColourAndAlpha) {
    const QImage source = testPattern();
    const QImage back = decode(bw::art::encodeBmp32(source)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(back.size(), source.size());
    ASSERT_TRUE(back.hasAlphaChannel());
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb want = source.pixel(x, y), got = back.pixel(x, y);
            EXPECT_EQ(qAlpha(got), qAlpha(want)) << x << "," << y;
            if (qAlpha(want) == 255) {
                EXPECT_EQ(got, want) << x << "," << y;
            } else if (qAlpha(want) == 0) {
                EXPECT_EQ(got, 0u) << "transparent pixels are written black (colour key)";
            }
        }
    }
}

TEST(BmpWriter, TwentyFourBitIsOpaqueAndExact) {
    const QImage source = testPattern().convertToFormat(QImage::Format_RGB32);
    const QByteArray bytes = bw::art::encodeBmp24(source);
    EXPECT_EQ(bytes.size(), 54 + 5 * 24);  // rows of 21 bytes padded to 24
    const QImage back = decode(bytes).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), source.size());
    EXPECT_FALSE(back.hasAlphaChannel());
    EXPECT_EQ(back, source);
}

}  // namespace

// A full disk must not pass for a written file: a small file sits in the write buffer until it
// is closed, where the error shows (a truncated picture would otherwise be stamped complete).
TEST(WriteFile, ReportsAFullDisk) {
    if (!QFileInfo::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    EXPECT_FALSE(bw::art::writeFile("/dev/full", QByteArray(100, 'x')));
    EXPECT_FALSE(bw::art::writeFile("/dev/full", QByteArray(1 << 20, 'x')));
}
