#pragma once

#include <QImage>
#include <QSize>
#include <functional>
#include <memory>
#include <vector>

#include "platform/DirtyTiles.h"

namespace bw {

// One buffer a lock surface shows frames from. The compositor reads it from the moment it is
// attached until it releases it; meanwhile it must not be drawn into.
struct PooledBuffer {
    virtual ~PooledBuffer() = default;
    QImage image;       // the surface's pixels
    int scale = 1;      // of the output when it was made: its size is the surface's times this
    bool busy = false;  // attached, and not yet released by the compositor
    bool whole = true;  // never drawn: everything is unshown
    DirtyTiles unshown;  // the tiles of the frame that changed since it was last drawn
};

// The few buffers of one lock surface: one on screen, one the compositor may still read, one to
// draw into.
class BufferPool {
  public:
    static constexpr size_t kMostBuffers = 3;
    // Makes a buffer of `pixels` for an output at `scale`; null when it cannot.
    using Make = std::function<std::unique_ptr<PooledBuffer>(QSize pixels, int scale)>;

    explicit BufferPool(Make make) : make_(std::move(make)) {}

    // A buffer to draw into for a surface of `pixels` at `scale`: a free one, else a new one
    // while there are fewer than three; null while the compositor holds them all. Free buffers
    // of another size or scale are dropped on the way: attaching one would be a protocol
    // error, which ends the connection and leaves the session locked.
    PooledBuffer* take(QSize pixels, int scale);
    // True when take() would find or make a buffer (of any size).
    bool hasRoom() const;
    // Every buffer has the changed tiles to draw again.
    void frameChanged(const DirtyTiles& changes);
    // Lets go of every buffer, held ones too (the surface changed size: none may be attached
    // again, and the compositor keeps showing what it has until the next commit).
    void clear() { buffers_.clear(); }
    size_t size() const { return buffers_.size(); }

  private:
    Make make_;
    std::vector<std::unique_ptr<PooledBuffer>> buffers_;
};

}  // namespace bw
