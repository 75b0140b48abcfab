// The public BMP suite, when the shared test data is there (CI has it; a fresh clone may not).

#include <gtest/gtest.h>
#include <malloc.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/PictureLoader.h"

namespace bw {
namespace {

QString suiteDir(const char* group) {
    // BW_SHARED when the test runner sets it, else the shared folder beside the checkout.
    QString shared = qEnvironmentVariable("BW_SHARED");
    if (shared.isEmpty())
        shared = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/../../../shared";
    const QString dir = shared + "/testdata/bmpsuite/" + group;
    return QDir(dir).exists() ? dir : QString();
}

QImage loadPerturbed(const QString& path, int perturb) {
    mallopt(M_PERTURB, perturb);
    QImage image = PictureLoader::load(path);
    mallopt(M_PERTURB, 0);
    return image;
}

// Largest difference of any channel between two pictures of one size.
int maxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return worst;
}

double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

TEST(BmpSuite, EveryGoodFileLoadsAndLooksLikeItsReference) {
    const QString dir = suiteDir("g");
    if (dir.isEmpty()) GTEST_SKIP() << "no BMP suite in ../shared/testdata";
    const QImage truecolour = PictureLoader::load(dir + "/rgb24.bmp");
    const QImage eightBit = PictureLoader::load(dir + "/pal8.bmp");
    const QImage fourBit = PictureLoader::load(dir + "/pal4.bmp");
    ASSERT_FALSE(truecolour.isNull());
    ASSERT_EQ(truecolour.size(), QSize(127, 64));

    // Same picture, other encodings: file -> (reference, largest channel error allowed).
    struct Same {
        const char* file;
        const QImage* reference;
        int tolerance;
    };
    const Same same[] = {
        {"rgb32.bmp", &truecolour, 0},      {"rgb32bf.bmp", &truecolour, 0},
        {"rgb32bfdef.bmp", &truecolour, 0}, {"rgb24pal.bmp", &truecolour, 0},
        {"rgb16.bmp", &truecolour, 8},      {"rgb16bfdef.bmp", &truecolour, 8},
        {"rgb16-565.bmp", &truecolour, 8},  {"rgb16-565pal.bmp", &truecolour, 8},
        {"pal8-0.bmp", &eightBit, 0},       {"pal8os2.bmp", &eightBit, 0},
        {"pal8topdown.bmp", &eightBit, 0},  {"pal8rle.bmp", &eightBit, 0},
        {"pal8v4.bmp", &eightBit, 0},       {"pal8v5.bmp", &eightBit, 0},
        {"pal4rle.bmp", &fourBit, 0},
    };
    for (const Same& s : same) {
        SCOPED_TRACE(s.file);
        const QImage image = PictureLoader::load(dir + "/" + s.file);
        ASSERT_EQ(image.size(), s.reference->size());
        EXPECT_LE(maxDifference(image, *s.reference), s.tolerance);
    }
    // The palette version is the same picture in fewer colours.
    EXPECT_LE(meanDifference(eightBit, truecolour), 16.0);

    for (const QString& name : QDir(dir).entryList({"*.bmp"}, QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        QString why;
        const QImage image = PictureLoader::load(dir + "/" + name, &why);
        EXPECT_FALSE(image.isNull()) << why.toStdString();
        // Qt's reader is right about well-formed files: the same pixels, except that Qt widens
        // 5- and 6-bit channels by a plain shift (white comes out 248) where we scale.
        const QImage qt = QImage(dir + "/" + name).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), qt.size());
        const int tolerance = name.startsWith("rgb16") ? 7 : 0;
        EXPECT_LE(maxDifference(image.convertToFormat(QImage::Format_ARGB32), qt), tolerance);
    }
}

TEST(BmpSuite, QuestionableAndBadFilesNeverShowUnwrittenPixels) {
    int files = 0;
    for (const char* group : {"q", "b"}) {
        const QString dir = suiteDir(group);
        if (dir.isEmpty()) continue;
        for (const QString& name : QDir(dir).entryList({"*.bmp"}, QDir::Files)) {
            SCOPED_TRACE((QString(group) + "/" + name).toStdString());
            const QImage first = loadPerturbed(dir + "/" + name, 0x5A);
            const QImage second = loadPerturbed(dir + "/" + name, 0xA5);
            EXPECT_EQ(first.isNull(), second.isNull());
            EXPECT_TRUE(first == second);
            // The display decides from the header alone whether to decode on another core.
            QFile file(dir + "/" + name);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray data = file.readAll();
            if (data.startsWith("BM")) {
                EXPECT_EQ(PictureLoader::bmpWillDecode(data), !first.isNull());
            }
            ++files;
        }
    }
    if (files == 0) GTEST_SKIP() << "no BMP suite in ../shared/testdata";
}

}  // namespace
}  // namespace bw
