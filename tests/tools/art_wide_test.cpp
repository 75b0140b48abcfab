// The water, the walls and the floors painted across a scene wider than 4:3: the middle 800
// units are the 4:3 picture, no seam shows where one 800-unit band meets the next (which is
// where the 4:3 picture's edges were), and the ends taper at the new edges instead.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <ostream>
#include <vector>

#include "Catalogue.h"
#include "Generator.h"
#include "Paint.h"
#include "Span.h"
#include "fakes/QtApp.h"

namespace {

using bw::art::Asset;

int channelDistance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
}

// Mean absolute difference per channel between neighbouring columns x - 1 and x, over all rows
// (premultiplied, in levels of 255).
double columnStep(const QImage& image, int x) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        sum += channelDistance(line[x - 1], line[x]);
    }
    return sum / (4.0 * image.height());
}

// The same between two pictures of one size, over the pixels either one covers.
double pictureDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    qint64 covered = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            sum += channelDistance(lineA[x], lineB[x]);
            covered += qAlpha(lineA[x]) > 0 || qAlpha(lineB[x]) > 0;
        }
    }
    return covered > 0 ? sum / (4.0 * static_cast<double>(covered)) : 0.0;
}

// How much of column x is covered, from 0 to 1.
double columnCover(const QImage& image, int x) {
    double alpha = 0;
    for (int y = 0; y < image.height(); ++y) {
        alpha += qAlpha(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]);
    }
    return alpha / (255.0 * image.height());
}

struct WidePicture {
    const char* stem;
    int taperedEnds;  // scene units at each end of the 4:3 picture that sink towards the floor
    int sceneWidth;
    double scale;
};

void PrintTo(const WidePicture& c, std::ostream* out) {
    *out << c.stem << " " << c.sceneWidth << " wide at " << c.scale;
}

class ArtAcrossWideScene : public ::testing::TestWithParam<WidePicture> {};

TEST_P(ArtAcrossWideScene, KeepsTheLayoutPictureInTheMiddleWithoutSeamsAndTapersAtTheNewEdges) {
    bw::ensureQtApp();
    const WidePicture& c = GetParam();
    const Asset* asset = bw::art::findAsset(QString::fromLatin1(c.stem));
    ASSERT_TRUE(asset && asset->paintWide);
    const auto paint = [&](int sceneWidth) {
        return bw::art::paintFor(*asset, 1, c.scale, sceneWidth)
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const QImage wide = paint(c.sceneWidth), layout = paint(bw::art::kLayoutWidth);
    ASSERT_EQ(wide.size(), bw::art::scaledSize(QSize(c.sceneWidth, asset->size.height()), c.scale));
    const bw::art::Span span = bw::art::spanAcross(c.sceneWidth, c.scale);

    // Apart from its tapered ends, where the wide picture runs on at full height, the middle is
    // the 4:3 picture: painted from the same seeds at the same places, it comes out the same.
    // The limit leaves room for a few pixels that a detail of an end might reach.
    const int ends = static_cast<int>(std::lround(c.taperedEnds * c.scale));
    const QRect kept(ends, 0, layout.width() - 2 * ends, layout.height());
    EXPECT_LT(pictureDifference(wide.copy(kept.translated(span.blockColumn, 0)), layout.copy(kept)),
              0.02);

    // A seam would be a step between neighbouring columns larger than any the 4:3 picture has:
    // continued noise, and details drawn whole across the band's edge, leave none.
    double largestStep = 0;
    for (int x = span.blockColumn + 2; x < span.blockColumn + layout.width() - 2; ++x) {
        largestStep = std::max(largestStep, columnStep(wide, x));
    }
    const std::vector<int> bands = span.bands();
    ASSERT_GE(bands.size(), 3u) << "reaches past both edges of the 4:3 picture";
    for (size_t i = 1; i < bands.size(); ++i) {
        // Where band meets band, give or take the pixel that a scale between whole numbers
        // shifts it by.
        const int seam = span.blockColumn +
                         static_cast<int>(std::lround(bands[i] * bw::art::kLayoutWidth * c.scale));
        for (int x : {seam, seam + 1}) {
            SCOPED_TRACE(x);
            EXPECT_LE(columnStep(wide, x), largestStep);
            // Walls and floors run on at height where the 4:3 picture's ends sank to under a
            // tenth of the column, and taper at the picture's own ends instead.
            if (asset->encoding == bw::art::Encoding::Sprite) {
                EXPECT_GT(columnCover(wide, x), 0.25);
            }
        }
    }
    if (asset->encoding == bw::art::Encoding::Sprite) {
        EXPECT_LT(columnCover(wide, 0), 0.1);
        EXPECT_LT(columnCover(wide, wide.width() - 1), 0.1);
    }
}

// A water, a wall and a floor; a 32:9 scene at 1, and a 16:9 one at a scale between whole
// numbers, where the middle starts at 133.5 units, rounded to a pixel.
const WidePicture kWidePictures[] = {
    {"Water/cool waters", 0, 2133, 1.0}, {"Water/cool waters", 0, 1067, 1.25},
    {"Bottom/brickwall", 46, 2133, 1.0}, {"Bottom/brickwall", 46, 1067, 1.25},
    {"Bottom/bottom02", 120, 2133, 1.0}, {"Bottom/bottom02", 120, 1067, 1.25},
};

INSTANTIATE_TEST_SUITE_P(Glass, ArtAcrossWideScene, ::testing::ValuesIn(kWidePictures));

// A frame narrower than 4:3 or wider than the range gives no set: the caller keeps the 4:3 one.
TEST(ArtSceneWidthOption, AcceptsWholeNumbersFrom800To3200Only) {
    EXPECT_EQ(bw::art::parseSceneWidth(QStringLiteral("800")), 800);
    EXPECT_EQ(bw::art::parseSceneWidth(QStringLiteral(" 2133 ")), 2133);
    EXPECT_EQ(bw::art::parseSceneWidth(QStringLiteral("3200")), 3200);
    for (const char* bad : {"", "799", "3201", "1067.5", "-1067", "wide", "0x500"}) {
        EXPECT_FALSE(bw::art::parseSceneWidth(QString::fromLatin1(bad))) << bad;
    }
    const QString nowhere = QStringLiteral("/nonexistent/set");
    for (int width : {600, 799, 3201}) {
        QString error;
        EXPECT_FALSE(
            bw::art::generatePictures(nowhere, 1.0, 1, &error, bw::art::PictureFormat::Png, width));
        EXPECT_TRUE(error.contains(QString::number(width))) << error.toStdString();
    }
}

}  // namespace
