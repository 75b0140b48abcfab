#pragma once

#include <QSize>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace bw {

// The frame the scene is composed into: `size` pixels at `scale` pixels per scene unit.
//
// The 800 x 600 layout (the block) fills the frame's height and stands in the middle of its
// width; on a 4:3 frame the block is the whole frame. A frame for a wider screen is as wide as
// the screen in pixels (1920 x 1080 is composed as 1920 x 1080, not as 1067 units times 1.8),
// and what lies beside the block is more of the glass: water, wall and floor. The display, the
// art generator and the art cache all place the block with blockColumn(), so that a picture
// painted for a frame lines up with the frame to the pixel.
struct FrameShape {
    static constexpr int kBlockWidth = 800;
    static constexpr int kBlockHeight = 600;
    // Frames wider than this many blocks are not made (a 32:9 screen needs 2.4).
    static constexpr int kMaxBlocks = 4;

    QSize size{kBlockWidth, kBlockHeight};
    double scale = 1.0;

    // The 4:3 frame at `scale`: the block alone.
    static FrameShape block(double scale) {
        return {QSize(static_cast<int>(std::lround(kBlockWidth * scale)),
                      static_cast<int>(std::lround(kBlockHeight * scale))),
                scale};
    }
    // The wide frame `height` pixels high (the scale is height / 600) for a screen whose width
    // is `aspect` times its height; the 4:3 frame when the screen is not wider than that.
    static FrameShape across(int height, double aspect) {
        const FrameShape shape = block(height / double(kBlockHeight));
        const int width = static_cast<int>(std::lround(height * aspect));
        if (width <= shape.size.width()) return shape;
        return {QSize(std::min(width, kMaxBlocks * shape.size.width()), shape.size.height()),
                shape.scale};
    }

    int blockWidth() const { return static_cast<int>(std::lround(kBlockWidth * scale)); }
    // The frame column of the block's x = 0.
    int blockColumn() const { return (size.width() - blockWidth()) / 2; }
    bool wide() const { return size.width() > blockWidth(); }
    // A wall or a floor on a wide frame reaches this many units past both of its edges, so
    // that one standing as far from the layout's edge still spans the frame: the factory
    // places lie up to 96 units in. (Each unit costs a 4K frame about 1 MB of pictures.)
    static constexpr int kGlassOverhang = 120;
    int glassOverhang() const {
        return wide() ? static_cast<int>(std::lround(kGlassOverhang * scale)) : 0;
    }
    // The width in pixels of a wall's or floor's picture for the frame (the layout's on a 4:3
    // frame), and its column of the block's x = 0.
    int glassWidth() const { return wide() ? size.width() + 2 * glassOverhang() : blockWidth(); }
    int glassColumn() const { return blockColumn() + glassOverhang(); }
    // The scene units the frame spans, the block in the middle: enough to reach both edges.
    int sceneWidth() const {
        return kBlockWidth + 2 * static_cast<int>(std::ceil(blockColumn() / scale));
    }
    bool operator==(const FrameShape&) const = default;
};

}  // namespace bw
