#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

#include "platform/DirtyTiles.h"
#include "platform/FrameOutputs.h"
#include "platform/SpriteDisplayScaler.h"
#include "platform/wayland/SessionLock.h"

namespace bw {

// The saver's frames on the surfaces of a Wayland session lock, one per output, each scaled to
// fit its output (1:1 where the sizes match); the lock's input goes to the owner, dispatched
// from Qt's event loop. Covered, the lock shows the password prompt (drawn off screen) above
// the dimmed frame, and its keys and clicks go to the prompt.
class LockOutputs : public FrameOutputs {
  public:
    // Locks the session, waiting a few seconds at most for the compositor; null when there is
    // no compositor with a session lock, or it refused (another program holds the lock).
    static std::unique_ptr<LockOutputs> lock(Owner& owner);
    // Without close() first, the session stays locked (as when the program dies).
    ~LockOutputs() override;

    // The first output's area in the compositor's layout and its size in pixels: the scene is
    // composed for it.
    QRect primaryArea() const;
    QSize primaryPixels() const;
    // True when an output can take a frame now: none can while the outputs are off, and each
    // waits for the compositor to have shown its last one.
    bool wantFrame() const override;
    // Shows the frame on every output that can take one now; the others catch up later.
    void show(const DirtyTiles& changes) override;
    // A position in the compositor's layout as a point of the scene (layout units).
    QPoint toScene(QPoint global, const FrameShape& shape) const override;
    void cover() override;
    // Opens the desktop again; returns once the compositor has handled it.
    void close() override;
    bool locksSession() const override { return true; }

  private:
    // A held key comes again and again, as the compositor's repeat settings say: Wayland
    // leaves that to the client.
    struct KeyRepeater {
        explicit KeyRepeater(std::function<void(const SessionLock::KeyEvent&)> deliver);
        void key(const SessionLock::KeyEvent& event);
        std::function<void(const SessionLock::KeyEvent&)> deliver;
        QTimer timer;
        int perSecond = 25;
        int delayMs = 600;
        SessionLock::KeyEvent held;
    };

    explicit LockOutputs(Owner& owner);
    // An `overlay` (the password prompt) is drawn on top, in the middle of the output with the
    // pointer.
    void paint(const QImage& frame, const DirtyTiles& changes, ScaleQuality quality,
               const QImage& overlay = {});
    void keyFromLock(const SessionLock::KeyEvent& event);
    void buttonFromLock(bool pressed, Qt::MouseButton button, QPoint global);
    void showPrompt();
    void keyToPrompt(bool pressed, uint32_t keysym, const QString& text);
    void buttonToPrompt(bool pressed, Qt::MouseButton button, QPoint global);

    Owner& owner_;
    std::unique_ptr<QObject> context_;  // of the input handed on: none arrives once it is gone
    std::unique_ptr<KeyRepeater> repeater_;
    std::unique_ptr<SessionLock> lock_;
    std::unique_ptr<QSocketNotifier> readable_;
    FrameScaler scaler_;
    // Where the overlay last went: its output's area in the compositor's layout and its place
    // there (logical pixels); empty before it was shown.
    QRect overlayArea_;
    QSize overlaySize_;
    size_t overlayOutput_ = 0;
    bool covered_ = false;
    QTimer promptTimer_;  // while the prompt shows
};

}  // namespace bw
