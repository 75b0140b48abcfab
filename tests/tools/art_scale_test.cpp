// The generator paints every picture at any scale with the same look: seeds, patterns, line
// widths and details are laid out in scene units, so a picture painted at 2 and halved is close
// to the 1x one. And the 1x pictures, the data folder's files, stay exactly as they are.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "BmpWriter.h"
#include "Catalogue.h"
#include "Generator.h"
#include "Paint.h"
#include "fakes/QtApp.h"

// Sizes in failure messages as 98x135.
void PrintTo(const QSize& size, std::ostream* out) { *out << size.width() << 'x' << size.height(); }

namespace {

using bw::art::Asset;
using bw::art::Encoding;
using bw::art::Source;

struct Picture {
    const Asset* asset;
    int image;
};

// The painted picture at a data-folder path.
std::optional<Picture> findPicture(const QString& path) {
    for (const Asset& asset : bw::art::catalogue()) {
        const QStringList paths = bw::art::imagePaths(asset);
        const int at = static_cast<int>(paths.indexOf(path));
        if (at >= 0 && asset.source == Source::Painted) {
            return Picture{&asset, at + 1};
        }
    }
    return std::nullopt;
}

QImage paint(const QString& path, double scale) {
    bw::ensureQtApp();  // fonts
    if (path == QStringLiteral("Misc/preview.bmp")) {
        return bw::art::paintPreview([&](const QString& part) { return paint(part, scale); },
                                     scale);
    }
    const std::optional<Picture> picture = findPicture(path);
    if (!picture) {
        ADD_FAILURE() << "no painted picture " << path.toStdString();
        return {};
    }
    return picture->asset->paint(*picture->asset, picture->image, scale);
}

// Mean absolute difference per channel (red, green, blue, alpha; premultiplied, in levels of
// 255) over the pixels either picture covers, so a small sprite is judged by its body and not by
// its empty surroundings. Premultiplied values are what a sprite adds over the scene.
double meanDifference(const QImage& first, const QImage& second) {
    const QImage a = first.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    double difference = 0;
    qint64 covered = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = lineA[x], pb = lineB[x];
            difference += std::abs(qRed(pa) - qRed(pb)) + std::abs(qGreen(pa) - qGreen(pb)) +
                          std::abs(qBlue(pa) - qBlue(pb)) + std::abs(qAlpha(pa) - qAlpha(pb));
            covered += qAlpha(pa) > 0 || qAlpha(pb) > 0;
        }
    }
    return covered > 0 ? difference / (4.0 * static_cast<double>(covered)) : 0.0;
}

struct Family {
    const char* name;
    // Limits lie at about twice the worst picture of each family as painted when they were set
    // (in brackets). Line art halves to within a few levels: only anti-aliased edges differ, most
    // in the fine branches of the corals. Per-pixel passes left in pixel units (grain, algae,
    // the walls' joints, the water's noise) measure 3 to 30 and more.
    double limit;
    std::vector<const char*> paths;
};

// One image of each animated creature; every other picture of its family.
const std::vector<Family>& families() {
    static const std::vector<Family> table = {
        {"Fish",  // [2.2]
         4.5,
         {"fish/1Angel3.bmp", "fish/1ClownFish4.bmp", "fish/2butterfly5.bmp", "fish/1MyFish7.bmp",
          "fish/2MyFish2.bmp", "fish/3MyFish9.bmp", "fish/4MyFish4.bmp", "fish/Fisheat6.bmp",
          "fish/2Fisheat3.bmp"}},
        {"Creatures",  // [2.0]
         4.0,
         {"fish/Dolphin6.bmp", "fish/Shark4.bmp", "fish/Turtle3.bmp", "fish/DarkFish1a.bmp",
          "fish/DarkFish2b.bmp", "fish/DarkFish3a.bmp", "fish/DarkFish4c.bmp",
          "fish/DarkFish5a.bmp"}},
        {"Plants",  // [4.0, coral14's twigs; the dark mounds 0.2]
         7.0,
         {"Plants/coral1.bmp",      "Plants/coral2.bmp",       "Plants/coral3.bmp",
          "Plants/coral4.bmp",      "Plants/coral5.bmp",       "Plants/coral6.bmp",
          "Plants/coral7.bmp",      "Plants/coral8.bmp",       "Plants/coral9.bmp",
          "Plants/coral10.bmp",     "Plants/coral11.bmp",      "Plants/coral12.bmp",
          "Plants/coral13.bmp",     "Plants/coral14.bmp",      "Plants/cliff01.bmp",
          "Plants/cliff02.bmp",     "Plants/cliff03.bmp",      "Plants/cliff04.bmp",
          "Plants/cliff05.bmp",     "Plants/darkcliff01b.bmp", "Plants/darkcliff02b.bmp",
          "Plants/darkcliff03b.bmp"}},
        {"Artifacts",  // [1.3]
         3.0,
         {"Artifacts/castle.bmp", "Artifacts/Anchor.bmp", "Artifacts/City.bmp",
          "Artifacts/Horse.bmp", "Artifacts/Liberty.bmp", "Artifacts/Litehous.bmp",
          "Artifacts/Lighthouse.bmp", "Artifacts/pyramid.bmp", "Artifacts/Rome.bmp",
          "Artifacts/Statue.bmp", "Artifacts/Statue2.bmp", "Artifacts/Statue3.bmp",
          "Artifacts/Treasure.bmp", "Artifacts/Columns.bmp"}},
        {"Bottoms",  // [2.3, the old wall's joints]
         4.5,
         {"Bottom/brickwall.bmp", "Bottom/rockwall.bmp", "Bottom/pebbles2.bmp",
          "Bottom/oldwall.bmp", "Bottom/JaggedBottom.bmp", "Bottom/Shellbottom.bmp",
          "Bottom/bottom01.bmp", "Bottom/bottom02.bmp", "Bottom/bottom03.bmp",
          "Bottom/bottom04.bmp", "Bottom/bottom05.bmp", "Bottom/bottom06.bmp"}},
        {"Water",  // [0.2]
         1.0,
         {"Water/cool waters.bmp", "Water/kelp forest.bmp", "Water/night dive.bmp"}},
        {"Misc",  // [2.0, the notices' text]
         4.0,
         {"Misc/Calendar.bmp", "Misc/TuneMsg.bmp", "Misc/monitor.bmp", "Misc/PwrMsg.bmp",
          "Misc/brinewave3.png"}},
        // A bubble's bright rim is thinner than a pixel at 1x: the 1x picture shows it only where
        // a pixel centre falls on it, the halved one shows a fraction everywhere. Measured up to
        // 30 on these faint, few-pixel pictures; a bubble drawn at its 1x pixel size measures
        // well above 60.
        {"Bubbles",  // [30]
         45.0,
         {"Misc/b2x2.bmp", "Misc/b4x4.bmp", "Misc/b6x6.bmp", "Misc/BB1.bmp"}},
        {"Preview",  // [0.7]
         2.0,
         {"Misc/preview.bmp"}},
    };
    return table;
}

void PrintTo(const Family& family, std::ostream* out) { *out << family.name; }

class ArtAtScale : public ::testing::TestWithParam<Family> {};

TEST_P(ArtAtScale, PaintedAtTwoAndHalvedIsCloseToOneX) {
    const Family& family = GetParam();
    for (const char* path : family.paths) {
        SCOPED_TRACE(path);
        const QImage one = paint(QString::fromLatin1(path), 1.0);
        const QImage two = paint(QString::fromLatin1(path), 2.0);
        ASSERT_EQ(two.size(), one.size() * 2);
        const QImage halved =
            two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double difference = meanDifference(one, halved);
        std::printf("%-28s %6.2f\n", path, difference);
        EXPECT_LT(difference, family.limit);
    }
}

INSTANTIATE_TEST_SUITE_P(Families, ArtAtScale, ::testing::ValuesIn(families()),
                         [](const ::testing::TestParamInfo<Family>& info) {
                             return std::string(info.param.name);
                         });

// The difference measure itself tells a picture from a shifted or differently shaded one.
TEST(ArtAtScaleMeasure, SeesShiftsAndShadesButNotEmptySurroundings) {
    QImage a = bw::art::newSprite(40, 40, 1.0), b = a;
    QPainter(&a).fillRect(QRect(10, 10, 10, 10), QColor(200, 100, 50));
    QPainter(&b).fillRect(QRect(10, 10, 10, 10), QColor(200, 100, 50));
    EXPECT_EQ(meanDifference(a, b), 0.0);
    QImage shifted = bw::art::newSprite(40, 40, 1.0);
    QPainter(&shifted).fillRect(QRect(15, 10, 10, 10), QColor(200, 100, 50));
    EXPECT_GT(meanDifference(a, shifted), 50.0);
    QImage darker = bw::art::newSprite(40, 40, 1.0);
    QPainter(&darker).fillRect(QRect(10, 10, 10, 10), QColor(180, 90, 45));
    EXPECT_NEAR(meanDifference(a, darker), (20 + 10 + 5) / 4.0, 0.01);
}

// A picture of w x h scene units is round(w * S) x round(h * S) at S; one picture of each
// painter (the smallest) at scales that round up, round down and hit whole numbers.
TEST(ArtAtScaleSizes, EveryPainterMakesTheRoundedSceneSizeTimesTheScale) {
    bw::ensureQtApp();
    std::map<bw::art::Painter, const Asset*> smallest;
    for (const Asset& asset : bw::art::catalogue()) {
        if (asset.source != Source::Painted) {
            continue;
        }
        const Asset*& kept = smallest[asset.paint];
        const auto area = [](const Asset* a) { return a->size.width() * a->size.height(); };
        if (!kept || area(&asset) < area(kept)) {
            kept = &asset;
        }
    }
    ASSERT_GE(smallest.size(), 17);
    for (const auto& [painter, asset] : smallest) {
        for (double scale : {1.5, 1.8, 2.25}) {
            SCOPED_TRACE(std::string(asset->stem) + " at " + std::to_string(scale));
            const QSize expected(static_cast<int>(std::lround(asset->size.width() * scale)),
                                 static_cast<int>(std::lround(asset->size.height() * scale)));
            EXPECT_EQ(asset->paint(*asset, 1, scale).size(), expected);
        }
    }
    // A few by hand: halves round up.
    const Asset* calendar = bw::art::findAsset(QStringLiteral("Misc/Calendar"));
    EXPECT_EQ(calendar->paint(*calendar, 1, 1.5).size(), QSize(98, 135));
    const Asset* darkFish = bw::art::findAsset(QStringLiteral("fish/DarkFish4"));
    EXPECT_EQ(darkFish->paint(*darkFish, 1, 1.5).size(), QSize(45, 23));
    EXPECT_EQ(darkFish->paint(*darkFish, 1, 3.6).size(), QSize(108, 54));
    EXPECT_EQ(bw::art::scaledSize(QSize(153, 115), 3.6), QSize(551, 414));
    EXPECT_EQ(bw::art::scaledSize(QSize(800, 600), 1.8), QSize(1440, 1080));
}

std::string sha256OfFile(const Asset& asset, const QImage& image) {
    const QByteArray bytes = asset.encoding == Encoding::Opaque ? bw::art::encodeBmp24(image)
                                                                : bw::art::encodeBmp32(image);
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

// The 1x pictures must not change: they are the data folder's files, and sets painted at other
// scales are kept aside under the art version. These hashes are of the files as the generator
// writes them for art version 1. A change of the art that is meant raises kArtVersion and
// renews this table; the notices are left out, their text depends on the installed fonts.
TEST(ArtAtOneX, PicturesStayByteForByteAsTheyAre) {
    EXPECT_EQ(bw::art::kArtVersion, 1) << "renew the hashes below for the new art version";
    const struct {
        const char* path;
        const char* sha256;
    } cases[] = {
        {"fish/1Angel3.bmp", "0c8f4fe75c255f77f8231976a9312af8890e778492f2e0fe2990c80686d8da77"},
        {"fish/Shark4.bmp", "80982554cd069f39428d4f2884c97cbc2f1f294d76d9866fba5f863016cb28eb"},
        {"fish/DarkFish4c.bmp", "b180c546f10a33fd69c4fa90d9787db3d21035663e67a60155fc745f8b8a5f79"},
        {"Plants/coral5.bmp", "adc6279f4a738c4dacaf0abdbf2a8a3e0cbcc028ae09a3e5f386829b4ef618a7"},
        {"Plants/darkcliff02b.bmp",
         "d343ca543a525c143b2381d9a0a1ba52436c3550bafe3287ba1f1da46558a438"},
        {"Artifacts/castle.bmp",
         "8749a01761bb18e6944140a8bc4f0fe8f6b673437747b70120db3cbb6b97678f"},
        {"Artifacts/Statue3.bmp",
         "e6daf8ad2d371377c44213201b84f80204aa6dc29f61cef64563d769a8597db7"},
        {"Bottom/brickwall.bmp",
         "b8bd632931149e6a49c8bb186ce92303b50d42543ffdadb634913c9e2df99d0f"},
        {"Bottom/bottom03.bmp", "71a034bd89b530e3b66a2614d427a2a29f1f127a3b71e1127c37a44c8451a0a2"},
        {"Water/kelp forest.bmp",
         "96dbe4774fcf97418009b75cbb4a31daa0d5f173761868f9a168b1f437f13793"},
        {"Misc/Calendar.bmp", "4f63a73701c748061fcefe4f3e1faef647a3d2cabea0895ece5bed64225adf08"},
        {"Misc/b2x2.bmp", "3af80817e3cd105ab20033a9f756e3dd8633d177b3bf6d3e1c4fc9bda1fcfa04"},
        {"Misc/BB1.bmp", "be44228616c4a9732c9ca8e79fc6bf0950c7d7f329fed66f8c6d75becf80a948"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::optional<Picture> picture = findPicture(QString::fromLatin1(c.path));
        ASSERT_TRUE(picture);
        EXPECT_EQ(sha256OfFile(*picture->asset, paint(QString::fromLatin1(c.path), 1.0)),
                  std::string(c.sha256));
    }
}

TEST(ArtScaleOption, AcceptsNumbersFromOneToEightOnly) {
    EXPECT_EQ(bw::art::parseScale(QStringLiteral("1.8")), 1.8);
    EXPECT_EQ(bw::art::parseScale(QStringLiteral("3.6")), 3.6);
    EXPECT_EQ(bw::art::parseScale(QStringLiteral("1")), 1.0);
    EXPECT_EQ(bw::art::parseScale(QStringLiteral(" 2 ")), 2.0);
    EXPECT_EQ(bw::art::parseScale(QStringLiteral("8")), 8.0);
    for (const char* bad : {"", "0", "0.99", "-2", "8.01", "two", "1.8x", "nan", "inf", "1e400"}) {
        EXPECT_FALSE(bw::art::parseScale(QString::fromLatin1(bad))) << bad;
    }
}

// A set at a scale has the data folder's layout and names, pictures only.
TEST(ArtScaleSet, HasEveryPictureOfTheDataFolderAndNoSound) {
    bw::ensureQtApp();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString error;
    ASSERT_TRUE(bw::art::generatePictures(folder.path(), 1.0, 2, &error)) << error.toStdString();
    QSet<QString> expected;
    for (const Asset& asset : bw::art::catalogue()) {
        if (asset.encoding != Encoding::Wave) {
            for (const QString& path : bw::art::imagePaths(asset)) {
                expected.insert(path);
            }
        }
    }
    QSet<QString> written;
    QDirIterator files(folder.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        written.insert(QDir(folder.path()).relativeFilePath(files.next()));
    }
    EXPECT_EQ(written, expected);
    // The set's pictures are the 1x files themselves at scale 1.
    const QImage calendar(QDir(folder.path()).filePath(QStringLiteral("Misc/Calendar.bmp")));
    EXPECT_EQ(calendar.size(), QSize(65, 90));
}

// Told before any painting, which takes a while at large scales.
TEST(ArtScaleSet, ReportsAFolderItCannotWrite) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString blocked = QDir(folder.path()).filePath(QStringLiteral("set"));
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    QString error;
    EXPECT_FALSE(bw::art::generatePictures(blocked, 3.6, 2, &error));
    EXPECT_TRUE(error.contains(blocked)) << error.toStdString();
}

}  // namespace
