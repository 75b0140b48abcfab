#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/DirtyTiles.h"
#include "platform/SpriteDisplayScaler.h"

namespace bw {

// Shows the 800 x 600 frame in an X11 window enlarged by the X server (XRender, smooth or
// nearest). Only the frame's changed parts cross to the server, through shared memory; the
// enlarged pixels are made where they are shown and never pass through this process, which
// spares it the largest part of its work at 60 frames a second. It uses a connection of its
// own whose errors are caught (the window may go away at any time).
//
// The shared memory is not a second frame (33 MB at 4K): the changed parts are packed into a
// few megabytes of rows, and when a frame's changes do not fit, the server reads what is
// there before the rest is written.
class ServerScaler {
  public:
    // Connects to the X server and sets up the memory the frame crosses in: several round
    // trips, so it may run on another thread while the first frame is made. Nothing when there
    // is no X display, or it lacks shared memory or picture transforms.
    // `stagingBytes` bounds the shared memory (at least a band of 16 rows).
    static constexpr size_t kStagingBytes = size_t(4) << 20;
    static std::unique_ptr<ServerScaler> connect(QSize frameSize,
                                                 size_t stagingBytes = kStagingBytes);
    // Draws into this window from now on (once); false when the server refuses it.
    bool attach(uint64_t window);
    // Both at once.
    static std::unique_ptr<ServerScaler> open(uint64_t window, QSize frameSize,
                                              size_t stagingBytes = kStagingBytes);
    // Puts in the process's X error handler that keeps errors of our connections from ending
    // it; done by connect() too, but belongs on the main thread, before any other thread
    // swaps handlers.
    static void installErrorHandler();
    ~ServerScaler();
    ServerScaler(const ServerScaler&) = delete;
    ServerScaler& operator=(const ServerScaler&) = delete;

    // Draws the frame in the window (`windowSize` pixels), filling `scene`, black elsewhere:
    // all of it when `whole`, else only the screen pixels that show `changed` tiles, the only
    // parts of the frame sent again. False when the server refused something (the window is
    // gone, say): the caller draws by other means from then on.
    bool present(const QImage& frame, const DirtyTiles& changed, const QRect& scene,
                 QSize windowSize, bool whole, bool smooth);

    // Waits until the server has drawn everything sent so far; false as for present().
    bool finish();

  private:
    struct State;
    explicit ServerScaler(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
    FrameScaler samples_;  // which screen pixels a frame pixel reaches
};

}  // namespace bw
