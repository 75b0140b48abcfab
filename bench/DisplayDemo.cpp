// Shows the benchmark scene on the real display and reports the pace and the CPU it took:
//   display-demo [seconds] [smooth|nearest] [frame.png]
// Any key, click or the time running out ends it.

#include <sys/resource.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>

#include "BenchScene.h"
#include "platform/SpriteDisplay.h"

namespace {

using namespace bw;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class Demo : public DrawingEvents {
  public:
    explicit Demo(SpriteDisplay& display) : display_(display) {}
    std::function<void()> render;
    int renders = 0;
    void RenderFrame() override {
        render();
        display_.PresentFrame();
        ++renders;
    }
    void KeyDown(int) override { QGuiApplication::quit(); }
    void KeyUp(int) override {}
    void MouseDown(int, int, int) override { QGuiApplication::quit(); }
    void MouseMove(int, int, int) override {}
    void MouseUp(int, int, int) override {}
    void Deactivated() override { QGuiApplication::quit(); }

  private:
    SpriteDisplay& display_;
};

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    SpriteDisplay display;
    if (argc > 2 && QByteArray(argv[2]) == "nearest")
        display.setScaleQuality(ScaleQuality::Nearest);
    Demo demo(display);
    display.setEventSink(&demo);
    if (!display.OpenDisplay(800, 600, 32, QString())) {
        std::fprintf(stderr, "display-demo: cannot open the display\n");
        return 1;
    }
    demo.render = bench::buildScene(display, [&](SurfaceId id, int f, const QImage& i, int t) {
        display.compositor().setFrameImage(id, f, i, t);
    });
    QTimer::singleShot(int(seconds * 1000), &app, &QGuiApplication::quit);
    QElapsedTimer wall;
    wall.start();
    const double cpuStart = cpuSeconds();
    app.exec();
    const double elapsed = wall.nsecsElapsed() / 1e9;
    std::printf("renders_per_second: %.2f\n", demo.renders / elapsed);
    std::printf("cpu_fraction: %.3f\n", (cpuSeconds() - cpuStart) / elapsed);
    if (argc > 3) display.saveLastFrame(QString::fromLocal8Bit(argv[3]));
    display.CloseDisplay();
    return 0;
}
