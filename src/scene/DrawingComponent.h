#pragma once

#include <QString>
#include <cstdint>

namespace bw {

// Surface numbers are handed out 1, 2, 3, ... in creation order.
using SurfaceId = int32_t;

// Colours are Windows RGB longs: red in the low byte, then green, then blue.
using Rgb = uint32_t;
constexpr Rgb rgb(int red, int green, int blue) {
    return static_cast<Rgb>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

// Transparency codes of LoadFrame.
constexpr int kTransparent = -1;  // the bitmap's alpha channel (or its colour key)
constexpr int kOpaque = -2;       // drawn as it is

// Mouse buttons as Windows numbers.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// What the sprite display raises. Coordinates are those of the 800 x 600 layout (below 0 or
// beyond 800 on a screen wider than 4:3); key codes follow the Windows virtual-key numbering.
class DrawingEvents {
public:
    virtual ~DrawingEvents() = default;
    virtual void RenderFrame() = 0;
    virtual void KeyDown(int keyCode) = 0;
    virtual void KeyUp(int keyCode) = 0;
    virtual void MouseDown(int button, int x, int y) = 0;
    virtual void MouseMove(int button, int x, int y) = 0;
    virtual void MouseUp(int button, int x, int y) = 0;
    virtual void Deactivated() = 0;
};

// The sprite-drawing component: surfaces of one or more frames, drawn in call order
// onto an 800 x 600 frame that PresentFrame shows.
class DrawingComponent {
public:
    virtual ~DrawingComponent() = default;

    virtual void setEventSink(DrawingEvents* sink) = 0;

    virtual void CloseDisplay() = 0;
    // Whether OpenDisplay makes the scene as wide as a screen wider than 4:3 (see SceneWidth),
    // or shows the 4:3 scene with bars beside it.
    virtual void setFillsWideScreens(bool fill) {}
    virtual bool OpenDisplay(int width, int height, int bitsPerPixel, const QString& options) = 0;
    // The width of the visible scene in scene units, 800 on a 4:3 screen; read after
    // OpenDisplay. On a wider screen the 800 x 600 layout stands in the middle: positions and
    // mouse events stay in the layout's coordinates and reach below 0 and beyond 800 (see
    // SceneSpan).
    virtual int SceneWidth() { return 800; }
    // True when the display is a Wayland session's lock (or was to be, when OpenDisplay failed):
    // the compositor then owns the power times, and closing the display opens the session.
    virtual bool LocksSession() const { return false; }
    // True when that lock was left by a saver that died, and this one took it over.
    virtual bool TakesOverAbandonedLock() const { return false; }
    virtual SurfaceId NewSurface() = 0;
    virtual void DrawSurface(SurfaceId surface) = 0;
    virtual void PresentFrame() = 0;
    virtual void SetSurfaceX(SurfaceId surface, int16_t x) = 0;
    virtual void ClearFrame(Rgb colour) = 0;
    virtual void SetSurfaceY(SurfaceId surface, int16_t y) = 0;
    virtual void SetCurrentFrame(SurfaceId surface, int frame) = 0;
    virtual void SetFrameDelay(SurfaceId surface, int milliseconds) = 0;
    virtual bool IsFrameDue(SurfaceId surface) = 0;
    virtual int16_t GetSurfaceX(SurfaceId surface) = 0;
    virtual int16_t GetSurfaceY(SurfaceId surface) = 0;
    virtual bool IsPointerOver(SurfaceId surface) = 0;
    // Frames count from 1. False when the file is missing or cannot be decoded.
    virtual bool LoadFrame(SurfaceId surface, int frame, const QString& path, int transparency) = 0;
    // The picture behind everything, which fills the frame: a display may fit a file of
    // another size to it. Loaded as frame 1, opaque.
    virtual bool LoadBackdrop(SurfaceId surface, const QString& path) {
        return LoadFrame(surface, 1, path, kOpaque);
    }
    // A picture of the glass behind the scenery (a back wall, a floor), loaded as frame 1 with
    // its transparency: on a wider scene a display draws one as wide as the layout across the
    // whole width, its middle where the picture stands.
    virtual bool LoadGlass(SurfaceId surface, const QString& path) {
        return LoadFrame(surface, 1, path, kTransparent);
    }
    virtual void SetTextFont(const QString& face, int size, int weight, bool italic, bool underline,
                             bool strikeOut) = 0;
    virtual void DrawText(const QString& text, int x, int y, Rgb colour) = 0;
    virtual void MoveSurfaceX(SurfaceId surface, int16_t dx) = 0;
    virtual void MoveSurfaceUp(SurfaceId surface, int16_t dy) = 0;
    virtual void AdvanceFrame(SurfaceId surface) = 0;

    // While locked (an exit password is set), a window of the display that another program
    // hides, minimises, moves, resizes or lowers is shown and put back again: no program may
    // uncover the desktop under a locked saver. Only a display that cannot be had back raises
    // Deactivated. Closing a locked display stops the scene but keeps every screen covered (by
    // its last frame, dimmed) for the password prompt, until it is unlocked.
    virtual void setLocked(bool locked) {}
};

}  // namespace bw
