#pragma once

// Where a picture of the glass lies across a frame wider than 4:3.
//
// The layout is 800 x 600 scene units. A frame for a wider screen (see FrameShape) is as wide as
// the screen in pixels, with the layout's block in the middle, and what belongs to the glass
// (the water, the back walls, the floors as wide as the layout) is painted across all of it:
// exactly the frame's width in pixels, so that the picture lines up with the frame to the pixel.
// Such a picture is worked in the units of its block, the 800-unit picture of the 4:3 scene,
// which starts at the frame's blockColumn(). So the block paints as the 4:3 picture does, and on
// a 4:3 frame the picture is the 4:3 one. Band k covers block x in [800k, 800k + 800); each band
// places its own random details, and band 0 those of the 4:3 picture.

#include <QSize>
#include <cmath>
#include <cstdint>
#include <vector>

#include "settings/FrameShape.h"

namespace bw::art {

inline constexpr int kLayoutWidth = FrameShape::kBlockWidth;

struct Span {
    int pixelWidth = kLayoutWidth;  // the picture's width in pixels
    int blockWidth = kLayoutWidth;  // its block's, in scene units
    int blockColumn = 0;            // the pixel column of block x 0
    double left = 0;                // block x of the picture's left edge
    double right = kLayoutWidth;    // and of its right edge

    // The picture's size in pixels when it is `sceneHeight` units high, painted at `scale`.
    QSize pixelSize(int sceneHeight, double scale) const {
        return {pixelWidth, static_cast<int>(std::lround(sceneHeight * scale))};
    }
    // True when the picture reaches beyond its block.
    bool wide() const { return left < 0 || right > blockWidth; }
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

// A picture of its own `width` scene units at `scale`, which is its block.
inline Span ownSpan(int width, double scale) {
    Span span;
    span.pixelWidth = static_cast<int>(std::lround(width * scale));
    span.blockWidth = width;
    span.right = width;
    return span;
}

// A picture of the glass across `frame`: its pixels are the frame's columns. On a 4:3 frame it
// is the layout's own picture; the block's edges are then exactly 0 and 800, whatever rounding
// the frame's width had.
inline Span spanOf(const FrameShape& frame, int pixelWidth, int blockColumn) {
    if (!frame.wide()) {
        return ownSpan(kLayoutWidth, frame.scale);
    }
    Span span;
    span.pixelWidth = pixelWidth;
    span.blockColumn = blockColumn;
    span.left = -span.blockColumn / frame.scale;
    span.right = (span.pixelWidth - span.blockColumn) / frame.scale;
    return span;
}

inline Span spanAcross(const FrameShape& frame) {
    return spanOf(frame, frame.size.width(), frame.blockColumn());
}

// A wall or a floor across `frame`: it reaches past both of the frame's edges by its overhang
// (see FrameShape::glassOverhang), its tapered ends out of sight.
inline Span spanBeyond(const FrameShape& frame) {
    return spanOf(frame, frame.glassWidth(), frame.glassColumn());
}

// The seed of one band's details; band 0 keeps the picture's own. An Rng seed is a place along
// one long sequence, so the bands' seeds lie 2^32 draws apart.
inline uint64_t bandSeed(uint64_t seed, int band) {
    return seed + (static_cast<uint64_t>(static_cast<int64_t>(band)) << 32);
}

}  // namespace bw::art
