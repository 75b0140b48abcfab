#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <vector>

#include "platform/DirtyTiles.h"

namespace bw {

enum class ScaleQuality { Nearest, Smooth };

// Scales the composed frame onto the screen. Smooth is bilinear in 8-bit fixed point and
// separable: each source row is widened once, then output rows blend two widened rows with
// one weight for the whole row, which the compiler turns into vector code. The tables depend
// only on the sizes and are kept between frames, so a frame allocates nothing.
class FrameScaler {
  public:
    // Draws `source` (32-bit) into `target` (32-bit) over `area`, which must lie inside it.
    void scale(const QImage& source, QImage& target, const QRect& area, ScaleQuality quality);
    // The same for the pixels of `part` (target coordinates) only.
    void scalePart(const QImage& source, QImage& target, const QRect& area, ScaleQuality quality,
                   const QRect& part);
    // The pixels of the target that show something of `sourcePart`, with either quality.
    QRect affectedBy(QSize source, const QRect& area, const QRect& sourcePart);
    // The same for every changed tile, each widened by `margin` pixels, within `area`.
    QRegion affectedBy(QSize source, const QRect& area, const DirtyTiles& changes, int margin = 0);

  private:
    void prepare(QSize source, QSize area);
    // Slot holding `row` widened over output columns [from, to); never overwrites slot `keep`.
    int widenedRow(const QImage& source, int row, int keep, int from, int to);

    QSize sourceSize_;
    QSize areaSize_;
    std::vector<int32_t> columnIndex_;     // left source column of each output column
    std::vector<uint16_t> columnWeight_;   // weight of the right neighbour, 0..256
    std::vector<int16_t> columnLanes_;     // per output column: 4 x (256 - w), 4 x w
    std::vector<int16_t> columnWeight15_;  // per output column: 4 x w as a fraction of 32768
    std::vector<int32_t> rowIndex_;
    std::vector<uint16_t> rowWeight_;
    std::vector<int32_t> nearestColumn_;
    std::vector<int32_t> nearestRow_;
    // Two widened rows; `widenedSource_` says which source row each holds (-1: none).
    std::vector<uint32_t> widened_[2];
    int widenedSource_[2] = {-1, -1};
};

}  // namespace bw
