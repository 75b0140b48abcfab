#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include "platform/SpriteCompositor.h"
#include "platform/SpriteDisplayScaler.h"
#include "platform/wayland/LockSupervisor.h"
#include "scene/DrawingComponent.h"
#include "settings/ArtCache.h"

class QScreen;
class QWindow;

namespace bw {

class ForeignWindowProbe;
class LockOutputs;
class SceneWindow;
class ServerScaler;
class SystemLayer;

// The sprite display: one frameless, stay-on-top window per screen, each showing the frame
// scaled to fit (black bars where its shape differs), the primary one taking the input; or one
// window inside a foreign X11 window for the preview. RenderFrame is raised 60 times a second
// from a precise timer, never while a RenderFrame is still running.
//
// The primary screen (or the foreign window) decides the frame's shape: 4:3, or on a wider
// screen, unless told not to fill it, as wide as the screen with the layout in the middle (see
// FrameShape). The frame starts 600 pixels high, from the data folder's pictures (those of the
// glass widened), enlarged to the screen. With an art cache (useArtCache), the pictures painted
// for the screen's frame are loaded in the background once the first frame is shown, and
// swapped in: from then on the frame is composed at the screen's size and shown 1:1. When the
// cache has no set for that frame yet, the art generator is started to make one, and the set
// is swapped in as soon as it is complete.
class SpriteDisplay : public DrawingComponent {
  public:
    static constexpr int kFramesPerSecond = 60;

    explicit SpriteDisplay(SpriteCompositor::Clock clock = {});
    ~SpriteDisplay() override;
    SpriteDisplay(const SpriteDisplay&) = delete;
    SpriteDisplay& operator=(const SpriteDisplay&) = delete;

    void setEventSink(DrawingEvents* sink) override;

    void CloseDisplay() override;
    void setFillsWideScreens(bool fill) override { fillsWideScreens_ = fill; }
    bool OpenDisplay(int width, int height, int bitsPerPixel, const QString& options) override;
    int SceneWidth() override { return wantedShape_.sceneWidth(); }
    bool LocksSession() const override { return lockOutputs_ != nullptr; }
    bool TakesOverAbandonedLock() const override {
        return lockOutputs_ && sessionLockTakenOver();
    }
    SurfaceId NewSurface() override;
    void DrawSurface(SurfaceId surface) override;
    void PresentFrame() override;
    void SetSurfaceX(SurfaceId surface, int16_t x) override;
    void ClearFrame(Rgb colour) override;
    void SetSurfaceY(SurfaceId surface, int16_t y) override;
    void SetCurrentFrame(SurfaceId surface, int frame) override;
    void SetFrameDelay(SurfaceId surface, int milliseconds) override;
    bool IsFrameDue(SurfaceId surface) override;
    int16_t GetSurfaceX(SurfaceId surface) override;
    int16_t GetSurfaceY(SurfaceId surface) override;
    bool IsPointerOver(SurfaceId surface) override;
    bool LoadFrame(SurfaceId surface, int frame, const QString& path, int transparency) override;
    bool LoadBackdrop(SurfaceId surface, const QString& path) override;
    bool LoadGlass(SurfaceId surface, const QString& path) override;
    void SetTextFont(const QString& face, int size, int weight, bool italic, bool underline,
                     bool strikeOut) override;
    void DrawText(const QString& text, int x, int y, Rgb colour) override;
    void MoveSurfaceX(SurfaceId surface, int16_t dx) override;
    void MoveSurfaceUp(SurfaceId surface, int16_t dy) override;
    void AdvanceFrame(SurfaceId surface) override;
    // While locked, closing the display covers the screens instead (see DrawingComponent);
    // unlocking uncovers them.
    void setLocked(bool locked) override;

    // Opens the display inside the foreign X11 window `parent` (the preview), filling it and
    // following its size. False without X11 or when the window does not exist.
    bool OpenPreview(uint64_t parent);
    // From now on OpenDisplay draws into this foreign window instead of the screens, as a
    // display mode of another screensaver program; 0 is the root window.
    void setHostWindow(uint64_t window) { hostWindow_ = window; }
    // From now on the screens' windows are a preview above `owner` (the settings dialog): not
    // kept above every other window, and not blocked by the dialog being modal.
    void setPreviewOwner(QWindow* owner) { previewOwner_ = owner; }
    // Pictures painted at the screen's own scale come from `cache`; a set the cache lacks is
    // made by the generator installed in `dataFolder`, started through `system`.
    void useArtCache(const ArtCache& cache, const QString& dataFolder, SystemLayer& system);
    // The height of the scene area the frame is composed for (600 until crisp art is used).
    int composedHeight() const { return compositor_.grid().height; }
    // The frame the screen (or window) the display opened on is composed into once its art is
    // at hand.
    const FrameShape& wantedShape() const { return wantedShape_; }

    // From now on OpenDisplay locks the Wayland session and shows the scene on the lock's
    // surfaces instead of windows; closing the display unlocks it.
    void setLocksSession(bool locks) { locksSession_ = locks; }

    bool isOpen() const { return shown(); }
    int windowCount() const { return int(windows_.size()); }
    // The window that shows the scene (for keyboard and pointer grabs); null when closed.
    QWindow* sceneWindow() const;
    // Saves the frame as last presented (the composed frame between two RenderFrame calls).
    bool saveLastFrame(const QString& path);
    void setScaleQuality(ScaleQuality quality) { quality_ = quality; }
    // Frames actually painted to the screens (one per window), for tests: unchanged frames are
    // not repainted.
    int paintedFrames() const { return paintedFrames_; }

    const SpriteCompositor& compositor() const { return compositor_; }
    SpriteCompositor& compositor() { return compositor_; }

    // Called by the windows.
    void windowExposed(SceneWindow* window);
    void keyPressed(int keyCode);
    void keyReleased(int keyCode);
    void mousePressed(int button, QPoint global);
    void mouseMoved(int buttons, QPoint global);
    void mouseReleased(int button, QPoint global);
    void windowLost();

  private:
    bool shown() const { return !windows_.empty() || lockOutputs_; }
    bool openOnLockSurfaces();
    void showPromptOnLock();
    void keyToPrompt(bool pressed, uint32_t keysym, const QString& text);
    void buttonToPrompt(bool pressed, Qt::MouseButton button, QPoint global);
    // Opens with the frame for a scene window of `pixels` (device pixels).
    bool openCommon(QSize pixels);
    FrameShape shapeFor(QSize pixels) const;
    void addScreenWindow(QScreen* screen);
    void paint(SceneWindow* window, bool whole);
    static bool serverScalingWanted();
    bool paintOnServer(SceneWindow* window, const QRect& scene, bool& whole);
    QPoint framePointForGlobal(QPoint global) const;
    void scheduleTick();
    void tick();
    void followForeignWindow();
    void holdWindows();
    static QRect nativeGeometry(const QScreen* screen);
    void coverScreens();
    void coverEveryScreen();
    // The frame the windows show: the scene's, or the dimmed cover behind the prompt.
    const QImage& shownFrame();
    void reportFirstFrame();
    static void reportForBenchmark(const char* name);
    // Crisp art (see the class comment).
    void lookForCrispArt();
    void startLoadingCrispArt(const QString& set, const FrameShape& shape);
    void swapInCrispArt();
    void stopCrispArt();

    using WindowPtr = std::unique_ptr<SceneWindow, void (*)(SceneWindow*)>;

    SpriteCompositor compositor_;
    FrameScaler scaler_;
    ScaleQuality quality_ = ScaleQuality::Smooth;
    DrawingEvents* sink_ = nullptr;
    std::vector<WindowPtr> windows_;        // the scene window first
    bool locksSession_ = false;
    std::unique_ptr<LockOutputs> lockOutputs_;  // instead of windows, in a locked session
    QTimer promptTimer_;  // while the prompt shows on the lock
    std::unique_ptr<QObject> connections_;  // context of signal connections while open
    QTimer frameTimer_;
    QElapsedTimer pacing_;
    int64_t nextFrameNs_ = 0;
    QScreen* sceneScreen_ = nullptr;
    QPoint pointer_;  // last known pointer position, global
    bool rendering_ = false;
    bool deactivated_ = false;
    bool closing_ = false;
    std::optional<uint64_t> hostWindow_;
    QWindow* previewOwner_ = nullptr;  // outlives the preview
    bool firstFrameReported_ = false;
    bool fillsWideScreens_ = true;
    FrameShape wantedShape_;
    int paintedFrames_ = 0;
    // Enlarges the scene in the X server when it can (see ServerScaler); connected when the
    // display opens, for the first window painted (the others connect when first painted).
    std::future<std::unique_ptr<ServerScaler>> connectingServerScaler_;
    // Locked: the windows are mapped, put in place and raised again now and then (on X11).
    bool locked_ = false;
    bool covering_ = false;  // closed while locked: the dimmed last frame stays up
    QImage coverFrame_;
    std::unique_ptr<ForeignWindowProbe> holdProbe_;
    QTimer holdTimer_;
    // Crisp art
    struct CrispArt {
        ArtCache cache;
        QString dataFolder;
        SystemLayer* system;
    };
    std::optional<CrispArt> crispArt_;
    bool crispLookedFor_ = false;  // this opening
    std::optional<FrameShape> crispShape_;  // the frame looked for
    QTimer cacheWatch_;            // while the generator fills the set
    using PictureSet = QHash<QString, std::shared_ptr<const SpritePicture>>;
    std::future<std::optional<PictureSet>> crispLoading_;  // nothing: cancelled or failed
    std::shared_ptr<std::atomic<bool>> crispCancelled_;
    CrispSource crispSource_;
    // Preview
    std::unique_ptr<QWindow> foreignParent_;
    std::unique_ptr<ForeignWindowProbe> probe_;
    uint64_t foreignId_ = 0;
    QTimer followTimer_;
};

}  // namespace bw
