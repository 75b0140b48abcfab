// Prints the display's performance figures, one per line as "name: value".

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <ctime>
#include <vector>

#include "BenchScene.h"
#include "platform/SpriteCompositor.h"
#include "platform/SpriteDisplay.h"
#include "platform/SpriteDisplayScaler.h"

namespace {

using namespace bw;

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Time of one call in milliseconds: the least of `runs` calls after a warm-up, counted in this
// thread's CPU time, so that other programs on a busy machine disturb the figure little.
// `wall` counts elapsed time instead, for Qt calls that spread work over a thread pool.
// A virtual machine's thread clock was seen to stand still across a call now and then; such
// readings are left out.
template <typename F>
double bestMs(int runs, F&& f, bool wall = false) {
    for (int i = 0; i < 5; ++i) f();
    double best = 1e9;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        const double cpu = threadCpuMs();
        f();
        const double spent = wall ? timer.nsecsElapsed() / 1e6 : threadCpuMs() - cpu;
        if (spent > 0) best = std::min(best, spent);
    }
    return best;
}

// The same scene drawn the plain way: QPainter::drawImage of premultiplied images.
class PainterScene {
  public:
    PainterScene() : frame_(800, 600, QImage::Format_RGB32) { frame_.fill(Qt::black); }
    struct Surface {
        int16_t x = 0, y = 0;
        int current = 1;
        std::vector<QImage> frames;
    };
    SurfaceId NewSurface() {
        surfaces_.emplace_back();
        return SurfaceId(surfaces_.size());
    }
    void setImage(SurfaceId id, int frame, const QImage& image, int transparency) {
        auto& frames = surfaces_[size_t(id) - 1].frames;
        frames.resize(std::max<size_t>(frames.size(), size_t(frame)));
        frames[size_t(frame) - 1] = image.convertToFormat(
            transparency == kOpaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    }
    void SetSurfaceX(SurfaceId id, int16_t x) { surfaces_[size_t(id) - 1].x = x; }
    void SetSurfaceY(SurfaceId id, int16_t y) { surfaces_[size_t(id) - 1].y = y; }
    int16_t GetSurfaceX(SurfaceId id) { return surfaces_[size_t(id) - 1].x; }
    int16_t GetSurfaceY(SurfaceId id) { return surfaces_[size_t(id) - 1].y; }
    void MoveSurfaceX(SurfaceId id, int16_t dx) { surfaces_[size_t(id) - 1].x += dx; }
    void MoveSurfaceUp(SurfaceId id, int16_t dy) { surfaces_[size_t(id) - 1].y -= dy; }
    void SetCurrentFrame(SurfaceId id, int f) { surfaces_[size_t(id) - 1].current = f; }
    void SetFrameDelay(SurfaceId, int) {}
    bool IsFrameDue(SurfaceId) { return (++tick_ % 4) == 0; }
    void AdvanceFrame(SurfaceId id) {
        Surface& s = surfaces_[size_t(id) - 1];
        s.current = s.current >= int(s.frames.size()) ? 1 : s.current + 1;
    }
    void DrawSurface(SurfaceId id) {
        const Surface& s = surfaces_[size_t(id) - 1];
        QPainter p(&frame_);
        p.drawImage(s.x, s.y, s.frames[size_t(s.current) - 1]);
    }
    void SetTextFont(const QString& face, int points, int, bool, bool, bool) {
        font_ = QFont(face);
        font_.setPixelSize(points * 96 / 72);
    }
    void DrawText(const QString& text, int x, int y, Rgb) {
        QPainter p(&frame_);
        p.setFont(font_);
        p.setPen(Qt::yellow);
        p.drawText(x, y + 12, text);
    }

  private:
    QImage frame_;
    std::vector<Surface> surfaces_;
    QFont font_;
    int tick_ = 0;
};

void print(const char* name, double value) { std::printf("%s: %.3f\n", name, value); }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = 300;

    QImage source(800, 600, QImage::Format_RGB32);
    source.fill(Qt::darkBlue);
    QImage copy(800, 600, QImage::Format_RGB32);
    const double copyMs = bestMs(runs * 3, [&] {
        std::memcpy(copy.bits(), source.constBits(), size_t(source.sizeInBytes()));
    });

    // The aquarium's pictures when a data folder holds them (argument, BRINEWAVE3_HOME or
    // the build's own), generated stand-ins of the same sizes otherwise.
    QString art =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("BRINEWAVE3_HOME");
    if (art.isEmpty()) art = QStringLiteral(BW_DATA_DIR);
    int artFound = 0;
    QImage painted(800, 600, QImage::Format_RGB32);
    const double paintCopyMs = bestMs(runs, [&] {
        QPainter p(&painted);
        p.drawImage(0, 0, source);
    });

    SpriteDisplay display;
    auto render = bench::buildScene(
        display,
        [&](SurfaceId id, int f, const QImage& i, int t) {
            display.compositor().setFrameImage(id, f, i, t);
        },
        art, &artFound);
    SpriteCompositor& compositor = display.compositor();
    // A frame of the moving scene: draws, then only the changed tiles painted again.
    const double renderMs = bestMs(runs, [&] {
        render();
        compositor.compose();
    });
    const double renderWholeMs = bestMs(runs, [&] {
        render();
        compositor.forgetComposedFrame();
        compositor.compose();
    });

    // The same scene composed at a 1080-line screen's own scale (S = 1.8, a 1440 x 1080
    // frame), from pictures of the sizes the art is made at there (the 1x ones enlarged once
    // here), against a copy of a frame of that size.
    constexpr double kScale1080p = 1.8;
    SpriteDisplay display1080p;
    SpriteCompositor& compositor1080p = display1080p.compositor();
    compositor1080p.setScale(kScale1080p);
    auto render1080p = bench::buildScene(
        display1080p,
        [&](SurfaceId id, int f, const QImage& i, int t) {
            const QSize size(int(std::lround(i.width() * kScale1080p)),
                             int(std::lround(i.height() * kScale1080p)));
            compositor1080p.setFrameImage(
                id, f, i.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), t);
        },
        art);
    const double render1080pMs = bestMs(runs, [&] {
        render1080p();
        compositor1080p.compose();
    });
    const QImage source1080p(compositor1080p.frame().size(), QImage::Format_RGB32);
    QImage copy1080p(source1080p.size(), QImage::Format_RGB32);
    const double copy1080pMs = bestMs(runs * 3, [&] {
        std::memcpy(copy1080p.bits(), source1080p.constBits(), size_t(source1080p.sizeInBytes()));
    });

    PainterScene painter;
    auto paintRender = bench::buildScene(
        painter,
        [&](SurfaceId id, int f, const QImage& i, int t) { painter.setImage(id, f, i, t); }, art);
    const double painterMs = bestMs(runs, paintRender);

    const QImage& frame = compositor.frame();
    QImage screen(1920, 1080, QImage::Format_RGB32);
    screen.fill(Qt::black);
    const QRect area = sceneRectFor(screen.size());
    FrameScaler scaler;
    // Presenting a frame of the moving scene scales the screen pixels of its changed tiles.
    double presentMs = 1e9;
    double changedShare = 0;
    for (int i = 0; i < runs; ++i) {
        render();
        const DirtyTiles changes = compositor.takeChanges();
        const double cpu = threadCpuMs();
        int64_t pixels = 0;
        for (const QRect& tiles : changes.rects()) {
            const QRect part = scaler.affectedBy(frame.size(), area, tiles);
            scaler.scalePart(frame, screen, area, ScaleQuality::Smooth, part);
            pixels += int64_t(part.width()) * part.height();
        }
        const double spent = threadCpuMs() - cpu;
        if (spent > 0) presentMs = std::min(presentMs, spent);
        changedShare += double(pixels) / (int64_t(area.width()) * area.height()) / runs;
    }
    const double smoothMs =
        bestMs(runs, [&] { scaler.scale(frame, screen, area, ScaleQuality::Smooth); });
    const double nearestMs =
        bestMs(runs, [&] { scaler.scale(frame, screen, area, ScaleQuality::Nearest); });
    const double qtSmoothMs = bestMs(
        runs / 3,
        [&] {
            QPainter p(&screen);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(area, frame);
        },
        true);
    const double qtNearestMs = bestMs(
        runs / 3,
        [&] {
            QPainter p(&screen);
            p.drawImage(area, frame);
        },
        true);

    print("render_to_copy_ratio", renderMs / copyMs);
    print("render_to_copy_ratio_1080p", render1080pMs / copy1080pMs);
    print("render_1080p_ms", render1080pMs);
    print("copy_1080p_ms", copy1080pMs);
    print("present_1080p_ms", presentMs);
    print("render_ms", renderMs);
    print("render_whole_frame_ms", renderWholeMs);
    print("present_changed_share", changedShare);
    print("present_1080p_whole_frame_ms", smoothMs);
    print("copy_ms", copyMs);
    print("copy_qpainter_ms", paintCopyMs);
    print("qpainter_render_to_copy_ratio", painterMs / copyMs);
    print("present_1080p_nearest_ms", nearestMs);
    print("qt_present_1080p_smooth_ms", qtSmoothMs);
    print("qt_present_1080p_nearest_ms", qtNearestMs);
    print("scene_pictures_from_art", artFound);
    return 0;
}
