#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "picture_BmpWriter.h"
#include "platform/PictureLoader.h"

namespace bw {
namespace {

using test::bmpOf;
using test::putU16;
using test::putU32;
using test::rle8Bmp;

QImage sample(int width, int height, bool translucent) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgba(x * 40, y * 50, 200 - x * 10, translucent ? 30 + x * 20 : 255));
    }
    return image;
}

// Decodes twice with the allocator filling fresh memory differently: a decoder that hands back
// pixels it never wrote gives two different pictures.
QImage decodeChecked(const QByteArray& data) {
    mallopt(M_PERTURB, 0x5A);
    const QImage first = PictureLoader::decode(data);
    mallopt(M_PERTURB, 0xA5);
    const QImage second = PictureLoader::decode(data);
    mallopt(M_PERTURB, 0);
    EXPECT_EQ(first.isNull(), second.isNull());
    EXPECT_TRUE(first == second) << "pixels differ between two decodes of the same data";
    // What the header check promises, the decoder keeps (the display relies on it to decode
    // on another core).
    if (data.startsWith("BM")) {
        EXPECT_EQ(PictureLoader::bmpWillDecode(data), !first.isNull()) << "header check disagrees";
    }
    return first;
}

TEST(PictureLoader, Decodes24BitBottomUpRows) {
    const QImage original = sample(5, 3, false);
    const QImage decoded = decodeChecked(bmpOf(original, 24));
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_EQ(decoded, original.convertToFormat(QImage::Format_RGB32));
}

TEST(PictureLoader, Decodes32BitAlphaAndTreatsAllZeroAlphaAsOpaque) {
    const QImage translucent = sample(4, 4, true);
    const QImage decoded = decodeChecked(bmpOf(translucent, 32));
    EXPECT_EQ(decoded.format(), QImage::Format_ARGB32);
    EXPECT_EQ(decoded, translucent);

    // Many writers leave the fourth byte zero: that is padding, not an invisible picture.
    QImage noAlpha = sample(4, 4, false);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) noAlpha.setPixel(x, y, noAlpha.pixel(x, y) & 0x00FFFFFF);
    const QImage padded = decodeChecked(bmpOf(noAlpha, 32));
    EXPECT_EQ(padded.format(), QImage::Format_RGB32);
    EXPECT_EQ(padded.pixel(2, 1), sample(4, 4, false).pixel(2, 1));
}

TEST(PictureLoader, TopDownRowsStayInOrder) {
    const QImage original = sample(3, 4, false);
    QByteArray data = bmpOf(original, 24);
    // Turn the file upside down: negative height, rows reversed.
    putU32(data, 22, uint32_t(-4));
    const int rowBytes = 12;
    QByteArray rows;
    for (int r = 3; r >= 0; --r) rows += data.mid(54 + r * rowBytes, rowBytes);
    data = data.left(54) + rows;
    EXPECT_EQ(decodeChecked(data), original.convertToFormat(QImage::Format_RGB32));
}

TEST(PictureLoader, RefusesEveryTruncation) {
    // 4 pixels of 24 bits make a row without padding: one byte less is a missing pixel byte.
    const QByteArray whole = bmpOf(sample(4, 4, false), 24);
    ASSERT_FALSE(decodeChecked(whole).isNull());
    for (int length : {0, 1, 2, 10, 14, 20, 40, 53, 54, 55, 60, 100, int(whole.size()) - 1}) {
        SCOPED_TRACE(length);
        EXPECT_TRUE(decodeChecked(whole.left(length)).isNull());
    }
}

TEST(PictureLoader, RefusesLyingHeaders) {
    const QByteArray good = bmpOf(sample(4, 4, false), 24);
    struct Case {
        const char* name;
        int offset;
        int bytes;  // 2 or 4
        uint32_t value;
    };
    const Case cases[] = {
        {"pixel offset past the end", 10, 4, 5000},
        {"pixel offset inside the header", 10, 4, 20},
        {"unknown header size", 14, 4, 41},
        {"zero width", 18, 4, 0},
        {"negative width", 18, 4, uint32_t(-4)},
        {"zero height", 22, 4, 0},
        {"most negative height", 22, 4, 0x80000000u},
        {"two planes", 26, 2, 2},
        {"seven bits per pixel", 28, 2, 7},
        {"unknown compression", 30, 4, 9},
        {"RLE8 on a 24-bit picture", 30, 4, 1},
        {"huge width", 18, 4, 100000},
        {"huge but square", 18, 4, 30000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray data = good;
        if (c.bytes == 2)
            putU16(data, c.offset, uint16_t(c.value));
        else
            putU32(data, c.offset, c.value);
        EXPECT_TRUE(decodeChecked(data).isNull());
    }
}

TEST(PictureLoader, RefusesHugeDimensionsEvenWhenTheFileHoldsTheData) {
    // 9000 x 9000 at 1 bit is only ~10 MB of file but 81 M pixels: over the cap.
    test::BmpHeader h;
    h.width = 9000;
    h.height = 9000;
    h.bitCount = 1;
    h.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    const uint32_t rowBytes = ((9000 + 31) / 32) * 4;
    QByteArray data = test::bmpHeaders(h, rowBytes * 9000);
    data.resize(data.size() + qsizetype(rowBytes) * 9000);
    EXPECT_TRUE(decodeChecked(data).isNull());
}

TEST(PictureLoader, PaletteIndexesBeyondThePaletteAreBlack) {
    test::BmpHeader h;
    h.width = 4;
    h.height = 1;
    h.bitCount = 8;
    h.coloursUsed = 2;
    h.palette = {qRgb(10, 20, 30), qRgb(200, 100, 50)};
    QByteArray data = test::bmpHeaders(h, 4);
    data += QByteArray("\x00\x01\x07\xFF", 4);
    const QImage image = decodeChecked(data);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(1, 0), qRgb(200, 100, 50));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(3, 0), qRgb(0, 0, 0));
}

TEST(PictureLoader, DecodesRle8) {
    const std::vector<QRgb> palette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0)};
    // Bottom row: 3 x red, literal (green, red, green); top row: 6 x green; end.
    const QByteArray stream("\x03\x01\x00\x03\x02\x01\x02\x00\x00\x00\x06\x02\x00\x01", 14);
    const QImage image = decodeChecked(rle8Bmp(6, 2, palette, stream));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    const QRgb r = qRgb(255, 0, 0), g = qRgb(0, 255, 0);
    const QRgb bottom[] = {r, r, r, g, r, g};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(image.pixel(x, 1), bottom[x]) << x;
        EXPECT_EQ(image.pixel(x, 0), g) << x;
    }
}

TEST(PictureLoader, BrokenRleNeverShowsUnwrittenPixels) {
    const std::vector<QRgb> palette = {qRgb(9, 9, 9), qRgb(255, 0, 0)};
    struct Case {
        const char* name;
        QByteArray stream;
    };
    const Case cases[] = {
        {"no end marker", QByteArray("\x04\x01", 2)},
        {"run past the row end", QByteArray("\xFF\x01\x00\x01", 4)},
        {"literal longer than the data", QByteArray("\x00\x40\x01\x01", 4)},
        {"move far outside", QByteArray("\x00\x02\xFF\xFF\x02\x01\x00\x01", 8)},
        {"cut inside a move", QByteArray("\x00\x02\x01", 3)},
        {"empty stream", QByteArray()},
        {"only line ends", QByteArray("\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = decodeChecked(rle8Bmp(4, 3, palette, c.stream));
        if (image.isNull()) continue;
        // Whatever was not written is transparent, never leftover memory.
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                EXPECT_TRUE(p == qRgb(255, 0, 0) || p == qRgb(9, 9, 9) || qAlpha(p) == 0)
                    << x << "," << y << " " << std::hex << p;
            }
        }
    }
}

TEST(PictureLoader, DecodesOtherFormatsThroughQt) {
    const QImage original = sample(6, 5, true);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(original.save(&buffer, "PNG"));
    const QImage decoded = decodeChecked(png);
    EXPECT_EQ(decoded.format(), QImage::Format_ARGB32);
    EXPECT_EQ(decoded, original);

    for (int length : {8, 20, 33, int(png.size()) / 2}) {
        SCOPED_TRACE(length);
        decodeChecked(png.left(length));  // refused or deterministic, never a crash
    }
    EXPECT_TRUE(decodeChecked(QByteArray("not a picture at all")).isNull());
}

TEST(PictureLoader, RefusesWhatIsNotARegularFileWithoutBlocking) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath("fifo.bmp");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A sparse file far above the size cap: refused by its size, not read.
    const QString sparse = dir.filePath("sparse.bmp");
    {
        QFile file(sparse);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.write("BM") == 2);
        ASSERT_TRUE(file.resize(qint64(4) << 30));
    }
    const QString empty = dir.filePath("empty.bmp");
    QFile(empty).open(QIODevice::WriteOnly);

    const QString paths[] = {
        dir.path(), fifo, "/dev/zero", sparse, empty, dir.filePath("missing.bmp"), QString()};
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        QString why;
        EXPECT_TRUE(PictureLoader::load(path, &why).isNull());
        EXPECT_FALSE(why.isEmpty());
    }
}

TEST(PictureLoader, LoadsAFileFromDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath("fish.bmp");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bmpOf(sample(7, 3, true), 32));
    file.close();
    EXPECT_EQ(PictureLoader::load(path), sample(7, 3, true));
}

}  // namespace
}  // namespace bw
