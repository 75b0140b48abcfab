#include "platform/SpriteDisplay.h"

#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

#include "platform/PictureLoader.h"
#include "platform/ScreenWindows.h"
#include "platform/SpriteDisplayX11.h"
#include "platform/wayland/LockOutputs.h"
#include "settings/Product.h"

namespace bw {

namespace {

constexpr int64_t kFrameNs = 1'000'000'000 / SpriteDisplay::kFramesPerSecond;
// How often the cache is looked at while the generator fills a set.
constexpr int kCacheWatchMs = 3000;
// How much of the last frame shows behind the password prompt.
constexpr int kCoverDimAlpha = 150;

// The frames this process has started a fill for: one each, so that a fill that fails is
// not started again and again by every preview or opening.
QSet<QSize>& fillsStarted() {
    static QSet<QSize> frames;
    return frames;
}

}  // namespace

SpriteDisplay::SpriteDisplay(SpriteCompositor::Clock clock) : compositor_(std::move(clock)) {
    frameTimer_.setTimerType(Qt::PreciseTimer);
    frameTimer_.setSingleShot(true);
    QObject::connect(&frameTimer_, &QTimer::timeout, [this] { tick(); });
    cacheWatch_.setInterval(kCacheWatchMs);
    QObject::connect(&cacheWatch_, &QTimer::timeout, [this] { lookForCrispArt(); });
}

void SpriteDisplay::useArtCache(const ArtCache& cache, const QString& dataFolder,
                                SystemLayer& system) {
    crispArt_ = CrispArt{cache, dataFolder, &system};
}

SpriteDisplay::~SpriteDisplay() {
    locked_ = false;
    CloseDisplay();
}

void SpriteDisplay::setEventSink(DrawingEvents* sink) { sink_ = sink; }

// The frame for a scene window of `pixels`: as high as the window's scene area, and as wide as
// the window when that is wider than 4:3 and wide screens are filled.
FrameShape SpriteDisplay::shapeFor(QSize pixels) const {
    const int height = sceneRectFor(pixels).height();
    if (height <= 0) return {};
    const int lines = std::max(height, SpriteCompositor::kHeight);
    if (!fillsWideScreens_) return FrameShape::block(lines / double(SpriteCompositor::kHeight));
    return FrameShape::across(lines, double(pixels.width()) / pixels.height());
}

bool SpriteDisplay::openCommon(QSize pixels) {
    CloseDisplay();
    wantedShape_ = shapeFor(pixels);
    // The first frames are 600 lines high, of the wanted frame's proportions.
    compositor_.setShape(FrameShape::across(
        SpriteCompositor::kHeight,
        double(wantedShape_.size.width()) / wantedShape_.size.height()));
    compositor_.setCrispSource({});
    deactivated_ = false;
    crispLookedFor_ = false;
    return true;
}

bool SpriteDisplay::OpenDisplay(int width, int height, int bitsPerPixel, const QString& options) {
    if (width != SpriteCompositor::kWidth || height != SpriteCompositor::kHeight ||
        bitsPerPixel != 32)
        return false;
    if (hostWindow_) {
        const uint64_t host = *hostWindow_ ? *hostWindow_ : ForeignWindowProbe().rootWindow();
        return host != 0 && OpenPreview(host);
    }
    if (locksSession_) return openOnLockSurfaces();
    if (!qGuiApp || !QGuiApplication::primaryScreen()) return false;
    openCommon(ScreenWindows::nativeGeometry(QGuiApplication::primaryScreen()).size());
    return showOn(ScreenWindows::onEveryScreen(*this, compositor_.shape().size, previewOwner_),
                  QCursor::pos());
}

// The session is locked first: a compositor that refuses (another program holds the lock)
// leaves nothing to show on.
bool SpriteDisplay::openOnLockSurfaces() {
    std::unique_ptr<LockOutputs> outputs = LockOutputs::lock(*this);
    if (!outputs) {
        std::fprintf(stderr, "%s: %s\n", kProductName,
                     "the session could not be locked (another program holds the lock, or the "
                     "compositor did not answer)");
        return false;
    }
    reportForBenchmark("session_locked_ms");
    openCommon(outputs->primaryPixels());
    const QPoint middle = outputs->primaryArea().center();
    return showOn(std::move(outputs), middle);
}

bool SpriteDisplay::OpenPreview(uint64_t parent) {
    if (!qGuiApp || !qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) return false;
    auto probe = std::make_unique<ForeignWindowProbe>();
    const auto size = probe->size(parent);
    if (!size) return false;
    openCommon(*size);
    return showOn(ScreenWindows::inForeignWindow(*this, compositor_.shape().size, parent,
                                                 std::move(probe), *size),
                  QCursor::pos());
}

// The frames go to `outputs` from now on, 60 a second.
bool SpriteDisplay::showOn(std::unique_ptr<FrameOutputs> outputs, QPoint pointer) {
    outputs_ = std::move(outputs);
    pointer_ = pointer;
    pacing_.start();
    nextFrameNs_ = kFrameNs;
    scheduleTick();
    return true;
}

void SpriteDisplay::setLocked(bool locked) {
    locked_ = locked && shown() && !hostWindow_;
    if (outputs_) outputs_->hold(locked_);
    if (!locked_ && covering_) CloseDisplay();
}

// Closing a locked display: the scene stops and its last frame, dimmed, stays on every screen,
// held like the scene, until the display is unlocked. The password prompt shows above it, so
// nothing of the desktop shows before the right password.
void SpriteDisplay::coverScreens() {
    covering_ = true;
    frameTimer_.stop();
    stopCrispArt();
    coverFrame_ = compositor_.frame().copy();
    QPainter painter(&coverFrame_);
    painter.fillRect(coverFrame_.rect(), QColor(0, 0, 0, kCoverDimAlpha));
    painter.end();
    outputs_->cover();
}

const QImage& SpriteDisplay::shownFrame() {
    return covering_ ? coverFrame_ : compositor_.frame();
}

void SpriteDisplay::CloseDisplay() {
    if (closing_ || (covering_ && locked_)) return;
    if (locked_ && shown()) {
        coverScreens();
        return;
    }
    closing_ = true;
    setLocked(false);
    if (outputs_) {
        outputs_->close();
        outputs_.reset();
    }
    covering_ = false;
    coverFrame_ = QImage();
    frameTimer_.stop();
    stopCrispArt();
    closing_ = false;
}

QWindow* SpriteDisplay::sceneWindow() const { return outputs_ ? outputs_->sceneWindow() : nullptr; }

void SpriteDisplay::scheduleTick() {
    const int64_t remaining = nextFrameNs_ - pacing_.nsecsElapsed();
    frameTimer_.start(int(std::max<int64_t>(0, (remaining + 500'000) / 1'000'000)));
}

void SpriteDisplay::tick() {
    if (!shown()) return;
    const int64_t now = pacing_.nsecsElapsed();
    if (now < nextFrameNs_ - 1'000'000) {  // woke early
        scheduleTick();
        return;
    }
    // A fixed 60 per second whatever the screen's rate; after a stall, start afresh
    // rather than raise a burst of frames.
    nextFrameNs_ += kFrameNs;
    if (now - nextFrameNs_ > 3 * kFrameNs) nextFrameNs_ = now + kFrameNs;
    if (crispLoading_.valid() &&
        crispLoading_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        swapInCrispArt();

    // On a lock the compositor paces the frames; while the outputs are off none is drawn.
    const bool outputsWait = !outputs_->wantFrame();
    if (sink_ && !rendering_ && !outputsWait) {
        rendering_ = true;
        sink_->RenderFrame();
        rendering_ = false;
    }
    if (shown()) scheduleTick();
}

void SpriteDisplay::PresentFrame() {
    if (!shown()) return;
    // Only what changed is drawn again; an unchanged frame is already on the screen.
    outputs_->show(compositor_.takeChanges());
    if (!firstFrameReported_) reportFirstFrame();
    if (!crispLookedFor_) {
        crispLookedFor_ = true;
        lookForCrispArt();
    }
}

// Looks for the set of pictures painted for the wanted frame, and loads it in the background
// when it is there; otherwise has the generator make it and looks again now and then. Nothing
// for a 4:3 frame of 600 lines: the data folder's pictures are the art for that.
void SpriteDisplay::lookForCrispArt() {
    if (!crispArt_ || !shown() || crispLoading_.valid()) return;
    const FrameShape& wanted = wantedShape_;
    const QSize frame = wanted.size;
    if ((wanted.scale <= 1.0 && !wanted.wide()) || !ArtCache::frameIsValid(frame)) {
        cacheWatch_.stop();
        return;
    }
    crispShape_ = wanted;
    const QString set = crispArt_->cache.completeSet(frame);
    if (!set.isEmpty()) {
        cacheWatch_.stop();
        startLoadingCrispArt(set, wanted);
        return;
    }
    if (!fillsStarted().contains(frame)) {
        fillsStarted().insert(frame);
        crispArt_->cache.startFilling(frame, ArtCache::generatorIn(crispArt_->dataFolder),
                                      *crispArt_->system);
    }
    if (!cacheWatch_.isActive()) cacheWatch_.start();
}

// Every picture the scene loaded, made at the new scale on a thread of low priority, so that
// the animation goes on meanwhile. Only the swap itself happens here, between two frames.
void SpriteDisplay::startLoadingCrispArt(const QString& set, const FrameShape& shape) {
    const QString dataFolder = QDir(crispArt_->dataFolder).absolutePath() + u'/';
    const QString setFolder = set + u'/';
    crispSource_ = [dataFolder, setFolder](const QString& path) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (!absolute.startsWith(dataFolder)) return QString();  // the user's own pictures
        return setFolder + ArtCache::cachedPictureName(absolute.mid(dataFolder.size()));
    };
    const int tileShift = TileGrid::forFrame(shape.size).shift;
    crispCancelled_ = std::make_shared<std::atomic<bool>>(false);
    crispLoading_ = std::async(
        std::launch::async,
        [files = compositor_.loadedFiles(), source = crispSource_, shape, tileShift,
         cancelled = crispCancelled_]() -> std::optional<PictureSet> {
            setpriority(PRIO_PROCESS, gettid(), 10);
            PictureSet pictures;
            try {
                for (const SpriteCompositor::LoadedFile& loaded : files) {
                    if (*cancelled) return std::nullopt;
                    const std::shared_ptr<const SpritePicture> own = loaded.picture.get();
                    if (!own) continue;
                    // The file again, not `own`: a large water photo was reduced for 800 x 600,
                    // a wall widened.
                    QSize ownSize = QImageReader(loaded.file.path).size();
                    if (!ownSize.isValid()) ownSize = own->image.size();
                    QImage picture = pictureAtScale(
                        loaded.file, shape, source(loaded.file.path), ownSize,
                        [&] { return PictureLoader::load(loaded.file.path); });
                    if (!picture.isNull())
                        pictures.insert(loaded.key, SpritePicture::prepareFor(
                                                        loaded.file, shape, std::move(picture),
                                                        tileShift));
                }
            } catch (...) {  // out of memory: the frame stays as it is
                return std::nullopt;
            }
            return pictures;
        });
}

void SpriteDisplay::swapInCrispArt() {
    const std::optional<PictureSet> pictures = crispLoading_.get();
    if (!pictures || !shown()) return;
    compositor_.setCrispSource(crispSource_);
    compositor_.changeShape(*crispShape_, *pictures);
    outputs_->frameResized(compositor_.grid());
}

void SpriteDisplay::stopCrispArt() {
    cacheWatch_.stop();
    if (crispLoading_.valid()) {
        *crispCancelled_ = true;
        crispLoading_.get();
    }
    crispShape_.reset();
}

// The start-up benchmark sets BRINEWAVE3_BENCH to the wall-clock time (ms) it started us at.
void SpriteDisplay::reportFirstFrame() {
    firstFrameReported_ = true;
    reportForBenchmark("first_frame_ms");
}

// For the benchmarks: the time since BRINEWAVE3_BENCH (the launch, in ms since the epoch).
void SpriteDisplay::reportForBenchmark(const char* name) {
    bool ok = false;
    const qint64 launchedMs = qEnvironmentVariable("BRINEWAVE3_BENCH").toLongLong(&ok);
    if (ok)
        std::fprintf(stderr, "%s: %lld\n", name,
                     static_cast<long long>(QDateTime::currentMSecsSinceEpoch() - launchedMs));
}

QPoint SpriteDisplay::framePointForGlobal(QPoint global) const {
    return outputs_ ? outputs_->toScene(global, compositor_.shape()) : QPoint();
}

void SpriteDisplay::keyPressed(int keyCode) {
    if (sink_ && !covering_) sink_->KeyDown(keyCode);
}

void SpriteDisplay::keyReleased(int keyCode) {
    if (sink_ && !covering_) sink_->KeyUp(keyCode);
}

void SpriteDisplay::mousePressed(int button, QPoint global) {
    if (covering_) return;
    pointer_ = global;
    const QPoint p = framePointForGlobal(global);
    if (sink_) sink_->MouseDown(button, p.x(), p.y());
}

void SpriteDisplay::mouseMoved(int buttons, QPoint global) {
    if (covering_) return;
    pointer_ = global;
    const QPoint p = framePointForGlobal(global);
    if (sink_) sink_->MouseMove(buttons, p.x(), p.y());
}

void SpriteDisplay::mouseReleased(int button, QPoint global) {
    if (covering_) return;
    pointer_ = global;
    const QPoint p = framePointForGlobal(global);
    if (sink_) sink_->MouseUp(button, p.x(), p.y());
}

void SpriteDisplay::windowLost() {
    // Once per opening: the saver closes in answer.
    if (closing_ || covering_ || deactivated_ || !shown()) return;
    deactivated_ = true;
    if (sink_) sink_->Deactivated();
}

bool SpriteDisplay::saveLastFrame(const QString& path) {
    return compositor_.frame().save(path, "PNG");
}

SurfaceId SpriteDisplay::NewSurface() { return compositor_.newSurface(); }
void SpriteDisplay::DrawSurface(SurfaceId surface) { compositor_.draw(surface); }
void SpriteDisplay::SetSurfaceX(SurfaceId surface, int16_t x) { compositor_.setX(surface, x); }
void SpriteDisplay::SetSurfaceY(SurfaceId surface, int16_t y) { compositor_.setY(surface, y); }
void SpriteDisplay::ClearFrame(Rgb colour) { compositor_.clear(colour); }
int16_t SpriteDisplay::GetSurfaceX(SurfaceId surface) { return compositor_.x(surface); }
int16_t SpriteDisplay::GetSurfaceY(SurfaceId surface) { return compositor_.y(surface); }
void SpriteDisplay::MoveSurfaceX(SurfaceId surface, int16_t dx) { compositor_.moveX(surface, dx); }
void SpriteDisplay::MoveSurfaceUp(SurfaceId surface, int16_t dy) {
    compositor_.moveUp(surface, dy);
}
void SpriteDisplay::AdvanceFrame(SurfaceId surface) { compositor_.advanceFrame(surface); }
bool SpriteDisplay::IsFrameDue(SurfaceId surface) { return compositor_.isFrameDue(surface); }

void SpriteDisplay::SetCurrentFrame(SurfaceId surface, int frame) {
    compositor_.setCurrentFrame(surface, frame);
}

void SpriteDisplay::SetFrameDelay(SurfaceId surface, int milliseconds) {
    compositor_.setFrameDelay(surface, milliseconds);
}

bool SpriteDisplay::IsPointerOver(SurfaceId surface) {
    if (!shown()) return false;
    // The position the last mouse event brought: asking the X server on every call would
    // cost a round trip per surface and frame.
    return compositor_.isPointOver(surface, framePointForGlobal(pointer_));
}

bool SpriteDisplay::LoadFrame(SurfaceId surface, int frame, const QString& path, int transparency) {
    return compositor_.loadFrame(surface, frame, path, transparency);
}

bool SpriteDisplay::LoadBackdrop(SurfaceId surface, const QString& path) {
    return compositor_.loadBackdrop(surface, path);
}

bool SpriteDisplay::LoadGlass(SurfaceId surface, const QString& path) {
    return compositor_.loadGlass(surface, path);
}

void SpriteDisplay::SetTextFont(const QString& face, int size, int weight, bool italic,
                                bool underline, bool strikeOut) {
    compositor_.setTextFont(face, size, weight, italic, underline, strikeOut);
}

void SpriteDisplay::DrawText(const QString& text, int x, int y, Rgb colour) {
    compositor_.drawText(text, x, y, colour);
}

}  // namespace bw
