#include "platform/wayland/BufferPool.h"

#include <algorithm>

namespace bw {

PooledBuffer* BufferPool::take(QSize pixels, int scale) {
    std::erase_if(buffers_, [&](const auto& buffer) {
        return !buffer->busy && (buffer->image.size() != pixels || buffer->scale != scale);
    });
    for (const auto& buffer : buffers_)
        if (!buffer->busy) return buffer.get();
    if (buffers_.size() >= kMostBuffers || pixels.isEmpty()) return nullptr;
    std::unique_ptr<PooledBuffer> made = make_(pixels, scale);
    if (!made) return nullptr;
    made->scale = scale;
    buffers_.push_back(std::move(made));
    return buffers_.back().get();
}

bool BufferPool::hasRoom() const {
    return buffers_.size() < kMostBuffers ||
           std::any_of(buffers_.begin(), buffers_.end(), [](const auto& b) { return !b->busy; });
}

void BufferPool::frameChanged(const DirtyTiles& changes) {
    for (const auto& buffer : buffers_) buffer->unshown.add(changes);
}

}  // namespace bw
