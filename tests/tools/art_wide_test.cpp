// The water, the walls and the floors painted across a frame wider than 4:3: exactly as wide as
// the frame in pixels, the middle 800 units are the 4:3 picture, no seam shows where one
// 800-unit band meets the next (which is where the 4:3 picture's edges were), and the ends taper
// at the new edges instead.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <optional>
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
    int frameWidth;   // in pixels
    double scale;
};

void PrintTo(const WidePicture& c, std::ostream* out) {
    *out << c.stem << " " << c.frameWidth << " pixels wide at " << c.scale;
}

class ArtAcrossWideScene : public ::testing::TestWithParam<WidePicture> {};

TEST_P(ArtAcrossWideScene, KeepsTheLayoutPictureInTheMiddleWithoutSeamsAndTapersAtTheNewEdges) {
    bw::ensureQtApp();
    const WidePicture& c = GetParam();
    const Asset* asset = bw::art::findAsset(QString::fromLatin1(c.stem));
    ASSERT_TRUE(asset && asset->paintWide);
    const std::optional<bw::FrameShape> frame = bw::art::frameAt(c.scale, c.frameWidth);
    ASSERT_TRUE(frame);
    const auto paint = [&](const bw::FrameShape& shape) {
        return bw::art::paintFor(*asset, 1, shape)
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const QImage wide = paint(*frame), layout = paint(bw::FrameShape::block(c.scale));
    // The water is as wide as the frame; a wall or floor reaches beyond both edges.
    const bool water = asset->encoding != bw::art::Encoding::Sprite;
    ASSERT_EQ(wide.size(), QSize(water ? c.frameWidth : frame->glassWidth(),
                                 static_cast<int>(std::lround(asset->size.height() * c.scale))));
    const bw::art::Span span =
        water ? bw::art::spanAcross(*frame) : bw::art::spanBeyond(*frame);
    ASSERT_EQ(span.blockColumn, water ? frame->blockColumn() : frame->glassColumn())
        << "where the display puts the block";

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

// A water, a wall and a floor; a 32:9 frame at 1, a 16:9 one at a scale between whole numbers
// (1333 x 750: the block starts 166 pixels in, 132.8 units), and a floor for 1920 x 1080.
const WidePicture kWidePictures[] = {
    {"Water/cool waters", 0, 2133, 1.0}, {"Water/cool waters", 0, 1333, 1.25},
    {"Bottom/brickwall", 46, 2133, 1.0}, {"Bottom/brickwall", 46, 1333, 1.25},
    {"Bottom/bottom02", 120, 2133, 1.0}, {"Bottom/bottom02", 120, 1333, 1.25},
    {"Bottom/bottom01", 120, 1920, 1.8},
};

INSTANTIATE_TEST_SUITE_P(Glass, ArtAcrossWideScene, ::testing::ValuesIn(kWidePictures));

// On a 1920 x 1080 screen (scale 1.8) the water is exactly the screen's width, not
// round(1067 units * 1.8) = 1921, and the walls and floors 120 units (216 pixels) wider on
// each side; every other picture is as large as in the 4:3 set.
TEST(ArtForAFrame, OnlyThePicturesOfTheGlassAreAsWideAsTheFrame) {
    bw::ensureQtApp();
    const std::optional<bw::FrameShape> frame = bw::art::frameAt(1.8, 1920);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->size, QSize(1920, 1080));
    for (const char* stem : {"Water/night dive", "Bottom/Shellbottom", "Bottom/bottom04",
                             "Bottom/bottom03", "Plants/coral3"}) {
        SCOPED_TRACE(stem);
        const Asset* asset = bw::art::findAsset(QString::fromLatin1(stem));
        ASSERT_TRUE(asset);
        const QSize layoutSize = bw::art::scaledSize(asset->size, 1.8);
        const int wide = asset->encoding == bw::art::Encoding::Sprite ? 1920 + 2 * 216 : 1920;
        const QSize expected = asset->paintWide ? QSize(wide, layoutSize.height()) : layoutSize;
        EXPECT_EQ(bw::art::paintFor(*asset, 1, *frame).size(), expected);
    }
}

// A frame narrower than 4:3 or wider than FrameShape::kMaxBlocks blocks gives no set: the
// caller keeps the 4:3 one.
TEST(ArtFrameWidthOption, AcceptsWidthsFromTheBlockToFourBlocksOnly) {
    EXPECT_EQ(bw::art::parseFrameWidth(QStringLiteral("1920")), 1920);
    EXPECT_EQ(bw::art::parseFrameWidth(QStringLiteral(" 2133 ")), 2133);
    for (const char* bad : {"", "1067.5", "wide", "0x500"}) {
        EXPECT_FALSE(bw::art::parseFrameWidth(QString::fromLatin1(bad))) << bad;
    }
    const struct {
        double scale;
        int width;
        bool made;
    } frames[] = {
        {1.0, 800, true},   {1.0, 3200, true},  {1.0, 799, false},   {1.0, 3201, false},
        {1.8, 1440, true},  {1.8, 1920, true},  {1.8, 5760, true},   {1.8, 1439, false},
        {1.8, 5761, false}, {1.25, 1333, true}, {1.0, -1067, false},
    };
    for (const auto& c : frames) {
        SCOPED_TRACE(testing::Message() << c.width << " at " << c.scale);
        const std::optional<bw::FrameShape> frame = bw::art::frameAt(c.scale, c.width);
        ASSERT_EQ(frame.has_value(), c.made);
        if (frame) {
            EXPECT_EQ(frame->size, QSize(c.width, bw::FrameShape::block(c.scale).size.height()));
            EXPECT_EQ(frame->scale, c.scale);
        }
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
