// The frame enlarged by the X server: what the window shows must match what our own scaler
// makes of the same frame, after whole and after partial updates, with black bars around.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "platform/ServerScalerX11.h"
#include "platform/SpriteCompositor.h"
#include "platform/SpriteDisplayScaler.h"
#include "x11_PrivateServer.h"

// Xlib last: its macros (Bool, Status) break Qt's and gtest's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace bw {
namespace {

class ServerScaling : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_.start("1024x768x24"); }
    static void TearDownTestSuite() { server_.stop(); }
    void SetUp() override {
        if (server_.name().empty() || !(display_ = XOpenDisplay(server_.name().c_str())))
            GTEST_SKIP() << "no Xvfb";
        // The scaler connects to the display the program was started on.
        const char* previous = std::getenv("DISPLAY");
        previousDisplay_ = previous ? previous : "";
        setenv("DISPLAY", server_.name().c_str(), 1);
    }
    void TearDown() override {
        if (!display_) return;
        XCloseDisplay(display_);
        if (previousDisplay_.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", previousDisplay_.c_str(), 1);
    }

    // A mapped window whose every pixel starts out bright green, so stale pixels show.
    Window window(QSize size) {
        const Window w =
            XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, unsigned(size.width()),
                                unsigned(size.height()), 0, 0, 0x00FF00);
        XMapWindow(display_, w);
        XSync(display_, False);
        return w;
    }

    QImage shown(Window w, QSize size) {
        XSync(display_, False);
        XImage* image = XGetImage(display_, w, 0, 0, unsigned(size.width()),
                                  unsigned(size.height()), AllPlanes, ZPixmap);
        QImage copy(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                copy.setPixel(x, y, 0xFF000000u | uint32_t(XGetPixel(image, x, y)));
        XDestroyImage(image);
        return copy;
    }

    static inline test::PrivateXServer server_;
    ::Display* display_ = nullptr;
    std::string previousDisplay_;
};

// Soft gradients with hard-edged blocks: both smooth areas and edges are compared.
QImage pattern(int seed) {
    QImage frame(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            frame.setPixel(
                x, y, qRgb((x + seed) & 255, (y * 3) & 255, ((x / 37 + y / 29 + seed) % 3) * 120));
    return frame;
}

// What our own smooth scaler makes of the frame in a window of `size`, black around it.
QImage expected(const QImage& frame, QSize size) {
    QImage window(size, QImage::Format_RGB32);
    window.fill(Qt::black);
    FrameScaler scaler;
    scaler.scale(frame, window, sceneRectFor(size), ScaleQuality::Smooth);
    return window;
}

// How far two pictures differ: the largest difference of any channel of any pixel, and the
// mean over all. The server interpolates with fewer bits than we do, so along hard edges a
// few levels apart is right; a pixel's shift or a stale area is tens of levels.
struct Difference {
    int largest = 0;
    double mean = 0;
    QPoint where;
};

Difference compare(const QImage& a, const QImage& b) {
    Difference d;
    int64_t sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int channel =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
            sum += channel;
            if (channel > d.largest) {
                d.largest = channel;
                d.where = QPoint(x, y);
            }
        }
    }
    d.mean = double(sum) / (int64_t(a.width()) * a.height());
    return d;
}

constexpr int kEdgeLevels = 8;
constexpr double kMeanLevels = 1.0;

TEST_F(ServerScaling, WindowShowsTheFrameAsOurScalerWouldWithBlackBars) {
    const QSize size(1000, 700);  // wider than 4:3: bars left and right
    const Window w = window(size);
    auto scaler = ServerScaler::open(w, QSize(800, 600));
    ASSERT_NE(scaler, nullptr) << "Xvfb has shared memory and RENDER";
    const QImage frame = pattern(0);
    ASSERT_TRUE(scaler->present(frame, DirtyTiles(), sceneRectFor(size), size, true, true));
    ASSERT_TRUE(scaler->finish());

    const QImage image = shown(w, size);
    const Difference d = compare(image, expected(frame, size));
    EXPECT_LE(d.largest, kEdgeLevels) << "at " << d.where.x() << "," << d.where.y();
    EXPECT_LT(d.mean, kMeanLevels);
    const QRect scene = sceneRectFor(size);
    ASSERT_GT(scene.left(), 0);
    for (int y = 0; y < size.height(); y += 7) {
        EXPECT_EQ(image.pixel(scene.left() - 1, y), 0xFF000000u);
        EXPECT_EQ(image.pixel(scene.right() + 1, y), 0xFF000000u);
    }
}

// Parts pass through a few rows of shared memory: a whole frame takes 30 rounds of 20 rows,
// and a frame's changes share the rows.
constexpr size_t kTwentyRows = 800 * 4 * 20;

TEST_F(ServerScaling, PartialUpdatesLeaveNothingStale) {
    for (const size_t staging : {ServerScaler::kStagingBytes, kTwentyRows}) {
        SCOPED_TRACE(staging);
        const QSize size(1024, 768);
        const Window w = window(size);
        auto scaler = ServerScaler::open(w, QSize(800, 600), staging);
        ASSERT_NE(scaler, nullptr);
        const QRect scene = sceneRectFor(size);
        QImage frame = pattern(0);
        ASSERT_TRUE(scaler->present(frame, DirtyTiles(), scene, size, true, true));

        // Three rounds of changes in a few places, at tile edges and at the frame's edges; only
        // their tiles are sent and drawn.
        const QRect changes[] = {{0, 0, 5, 5},    {100, 100, 40, 17}, {795, 590, 5, 10},
                                 {15, 300, 2, 2}, {400, 31, 1, 1},    {0, 599, 800, 1}};
        for (int round = 1; round <= 3; ++round) {
            const QImage next = pattern(round * 50);
            DirtyTiles tiles;
            for (const QRect& r : changes) {
                const QRect moved = r.translated(round * 16, 0) & frame.rect();
                for (int y = moved.top(); y <= moved.bottom(); ++y)
                    for (int x = moved.left(); x <= moved.right(); ++x)
                        frame.setPixel(x, y, next.pixel(x, y));
                tiles.mark(moved);
            }
            ASSERT_TRUE(scaler->present(frame, tiles, scene, size, false, true));
            ASSERT_TRUE(scaler->finish());
            const Difference d = compare(shown(w, size), expected(frame, size));
            EXPECT_LE(d.largest, kEdgeLevels)
                << "round " << round << " at " << d.where.x() << "," << d.where.y();
            EXPECT_LT(d.mean, kMeanLevels) << "round " << round;
        }
    }
}

TEST_F(ServerScaling, AFrameTheSizeOfTheSceneIsCopiedExactlyAndScaledAgainWhenItIsNot) {
    for (const size_t staging : {ServerScaler::kStagingBytes, kTwentyRows}) {
        SCOPED_TRACE(staging);
        const QSize size(1000, 700);
        const Window w = window(size);
        auto scaler = ServerScaler::open(w, QSize(800, 600), staging);
        ASSERT_NE(scaler, nullptr);
        const QRect oneToOne(100, 50, 800, 600);
        auto copied = [&](const QImage& frame) {
            QImage window(size, QImage::Format_RGB32);
            window.fill(Qt::black);
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x)
                    window.setPixel(oneToOne.x() + x, oneToOne.y() + y, frame.pixel(x, y));
            return window;
        };
        QImage frame = pattern(0);
        ASSERT_TRUE(scaler->present(frame, DirtyTiles(), oneToOne, size, true, true));
        ASSERT_TRUE(scaler->finish());
        Difference d = compare(shown(w, size), copied(frame));
        EXPECT_EQ(d.largest, 0) << "at " << d.where.x() << "," << d.where.y();

        // Changed tiles only, then the frame scaled to another scene area (told as a partial
        // update: what the window showed so far was put there another way), then 1:1 again.
        const QImage next = pattern(70);
        DirtyTiles tiles;
        for (int y = 16; y < 48; ++y)
            for (int x = 784; x < 800; ++x) frame.setPixel(x, y, next.pixel(x, y));
        tiles.mark(QRect(784, 16, 16, 32));
        ASSERT_TRUE(scaler->present(frame, tiles, oneToOne, size, false, true));
        ASSERT_TRUE(scaler->finish());
        d = compare(shown(w, size), copied(frame));
        EXPECT_EQ(d.largest, 0) << "at " << d.where.x() << "," << d.where.y();

        frame = pattern(140);
        ASSERT_TRUE(scaler->present(frame, tiles, sceneRectFor(size), size, false, true));
        ASSERT_TRUE(scaler->finish());
        d = compare(shown(w, size), expected(frame, size));
        EXPECT_LE(d.largest, kEdgeLevels) << "at " << d.where.x() << "," << d.where.y();
        EXPECT_LT(d.mean, kMeanLevels);

        frame = pattern(210);
        ASSERT_TRUE(scaler->present(frame, tiles, oneToOne, size, false, true));
        ASSERT_TRUE(scaler->finish());
        d = compare(shown(w, size), copied(frame));
        EXPECT_EQ(d.largest, 0) << "at " << d.where.x() << "," << d.where.y();
    }
}

TEST_F(ServerScaling, AWindowThatIsGoneIsReportedNotFatal) {
    const QSize size(640, 480);
    const Window w = window(size);
    auto scaler = ServerScaler::open(w, QSize(800, 600));
    ASSERT_NE(scaler, nullptr);
    XDestroyWindow(display_, w);
    XSync(display_, False);
    const QImage frame = pattern(1);
    // The refusal arrives after the drawing is sent; the next call reports it.
    scaler->present(frame, DirtyTiles(), sceneRectFor(size), size, true, true);
    EXPECT_FALSE(scaler->finish());
    EXPECT_EQ(ServerScaler::open(w, QSize(800, 600)), nullptr);
}

}  // namespace
}  // namespace bw
