#include "platform/ScreenWindows.h"

#include <QBackingStore>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "platform/KeyCodes.h"
#include "platform/ServerScalerX11.h"
#include "platform/SpriteCompositor.h"
#include "platform/SpriteDisplayX11.h"

namespace bw {

namespace {

// How often held windows are put back (mapped, in place, on top).
constexpr int kHoldMs = 250;
// How often the preview looks at its foreign window's size.
constexpr int kFollowMs = 250;

}  // namespace

// One window of the display, showing the scene as large as it fits. It paints only when told
// to and hands its input to the display.
class SceneWindow : public QWindow {
  public:
    SceneWindow(ScreenWindows* outputs, QScreen* home, QWindow* parent = nullptr)
        : QWindow(parent), outputs_(outputs), home_(home), store_(this) {
        setSurfaceType(QSurface::RasterSurface);
        setTitle(QStringLiteral("Brinewave3"));
    }

    // The tiles of the frame that changed since this window last showed it.
    DirtyTiles unshown;
    // This window's enlargement in the X server, once tried (see ScreenWindows::paintOnServer).
    std::unique_ptr<ServerScaler> serverScaler;
    bool serverScalerTried = false;
    bool serverScalerStarted = false;  // has drawn the whole window once
    QSize paintedSize;                 // the window's size when last painted

    // The screen the window was made for (Qt moves windows off a screen that goes away).
    QScreen* home() const { return home_; }
    QBackingStore& store() { return store_; }
    // After this the window raises nothing: it is on its way out.
    void detach() { outputs_ = nullptr; }

    static void dispose(SceneWindow* window) {
        // Closing may happen inside one of this window's own event handlers.
        window->detach();
        window->serverScaler.reset();
        window->hide();
        window->deleteLater();
    }

  protected:
    void exposeEvent(QExposeEvent*) override {
        if (outputs_ && isExposed()) outputs_->windowExposed(this);
    }
    void resizeEvent(QResizeEvent*) override {
        if (outputs_ && isExposed()) outputs_->windowExposed(this);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (outputs_) outputs_->owner().keyPressed(windowsKeyCode(*event));
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        if (outputs_ && !event->isAutoRepeat())
            outputs_->owner().keyReleased(windowsKeyCode(*event));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (outputs_)
            outputs_->owner().mousePressed(windowsButton(event->button()),
                                           event->globalPosition().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (outputs_)
            outputs_->owner().mouseMoved(windowsButtons(event->buttons()),
                                         event->globalPosition().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (outputs_)
            outputs_->owner().mouseReleased(windowsButton(event->button()),
                                            event->globalPosition().toPoint());
    }
    void hideEvent(QHideEvent*) override {
        if (outputs_) outputs_->owner().windowLost();
    }

  private:
    ScreenWindows* outputs_;
    QScreen* home_;
    QBackingStore store_;
};

ScreenWindows::ScreenWindows(Owner& owner, QSize frame, QWindow* previewOwner)
    : owner_(owner), previewOwner_(previewOwner), connections_(std::make_unique<QObject>()) {
    followTimer_.setInterval(kFollowMs);
    QObject::connect(&followTimer_, &QTimer::timeout, [this] { followForeignWindow(); });
    holdTimer_.setInterval(kHoldMs);
    QObject::connect(&holdTimer_, &QTimer::timeout, [this] { holdWindows(); });
    // The server's side of drawing is set up on another core while the pictures load.
    if (serverScalingWanted()) {
        ServerScaler::installErrorHandler();
        connectingServerScaler_ =
            std::async(std::launch::async, [frame] { return ServerScaler::connect(frame); });
    }
}

ScreenWindows::~ScreenWindows() {
    connections_.reset();
    if (connectingServerScaler_.valid()) connectingServerScaler_.get();
    windows_.clear();  // hides now, deletes once control is back in the event loop
    foreignParent_.reset();
}

std::unique_ptr<ScreenWindows> ScreenWindows::onEveryScreen(Owner& owner, QSize frame,
                                                            QWindow* previewOwner) {
    std::unique_ptr<ScreenWindows> opened(new ScreenWindows(owner, frame, previewOwner));
    ScreenWindows* self = opened.get();
    QScreen* primary = QGuiApplication::primaryScreen();
    self->sceneScreen_ = primary;
    // Every screen shows the aquarium; the primary one's window takes the input.
    self->addScreenWindow(primary);
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) self->addScreenWindow(screen);
    }
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, self->connections_.get(),
                     [self](QScreen* screen) { self->addScreenWindow(screen); });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, self->connections_.get(),
                     [self](QScreen* screen) {
                         if (self->windows_.empty()) return;
                         if (screen == self->sceneScreen_ && !self->covering_) {
                             self->owner_.windowLost();
                             return;
                         }
                         std::erase_if(self->windows_, [screen](const WindowPtr& w) {
                             return w->home() == screen;
                         });
                     });
    self->windows_.front()->requestActivate();
    return opened;
}

void ScreenWindows::addScreenWindow(QScreen* screen) {
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
                         if (held_)
                             raw->showFullScreen();
                         else
                             owner_.windowLost();
                     });
    windows_.push_back(std::move(window));
    raw->showFullScreen();
    raw->setGeometry(screen->geometry());
}

std::unique_ptr<ScreenWindows> ScreenWindows::inForeignWindow(
    Owner& owner, QSize frame, uint64_t parent, std::unique_ptr<ForeignWindowProbe> probe,
    QSize size) {
    std::unique_ptr<ScreenWindows> opened(new ScreenWindows(owner, frame, nullptr));
    ScreenWindows* self = opened.get();
    self->probe_ = std::move(probe);
    self->foreignId_ = parent;
    self->foreignParent_.reset(QWindow::fromWinId(WId(parent)));
    WindowPtr window(new SceneWindow(self, nullptr, self->foreignParent_.get()),
                     &SceneWindow::dispose);
    window->setFlags(Qt::Widget | Qt::FramelessWindowHint);
    window->setGeometry(QRect(QPoint(0, 0), size));
    self->windows_.push_back(std::move(window));
    self->windows_.front()->show();
    self->followTimer_.start();
    return opened;
}

void ScreenWindows::followForeignWindow() {
    if (windows_.empty() || !probe_) return;
    const auto size = probe_->size(foreignId_);
    if (!size) {
        owner_.windowLost();
        return;
    }
    if (*size != windows_.front()->size()) windows_.front()->resize(*size);
}

void ScreenWindows::hold(bool held) {
    held_ = held;
    if (!held_) {
        holdTimer_.stop();
        holdProbe_.reset();
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
void ScreenWindows::holdWindows() {
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
            owner_.windowLost();
            return;
        }
        QScreen* home = window->home();
        it = windows_.erase(it);
        addScreenWindow(home);
        return;  // the new window is held from the next look on
    }
    holdProbe_->stackOnTop(stack);
}

QRect ScreenWindows::nativeGeometry(const QScreen* screen) {
    if (!screen) return {};
    const QRect area = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    return QRect(qRound(area.x() * ratio), qRound(area.y() * ratio), qRound(area.width() * ratio),
                 qRound(area.height() * ratio));
}

// Every window shows the owner's frame, now the dimmed one, whole; every screen keeps a window.
void ScreenWindows::cover() {
    covering_ = true;
    for (const WindowPtr& window : windows_) paint(window.get(), true);
    coverEveryScreen();
}

// A window for every screen, including one that came or whose window was lost.
void ScreenWindows::coverEveryScreen() {
    for (QScreen* screen : QGuiApplication::screens()) {
        const bool covered =
            std::any_of(windows_.begin(), windows_.end(),
                        [screen](const WindowPtr& w) { return w->home() == screen; });
        if (!covered) addScreenWindow(screen);
    }
}

QWindow* ScreenWindows::sceneWindow() const {
    return windows_.empty() ? nullptr : windows_.front().get();
}

void ScreenWindows::show(const DirtyTiles& changes) {
    for (const WindowPtr& window : windows_) {
        window->unshown.add(changes);
        paint(window.get(), false);
    }
}

// The frame has a new size: every window starts afresh with it.
void ScreenWindows::frameResized(const TileGrid& grid) {
    for (const WindowPtr& window : windows_) {
        window->unshown = DirtyTiles(grid);
        window->serverScaler.reset();
        window->serverScalerTried = false;
        window->serverScalerStarted = false;
    }
}

QPoint ScreenWindows::toScene(QPoint global, const FrameShape& shape) const {
    if (windows_.empty()) return {};
    const SceneWindow* scene = windows_.front().get();
    return mapToFrame(scene->mapFromGlobal(global), scene->size(), shape);
}

// Shows what changed of the frame since the window last showed it, or all of it.
void ScreenWindows::paint(SceneWindow* window, bool whole) {
    if (!window->isExposed()) return;  // its changes wait until it is shown again
    const QSize size = window->size();
    if (window->paintedSize != size) {
        window->paintedSize = size;
        whole = true;
    }
    const QRect scene = frameRectFor(size, owner_.shownFrame().size());
    if (!scene.isEmpty() && paintOnServer(window, scene, whole)) return;
    // Only drawn here: a 4K window's backing store is 33 MB the server path never touches.
    QBackingStore& store = window->store();
    if (store.size() != size) {
        store.resize(size);
        whole = true;
    }
    const QImage& frame = owner_.shownFrame();
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
                    scaler_.scalePart(frame, *image, scene, owner_.scaleQuality(), part);
            } else {
                scaler_.scale(frame, *image, deviceScene, owner_.scaleQuality());
            }
        } else {
            QPainter painter(device);
            painter.setRenderHint(QPainter::SmoothPixmapTransform,
                                  owner_.scaleQuality() == ScaleQuality::Smooth);
            painter.drawImage(scene, frame);
        }
        owner_.framePainted();
    }
    store.endPaint();
    store.flush(area);
}

bool ScreenWindows::serverScalingWanted() {
    return QGuiApplication::platformName() == QLatin1String("xcb") &&
           qEnvironmentVariable("BRINEWAVE3_SCALING") != QLatin1String("client");
}

// On X11 the server enlarges the frame: only its changed tiles are sent. Elsewhere, or when
// the server cannot (no shared memory, say, with a remote display), or BRINEWAVE3_SCALING is
// "client", the frame is enlarged here and drawn through Qt.
bool ScreenWindows::paintOnServer(SceneWindow* window, const QRect& scene, bool& whole) {
    std::unique_ptr<ServerScaler>& scaler = window->serverScaler;
    if (!window->serverScalerTried) {
        window->serverScalerTried = true;
        // The first window painted takes the connection made while the pictures loaded.
        if (connectingServerScaler_.valid())
            scaler = connectingServerScaler_.get();
        else if (serverScalingWanted())
            scaler = ServerScaler::connect(owner_.shownFrame().size());
        if (scaler && (window->devicePixelRatio() != 1.0 || !scaler->attach(window->winId())))
            scaler.reset();
    }
    if (!scaler) return false;
    if (!window->serverScalerStarted) whole = true;
    const QImage& frame = owner_.shownFrame();
    const DirtyTiles changes = std::exchange(window->unshown, {});
    if (!whole && !changes.any()) return true;
    if (!scaler->present(frame, changes, scene, window->size(), whole,
                         owner_.scaleQuality() == ScaleQuality::Smooth)) {
        // Drawn here from now on, starting with the whole window.
        scaler.reset();
        whole = true;
        return false;
    }
    window->serverScalerStarted = true;
    owner_.framePainted();
    return true;
}

}  // namespace bw
