#pragma once

#include <QRect>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace bw {

// Which parts of the 800 x 600 frame changed, kept as 16 x 16 tiles. Between two frames of the
// aquarium only a few tiles change (fish, bubbles, the clock), so only those are composed,
// scaled and sent to the screen again.
class DirtyTiles {
  public:
    static constexpr int kTile = 16;
    static constexpr int kFrameWidth = 800;
    static constexpr int kFrameHeight = 600;
    static constexpr int kColumns = (kFrameWidth + kTile - 1) / kTile;
    static constexpr int kRows = (kFrameHeight + kTile - 1) / kTile;
    static_assert(kColumns <= 64, "a tile row's columns fit one 64-bit mask");

    // The mask of columns first..last (inclusive), as markColumns and columns take them.
    static constexpr uint64_t columnSpan(int first, int last) {
        return (uint64_t(2) << last) - (uint64_t(1) << first);
    }

    // Calls f(first, end) for each run of consecutive set bits of `columns`, left to right:
    // columns first .. end - 1.
    template <typename F>
    static void forEachRun(uint64_t columns, F&& f) {
        while (columns != 0) {
            const int first = std::countr_zero(columns);
            const int end = first + std::countr_one(columns >> first);
            columns &= ~columnSpan(first, end - 1);
            f(first, end);
        }
    }

    // Calls f(row, columns) for each tile row that `area` (frame coordinates, may reach
    // outside) touches, with the columns it touches there.
    template <typename F>
    static void forEachRowOf(const QRect& area, F&& f) {
        const int left = std::max(area.left(), 0);
        const int top = std::max(area.top(), 0);
        const int right = std::min(area.right(), kFrameWidth - 1);
        const int bottom = std::min(area.bottom(), kFrameHeight - 1);
        if (left > right || top > bottom || area.isEmpty()) return;
        const uint64_t span = columnSpan(left / kTile, right / kTile);
        for (int row = top / kTile; row <= bottom / kTile; ++row) f(row, span);
    }

    // Marks every tile that `area` (frame coordinates, may reach outside) touches.
    void mark(const QRect& area) {
        forEachRowOf(area, [this](int row, uint64_t columns) { rows_[size_t(row)] |= columns; });
    }
    // Marks the tiles of tile row `row` whose bits are set in `columns` (bit n: column n).
    void markColumns(int row, uint64_t columns) {
        if (row >= 0 && row < kRows) rows_[size_t(row)] |= columns & kAllColumns;
    }
    void markAll();
    void add(const DirtyTiles& other);
    void clear() { rows_.fill(0); }
    bool any() const;
    bool all() const;
    // Whether a tile of tile rows firstRow..lastRow is marked.
    bool anyIn(int firstRow, int lastRow) const;
    // The marked columns of tile row `row` (0 .. kRows - 1), bit n for column n.
    uint64_t columns(int row) const { return rows_[size_t(row)]; }

    // The marked tiles as few rectangles: runs of tiles in a row, merged with the identical
    // run below; clipped to the frame.
    std::vector<QRect> rects() const;

  private:
    static constexpr uint64_t kAllColumns = (uint64_t(1) << kColumns) - 1;
    std::array<uint64_t, kRows> rows_{};
};

}  // namespace bw
