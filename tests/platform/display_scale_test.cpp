// The frame composed at a screen's own scale: pictures made at that scale, placed at their
// scene positions times the scale, rounded; hit tests and positions stay in scene units.

#include <gtest/gtest.h>

#include <QPainter>
#include <QRandomGenerator>
#include <cmath>

#include "display_Images.h"
#include "display_TestApp.h"
#include "platform/DirtyTiles.h"
#include "platform/SpriteCompositor.h"

namespace bw {
namespace {

TEST(TileGrid, TilesGrowWithTheFrameSoThatARowFitsOneMask) {
    const struct {
        QSize frame;
        int tile, columns, rows;
    } cases[] = {
        {{800, 600}, 16, 50, 38},    {{1024, 768}, 16, 64, 48},  {{1440, 1080}, 32, 45, 34},
        {{1920, 1440}, 32, 60, 45},  {{2880, 2160}, 64, 45, 34}, {{4096, 3072}, 64, 64, 48},
        {{8000, 6000}, 128, 63, 47},
        // Wider frames keep the tiles of the 4:3 frame of their height, up to 256 columns.
        {{1920, 1080}, 32, 60, 34},  {{2560, 1080}, 32, 80, 34}, {{5120, 1440}, 32, 160, 45},
        {{3840, 2160}, 64, 60, 34},  {{8192, 1536}, 32, 256, 48}, {{8224, 1536}, 64, 129, 24},
    };
    for (const auto& c : cases) {
        const TileGrid grid = TileGrid::forFrame(c.frame);
        EXPECT_EQ(grid.tile(), c.tile) << c.frame.width();
        EXPECT_EQ(grid.columns(), c.columns) << c.frame.width();
        EXPECT_EQ(grid.rows(), c.rows) << c.frame.width();
    }
}

// A picture with a solid body, soft rims and a few holes, as the art has them.
QImage spriteOf(int width, int height, int seed) {
    QRandomGenerator random{uint32_t(seed)};
    QImage sprite(width, height, QImage::Format_ARGB32);
    const int rim = seed % 4;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int edge = std::min({x, y, width - 1 - x, height - 1 - y});
            const int alpha = edge < rim ? 40 + 60 * edge : 255;
            sprite.setPixel(x, y, qRgba(random.bounded(256), (x * 7) & 255, seed * 9 & 255, alpha));
        }
    }
    for (int hole = 0; hole < 3; ++hole)
        sprite.setPixel(random.bounded(width), random.bounded(height),
                        hole == 1 ? qRgba(255, 255, 255, 100) : 0u);
    return sprite;
}

using test::worstDistance;

TEST(ScaledComposition, MatchesQPainterAtTheRoundedPositionsFrameAfterFrame) {
    test::guiApp();
    for (const double scale : {1.8, 2.4}) {
        SCOPED_TRACE(scale);
        SpriteCompositor c([] { return int64_t(0); });
        c.setScale(scale);
        const QSize size(int(std::lround(800 * scale)), int(std::lround(600 * scale)));
        ASSERT_EQ(c.frame().size(), size);
        QImage water(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) water.setPixel(x, y, qRgb(x & 255, y & 255, 90));
        const SurfaceId waterSurface = c.newSurface();
        c.setFrameImage(waterSurface, 1, water, kOpaque);
        QRandomGenerator random(3);
        struct Sprite {
            QImage image;  // premultiplied, as QPainter draws it
            SurfaceId id;
            QPoint at;  // scene units
        };
        std::vector<Sprite> sprites;
        for (int i = 0; i < 24; ++i) {
            // Pictures as made at the scale: their scene size times the scale.
            const QImage sprite = spriteOf(int(random.bounded(10, 200) * scale),
                                           int(random.bounded(10, 120) * scale), i);
            const int transparency = i % 5 == 0 ? kOpaque : kTransparent;
            const SurfaceId id = c.newSurface();
            c.setFrameImage(id, 1, sprite, transparency);
            sprites.push_back({sprite.convertToFormat(transparency == kOpaque
                                                          ? QImage::Format_RGB32
                                                          : QImage::Format_ARGB32_Premultiplied),
                               id, QPoint(random.bounded(-80, 820), random.bounded(-60, 620))});
        }
        for (int frame = 0; frame < 8; ++frame) {
            SCOPED_TRACE(frame);
            QImage expected = water;
            QPainter painter(&expected);
            c.draw(waterSurface);
            for (Sprite& s : sprites) {
                c.setX(s.id, int16_t(s.at.x()));
                c.setY(s.id, int16_t(s.at.y()));
                c.draw(s.id);
                painter.drawImage(QPoint(int(std::lround(s.at.x() * scale)),
                                         int(std::lround(s.at.y() * scale))),
                                  s.image);
                s.at += QPoint(random.bounded(-7, 8), random.bounded(-7, 8));
            }
            painter.end();
            ASSERT_LE(worstDistance(c.frame(), expected), 2);
        }
    }
}

TEST(ScaledComposition, PointsInSceneUnitsHitTheSameObjectsAtEveryScale) {
    // A solid 100 x 50 object at (37, 41) in scene units, made at each scale: the scene points
    // over it are the same whatever the scale, edges included.
    for (const double scale : {1.0, 1.8, 2.5, 3.6}) {
        SpriteCompositor c([] { return int64_t(0); });
        c.setScale(scale);
        const SurfaceId id = c.newSurface();
        QImage picture(int(std::lround(100 * scale)), int(std::lround(50 * scale)),
                       QImage::Format_ARGB32);
        picture.fill(qRgb(200, 100, 0));
        c.setFrameImage(id, 1, picture, kTransparent);
        c.setX(id, 37);
        c.setY(id, 41);
        for (int y = 30; y < 100; ++y) {
            for (int x = 25; x < 150; ++x) {
                const bool inside = x >= 37 && x < 137 && y >= 41 && y < 91;
                ASSERT_EQ(c.isPointOver(id, QPoint(x, y)), inside)
                    << "scale " << scale << " at " << x << "," << y;
            }
        }
    }
}

TEST(ScaledComposition, TextsGrowWithTheScaleAndKeepTheirPlace) {
    test::guiApp();
    // The ink of a text at scale 2 lies where the scale-1 ink does, twice as large.
    QRect ink[2];
    for (const int scale : {1, 2}) {
        SpriteCompositor c([] { return int64_t(0); });
        c.setScale(scale);
        c.clear(rgb(0, 0, 0));
        c.setTextFont("Arial", 16, 400, false, false, false);
        c.drawText(QStringLiteral("Friday 12:30:07"), 100, 200, rgb(255, 255, 255));
        const QImage& frame = c.frame();
        QRect found;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x)
                if (qGreen(frame.pixel(x, y)) > 128) found |= QRect(x, y, 1, 1);
        ink[scale - 1] = found;
    }
    ASSERT_FALSE(ink[0].isEmpty());
    EXPECT_NEAR(ink[1].left(), 2 * ink[0].left(), 3);
    EXPECT_NEAR(ink[1].top(), 2 * ink[0].top(), 3);
    // Hinting makes glyphs of twice the size not quite twice as wide.
    EXPECT_NEAR(ink[1].width(), 2 * ink[0].width(), 0.08 * 2 * ink[0].width());
    EXPECT_NEAR(ink[1].height(), 2 * ink[0].height(), 4);
}

}  // namespace
}  // namespace bw
