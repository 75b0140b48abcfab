#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <limits>

#include "display_TestApp.h"
#include "picture_BmpWriter.h"
#include "platform/SpriteCompositor.h"
#include "platform/SpriteDisplayScaler.h"

namespace bw {
namespace {

QImage filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

QRgb at(SpriteCompositor& c, int x, int y) { return c.frame().pixel(x, y) | 0xFF000000u; }

int channelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The largest channelDistance between the composed frame and an 800 x 600 picture.
int worstDistance(SpriteCompositor& c, const QImage& expected) {
    int worst = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            worst = std::max(worst, channelDistance(at(c, x, y), expected.pixel(x, y)));
    return worst;
}

class Compositor : public ::testing::Test {
  protected:
    int64_t now = 1000;
    SpriteCompositor c{[this] { return now; }};

    SurfaceId surfaceWith(const QImage& image, int transparency, int x = 0, int y = 0) {
        const SurfaceId id = c.newSurface();
        EXPECT_TRUE(c.setFrameImage(id, 1, image, transparency));
        c.setX(id, int16_t(x));
        c.setY(id, int16_t(y));
        return id;
    }
};

TEST_F(Compositor, SurfacesAreNumberedInCreationOrderAndAfterResetAgainFromOne) {
    EXPECT_EQ(c.newSurface(), 1);
    EXPECT_EQ(c.newSurface(), 2);
    EXPECT_EQ(c.newSurface(), 3);
    c.reset();
    EXPECT_EQ(c.newSurface(), 1);
    EXPECT_FALSE(c.exists(2));
}

TEST_F(Compositor, ClearTakesWindowsColourOrder) {
    c.clear(rgb(255, 0, 0));
    EXPECT_EQ(at(c, 0, 0), qRgb(255, 0, 0));
    c.clear(rgb(1, 2, 3));
    EXPECT_EQ(at(c, 799, 599), qRgb(1, 2, 3));
}

TEST_F(Compositor, BlendsLikeQPainterWherever_SpritesLand) {
    // Random translucent sprites at random places, many partly or wholly off the frame: the
    // result must match QPainter's source-over within rounding.
    QImage expected(800, 600, QImage::Format_RGB32);
    expected.fill(qRgb(20, 60, 120));
    c.clear(rgb(20, 60, 120));
    QRandomGenerator random(7);
    QPainter painter(&expected);
    for (int i = 0; i < 60; ++i) {
        const int w = random.bounded(1, 300), h = random.bounded(1, 200);
        QImage sprite(w, h, QImage::Format_ARGB32);
        const int bandWidth = 1 + i % 9;  // from single pixels to long runs
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                // Clear, opaque and soft areas, like real sprites.
                const int band = (x / bandWidth + y / 5 + i) % 4;
                const int alpha = band == 0 ? 0 : band == 1 ? 255 : random.bounded(256);
                sprite.setPixel(
                    x, y,
                    qRgba(random.bounded(256), random.bounded(256), random.bounded(256), alpha));
            }
        }
        const int x = random.bounded(-400, 900), y = random.bounded(-300, 700);
        const SurfaceId id = surfaceWith(sprite, kTransparent, x, y);
        c.draw(id);
        painter.drawImage(x, y, sprite.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    painter.end();
    EXPECT_LE(worstDistance(c, expected), 2);
}

TEST_F(Compositor, OpaquePartsHideWhatIsUnderThemAndNothingElse) {
    // Stacked sprites with solid bodies, soft rims and a few holes, moved by odd steps so that
    // they sit every way across tiles: whatever is skipped under solid parts, the frames must
    // match QPainter's.
    QImage water(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) water.setPixel(x, y, qRgb(x & 255, y & 255, 90));
    const SurfaceId waterSurface = surfaceWith(water, kOpaque);
    QRandomGenerator random(5);
    struct Sprite {
        QImage image;  // premultiplied, as QPainter draws it
        SurfaceId id;
        QPoint at;
    };
    std::vector<Sprite> sprites;
    for (int i = 0; i < 30; ++i) {
        const int w = random.bounded(20, 300), h = random.bounded(20, 200);
        const int rim = random.bounded(4);  // 0: hard edges
        QImage sprite(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int edge = std::min({x, y, w - 1 - x, h - 1 - y});
                const int alpha = edge < rim ? 40 + 60 * edge : 255;
                sprite.setPixel(x, y,
                                qRgba(random.bounded(256), random.bounded(256), i * 8, alpha));
            }
        }
        // Holes in the body: a clear pixel, a soft one, a clear column through a whole row.
        for (int hole = 0; hole < 3; ++hole) {
            const int x = random.bounded(w), y = random.bounded(h);
            sprite.setPixel(x, y, hole == 1 ? qRgba(255, 255, 255, 100) : 0u);
        }
        const QPoint at(random.bounded(-50, 750), random.bounded(-50, 550));
        const int transparency = i % 5 == 0 ? kOpaque : kTransparent;
        sprites.push_back(
            {sprite.convertToFormat(transparency == kOpaque ? QImage::Format_RGB32
                                                            : QImage::Format_ARGB32_Premultiplied),
             surfaceWith(sprite, transparency, at.x(), at.y()), at});
    }
    for (int frame = 0; frame < 12; ++frame) {
        SCOPED_TRACE(frame);
        QImage expected = water;
        QPainter painter(&expected);
        c.draw(waterSurface);
        for (Sprite& s : sprites) {
            c.setX(s.id, int16_t(s.at.x()));
            c.setY(s.id, int16_t(s.at.y()));
            c.draw(s.id);
            painter.drawImage(s.at, s.image);
            s.at += QPoint(random.bounded(-9, 10), random.bounded(-9, 10));
        }
        painter.end();
        ASSERT_LE(worstDistance(c, expected), 2);
    }
}

TEST_F(Compositor, LaterDrawsCoverEarlierOnes) {
    const SurfaceId red = surfaceWith(filled(100, 100, qRgb(255, 0, 0)), kTransparent, 0, 0);
    const SurfaceId blue = surfaceWith(filled(100, 100, qRgb(0, 0, 255)), kTransparent, 50, 50);
    c.draw(red);
    c.draw(blue);
    EXPECT_EQ(at(c, 75, 75), qRgb(0, 0, 255));
    EXPECT_EQ(at(c, 25, 25), qRgb(255, 0, 0));
    c.draw(red);
    EXPECT_EQ(at(c, 75, 75), qRgb(255, 0, 0));
    EXPECT_EQ(at(c, 125, 125), qRgb(0, 0, 255));
}

TEST_F(Compositor, TransparencyCodes) {
    QImage keyed(4, 1, QImage::Format_RGB32);
    keyed.setPixel(0, 0, qRgb(255, 0, 255));
    keyed.setPixel(1, 0, qRgb(10, 200, 10));
    keyed.setPixel(2, 0, qRgb(255, 0, 255));
    keyed.setPixel(3, 0, qRgb(254, 0, 255));  // near the key is not the key
    QImage halfAlpha = filled(2, 1, qRgba(0, 0, 255, 128));

    struct Case {
        const char* name;
        QImage image;
        int transparency;
        QRgb expected[2];
    };
    const Case cases[] = {
        {"colour key hides magenta", keyed, kTransparent, {qRgb(50, 50, 50), qRgb(10, 200, 10)}},
        {"opaque ignores the key", keyed, kOpaque, {qRgb(255, 0, 255), qRgb(10, 200, 10)}},
        {"alpha blends", halfAlpha, kTransparent, {qRgb(25, 25, 153), qRgb(25, 25, 153)}},
        {"opaque ignores alpha", halfAlpha, kOpaque, {qRgb(0, 0, 255), qRgb(0, 0, 255)}},
        {"own colour key", keyed, int(rgb(10, 200, 10)), {qRgb(255, 0, 255), qRgb(50, 50, 50)}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        c.clear(rgb(50, 50, 50));
        c.draw(surfaceWith(k.image, k.transparency, 10, 10));
        EXPECT_LE(channelDistance(at(c, 10, 10), k.expected[0]), 1);
        EXPECT_LE(channelDistance(at(c, 11, 10), k.expected[1]), 1);
    }
    c.clear(rgb(50, 50, 50));
    c.draw(surfaceWith(keyed, kTransparent, 10, 10));
    EXPECT_EQ(at(c, 13, 10), qRgb(254, 0, 255));

    // A picture handed over already premultiplied but with colours above their alpha: a clear
    // pixel still adds nothing, and no colour spills over into its neighbours.
    QImage broken(6, 1, QImage::Format_ARGB32_Premultiplied);
    broken.fill(0x00FF80FFu);            // alpha 0, yet coloured
    broken.setPixel(2, 0, 0x40FFFFFFu);  // alpha 64, colours 255
    broken.setPixel(3, 0, 0xFF102030u);
    c.clear(rgb(50, 50, 50));
    c.draw(surfaceWith(broken, kTransparent, 10, 20));
    EXPECT_EQ(at(c, 10, 20), qRgb(50, 50, 50));
    EXPECT_EQ(at(c, 11, 20), qRgb(50, 50, 50));
    EXPECT_LE(channelDistance(at(c, 12, 20), qRgb(101, 101, 101)), 1);  // 64 + 50 * 191 / 255
    EXPECT_EQ(at(c, 13, 20), qRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(at(c, 15, 20), qRgb(50, 50, 50));
}

TEST_F(Compositor, FarOffScreenPositionsDrawNothingAndClipCorrectly) {
    const QImage sprite = filled(50, 40, qRgb(0, 255, 0));
    const int16_t lo = std::numeric_limits<int16_t>::min();
    const int16_t hi = std::numeric_limits<int16_t>::max();
    for (auto [x, y] : {std::pair<int, int>{lo, lo},
                        {hi, hi},
                        {lo, 0},
                        {0, hi},
                        {-50, 0},
                        {800, 0},
                        {0, 600},
                        {0, -40}}) {
        c.clear(rgb(0, 0, 0));
        c.draw(surfaceWith(sprite, kTransparent, x, y));
        EXPECT_EQ(c.frame().pixel(0, 0) & 0xFFFFFF, 0u) << x << "," << y;
        EXPECT_EQ(c.frame().pixel(799, 599) & 0xFFFFFF, 0u) << x << "," << y;
    }
    c.clear(rgb(0, 0, 0));
    c.draw(surfaceWith(sprite, kTransparent, -49, 599));
    EXPECT_EQ(at(c, 0, 599), qRgb(0, 255, 0));
    EXPECT_EQ(at(c, 1, 599), qRgb(0, 0, 0));
    EXPECT_EQ(at(c, 0, 598), qRgb(0, 0, 0));
    c.draw(surfaceWith(sprite, kOpaque, 790, -39));
    EXPECT_EQ(at(c, 799, 0), qRgb(0, 255, 0));
    EXPECT_EQ(at(c, 789, 0), qRgb(0, 0, 0));
}

TEST_F(Compositor, MovesSaturateAtTheInt16Range) {
    const SurfaceId id = c.newSurface();
    struct Case {
        int16_t start;
        int16_t dx;  // MoveSurfaceX
        int16_t dy;  // MoveSurfaceUp
        int16_t x, y;
    };
    const Case cases[] = {
        {32760, 100, -100, 32767, 32767},   {-32760, -100, 100, -32768, -32768},  {10, 5, 5, 15, 5},
        {0, -32768, -32768, -32768, 32767}, {32767, 32767, -32768, 32767, 32767},
    };
    for (const Case& k : cases) {
        c.setX(id, k.start);
        c.setY(id, k.start);
        c.moveX(id, k.dx);
        c.moveUp(id, k.dy);
        EXPECT_EQ(c.x(id), k.x) << k.start << " " << k.dx;
        EXPECT_EQ(c.y(id), k.y) << k.start << " " << k.dy;
    }
}

TEST_F(Compositor, FramesCycleByDelay) {
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    const SurfaceId id = c.newSurface();
    for (int f = 0; f < 3; ++f)
        ASSERT_TRUE(c.setFrameImage(id, f + 1, filled(8, 8, colours[f]), kTransparent));
    c.setCurrentFrame(id, 1);
    c.setFrameDelay(id, 100);
    EXPECT_EQ(c.frameCount(id), 3);

    // Polled once per render (every 16 or 17 ms), as the frame loop does.
    std::vector<int> shown;
    for (int render = 0; render < 60; ++render) {
        now += render % 3 == 0 ? 16 : 17;
        if (c.isFrameDue(id)) {
            c.advanceFrame(id);
            shown.push_back(c.currentFrame(id));
            c.draw(id);
            EXPECT_EQ(at(c, 0, 0), colours[c.currentFrame(id) - 1]);
        }
    }
    // One second at a 100 ms delay: about ten frames, in the order 2, 3, 1, 2, ...
    EXPECT_GE(shown.size(), 9u);
    EXPECT_LE(shown.size(), 10u);
    for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i], int((i + 1) % 3) + 1);

    c.setFrameDelay(id, 100);
    now += 99;
    EXPECT_FALSE(c.isFrameDue(id));
    now += 1;
    EXPECT_TRUE(c.isFrameDue(id));
    // A long pause does not release a burst of frames.
    now += 10'000;
    c.advanceFrame(id);
    EXPECT_FALSE(c.isFrameDue(id));
}

TEST_F(Compositor, MissingFramesDrawNothingAndNeverCrash) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.bmp");
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(test::bmpOf(filled(4, 4, qRgb(0, 0, 255)), 24));
    file.close();

    const SurfaceId id = c.newSurface();
    EXPECT_TRUE(c.loadFrame(id, 1, good, kTransparent));
    EXPECT_FALSE(c.loadFrame(id, 2, dir.filePath("missing.bmp"), kTransparent));
    EXPECT_TRUE(c.loadFrame(id, 3, good, kTransparent));
    EXPECT_FALSE(c.loadFrame(id, 0, good, kTransparent));
    EXPECT_FALSE(c.loadFrame(99, 1, good, kTransparent));
    EXPECT_FALSE(c.loadFrame(id, 1, dir.path(), kTransparent));  // the folder, not a file
    EXPECT_EQ(c.frameCount(id), 3);

    c.clear(rgb(0, 0, 0));
    c.advanceFrame(id);  // frame 2, which failed
    c.draw(id);
    EXPECT_EQ(at(c, 0, 0), qRgb(0, 0, 0));
    c.advanceFrame(id);
    c.draw(id);
    EXPECT_EQ(at(c, 0, 0), qRgb(0, 0, 255));

    const SurfaceId empty = c.newSurface();
    c.draw(empty);
    c.advanceFrame(empty);
    c.draw(12345);
    c.setX(-1, 5);
    EXPECT_EQ(c.x(-1), 0);
    EXPECT_FALSE(c.isPointOver(empty, {0, 0}));
}

TEST_F(Compositor, OneDecodedPictureIsSharedPerPathAndTransparency) {
    QTemporaryDir dir;
    const char* names[] = {"b2x2.bmp", "b4x4.bmp", "b6x6.bmp"};
    for (const char* name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(test::bmpOf(filled(6, 6, qRgba(200, 220, 255, 160)), 32));
    }
    for (int i = 0; i < 400; ++i) {
        const SurfaceId id = c.newSurface();
        ASSERT_TRUE(c.loadFrame(id, 1, dir.filePath(names[i % 3]), kTransparent));
    }
    EXPECT_EQ(c.cachedPictureCount(), 3);
    c.loadFrame(c.newSurface(), 1, dir.filePath(names[0]), kOpaque);
    EXPECT_EQ(c.cachedPictureCount(), 4);
    // A missing file is looked for once, too.
    for (int i = 0; i < 10; ++i)
        c.loadFrame(c.newSurface(), 1, dir.filePath("gone.bmp"), kTransparent);
    EXPECT_EQ(c.cachedPictureCount(), 5);
}

TEST_F(Compositor, PointerIsOverVisiblePixelsOfTheCurrentFrameOnly) {
    QImage ring = filled(10, 10, qRgba(0, 0, 0, 0));
    for (int x = 0; x < 10; ++x) ring.setPixel(x, 0, qRgba(255, 255, 255, 40));
    const SurfaceId id = surfaceWith(ring, kTransparent, 100, 200);
    c.setFrameImage(id, 2, filled(10, 10, qRgb(1, 1, 1)), kTransparent);
    EXPECT_TRUE(c.isPointOver(id, {105, 200}));
    EXPECT_FALSE(c.isPointOver(id, {105, 205}));
    EXPECT_FALSE(c.isPointOver(id, {99, 200}));
    EXPECT_FALSE(c.isPointOver(id, {110, 200}));
    c.advanceFrame(id);
    EXPECT_TRUE(c.isPointOver(id, {105, 205}));
}

TEST_F(Compositor, TextIsDrawnInItsColourBelowAndRightOfItsPoint) {
    test::guiApp();
    c.clear(rgb(0, 0, 0));
    c.setTextFont("Arial", 16, 30, false, false, false);
    c.drawText("Hello World", 100, 50, rgb(255, 255, 0));
    int minY = 600, maxY = -1, minX = 800, exact = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const QRgb p = at(c, x, y);
            if (p == qRgb(0, 0, 0)) continue;
            EXPECT_EQ(qBlue(p), 0);
            EXPECT_EQ(qRed(p), qGreen(p));
            exact += p == qRgb(255, 255, 0);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
            minX = std::min(minX, x);
        }
    }
    EXPECT_GT(exact, 20);
    EXPECT_GE(minY, 50);
    EXPECT_GE(minX, 100);
    EXPECT_LE(minX, 103);
    // A 16-pixel line of text: capitals about 10 high, so lines 15 pixels apart never touch.
    EXPECT_GE(maxY - minY, 8);
    EXPECT_LE(maxY - minY, 13);
}

TEST(FrameGeometry, SceneRectKeepsFourToThreeCentred) {
    struct Case {
        QSize window;
        QRect scene;
    };
    const Case cases[] = {
        {{800, 600}, {0, 0, 800, 600}},
        {{1920, 1080}, {240, 0, 1440, 1080}},
        {{1280, 1024}, {0, 32, 1280, 960}},
        {{1024, 768}, {0, 0, 1024, 768}},
        {{3840, 1080}, {1200, 0, 1440, 1080}},
        {{152, 112}, {1, 0, 149, 112}},
        {{0, 0}, {}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(sceneRectFor(k.window), k.scene) << k.window.width() << "x" << k.window.height();
    // A wide frame fills a window of its shape, the one 600 lines high for 1920 x 1080 too, and
    // is letterboxed on other shapes.
    const struct {
        QSize window, frame;
        QRect shown;
    } wide[] = {
        {{1920, 1080}, {1920, 1080}, {0, 0, 1920, 1080}},
        {{1920, 1080}, {1067, 600}, {0, 0, 1920, 1080}},
        {{1920, 1200}, {1920, 1080}, {0, 60, 1920, 1080}},
        {{1280, 1024}, {1920, 1080}, {0, 152, 1280, 720}},
        {{2560, 1080}, {1920, 1080}, {320, 0, 1920, 1080}},
    };
    for (const auto& k : wide)
        EXPECT_EQ(frameRectFor(k.window, k.frame), k.shown) << k.frame.width() << " in "
                                                             << k.window.width();
}

TEST(FrameGeometry, WindowPointsMapBackToTheFrame) {
    struct Case {
        QSize window;
        QPoint point;
        QPoint frame;
        FrameShape shape = {};
    };
    // The wide frame of a 1920 x 1080 screen, and the one its first frames are composed in.
    const FrameShape full = FrameShape::across(1080, 16.0 / 9);
    const FrameShape first = FrameShape::across(600, 16.0 / 9);
    const Case cases[] = {
        {{1920, 1080}, {240, 0}, {0, 0}},       {{1920, 1080}, {1679, 1079}, {799, 599}},
        {{1920, 1080}, {960, 540}, {400, 300}}, {{1920, 1080}, {0, 0}, {-134, 0}},
        {{1920, 1080}, {1919, 0}, {932, 0}},    {{800, 600}, {123, 456}, {123, 456}},
        {{1280, 1024}, {640, 32}, {400, 0}},    {{1280, 1024}, {0, 0}, {0, -20}},
        // Wide: the same layout units wherever the frame is composed; the sides reach past
        // 0 and 800.
        {{1920, 1080}, {240, 0}, {0, 0}, full},        {{1920, 1080}, {960, 540}, {400, 300}, full},
        {{1920, 1080}, {0, 0}, {-134, 0}, full},       {{1920, 1080}, {1919, 1079}, {932, 599}, full},
        {{1920, 1080}, {1919, 1079}, {933, 599}, first}, {{1920, 1080}, {0, 0}, {-133, 0}, first},
        // Another monitor shows the wide frame letterboxed.
        {{1280, 1024}, {0, 152}, {-134, 0}, full},     {{1280, 1024}, {640, 512}, {400, 300}, full},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(mapToFrame(k.point, k.window, k.shape), k.frame)
            << k.point.x() << "," << k.point.y() << " in " << k.window.width() << " for "
            << k.shape.size.width();
    }
}

// Bilinear sample of `image` at output pixel (x, y) of an output `size`, pixel centres aligned.
QRgb bilinearReference(const QImage& image, QSize size, int x, int y) {
    auto axis = [](int out, int outLength, int inLength, int* i0, int* i1, double* f) {
        const double s = std::clamp((out + 0.5) * inLength / outLength - 0.5, 0.0, inLength - 1.0);
        *i0 = int(s);
        *i1 = std::min(*i0 + 1, inLength - 1);
        *f = s - *i0;
    };
    int x0, x1, y0, y1;
    double fx, fy;
    axis(x, size.width(), image.width(), &x0, &x1, &fx);
    axis(y, size.height(), image.height(), &y0, &y1, &fy);
    auto channel = [&](int (*get)(QRgb)) {
        const double top = get(image.pixel(x0, y0)) * (1 - fx) + get(image.pixel(x1, y0)) * fx;
        const double bottom = get(image.pixel(x0, y1)) * (1 - fx) + get(image.pixel(x1, y1)) * fx;
        return int(std::lround(top * (1 - fy) + bottom * fy));
    };
    return qRgb(channel(qRed), channel(qGreen), channel(qBlue));
}

TEST(FrameScaling, SmoothIsBilinearAndNearestRepeatsPixels) {
    QImage frame(800, 600, QImage::Format_RGB32);
    QRandomGenerator random(3);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            frame.setPixel(x, y, qRgb((x * 3 + y) & 255, (y * 2) & 255, random.bounded(256)));

    QImage screen(1920, 1080, QImage::Format_RGB32);
    screen.fill(qRgb(1, 2, 3));
    const QRect area = sceneRectFor(screen.size());
    FrameScaler scaler;
    scaler.scale(frame, screen, area, ScaleQuality::Smooth);
    int worst = 0;
    for (int y = 0; y < area.height(); y += 3) {
        for (int x = y % 5; x < area.width(); x += 5) {
            const QRgb expected = bilinearReference(frame, area.size(), x, y);
            worst = std::max(worst, channelDistance(screen.pixel(area.x() + x, y), expected));
        }
    }
    EXPECT_LE(worst, 2);
    // Outside the area nothing is touched.
    EXPECT_EQ(screen.pixel(239, 500), qRgb(1, 2, 3));
    EXPECT_EQ(screen.pixel(1680, 500), qRgb(1, 2, 3));

    scaler.scale(frame, screen, area, ScaleQuality::Nearest);
    for (QPoint p : {QPoint(0, 0), QPoint(799, 599), QPoint(400, 300), QPoint(123, 457)}) {
        const QPoint out(area.x() + p.x() * area.width() / 800 + 1,
                         p.y() * area.height() / 600 + 1);
        EXPECT_EQ(screen.pixel(out), frame.pixel(p)) << p.x() << "," << p.y();
    }

    // At the frame's own size smooth scaling is an exact copy.
    QImage same(800, 600, QImage::Format_RGB32);
    scaler.scale(frame, same, same.rect(), ScaleQuality::Smooth);
    EXPECT_EQ(same, frame);
}

}  // namespace
}  // namespace bw
