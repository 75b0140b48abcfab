#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <Qt>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/DirtyTiles.h"

namespace bw {

// A lock of the Wayland session through the compositor's ext-session-lock-v1: one lock surface
// on every output, which the compositor shows instead of the desktop and sends all input to.
// If this process dies, the compositor keeps the session locked (sway shows red) until another
// lock client takes over; only unlock() opens the desktop.
//
// Each surface shows frames from a few shared-memory buffers of its output's size. A buffer the
// compositor still reads is never drawn into; each buffer remembers which tiles of the frame
// changed since it was last drawn, so that only those are drawn again.
//
// Events arrive through dispatch(), on the caller's thread: call it when fd() is readable.
class SessionLock {
  public:
    struct KeyEvent {
        bool pressed = false;
        uint32_t keysym = 0;
        uint32_t keycode = 0;
        uint32_t firstLayoutKeysym = 0;
        QString text;
        bool repeats = false;
    };

    struct Handlers {
        // A key, with what xkbcommon makes of it in the session's keymap and compose rules:
        // the symbol, the xkb keycode (the X keycode), the symbol of the keymap's first layout,
        // the text typed (none while a compose sequence is under way), and whether holding it
        // repeats it.
        std::function<void(const KeyEvent& key)> key;
        // How held keys repeat: per second, after a delay (ms); 0 per second: not at all.
        std::function<void(int perSecond, int delayMs)> keyRepeat;
        // Positions in the compositor's layout (logical pixels across every output).
        std::function<void(Qt::MouseButtons buttons, QPoint global)> pointerMoved;
        std::function<void(bool pressed, Qt::MouseButton button, QPoint global)> button;
        // The compositor ended the lock (another client holds it) or the connection broke.
        std::function<void()> lost;
    };

    struct Output {
        uint32_t name = 0;  // the compositor's name of its global
        QRect area;         // in the compositor's layout
        int scale = 1;
        QSize pixels;  // the lock surface's buffer size; empty until the compositor configured it
    };

    // Connects to the compositor WAYLAND_DISPLAY names; null when there is none or it offers
    // no session lock.
    static std::unique_ptr<SessionLock> connect(Handlers handlers);
    ~SessionLock();
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

    // Asks for the lock and puts a surface on every output (black until the first frame);
    // waits up to `timeoutMs` for the compositor's answer. False when it refused (another
    // client holds the lock) or did not answer.
    bool lock(int timeoutMs);

    // The connection's file descriptor: dispatch() when it is readable.
    int fd() const;
    // Handles what the compositor sent; false once the connection is broken.
    bool dispatch();

    const std::vector<Output>& outputs() const { return outputs_; }
    // The output the pointer is on; the first while it is on none.
    size_t pointerOutput() const;
    // The tiles of the frame that changed, for every buffer to draw again.
    void frameChanged(const DirtyTiles& changes);
    // True when output `index` can take a frame now: configured, its last frame shown (its
    // frame callback came; none comes while the output is off) and a buffer free.
    bool wantsFrame(size_t index) const;
    // Draws a frame into a free buffer of output `index` and shows it. `paint` draws into the
    // buffer (the output's pixels) the tiles `unshown` marks (all when `whole`) and returns
    // the buffer pixels it changed. False when the output cannot take a frame now.
    using Painter = std::function<QRegion(QImage& buffer, const DirtyTiles& unshown, bool whole)>;
    bool present(size_t index, const Painter& paint);

    // Unlocks and waits until the compositor has handled it: the desktop shows after this.
    void unlock();

    struct State;  // the connection and its objects

  private:
    explicit SessionLock(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
    std::vector<Output>& outputs_;
};

}  // namespace bw
