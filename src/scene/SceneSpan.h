#pragma once

#include <algorithm>
#include <cstdint>

namespace bw {

// The part of the scene the screen shows, in the coordinates of the 800-wide layout. A screen
// wider than 4:3 shows the layout in its middle and more water on both sides, so the span
// reaches below 0 and beyond 800; a display draws block x at frame x - left.
struct SceneSpan {
    static constexpr int kBlockWidth = 800;
    // Wider would take creature and parking positions near the ends of 16 bits.
    static constexpr int kMaxWidth = 16 * kBlockWidth;

    int16_t left = 0;
    int16_t right = kBlockWidth;  // exclusive

    int width() const { return right - left; }

    // The span of a scene `sceneWidth` units wide, centred on the layout; anything narrower
    // than the layout shows the layout as on a 4:3 screen.
    static SceneSpan forWidth(int sceneWidth) {
        const int width = std::clamp(sceneWidth, kBlockWidth, kMaxWidth);
        const int leftOfBlock = (width - kBlockWidth) / 2;
        return {static_cast<int16_t>(-leftOfBlock),
                static_cast<int16_t>(width - leftOfBlock)};
    }

    friend bool operator==(const SceneSpan&, const SceneSpan&) = default;
};

}  // namespace bw
