// Only what changed is painted, scaled and shown again: these tests hold that to giving the
// same pixels as painting and scaling everything.

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <vector>

#include "display_TestApp.h"
#include "platform/DirtyTiles.h"
#include "platform/SpriteCompositor.h"
#include "platform/SpriteDisplayScaler.h"

namespace bw {
namespace {

// A sprite like the aquarium's: clear margins, a solid body and soft edges.
QImage softSprite(int width, int height, QRgb colour, int seed) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int edge = std::min({x, y, width - 1 - x, height - 1 - y});
            const int alpha = edge < 2 ? 0 : edge < 5 ? 60 * (edge - 1) + seed % 20 : 255;
            image.setPixel(x, y, (colour & 0xFFFFFFu) | (uint32_t(alpha) << 24));
        }
    }
    return image;
}

// A round sprite with a soft rim: its rectangle's corners are clear.
QImage roundSprite(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_ARGB32);
    const double cx = width / 2.0, cy = height / 2.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x + 0.5 - cx) / cx, dy = (y + 0.5 - cy) / cy;
            const double inside = 1.0 - std::sqrt(dx * dx + dy * dy);
            const int alpha = std::clamp(int(inside * 8 * 255), 0, 255);
            image.setPixel(x, y, (colour & 0xFFFFFFu) | (uint32_t(alpha) << 24));
        }
    }
    return image;
}

QImage opaqueFill(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The same scene in two compositors: one paints only what changed, the other everything.
struct TwinScene {
    SpriteCompositor changed;
    SpriteCompositor whole;

    SurfaceId add(const QImage& first, const QImage& second, int transparency) {
        SurfaceId id = 0;
        for (SpriteCompositor* c : {&changed, &whole}) {
            id = c->newSurface();
            c->setFrameImage(id, 1, first, transparency);
            if (!second.isNull()) c->setFrameImage(id, 2, second, transparency);
        }
        return id;
    }
    template <typename F>
    void both(F&& f) {
        f(changed);
        f(whole);
    }
};

// In `shape`, with pictures of their scene size times its scale, as made for it; sprites
// anywhere across it, also beside the layout on a wide frame.
void checkRepaintingChangesMatchesPaintingEverything(const FrameShape& shape, int frames) {
    test::guiApp();
    const double scale = shape.scale;
    QRandomGenerator random(11);
    TwinScene scene;
    scene.both([&](SpriteCompositor& c) { c.setShape(shape); });
    const QSize size = scene.changed.frame().size();
    QImage water(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) water.setPixel(x, y, qRgb(x & 255, y & 255, 90));
    const SurfaceId waterSurface = scene.add(water, {}, kOpaque);  // covers the frame
    const int side = int(shape.blockColumn() / scale);  // units beside the layout: whole here
    scene.both([&](SpriteCompositor& c) { c.setX(waterSurface, int16_t(-side)); });
    std::vector<SurfaceId> ids;
    for (int i = 0; i < 40; ++i) {
        const int w = int(random.bounded(4, 220) * scale), h = int(random.bounded(4, 160) * scale);
        const QRgb colour = qRgb(random.bounded(256), random.bounded(256), random.bounded(256));
        // Every fourth hard-edged, like a notice or a keyed bitmap; every fourth round, like
        // a bubble or a fish; the others soft-edged rectangles.
        const SurfaceId id =
            i % 4 == 0 ? scene.add(opaqueFill(w, h, colour), {}, kOpaque)
            : i % 4 == 1
                ? scene.add(roundSprite(w, h, colour), roundSprite(h, w, ~colour), kTransparent)
                : scene.add(softSprite(w, h, colour, i), softSprite(w, h, ~colour, i + 1),
                            kTransparent);
        const int16_t x = int16_t(random.bounded(-100 - side, 820 + side)),
                      y = int16_t(random.bounded(-80, 620));
        scene.both([&](SpriteCompositor& c) {
            c.setX(id, x);
            c.setY(id, y);
        });
        ids.push_back(id);
    }
    std::vector<bool> shown(size_t(ids.back()) + 1, true);
    for (int frame = 0; frame < frames; ++frame) {
        // Some sprites move, change picture, come or go; now and then a clear instead of the
        // water, or a frame drawn only on top of the last one.
        for (SurfaceId id : ids) {
            const int dice = random.bounded(10);
            const int16_t dx = int16_t(random.bounded(-3, 4)), dy = int16_t(random.bounded(-3, 4));
            scene.both([&](SpriteCompositor& c) {
                if (dice == 0) c.moveX(id, dx);
                if (dice == 1) c.moveUp(id, dy);
                if (dice == 2) c.advanceFrame(id);
            });
            if (dice == 3) shown[size_t(id)] = !shown[size_t(id)];
        }
        const int kind = random.bounded(10);
        const int clockSecond = frame / 7;
        scene.both([&](SpriteCompositor& c) {
            if (kind == 0)
                c.clear(rgb(10, 20, frame % 3 == 0 ? 30 : 40));
            else if (kind != 1)
                c.draw(waterSurface);
            for (SurfaceId id : ids)
                if (shown[size_t(id)]) c.draw(id);
            c.setTextFont("Arial", 16 + (frame / 20) * 4, 400, frame % 2 == 0, false, false);
            c.drawText(QStringLiteral("12:00:%1").arg(clockSecond), 600, 20, rgb(255, 255, 0));
            if (frame % 5 == 0) c.drawText(QStringLiteral("now and then"), 40, 560, rgb(0, 255, 0));
        });
        scene.whole.forgetComposedFrame();
        const QImage& a = scene.changed.frame();
        const QImage& b = scene.whole.frame();
        if (a != b) {
            QRect wrong;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    if (a.pixel(x, y) != b.pixel(x, y)) wrong |= QRect(x, y, 1, 1);
            FAIL() << "scale " << scale << " frame " << frame << ": pixels differ within "
                   << wrong.x() << "," << wrong.y() << " " << wrong.width() << "x"
                   << wrong.height() << " kind " << kind;
        }
    }
}

TEST(ChangedTiles, RepaintingChangesGivesTheSameFramesAsPaintingEverything) {
    checkRepaintingChangesMatchesPaintingEverything(FrameShape::block(1.0), 80);
}

TEST(ChangedTiles, RepaintingChangesAtTheScreensScaleGivesTheSameFrames) {
    // Tiles of 32 pixels at 1.8 (a 1080-line screen), 64 at 3.6 (2160 lines).
    checkRepaintingChangesMatchesPaintingEverything(FrameShape::block(1.8), 40);
    checkRepaintingChangesMatchesPaintingEverything(FrameShape::block(3.6), 12);
}

TEST(ChangedTiles, RepaintingChangesOfAWideFrameGivesTheSameFrames) {
    // 125 tiles of 32 pixels a row, the layout 1200 pixels (600 units) in.
    checkRepaintingChangesMatchesPaintingEverything({QSize(4000, 1200), 2.0}, 12);
}

// A tile changed frame after frame by the same swimmer starts from the layers kept under it;
// whatever happens to those layers must show.
TEST(ChangedTiles, LayersKeptUnderASwimmerFollowEveryChangeBelowIt) {
    test::guiApp();
    TwinScene scene;
    QImage water(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) water.setPixel(x, y, qRgb(x & 255, 60, y & 255));
    const SurfaceId waterSurface = scene.add(water, {}, kOpaque);
    const SurfaceId sand = scene.add(opaqueFill(120, 60, qRgb(200, 180, 120)), {}, kOpaque);
    const SurfaceId rock = scene.add(softSprite(260, 180, qRgb(90, 90, 90), 3),
                                     softSprite(260, 180, qRgb(120, 60, 60), 4), kTransparent);
    const SurfaceId weed = scene.add(roundSprite(90, 200, qRgb(20, 160, 40)), {}, kTransparent);
    const SurfaceId fish = scene.add(roundSprite(70, 40, qRgb(255, 140, 0)),
                                     roundSprite(70, 40, qRgb(255, 60, 0)), kTransparent);
    const SurfaceId coral = scene.add(softSprite(60, 90, qRgb(250, 90, 160), 5), {}, kTransparent);
    const SurfaceId curtain =
        scene.add(softSprite(40, 300, qRgb(220, 240, 255), 6), {}, kTransparent);
    const std::pair<SurfaceId, QPoint> places[] = {{sand, {90, 250}},   {rock, {100, 200}},
                                                   {weed, {170, 180}},  {fish, {60, 260}},
                                                   {coral, {250, 250}}, {curtain, {150, 150}}};
    for (const auto& [id, at] : places)
        scene.both([&](SpriteCompositor& c) {
            c.setX(id, int16_t(at.x()));
            c.setY(id, int16_t(at.y()));
        });
    for (int frame = 0; frame < 60; ++frame) {
        scene.both([&](SpriteCompositor& c) {
            c.moveX(fish, 2);  // a tile every eight frames
            if (frame % 9 == 4) c.advanceFrame(fish);
            c.moveUp(curtain, 1);
            if (frame == 12) c.moveX(rock, 1);      // a layer under the fish moves
            if (frame == 20) c.advanceFrame(rock);  // or changes picture
            if (frame == 40) c.moveUp(weed, 3);
            const bool weedGone = frame >= 25 && frame < 29;  // or is gone for a while
            const bool sandShown = frame >= 34;               // one is new under all others
            if (frame == 46)
                c.clear(rgb(0, 30, 60));
            else if (frame != 50)  // a frame drawn on top of the last one
                c.draw(waterSurface);
            if (sandShown) c.draw(sand);
            c.draw(rock);
            if (!weedGone) c.draw(weed);
            c.setTextFont("Arial", 20, 400, false, false, false);
            c.drawText(frame < 24 ? QStringLiteral("below") : QStringLiteral("BELOW"), 150, 265,
                       rgb(255, 255, 255));
            c.draw(fish);
            c.draw(coral);
            c.draw(curtain);
        });
        scene.whole.forgetComposedFrame();
        const QImage& a = scene.changed.frame();
        const QImage& b = scene.whole.frame();
        ASSERT_TRUE(a == b) << "frame " << frame;
    }
}

TEST(ChangedTiles, OnlyWhatMovedIsReportedAndAnUnchangedFrameReportsNothing) {
    SpriteCompositor c([] { return int64_t(0); });
    const SurfaceId water = c.newSurface();
    c.setFrameImage(water, 1, opaqueFill(800, 600, qRgb(0, 0, 90)), kOpaque);
    const SurfaceId fish = c.newSurface();
    c.setFrameImage(fish, 1, softSprite(60, 40, qRgb(255, 128, 0), 0), kTransparent);
    const SurfaceId rock = c.newSurface();
    c.setFrameImage(rock, 1, softSprite(200, 100, qRgb(90, 90, 90), 0), kTransparent);
    c.setX(fish, 300);
    c.setY(fish, 200);
    c.setX(rock, 500);
    c.setY(rock, 450);
    auto drawFrame = [&] {
        c.draw(water);
        c.draw(fish);
        c.draw(rock);
    };
    drawFrame();
    EXPECT_TRUE(c.takeChanges().all());  // the first frame is new everywhere

    drawFrame();
    EXPECT_FALSE(c.takeChanges().any());

    c.moveX(fish, 5);
    drawFrame();
    const DirtyTiles changes = c.takeChanges();
    QRect covered;
    int64_t area = 0;
    for (const QRect& r : changes.rects()) {
        covered |= r;
        area += int64_t(r.width()) * r.height();
    }
    // The fish's visible pixels before and after, not its clear margin nor the rock.
    EXPECT_TRUE(covered.contains(QRect(302, 202, 61, 36)));
    EXPECT_FALSE(covered.intersects(QRect(500, 450, 200, 100)));
    EXPECT_LE(area, 112 * 64);
}

TEST(ChangedTiles, APictureReplacedWhileItsDrawsAreRecordedIsStillComparedAndPainted) {
    // A surface's frame replaced between a draw and the composition, and between two frames:
    // the draws recorded before keep their picture (the sanitizers see any use after free).
    SpriteCompositor c([] { return int64_t(0); });
    const SurfaceId water = c.newSurface();
    c.setFrameImage(water, 1, opaqueFill(800, 600, qRgb(0, 0, 90)), kOpaque);
    const SurfaceId sign = c.newSurface();
    c.setX(sign, 100);
    c.setY(sign, 100);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(9, 9, 9)};
    c.setFrameImage(sign, 1, opaqueFill(50, 50, colours[0]), kOpaque);
    for (int frame = 1; frame < 4; ++frame) {
        c.draw(water);
        c.draw(sign);
        c.setFrameImage(sign, 1, opaqueFill(50 + frame, 50, colours[frame]), kOpaque);
        EXPECT_EQ(c.frame().pixel(120, 120), colours[frame - 1]) << frame;
    }
    c.draw(water);
    c.draw(sign);
    EXPECT_EQ(c.frame().pixel(152, 120), colours[3]);
    EXPECT_EQ(c.frame().pixel(154, 120), qRgb(0, 0, 90));
}

TEST(ChangedTiles, ARoundPictureMarksTheTilesItReachesNotTheCornersOfItsRectangle) {
    SpriteCompositor c([] { return int64_t(0); });
    const SurfaceId water = c.newSurface();
    c.setFrameImage(water, 1, opaqueFill(800, 600, qRgb(0, 0, 90)), kOpaque);
    const SurfaceId bubble = c.newSurface();
    c.setFrameImage(bubble, 1, roundSprite(128, 128, qRgb(200, 220, 255)), kTransparent);
    // At every offset within a tile, above and below the frame's top edge.
    for (const int y : {256, 263, 271, -40}) {
        for (const int x : {256, 261}) {
            SCOPED_TRACE(testing::Message() << "at " << x << "," << y);
            c.setX(bubble, int16_t(x));
            c.setY(bubble, int16_t(y));
            c.draw(water);
            c.draw(bubble);
            c.takeChanges();
            c.moveX(bubble, 1);
            c.draw(water);
            c.draw(bubble);
            const DirtyTiles changes = c.takeChanges();
            auto marked = [&](int fx, int fy) {
                if (fy < 0) return false;
                const int tile = changes.grid().tile();
                return changes.columns(fy / tile).has(fx / tile);
            };
            const int cx = x + 64, cy = y + 64;
            // The disc's edge at left, right, top and bottom, and its centre.
            for (const QPoint p : {QPoint(x + 1, cy), QPoint(x + 128, cy), QPoint(cx, y + 1),
                                   QPoint(cx, y + 126), QPoint(cx, cy)}) {
                if (p.y() >= 0) {
                    EXPECT_TRUE(marked(p.x(), p.y())) << p.x() << "," << p.y();
                }
            }
            // Its rectangle's corners are clear: no tile there, unless the disc reaches into it.
            for (const QPoint corner :
                 {QPoint(x, y), QPoint(x + 128, y), QPoint(x, y + 127), QPoint(x + 128, y + 127)}) {
                const int tile = c.grid().tile();
                const int nearestX =
                    std::clamp(cx, corner.x() / tile * tile, corner.x() / tile * tile + tile - 1);
                const int nearestY =
                    std::clamp(cy, corner.y() / tile * tile, corner.y() / tile * tile + tile - 1);
                const double reach = std::hypot(nearestX - cx, nearestY - cy);
                if (reach > 66 && corner.y() >= 0) {
                    EXPECT_FALSE(marked(corner.x(), corner.y())) << corner.x() << "," << corner.y();
                }
            }
        }
    }
}

TEST(ChangedTiles, RectanglesCoverExactlyTheMarkedTilesWithoutOverlap) {
    QRandomGenerator random(5);
    // The 800 x 600 frame's grid, and the larger frames' with tiles of 32 and 64 pixels (the
    // last with all 64 columns of a mask).
    for (const QSize frame : {QSize(800, 600), QSize(1440, 1080), QSize(4096, 3072)}) {
        const TileGrid grid = TileGrid::forFrame(frame);
        const int w = frame.width(), h = frame.height(), tile = grid.tile();
        const int rounds = frame.width() > 1000 ? 4 : 30;
        for (int round = 0; round < rounds; ++round) {
            DirtyTiles tiles(grid);
            std::vector<bool> expected(size_t(grid.columns() * grid.rows()), false);
            for (int i = random.bounded(0, 25); i > 0; --i) {
                const QRect r(random.bounded(-50, w), random.bounded(-50, h),
                              random.bounded(1, w / 3), random.bounded(1, h / 3));
                tiles.mark(r);
                const QRect in = r & QRect(0, 0, w, h);
                if (in.isEmpty()) continue;
                for (int ty = in.top() / tile; ty <= in.bottom() / tile; ++ty)
                    for (int tx = in.left() / tile; tx <= in.right() / tile; ++tx)
                        expected[size_t(ty * grid.columns() + tx)] = true;
            }
            if (round == 1) tiles.mark(QRect(w - 1, 0, 1, h));  // the last column
            if (round == 1)
                for (int ty = 0; ty < grid.rows(); ++ty)
                    expected[size_t(ty * grid.columns() + grid.columns() - 1)] = true;
            std::vector<uint8_t> cover(size_t(w) * h, 0);
            for (const QRect& r : tiles.rects()) {
                ASSERT_TRUE(QRect(0, 0, w, h).contains(r));
                for (int y = r.top(); y <= r.bottom(); ++y)
                    for (int x = r.left(); x <= r.right(); ++x) ++cover[size_t(y) * w + x];
            }
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const bool marked = expected[size_t((y / tile) * grid.columns() + x / tile)];
                    ASSERT_EQ(cover[size_t(y) * w + x], marked ? 1 : 0)
                        << w << "x" << h << " round " << round << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(ChangedTiles, RunsGoOnAcrossTheWordsOfAWideFramesTileRow) {
    // 256 columns of 32-pixel tiles: a tile row's columns take four 64-bit words.
    const TileGrid grid = TileGrid::forFrame(QSize(8192, 1536));
    ASSERT_EQ(grid.columns(), 256);
    const int tile = grid.tile();
    // Areas marked and the rectangles expected of them, both in tiles (column, row).
    const struct {
        std::vector<QRect> marked;
        std::vector<QRect> expected;
    } cases[] = {
        {{{60, 2, 11, 2}}, {{60, 2, 11, 2}}},
        {{{63, 0, 1, 1}, {64, 0, 1, 1}}, {{63, 0, 2, 1}}},
        {{{127, 4, 2, 1}, {128, 5, 1, 1}}, {{127, 4, 2, 1}, {128, 5, 1, 1}}},
        {{{64, 3, 64, 3}}, {{64, 3, 64, 3}}},
        {{{63, 7, 1, 1}, {128, 7, 1, 1}, {191, 7, 2, 1}},
         {{63, 7, 1, 1}, {128, 7, 1, 1}, {191, 7, 2, 1}}},
        {{{0, 1, 256, 1}, {120, 10, 136, 1}}, {{0, 1, 256, 1}, {120, 10, 136, 1}}},
    };
    auto byPlace = [](const QRect& a, const QRect& b) {
        return std::pair(a.top(), a.left()) < std::pair(b.top(), b.left());
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "first mark at column " << c.marked[0].x());
        DirtyTiles tiles(grid);
        // Each area from a few pixels inside its first tile to a few inside its last.
        for (const QRect& area : c.marked)
            tiles.mark(QRect(area.topLeft() * tile, area.size() * tile).adjusted(5, 5, -5, -5));
        std::vector<QRect> expected;
        for (const QRect& r : c.expected)
            expected.emplace_back(r.topLeft() * tile, r.size() * tile);
        std::vector<QRect> rects = tiles.rects();
        std::sort(rects.begin(), rects.end(), byPlace);
        EXPECT_EQ(rects, expected);
        for (int row = 0; row < grid.rows(); ++row) {
            std::vector<std::pair<int, int>> runs;
            tiles.columns(row).forEachRun(
                [&](int first, int end) { runs.emplace_back(first, end); });
            std::vector<std::pair<int, int>> expectedRuns;
            for (const QRect& r : c.expected)
                if (row >= r.top() && row <= r.bottom())
                    expectedRuns.emplace_back(r.left(), r.right() + 1);
            EXPECT_EQ(runs, expectedRuns) << "tile row " << row;
        }
    }
}

TEST(ChangedTiles, ScalingTheAffectedPartsMatchesScalingEverything) {
    QRandomGenerator random(9);
    QImage before(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) before.setPixel(x, y, random.generate() | 0xFF000000u);
    for (const QSize screen : {QSize(1920, 1080), QSize(1023, 767), QSize(640, 480)}) {
        for (ScaleQuality quality : {ScaleQuality::Smooth, ScaleQuality::Nearest}) {
            QImage after = before.copy();
            std::vector<QRect> changes;
            for (int i = 0; i < 12; ++i) {
                const QRect r(random.bounded(0, 790), random.bounded(0, 590), random.bounded(1, 90),
                              random.bounded(1, 60));
                changes.push_back(r);
                for (int y = r.top(); y <= std::min(r.bottom(), 599); ++y)
                    for (int x = r.left(); x <= std::min(r.right(), 799); ++x)
                        after.setPixel(x, y, random.generate() | 0xFF000000u);
            }
            QImage partly(screen, QImage::Format_RGB32);
            partly.fill(Qt::black);
            const QRect area = sceneRectFor(screen);
            FrameScaler scaler;
            scaler.scale(before, partly, area, quality);
            for (const QRect& r : changes)
                scaler.scalePart(after, partly, area, quality,
                                 scaler.affectedBy(after.size(), area, r));
            QImage wholly(screen, QImage::Format_RGB32);
            wholly.fill(Qt::black);
            scaler.scale(after, wholly, area, quality);
            EXPECT_EQ(partly, wholly) << screen.width() << " quality " << int(quality);
        }
    }
}

}  // namespace
}  // namespace bw
