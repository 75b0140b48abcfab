#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>
#include <cstdint>
#include <future>
#include <memory>
#include <vector>

#include "platform/FrameOutputs.h"
#include "platform/SpriteDisplayScaler.h"

class QScreen;

namespace bw {

class ForeignWindowProbe;
class SceneWindow;
class ServerScaler;

// The frames in Qt windows: one frameless, stay-on-top window per screen, each showing the frame
// scaled to fit (black bars where its shape differs), the primary one taking the input; or one
// window inside a foreign X11 window for the preview, following its size.
class ScreenWindows : public FrameOutputs {
  public:
    // A window on every screen, and on every screen that comes; above `previewOwner` when one
    // is given (see SpriteDisplay::setPreviewOwner). `frame` is the frame's size.
    static std::unique_ptr<ScreenWindows> onEveryScreen(Owner& owner, QSize frame,
                                                        QWindow* previewOwner);
    // One window filling the foreign X11 window `parent`, which `probe` found `size` large.
    static std::unique_ptr<ScreenWindows> inForeignWindow(Owner& owner, QSize frame,
                                                          uint64_t parent,
                                                          std::unique_ptr<ForeignWindowProbe> probe,
                                                          QSize size);
    ~ScreenWindows() override;
    ScreenWindows(const ScreenWindows&) = delete;
    ScreenWindows& operator=(const ScreenWindows&) = delete;

    // The screen's area in the X server's pixels.
    static QRect nativeGeometry(const QScreen* screen);

    void show(const DirtyTiles& changes) override;
    void frameResized(const TileGrid& grid) override;
    QPoint toScene(QPoint global, const FrameShape& shape) const override;
    void cover() override;
    void hold(bool held) override;
    int windowCount() const override { return int(windows_.size()); }
    QWindow* sceneWindow() const override;

    // Called by the windows.
    Owner& owner() const { return owner_; }
    void windowExposed(SceneWindow* window) { paint(window, true); }

  private:
    ScreenWindows(Owner& owner, QSize frame, QWindow* previewOwner);
    void addScreenWindow(QScreen* screen);
    void paint(SceneWindow* window, bool whole);
    static bool serverScalingWanted();
    bool paintOnServer(SceneWindow* window, const QRect& scene, bool& whole);
    void followForeignWindow();
    void holdWindows();
    void coverEveryScreen();

    using WindowPtr = std::unique_ptr<SceneWindow, void (*)(SceneWindow*)>;

    Owner& owner_;
    QWindow* previewOwner_;  // outlives the preview
    FrameScaler scaler_;
    std::vector<WindowPtr> windows_;        // the scene window first
    std::unique_ptr<QObject> connections_;  // context of signal connections
    QScreen* sceneScreen_ = nullptr;
    // Enlarges the scene in the X server when it can (see ServerScaler); connected when the
    // display opens, for the first window painted (the others connect when first painted).
    std::future<std::unique_ptr<ServerScaler>> connectingServerScaler_;
    // Held: the windows are mapped, put in place and raised again now and then (on X11).
    bool held_ = false;
    bool covering_ = false;  // the dimmed last frame stays up, on every screen
    std::unique_ptr<ForeignWindowProbe> holdProbe_;
    QTimer holdTimer_;
    // Preview
    std::unique_ptr<QWindow> foreignParent_;
    std::unique_ptr<ForeignWindowProbe> probe_;
    uint64_t foreignId_ = 0;
    QTimer followTimer_;
};

}  // namespace bw
