#pragma once

#include <QImage>
#include <QPoint>

#include "platform/DirtyTiles.h"
#include "platform/SpriteDisplayScaler.h"

class QWindow;

namespace bw {

struct FrameShape;

// Where the display's frames show: Qt windows (see ScreenWindows), or the surfaces of a Wayland
// session lock (see LockOutputs). They paint the frame their owner hands them and hand their
// input back to it.
class FrameOutputs {
  public:
    // What the outputs ask of the display that owns them. Any input may close the display,
    // and the outputs with it: they touch nothing of their own after handing it on.
    class Owner {
      public:
        // The frame to paint, at any time (a window exposed again shows it whole).
        virtual const QImage& shownFrame() = 0;
        virtual ScaleQuality scaleQuality() const = 0;
        // An output painted a frame (counted for tests).
        virtual void framePainted() = 0;
        // Input: Windows key codes and mouse buttons, positions on the screens.
        virtual void keyPressed(int keyCode) = 0;
        virtual void keyReleased(int keyCode) = 0;
        virtual void mousePressed(int button, QPoint global) = 0;
        virtual void mouseMoved(int buttons, QPoint global) = 0;
        virtual void mouseReleased(int button, QPoint global) = 0;
        // An output was hidden, minimised, lost with its screen, or the lock was taken away.
        virtual void windowLost() = 0;

      protected:
        ~Owner() = default;
    };

    virtual ~FrameOutputs() = default;

    // True when an output can take a frame now; the lock's wait for the compositor.
    virtual bool wantFrame() const { return true; }
    // Shows the tiles of the frame that changed since the last call.
    virtual void show(const DirtyTiles& changes) = 0;
    // The frame has a new size (crisp art came): outputs that keep what each window showed
    // start afresh with it.
    virtual void frameResized(const TileGrid&) {}
    // A position on the screens as a point of the scene.
    virtual QPoint toScene(QPoint global, const FrameShape& shape) const = 0;
    // The display closed while locked: the frame shown from now on is the dimmed last one, and
    // the password prompt shows above it.
    virtual void cover() = 0;
    // While held (locked), the outputs keep themselves in place against other programs.
    virtual void hold(bool) {}
    // Ends what would outlive the outputs: the session lock.
    virtual void close() {}
    virtual bool locksSession() const { return false; }
    // The windows that show the frame, the first taking the input (for grabs).
    virtual int windowCount() const { return 0; }
    virtual QWindow* sceneWindow() const { return nullptr; }
};

}  // namespace bw
