#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QTimer>
#include <atomic>
#include <future>
#include <memory>
#include <optional>

#include "platform/FrameOutputs.h"
#include "platform/SpriteCompositor.h"
#include "platform/SpriteDisplayScaler.h"
#include "platform/wayland/LockSupervisor.h"
#include "scene/DrawingComponent.h"
#include "settings/ArtCache.h"

class QWindow;

namespace bw {

class SystemLayer;

// The sprite display: the frame shown on every screen through its outputs (see FrameOutputs):
// a window per screen, one window inside a foreign X11 window for the preview, or the surfaces
// of a Wayland session lock. RenderFrame is raised 60 times a second from a precise timer,
// never while a RenderFrame is still running.
//
// The primary screen (or the foreign window) decides the frame's shape: 4:3, or on a wider
// screen, unless told not to fill it, as wide as the screen with the layout in the middle (see
// FrameShape). The frame starts 600 pixels high, from the data folder's pictures (those of the
// glass widened), enlarged to the screen. With an art cache (useArtCache), the pictures painted
// for the screen's frame are loaded in the background once the first frame is shown, and
// swapped in: from then on the frame is composed at the screen's size and shown 1:1. When the
// cache has no set for that frame yet, the art generator is started to make one, and the set
// is swapped in as soon as it is complete.
class SpriteDisplay : public DrawingComponent, private FrameOutputs::Owner {
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
    bool LocksSession() const override { return locksSession_; }
    bool TakesOverAbandonedLock() const override {
        return LocksSession() && sessionLockTakenOver();
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
    int windowCount() const { return outputs_ ? outputs_->windowCount() : 0; }
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

    // Called by the outputs.
    void keyPressed(int keyCode) override;
    void keyReleased(int keyCode) override;
    void mousePressed(int button, QPoint global) override;
    void mouseMoved(int buttons, QPoint global) override;
    void mouseReleased(int button, QPoint global) override;
    void windowLost() override;

  private:
    // Covered windows may all go with their screens; the lock shows until it is closed.
    bool shown() const {
        return outputs_ && (outputs_->windowCount() > 0 || outputs_->locksSession());
    }
    bool openOnLockSurfaces();
    // Opens with the frame for a scene window of `pixels` (device pixels).
    bool openCommon(QSize pixels);
    bool showOn(std::unique_ptr<FrameOutputs> outputs, QPoint pointer);
    FrameShape shapeFor(QSize pixels) const;
    QPoint framePointForGlobal(QPoint global) const;
    void scheduleTick();
    void tick();
    void coverScreens();
    // The frame the outputs show: the scene's, or the dimmed cover behind the prompt.
    const QImage& shownFrame() override;
    ScaleQuality scaleQuality() const override { return quality_; }
    void framePainted() override { ++paintedFrames_; }
    void reportFirstFrame();
    static void reportForBenchmark(const char* name);
    // Crisp art (see the class comment).
    void lookForCrispArt();
    void startLoadingCrispArt(const QString& set, const FrameShape& shape);
    void swapInCrispArt();
    void stopCrispArt();

    SpriteCompositor compositor_;
    ScaleQuality quality_ = ScaleQuality::Smooth;
    DrawingEvents* sink_ = nullptr;
    bool locksSession_ = false;
    std::unique_ptr<FrameOutputs> outputs_;  // while open
    QTimer frameTimer_;
    QElapsedTimer pacing_;
    int64_t nextFrameNs_ = 0;
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
    // Locked: the outputs are held in place (see FrameOutputs::hold).
    bool locked_ = false;
    bool covering_ = false;  // closed while locked: the dimmed last frame stays up
    QImage coverFrame_;
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
};

}  // namespace bw
