#pragma once

#include <cmath>
#include <cstdint>

namespace bw {

// The one pseudo-random source of the saver: uniform values in [0, 1) from a 24-bit
// linear congruential generator, so a seed always gives the same sequence.
class Random {
public:
    explicit Random(uint32_t seed = kDefaultSeed) : state_(seed & kMask) {}

    static constexpr uint32_t kDefaultSeed = 0x50000;

    double next() {
        state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & kMask;
        return static_cast<double>(state_) / static_cast<double>(kMask + 1u);
    }
    // floor(scale * r + offset), the form every caller uses.
    int next(double scale, double offset) {
        return static_cast<int>(std::floor(scale * next() + offset));
    }
    void reseed(uint32_t seed) { state_ = seed & kMask; }

private:
    static constexpr uint32_t kMask = 0xFFFFFFu;
    uint32_t state_;
};

}  // namespace bw
