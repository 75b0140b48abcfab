#include "platform/SpriteDisplay.h"

#include <QApplication>
#include <QBackingStore>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSet>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

#include "platform/KeyCodes.h"
#include "platform/PictureLoader.h"
#include "platform/ServerScalerX11.h"
#include "platform/SpriteDisplayX11.h"
#include "platform/wayland/KeysymKeys.h"
#include "platform/wayland/LockOutputs.h"
#include "platform/wayland/LockSupervisor.h"
#include "settings/Product.h"

namespace bw {

namespace {

constexpr int64_t kFrameNs = 1'000'000'000 / SpriteDisplay::kFramesPerSecond;
// How often the cache is looked at while the generator fills a set.
constexpr int kCacheWatchMs = 3000;
// How often a locked display puts its windows back (mapped, in place, on top).
constexpr int kHoldMs = 250;
// How much of the last frame shows behind the password prompt.
constexpr int kCoverDimAlpha = 150;

// The frames this process has started a fill for: one each, so that a fill that fails is
// not started again and again by every preview or opening.
QSet<QSize>& fillsStarted() {
    static QSet<QSize> frames;
    return frames;
}

}  // namespace

// One window of the display, showing the scene as large as it fits. It paints only when told
// to and hands its input to the display.
class SceneWindow : public QWindow {
  public:
    SceneWindow(SpriteDisplay* display, QScreen* home, QWindow* parent = nullptr)
        : QWindow(parent), display_(display), home_(home), store_(this) {
        setSurfaceType(QSurface::RasterSurface);
        setTitle(QStringLiteral("Brinewave3"));
    }

    // The tiles of the frame that changed since this window last showed it.
    DirtyTiles unshown;
    // This window's enlargement in the X server, once tried (see SpriteDisplay::paintOnServer).
    std::unique_ptr<ServerScaler> serverScaler;
    bool serverScalerTried = false;
    bool serverScalerStarted = false;  // has drawn the whole window once
    QSize paintedSize;  // the window's size when last painted

    // The screen the window was made for (Qt moves windows off a screen that goes away).
    QScreen* home() const { return home_; }
    QBackingStore& store() { return store_; }
    // After this the window raises nothing: it is on its way out.
    void detach() { display_ = nullptr; }

    static void dispose(SceneWindow* window) {
        // Closing may happen inside one of this window's own event handlers.
        window->detach();
        window->serverScaler.reset();
        window->hide();
        window->deleteLater();
    }

  protected:
    void exposeEvent(QExposeEvent*) override {
        if (display_ && isExposed()) display_->windowExposed(this);
    }
    void resizeEvent(QResizeEvent*) override {
        if (display_ && isExposed()) display_->windowExposed(this);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (display_) display_->keyPressed(windowsKeyCode(*event));
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        if (display_ && !event->isAutoRepeat())
            display_->keyReleased(windowsKeyCode(*event));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (display_)
            display_->mousePressed(windowsButton(event->button()),
                                   event->globalPosition().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (display_)
            display_->mouseMoved(windowsButtons(event->buttons()),
                                 event->globalPosition().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (display_)
            display_->mouseReleased(windowsButton(event->button()),
                                    event->globalPosition().toPoint());
    }
    void hideEvent(QHideEvent*) override {
        if (display_) display_->windowLost();
    }

  private:
    SpriteDisplay* display_;
    QScreen* home_;
    QBackingStore store_;
};

SpriteDisplay::SpriteDisplay(SpriteCompositor::Clock clock) : compositor_(std::move(clock)) {
    frameTimer_.setTimerType(Qt::PreciseTimer);
    frameTimer_.setSingleShot(true);
    QObject::connect(&frameTimer_, &QTimer::timeout, [this] { tick(); });
    followTimer_.setInterval(250);
    QObject::connect(&followTimer_, &QTimer::timeout, [this] { followForeignWindow(); });
    holdTimer_.setInterval(kHoldMs);
    QObject::connect(&holdTimer_, &QTimer::timeout, [this] { holdWindows(); });
    // The prompt's own changes (the wait it counts down, the caret) are seen ten times a second.
    promptTimer_.setInterval(100);
    QObject::connect(&promptTimer_, &QTimer::timeout, [this] { showPromptOnLock(); });
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
    connections_ = std::make_unique<QObject>();
    // The server's side of drawing is set up on another core while the pictures load.
    if (serverScalingWanted()) {
        ServerScaler::installErrorHandler();
        connectingServerScaler_ = std::async(std::launch::async, [frame = compositor_.shape().size] {
            return ServerScaler::connect(frame);
        });
    }
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
    QScreen* primary = QGuiApplication::primaryScreen();
    openCommon(nativeGeometry(primary).size());
    sceneScreen_ = primary;
    pointer_ = QCursor::pos();
    // Every screen shows the aquarium; the primary one's window takes the input.
    addScreenWindow(primary);
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) addScreenWindow(screen);
    }
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, connections_.get(),
                     [this](QScreen* screen) { addScreenWindow(screen); });
    QObject::connect(
        qGuiApp, &QGuiApplication::screenRemoved, connections_.get(), [this](QScreen* screen) {
            if (windows_.empty()) return;
            if (screen == sceneScreen_ && !covering_) {
                windowLost();
                return;
            }
            std::erase_if(windows_, [screen](const WindowPtr& w) { return w->home() == screen; });
        });
    windows_.front()->requestActivate();
    pacing_.start();
    nextFrameNs_ = kFrameNs;
    scheduleTick();
    return true;
}

// The session is locked first: a compositor that refuses (another program holds the lock)
// leaves nothing to show on.
bool SpriteDisplay::openOnLockSurfaces() {
    SessionLock::Handlers input;
    input.key = [this](const SessionLock::KeyEvent& key) {
        if (covering_) {
            keyToPrompt(key.pressed, key.keysym, key.text);
            return;
        }
        const int code = windowsKeyCodeForKeysym(key.keysym, key.keycode, key.firstLayoutKeysym);
        if (key.pressed)
            keyPressed(code);
        else
            keyReleased(code);
    };
    input.pointerMoved = [this](Qt::MouseButtons buttons, QPoint global) {
        mouseMoved(windowsButtons(buttons), global);
    };
    input.button = [this](bool pressed, Qt::MouseButton button, QPoint global) {
        if (covering_) {
            buttonToPrompt(pressed, button, global);
            return;
        }
        if (pressed)
            mousePressed(windowsButton(button), global);
        else
            mouseReleased(windowsButton(button), global);
    };
    input.lost = [this] { windowLost(); };
    std::unique_ptr<LockOutputs> outputs = LockOutputs::lock(std::move(input));
    if (!outputs) {
        std::fprintf(stderr, "%s: %s\n", kProductName,
                     "the session could not be locked (another program holds the lock, or the "
                     "compositor did not answer)");
        return false;
    }
    reportSessionLocked();
    reportForBenchmark("session_locked_ms");
    openCommon(outputs->primaryPixels());
    lockOutputs_ = std::move(outputs);
    pointer_ = lockOutputs_->primaryArea().center();
    pacing_.start();
    nextFrameNs_ = kFrameNs;
    scheduleTick();
    return true;
}

void SpriteDisplay::addScreenWindow(QScreen* screen) {
    WindowPtr window(new SceneWindow(this, screen), &SceneWindow::dispose);
    if (previewOwner_) {
        window->setFlags(Qt::Window | Qt::FramelessWindowHint);
        window->setTransientParent(previewOwner_);
    } else {
        window->setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    }
    window->setScreen(screen);
    // Without a window manager a full-screen request alone leaves a small window.
    window->setGeometry(screen->geometry());
    SceneWindow* raw = window.get();
    QObject::connect(raw, &QWindow::windowStateChanged, connections_.get(),
                     [this, raw](Qt::WindowState state) {
                         if (state != Qt::WindowMinimized) return;
                         if (locked_)
                             raw->showFullScreen();
                         else
                             windowLost();
                     });
    windows_.push_back(std::move(window));
    raw->showFullScreen();
    raw->setGeometry(screen->geometry());
}

bool SpriteDisplay::OpenPreview(uint64_t parent) {
    if (!qGuiApp || !qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) return false;
    auto probe = std::make_unique<ForeignWindowProbe>();
    const auto size = probe->size(parent);
    if (!size) return false;
    openCommon(*size);
    probe_ = std::move(probe);
    foreignId_ = parent;
    foreignParent_.reset(QWindow::fromWinId(WId(parent)));
    WindowPtr window(new SceneWindow(this, nullptr, foreignParent_.get()),
                     &SceneWindow::dispose);
    pointer_ = QCursor::pos();
    window->setFlags(Qt::Widget | Qt::FramelessWindowHint);
    window->setGeometry(QRect(QPoint(0, 0), *size));
    windows_.push_back(std::move(window));
    windows_.front()->show();
    followTimer_.start();
    pacing_.start();
    nextFrameNs_ = kFrameNs;
    scheduleTick();
    return true;
}

void SpriteDisplay::followForeignWindow() {
    if (windows_.empty() || !probe_) return;
    const auto size = probe_->size(foreignId_);
    if (!size) {
        windowLost();
        return;
    }
    if (*size != windows_.front()->size()) windows_.front()->resize(*size);
}

void SpriteDisplay::setLocked(bool locked) {
    locked_ = locked && shown() && !hostWindow_;
    if (!locked_) {
        holdTimer_.stop();
        holdProbe_.reset();
        if (covering_) CloseDisplay();
        return;
    }
    if (!holdProbe_ && qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        holdProbe_ = std::make_unique<ForeignWindowProbe>();
    if (holdProbe_ && holdProbe_->connected()) holdTimer_.start();
}

// Another X client may unmap, move, resize, iconify or lower any window: ours come back, in
// place and on top, with the modal prompt above them. While the scene runs, a window that is
// gone (destroyed by another client) cannot be had back: the display is lost. Behind the prompt
// a new one takes its place.
void SpriteDisplay::holdWindows() {
    if (!holdProbe_) return;
    if (covering_) coverEveryScreen();
    std::vector<uint64_t> stack;
    if (QWindow* prompt = QGuiApplication::modalWindow(); prompt && prompt->isVisible())
        stack.push_back(prompt->winId());
    for (auto it = windows_.begin(); it != windows_.end();) {
        SceneWindow* window = it->get();
        if (holdProbe_->holdInPlace(window->winId(), nativeGeometry(window->home()))) {
            stack.push_back(window->winId());
            ++it;
            continue;
        }
        if (!covering_) {
            windowLost();
            return;
        }
        QScreen* home = window->home();
        it = windows_.erase(it);
        addScreenWindow(home);
        return;  // the new window is held from the next look on
    }
    holdProbe_->stackOnTop(stack);
}

// The screen's area in the X server's pixels.
QRect SpriteDisplay::nativeGeometry(const QScreen* screen) {
    if (!screen) return {};
    const QRect area = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    return QRect(qRound(area.x() * ratio), qRound(area.y() * ratio), qRound(area.width() * ratio),
                 qRound(area.height() * ratio));
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
    if (lockOutputs_) {
        // The prompt is drawn off screen: it is shown on the lock, refreshed as it changes.
        DirtyTiles everything(compositor_.grid());
        everything.markAll();
        lockOutputs_->show(coverFrame_, everything, quality_);
        promptTimer_.start();
        return;
    }
    for (const WindowPtr& window : windows_) paint(window.get(), true);
    coverEveryScreen();
}

// The modal prompt as it looks now, over the dimmed frame on the lock's outputs.
void SpriteDisplay::showPromptOnLock() {
    if (!lockOutputs_ || !covering_) return;
    QWidget* prompt = QApplication::activeModalWidget();
    const QImage overlay = prompt && prompt->isVisible() ? prompt->grab().toImage() : QImage();
    lockOutputs_->show(coverFrame_, DirtyTiles(compositor_.grid()), quality_, overlay);
}

// Keys typed on the lock go to the prompt's focused field, as Qt would deliver them.
void SpriteDisplay::keyToPrompt(bool pressed, uint32_t keysym, const QString& text) {
    QWidget* prompt = QApplication::activeModalWidget();
    if (!prompt) return;
    QWidget* target = prompt->focusWidget() ? prompt->focusWidget() : prompt;
    Qt::KeyboardModifiers modifiers;
    const int key = qtKeyForKeysym(keysym, &modifiers);
    QKeyEvent event(pressed ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers,
                    pressed ? text : QString());
    QCoreApplication::sendEvent(target, &event);
    showPromptOnLock();
}

// A click on the prompt's place on the lock goes to the control under it.
void SpriteDisplay::buttonToPrompt(bool pressed, Qt::MouseButton button, QPoint global) {
    QWidget* prompt = QApplication::activeModalWidget();
    const QRect area = lockOutputs_ ? lockOutputs_->overlayArea() : QRect();
    if (!prompt || !area.contains(global)) return;
    const QPoint inPrompt = (global - area.topLeft()) * prompt->width() / std::max(1, area.width());
    QWidget* target = prompt->childAt(inPrompt);
    if (!target) target = prompt;
    const QPointF local = target->mapFrom(prompt, inPrompt);
    const QEvent::Type type = pressed ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease;
    const Qt::MouseButtons held = pressed ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, local, local, QPointF(global), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
    showPromptOnLock();
}

// A window for every screen, including one that came or whose window was lost.
void SpriteDisplay::coverEveryScreen() {
    for (QScreen* screen : QGuiApplication::screens()) {
        const bool covered = std::any_of(windows_.begin(), windows_.end(),
                                         [screen](const WindowPtr& w) { return w->home() == screen; });
        if (!covered) addScreenWindow(screen);
    }
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
    promptTimer_.stop();
    setLocked(false);
    if (lockOutputs_) {
        lockOutputs_->unlock();
        lockOutputs_.reset();
        reportSessionUnlocked();
    }
    covering_ = false;
    coverFrame_ = QImage();
    frameTimer_.stop();
    followTimer_.stop();
    connections_.reset();
    stopCrispArt();
    if (connectingServerScaler_.valid()) connectingServerScaler_.get();
    windows_.clear();  // hides now, deletes once control is back in the event loop
    foreignParent_.reset();
    probe_.reset();
    foreignId_ = 0;
    sceneScreen_ = nullptr;
    closing_ = false;
}

QWindow* SpriteDisplay::sceneWindow() const {
    return windows_.empty() ? nullptr : windows_.front().get();
}

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
    const bool outputsWait = lockOutputs_ && !lockOutputs_->wantFrame();
    if (sink_ && !rendering_ && !outputsWait) {
        rendering_ = true;
        sink_->RenderFrame();
        rendering_ = false;
    }
    if (shown()) scheduleTick();
}

void SpriteDisplay::windowExposed(SceneWindow* window) { paint(window, true); }

// Shows what changed of the frame since the window last showed it, or all of it.
void SpriteDisplay::paint(SceneWindow* window, bool whole) {
    if (!window->isExposed()) return;  // its changes wait until it is shown again
    const QSize size = window->size();
    if (window->paintedSize != size) {
        window->paintedSize = size;
        whole = true;
    }
    const QRect scene = frameRectFor(size, shownFrame().size());
    if (!scene.isEmpty() && paintOnServer(window, scene, whole)) return;
    // Only drawn here: a 4K window's backing store is 33 MB the server path never touches.
    QBackingStore& store = window->store();
    if (store.size() != size) {
        store.resize(size);
        whole = true;
    }
    const QImage& frame = shownFrame();
    const DirtyTiles changes = std::exchange(window->unshown, {});
    const qreal ratio = window->devicePixelRatio();
    // What to draw again, in window pixels: the screen pixels that show a changed tile.
    QRegion area;
    if (whole) {
        area = QRect(QPoint(0, 0), size);
    } else if (ratio != 1.0) {
        if (changes.any()) area = scene;
    } else {
        area = scaler_.affectedBy(frame.size(), scene, changes);
    }
    if (area.isEmpty()) return;
    store.beginPaint(area);
    QPaintDevice* device = store.paintDevice();
    if (whole) {
        QPainter painter(device);
        painter.fillRect(area.boundingRect(), Qt::black);
    }
    if (!scene.isEmpty()) {
        auto* image =
            device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
        const QRect deviceScene(
            QPoint(qRound(scene.x() * ratio), qRound(scene.y() * ratio)),
            QSize(qRound(scene.width() * ratio), qRound(scene.height() * ratio)));
        if (image && image->depth() == 32 && image->rect().contains(deviceScene)) {
            if (ratio == 1.0) {
                for (const QRect& part : area)
                    scaler_.scalePart(frame, *image, scene, quality_, part);
            } else {
                scaler_.scale(frame, *image, deviceScene, quality_);
            }
        } else {
            QPainter painter(device);
            painter.setRenderHint(QPainter::SmoothPixmapTransform,
                                  quality_ == ScaleQuality::Smooth);
            painter.drawImage(scene, frame);
        }
        ++paintedFrames_;
    }
    store.endPaint();
    store.flush(area);
}

bool SpriteDisplay::serverScalingWanted() {
    return QGuiApplication::platformName() == QLatin1String("xcb") &&
           qEnvironmentVariable("BRINEWAVE3_SCALING") != QLatin1String("client");
}

// On X11 the server enlarges the frame: only its changed tiles are sent. Elsewhere, or when
// the server cannot (no shared memory, say, with a remote display), or BRINEWAVE3_SCALING is
// "client", the frame is enlarged here and drawn through Qt.
bool SpriteDisplay::paintOnServer(SceneWindow* window, const QRect& scene, bool& whole) {
    std::unique_ptr<ServerScaler>& scaler = window->serverScaler;
    if (!window->serverScalerTried) {
        window->serverScalerTried = true;
        // The first window painted takes the connection made while the pictures loaded.
        if (connectingServerScaler_.valid())
            scaler = connectingServerScaler_.get();
        else if (serverScalingWanted())
            scaler = ServerScaler::connect(shownFrame().size());
        if (scaler && (window->devicePixelRatio() != 1.0 || !scaler->attach(window->winId())))
            scaler.reset();
    }
    if (!scaler) return false;
    if (!window->serverScalerStarted) whole = true;
    const QImage& frame = shownFrame();
    const DirtyTiles changes = std::exchange(window->unshown, {});
    if (!whole && !changes.any()) return true;
    if (!scaler->present(frame, changes, scene, window->size(), whole,
                         quality_ == ScaleQuality::Smooth)) {
        // Drawn here from now on, starting with the whole window.
        scaler.reset();
        whole = true;
        return false;
    }
    window->serverScalerStarted = true;
    ++paintedFrames_;
    return true;
}

void SpriteDisplay::PresentFrame() {
    if (!shown()) return;
    // Only what changed is drawn again; an unchanged frame is already on the screen.
    const DirtyTiles changes = compositor_.takeChanges();
    for (const WindowPtr& window : windows_) {
        window->unshown.add(changes);
        paint(window.get(), false);
    }
    if (lockOutputs_) {
        lockOutputs_->show(shownFrame(), changes, quality_);
        ++paintedFrames_;
    }
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
    // The frame has a new size: every window starts afresh with it.
    for (const WindowPtr& window : windows_) {
        window->unshown = DirtyTiles(compositor_.grid());
        window->serverScaler.reset();
        window->serverScalerTried = false;
        window->serverScalerStarted = false;
    }
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
    if (lockOutputs_) return lockOutputs_->toScene(global, compositor_.shape());
    if (windows_.empty()) return {};
    const SceneWindow* scene = windows_.front().get();
    return mapToFrame(scene->mapFromGlobal(global), scene->size(), compositor_.shape());
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
