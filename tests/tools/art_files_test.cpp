// The data folder holds every file of the art catalogue, each one a picture the saver can use.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>

#include "Catalogue.h"

namespace {

using bw::art::Asset;
using bw::art::Encoding;
using bw::art::Naming;

QDir dataFolder() { return QDir(qEnvironmentVariable("BW_TEST_DATA")); }

uint32_t read32(const QByteArray& bytes, int at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
    }
    return v;
}

uint16_t read16(const QByteArray& bytes, int at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

class ArtFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("BW_TEST_DATA")) {
            GTEST_SKIP() << "BW_TEST_DATA is not set";
        }
    }
};

TEST_F(ArtFiles, EveryCatalogueFileExistsAndDecodes) {
    for (const Asset& asset : bw::art::catalogue()) {
        if (asset.encoding == Encoding::Wave) {
            continue;
        }
        for (const QString& path : bw::art::imagePaths(asset)) {
            SCOPED_TRACE(path.toStdString());
            const QImage image(dataFolder().filePath(path));
            ASSERT_FALSE(image.isNull()) << "missing or unreadable";
            EXPECT_EQ(image.size(), asset.size);
        }
    }
}

TEST_F(ArtFiles, SpritesAreBmpV5WithAlphaMaskAndBackdropsAre24Bit) {
    for (const Asset& asset : bw::art::catalogue()) {
        if (asset.encoding != Encoding::Sprite && asset.encoding != Encoding::Opaque) {
            continue;
        }
        for (const QString& path : bw::art::imagePaths(asset)) {
            SCOPED_TRACE(path.toStdString());
            QFile file(dataFolder().filePath(path));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            ASSERT_GT(bytes.size(), 54);
            EXPECT_EQ(bytes.left(2), QByteArray("BM"));
            EXPECT_EQ(read32(bytes, 2), static_cast<uint32_t>(bytes.size()));
            if (asset.encoding == Encoding::Sprite) {
                EXPECT_EQ(read32(bytes, 14), 124u) << "BITMAPV5HEADER";
                EXPECT_EQ(read16(bytes, 28), 32);
                EXPECT_EQ(read32(bytes, 30), 3u) << "BI_BITFIELDS";
                EXPECT_EQ(read32(bytes, 14 + 52), 0xFF000000u) << "alpha mask";
            } else {
                EXPECT_EQ(read32(bytes, 14), 40u);
                EXPECT_EQ(read16(bytes, 28), 24);
            }
        }
    }
}

// A sprite has transparent surroundings, a visible body and anti-aliased edges.
TEST_F(ArtFiles, SpritesHaveRealAlpha) {
    for (const Asset& asset : bw::art::catalogue()) {
        if (asset.encoding != Encoding::Sprite || asset.size.width() < 10) {
            continue;
        }
        for (const QString& path : bw::art::imagePaths(asset)) {
            SCOPED_TRACE(path.toStdString());
            const QImage image =
                QImage(dataFolder().filePath(path)).convertToFormat(QImage::Format_ARGB32);
            ASSERT_TRUE(image.hasAlphaChannel());
            qint64 clear = 0, opaque = 0, partial = 0;
            for (int y = 0; y < image.height(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    const int a = qAlpha(line[x]);
                    (a == 0 ? clear : a == 255 ? opaque : partial)++;
                }
            }
            const qint64 all = qint64(image.width()) * image.height();
            EXPECT_GT(clear, 0) << "no transparent surroundings";
            EXPECT_GT(clear + partial, all / 50) << "hardly any see-through area";
            EXPECT_GT(opaque + partial, all / 10) << "hardly anything drawn";
            EXPECT_GT(partial, 20) << "no anti-aliased edge";
        }
    }
}

TEST_F(ArtFiles, SmallBubblesAreRoundAndSeeThrough) {
    for (int size : {2, 4, 6}) {
        const QString path = QStringLiteral("Misc/b%1x%1.bmp").arg(size);
        SCOPED_TRACE(path.toStdString());
        const QImage image =
            QImage(dataFolder().filePath(path)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(size, size));
        int visible = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                visible += qAlpha(image.pixel(x, y)) > 0;
                EXPECT_LT(qAlpha(image.pixel(x, y)), 255) << "a bubble is never solid";
            }
        }
        EXPECT_GT(visible, 0);
    }
}

// Numbered families stop exactly at their last image, so the saver's ping-pong order
// (1..N..2) has the frame count it expects.
TEST_F(ArtFiles, AnimatedFamiliesHaveTheirFrameCounts) {
    struct Case {
        const char* stem;
        int frames;
    };
    const Case cases[] = {{"fish/1Angel", 18},  {"fish/1ClownFish", 18}, {"fish/2butterfly", 18},
                          {"fish/1MyFish", 18}, {"fish/2MyFish", 18},    {"fish/3MyFish", 18},
                          {"fish/4MyFish", 18}, {"fish/Fisheat", 18},    {"fish/2Fisheat", 18},
                          {"fish/Dolphin", 18}, {"fish/Shark", 18},      {"fish/Turtle", 14},
                          {"fish/DarkFish3", 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stem);
        const Asset* asset = bw::art::findAsset(QString::fromLatin1(c.stem));
        ASSERT_NE(asset, nullptr);
        EXPECT_EQ(bw::art::frameCount(*asset), c.frames);
        if (asset->naming == Naming::Numbered) {
            const QString beyond =
                QStringLiteral("%1%2.bmp").arg(QLatin1String(c.stem)).arg(asset->images + 1);
            EXPECT_FALSE(dataFolder().exists(beyond)) << "an image beyond the last";
        }
        // Successive images of a cycle differ: the creature moves.
        const QStringList paths = bw::art::imagePaths(*asset);
        for (int i = 1; i < paths.size(); ++i) {
            EXPECT_NE(QImage(dataFolder().filePath(paths[i - 1])),
                      QImage(dataFolder().filePath(paths[i])))
                << paths[i].toStdString();
        }
    }
}

TEST(ArtCatalogue, NamesAreExactAndUnique) {
    QSet<QString> seen;
    for (const Asset& asset : bw::art::catalogue()) {
        for (const QString& path : bw::art::imagePaths(asset)) {
            EXPECT_FALSE(seen.contains(path.toLower())) << path.toStdString();
            seen.insert(path.toLower());
        }
    }
    for (const char* path :
         {"Misc/Calendar.bmp",        "Misc/b2x2.bmp",           "Misc/BB1.bmp",
          "Misc/TuneMsg.bmp",         "Misc/PwrMsg.bmp",         "Misc/monitor.bmp",
          "Misc/preview.bmp",         "Water/cool waters.bmp",   "Bottom/brickwall.bmp",
          "Bottom/JaggedBottom.bmp",  "Bottom/Shellbottom.bmp",  "Bottom/pebbles2.bmp",
          "Bottom/bottom06.bmp",      "Plants/darkcliff03b.bmp", "Plants/coral14.bmp",
          "Plants/cliff05.bmp",       "Artifacts/castle.bmp",    "Artifacts/Litehous.bmp",
          "Artifacts/Lighthouse.bmp", "Artifacts/pyramid.bmp",   "Artifacts/Statue3.bmp",
          "fish/1Angel10.bmp",        "fish/2butterfly1.bmp",    "fish/2Fisheat10.bmp",
          "fish/Turtle8.bmp",         "fish/DarkFish5c.bmp",     "bubbles1.wav"}) {
        EXPECT_TRUE(seen.contains(QString::fromLatin1(path).toLower())) << path;
        bool exact = false;
        for (const Asset& asset : bw::art::catalogue()) {
            exact = exact || bw::art::imagePaths(asset).contains(QString::fromLatin1(path));
        }
        EXPECT_TRUE(exact) << "letter case of " << path;
    }
}

TEST_F(ArtFiles, AtLeastFiveWaterBackdropsIncludingTheFactoryChoice) {
    const QStringList backdrops =
        dataFolder().entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    const QStringList water = QDir(dataFolder().filePath(QStringLiteral("Water")))
                                  .entryList({QStringLiteral("*.bmp")}, QDir::Files);
    EXPECT_GE(water.size(), 5);
    EXPECT_TRUE(water.contains(QStringLiteral("cool waters.bmp")));
    // Each backdrop has its own mood: no two share their average colour.
    QSet<QRgb> averages;
    for (const QString& name : water) {
        const QImage small = QImage(dataFolder().filePath(QStringLiteral("Water/") + name))
                                 .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        averages.insert(small.pixel(0, 0));
    }
    EXPECT_EQ(averages.size(), water.size());
}

TEST_F(ArtFiles, PowerHelpPageIsInTheDataFolder) {
    QFile page(dataFolder().filePath(QStringLiteral("power_help.htm")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray text = page.readAll();
    EXPECT_TRUE(text.contains("<html")) << "an HTML page";
    EXPECT_TRUE(text.contains("</html>"));
}

}  // namespace
