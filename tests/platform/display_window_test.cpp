#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <string>
#include <vector>

#include "display_TestApp.h"
#include "platform/SpriteDisplay.h"

namespace bw {
namespace {

// Records what the display raises.
class Recorder : public DrawingEvents {
  public:
    std::vector<std::string> events;
    int renders = 0;
    int depth = 0;
    int deepest = 0;
    std::function<void()> onRender;

    void RenderFrame() override {
        ++renders;
        deepest = std::max(deepest, ++depth);
        if (onRender) onRender();
        --depth;
    }
    void KeyDown(int k) override { events.push_back("down " + std::to_string(k)); }
    void KeyUp(int k) override { events.push_back("up " + std::to_string(k)); }
    void MouseDown(int b, int x, int y) override { add("press", b, x, y); }
    void MouseMove(int b, int x, int y) override { add("move", b, x, y); }
    void MouseUp(int b, int x, int y) override { add("release", b, x, y); }
    void Deactivated() override { events.push_back("deactivated"); }

  private:
    void add(const char* what, int b, int x, int y) {
        events.push_back(std::string(what) + " " + std::to_string(b) + " " + std::to_string(x) +
                         "," + std::to_string(y));
    }
};

void runEvents(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class Display : public ::testing::Test {
  protected:
    void SetUp() override {
        test::guiApp();
        display.setEventSink(&recorder);
    }
    Recorder recorder;
    SpriteDisplay display;
};

TEST_F(Display, OpensOnlyAt800x600x32) {
    EXPECT_FALSE(display.OpenDisplay(640, 480, 32, ""));
    EXPECT_FALSE(display.OpenDisplay(800, 600, 16, ""));
    EXPECT_FALSE(display.OpenDisplay(800, 600, 24, ""));
    EXPECT_FALSE(display.isOpen());
    ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
    QWindow* window = display.sceneWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->flags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window->geometry(), QGuiApplication::primaryScreen()->geometry());
    // One window per screen: together they cover the desktop.
    EXPECT_EQ(display.windowCount(), int(QGuiApplication::screens().size()));
    display.CloseDisplay();
    display.CloseDisplay();
    EXPECT_FALSE(display.isOpen());
    EXPECT_EQ(display.sceneWindow(), nullptr);
    EXPECT_TRUE(std::find(recorder.events.begin(), recorder.events.end(), "deactivated") ==
                recorder.events.end());
}

TEST_F(Display, RaisesRenderFrameSteadilyAndNeverReentered) {
    // A handler that spins the event loop (as a modal prompt would) must not be re-entered.
    recorder.onRender = [] { runEvents(40); };
    ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
    runEvents(500);
    display.CloseDisplay();
    EXPECT_EQ(recorder.deepest, 1);
    EXPECT_GE(recorder.renders, 3);

    recorder.onRender = nullptr;
    recorder.renders = 0;
    ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
    runEvents(500);
    display.CloseDisplay();
    // 60 a second: about 30 in half a second, and never a burst.
    EXPECT_GE(recorder.renders, 10);
    EXPECT_LE(recorder.renders, 32);
    const int after = recorder.renders;
    runEvents(100);
    EXPECT_EQ(recorder.renders, after);
}

TEST_F(Display, InputArrivesInFrameCoordinatesAndWindowsNumbers) {
    // The 4:3 scene with bars beside it (the wide one maps as FrameGeometry tests).
    display.setFillsWideScreens(false);
    ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
    QWindow* window = display.sceneWindow();
    if (window->size() != QSize(1920, 1080))
        GTEST_SKIP() << "the application was made elsewhere without the 1920 x 1080 screen";

    auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(window->mapToGlobal(at)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(window, &event);
    };
    mouse(QEvent::MouseButtonPress, {1679, 1079}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {960, 540}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, {240, 0}, Qt::RightButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonPress, {100, 0}, Qt::MiddleButton, Qt::MiddleButton);

    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x", true);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x", true);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x");
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    for (QKeyEvent* e : {&press, &repeat, &repeatRelease, &release, &f1})
        QCoreApplication::sendEvent(window, e);

    const std::vector<std::string> expected = {
        "press 1 799,599", "move 3 400,300", "release 2 0,0", "press 4 -78,0",
        "down 88",         "down 88",        "up 88",         "down 112",
    };
    EXPECT_EQ(recorder.events, expected);

    // The pointer test follows the mouse, in frame coordinates.
    const SurfaceId id = display.NewSurface();
    QImage square(10, 10, QImage::Format_ARGB32);
    square.fill(qRgb(255, 255, 255));
    display.compositor().setFrameImage(id, 1, square, kTransparent);
    display.SetSurfaceX(id, 100);
    display.SetSurfaceY(id, 100);
    mouse(QEvent::MouseMove, {429, 189}, Qt::NoButton, Qt::NoButton);  // frame 105,105
    EXPECT_TRUE(display.IsPointerOver(id));
    mouse(QEvent::MouseMove, {420, 189}, Qt::NoButton, Qt::NoButton);  // frame 100,105
    EXPECT_TRUE(display.IsPointerOver(id));
    mouse(QEvent::MouseMove, {418, 189}, Qt::NoButton, Qt::NoButton);  // frame 98,105
    EXPECT_FALSE(display.IsPointerOver(id));
    display.CloseDisplay();
}

TEST_F(Display, HidingOrMinimisingTheWindowDeactivatesOnce) {
    for (int way = 0; way < 2; ++way) {
        recorder.events.clear();
        ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
        QWindow* window = display.sceneWindow();
        if (way == 0) {
            window->hide();
        } else {
            window->setWindowState(Qt::WindowMinimized);
            window->hide();
        }
        runEvents(20);
        EXPECT_EQ(recorder.events, std::vector<std::string>{"deactivated"}) << way;
        display.CloseDisplay();
        runEvents(20);
        EXPECT_EQ(recorder.events.size(), 1u);
    }
}

TEST_F(Display, ClosedWhileLockedItCoversTheScreensUntilUnlocked) {
    ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
    runEvents(50);
    display.ClearFrame(rgb(0, 0, 200));
    display.PresentFrame();
    display.setLocked(true);
    const int windows = display.windowCount();
    display.CloseDisplay();
    ASSERT_EQ(display.windowCount(), windows) << "every screen stays covered";
    QWindow* window = display.sceneWindow();
    EXPECT_TRUE(window->isVisible());
    runEvents(50);
    // The last frame, dimmed, so that the prompt above it stands out.
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    const QColor middle = shown.pixelColor(shown.rect().center());
    EXPECT_GT(middle.blue(), 40);
    EXPECT_LT(middle.blue(), 150);

    // The scene is over: no frames, no input, no loss reported.
    recorder.renders = 0;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &key);
    window->hide();
    runEvents(100);
    EXPECT_EQ(recorder.renders, 0);
    EXPECT_TRUE(recorder.events.empty());
    display.CloseDisplay();
    EXPECT_TRUE(display.isOpen());
    display.setLocked(false);
    EXPECT_FALSE(display.isOpen());
}

TEST_F(Display, PresentsChangedFramesAndSavesTheLastOne) {
    ASSERT_TRUE(display.OpenDisplay(800, 600, 32, ""));
    runEvents(50);  // shown and exposed
    const SurfaceId id = display.NewSurface();
    EXPECT_EQ(id, 1);
    QImage sprite(20, 10, QImage::Format_ARGB32);
    sprite.fill(qRgb(0, 200, 0));
    display.compositor().setFrameImage(id, 1, sprite, kTransparent);
    display.SetSurfaceX(id, 30);
    display.SetSurfaceY(id, 40);
    display.ClearFrame(rgb(0, 0, 128));
    display.DrawSurface(id);
    // Every screen's window shows the frame once.
    const int before = display.paintedFrames();
    display.PresentFrame();
    EXPECT_EQ(display.paintedFrames(), before + display.windowCount());
    display.PresentFrame();  // nothing new: not painted again
    EXPECT_EQ(display.paintedFrames(), before + display.windowCount());

    QTemporaryDir dir;
    const QString path = dir.filePath("frame.png");
    ASSERT_TRUE(display.saveLastFrame(path));
    const QImage saved(path);
    // The first frames of the 1920 x 1080 screen: 600 lines, as wide as the screen, the layout
    // (800 x 600) in the middle.
    ASSERT_EQ(saved.size(), QSize(1067, 600));
    EXPECT_EQ(saved.pixel(133 + 35, 45) | 0xFF000000u, qRgb(0, 200, 0));
    EXPECT_EQ(saved.pixel(133 + 25, 45) | 0xFF000000u, qRgb(0, 0, 128));
    EXPECT_EQ(saved.pixel(5, 5) | 0xFF000000u, qRgb(0, 0, 128));
    display.CloseDisplay();
}

TEST_F(Display, PreviewNeedsAnX11Window) {
    // Offscreen there is no X11 server to embed into.
    EXPECT_FALSE(display.OpenPreview(0x12345));
    EXPECT_FALSE(display.isOpen());
}

}  // namespace
}  // namespace bw
