#pragma once

// Where a picture of the glass lies across a scene wider than 4:3.
//
// The layout is 800 x 600 scene units. On a wider screen the scene is W >= 800 units wide with
// the layout in the middle, and what belongs to the glass (the water, the back walls, the floors
// as wide as the layout) is painted across all of it. Such a picture is worked in the units of
// its block, the 800-unit picture of the 4:3 scene, which sits where the display puts the
// layout: (W - 800) / 2 units in, rounded to the pixel as the display rounds a scene position.
// So the block paints as the 4:3 picture does, and at W = 800 the picture is the 4:3 one.
// Band k covers block x in [800k, 800k + 800); each band places its own random details, and
// band 0 those of the 4:3 picture.

#include <cmath>
#include <cstdint>
#include <vector>

namespace bw::art {

inline constexpr int kLayoutWidth = 800;

struct Span {
    int width = kLayoutWidth;       // the picture's, in scene units
    int blockWidth = kLayoutWidth;  // its block's
    int blockColumn = 0;            // the pixel column of block x 0
    double left = 0;                // block x of the picture's left edge
    double right = kLayoutWidth;    // and of its right edge: left + width

    // The bands the picture reaches into, from left to right.
    std::vector<int> bands() const {
        std::vector<int> all;
        const int first = static_cast<int>(std::floor(left / blockWidth));
        const int last = static_cast<int>(std::ceil(right / blockWidth)) - 1;
        for (int band = first; band <= last; ++band) {
            all.push_back(band);
        }
        return all;
    }
    // Details of the other bands keep out of the block, so that it stays the 4:3 picture;
    // `reach` is how far a detail at `x` paints to either side.
    bool clearOfBlock(int band, double x, double reach) const {
        return band == 0 || x + reach < 0 || x - reach > blockWidth;
    }
};

// A picture of the glass across a scene `sceneWidth` units wide, painted at `scale`.
inline Span spanAcross(int sceneWidth, double scale) {
    Span span;
    span.width = sceneWidth;
    span.blockColumn = static_cast<int>(std::lround((sceneWidth - kLayoutWidth) * scale / 2.0));
    span.left = -span.blockColumn / scale;
    span.right = span.left + sceneWidth;
    return span;
}

// A picture of its own width, which is its block.
inline Span ownSpan(int width) {
    Span span;
    span.width = span.blockWidth = width;
    span.right = width;
    return span;
}

// The seed of one band's details; band 0 keeps the picture's own. An Rng seed is a place along
// one long sequence, so the bands' seeds lie 2^32 draws apart.
inline uint64_t bandSeed(uint64_t seed, int band) {
    return seed + (static_cast<uint64_t>(static_cast<int64_t>(band)) << 32);
}

}  // namespace bw::art
