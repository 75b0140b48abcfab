#include <gtest/gtest.h>

#include "platform/wayland/BufferPool.h"

namespace bw {
namespace {

// Buffers in plain memory; `made` counts them, `failing` makes none.
struct Maker {
    int made = 0;
    bool failing = false;
    BufferPool::Make make() {
        return [this](QSize pixels, int) -> std::unique_ptr<PooledBuffer> {
            if (failing) return nullptr;
            ++made;
            auto buffer = std::make_unique<PooledBuffer>();
            buffer->image = QImage(pixels, QImage::Format_RGB32);
            return buffer;
        };
    }
};

const QSize kFull(1920, 1080);

// What a present does with the buffer it took: the compositor holds it from then on.
PooledBuffer* takeAndAttach(BufferPool& pool, QSize pixels, int scale = 1) {
    PooledBuffer* buffer = pool.take(pixels, scale);
    if (buffer) buffer->busy = true;
    return buffer;
}

TEST(BufferPool, NoBufferIsDrawnIntoWhileTheCompositorHoldsIt) {
    Maker maker;
    BufferPool pool(maker.make());
    // None before the surface has a size, or while no memory is to be had.
    EXPECT_EQ(pool.take(QSize(), 1), nullptr);
    maker.failing = true;
    EXPECT_EQ(pool.take(kFull, 1), nullptr);
    maker.failing = false;
    PooledBuffer* shown = takeAndAttach(pool, kFull);
    PooledBuffer* read = takeAndAttach(pool, kFull);
    PooledBuffer* drawn = takeAndAttach(pool, kFull);
    ASSERT_TRUE(shown && read && drawn);
    EXPECT_NE(shown, read);
    EXPECT_NE(read, drawn);
    EXPECT_NE(shown, drawn);
    // All three held: nothing to draw into, and no fourth is made.
    EXPECT_FALSE(pool.hasRoom());
    EXPECT_EQ(pool.take(kFull, 1), nullptr);
    EXPECT_EQ(maker.made, 3);
    // The one released is the one drawn into again.
    read->busy = false;
    EXPECT_TRUE(pool.hasRoom());
    EXPECT_EQ(pool.take(kFull, 1), read);
    EXPECT_EQ(maker.made, 3);
}

TEST(BufferPool, ABufferOfAnotherSizeOrScaleIsNeverGivenAgain) {
    Maker maker;
    BufferPool pool(maker.make());
    PooledBuffer* held = takeAndAttach(pool, kFull);
    PooledBuffer* free = pool.take(kFull, 1);
    ASSERT_NE(free, held);
    // The output became scale 2 (its surface twice the pixels): the free buffer of the old
    // size is dropped for a new one, the held one stays until the compositor lets it go.
    const QSize scaled = kFull * 2;
    PooledBuffer* fresh = pool.take(scaled, 2);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->image.size(), scaled);
    EXPECT_EQ(fresh->scale, 2);
    EXPECT_EQ(pool.size(), 2u);
    fresh->busy = true;
    held->busy = false;
    PooledBuffer* next = pool.take(scaled, 2);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->image.size(), scaled);
    EXPECT_EQ(pool.size(), 2u);  // the old held one went once released
    // The same pixels at another scale are another buffer too.
    next->busy = true;
    fresh->busy = false;
    PooledBuffer* sameSize = pool.take(scaled, 1);
    ASSERT_NE(sameSize, nullptr);
    EXPECT_EQ(sameSize->scale, 1);
    EXPECT_NE(sameSize, fresh);
}

}  // namespace
}  // namespace bw
