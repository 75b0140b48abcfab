#pragma once

#include <QRect>
#include <cstdint>
#include <vector>

namespace bw {

// Which parts of the 800 x 600 frame changed, kept as 16 x 16 tiles. Between two frames of the
// aquarium only a few tiles change (fish, bubbles, the clock), so only those are composed,
// scaled and sent to the screen again.
class DirtyTiles {
  public:
    static constexpr int kTile = 16;
    static constexpr int kColumns = (800 + kTile - 1) / kTile;
    static constexpr int kRows = (600 + kTile - 1) / kTile;

    DirtyTiles() : tiles_(size_t(kColumns) * kRows, 0) {}

    // Marks every tile that `area` (frame coordinates, may reach outside) touches.
    void mark(const QRect& area);
    void markAll();
    void add(const DirtyTiles& other);
    void clear();
    bool any() const { return count_ > 0; }
    bool all() const { return count_ == int(tiles_.size()); }

    // The marked tiles as few rectangles: runs of tiles in a row, merged with the identical
    // run below; clipped to the frame.
    std::vector<QRect> rects() const;

  private:
    std::vector<uint8_t> tiles_;  // row by row, 1 when marked
    int count_ = 0;
};

}  // namespace bw
