#pragma once

#include <QRect>
#include <QSize>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace bw {

// How a frame is cut into square tiles: 16 pixels for the 800 x 600 frame, and for larger
// frames the smallest power of two from 16 up that keeps a tile row within 64 columns (32 at
// 1440 x 1080, 64 at 2880 x 2160), so that a tile row's columns fit one 64-bit mask.
struct TileGrid {
    static constexpr int kMaxColumns = 64;
    static constexpr int kMaxRows = 64;

    int width = 800;
    int height = 600;
    int shift = 4;  // tile size = 1 << shift

    static TileGrid forFrame(QSize frame);
    int tile() const { return 1 << shift; }
    int columns() const { return (width + tile() - 1) >> shift; }
    int rows() const { return (height + tile() - 1) >> shift; }
    QRect frame() const { return {0, 0, width, height}; }
    bool operator==(const TileGrid&) const = default;
};

// Which parts of a frame changed, kept as tiles of a grid. Between two frames of the
// aquarium only a few tiles change (fish, bubbles, the clock), so only those are composed,
// scaled and sent to the screen again. By default the grid is the 800 x 600 frame's.
class DirtyTiles {
  public:
    DirtyTiles() = default;
    explicit DirtyTiles(const TileGrid& grid) : grid_(grid) {}

    const TileGrid& grid() const { return grid_; }

    // The mask of columns first..last (inclusive), as markColumns and columns take them.
    static constexpr uint64_t columnSpan(int first, int last) {
        return (uint64_t(2) << last) - (uint64_t(1) << first);  // wraps to the top for 63
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

    // Calls f(row, columns) for each tile row of `grid` that `area` (frame pixels, may reach
    // outside) touches, with the columns it touches there.
    template <typename F>
    static void forEachRowOf(const TileGrid& grid, const QRect& area, F&& f) {
        const int left = std::max(area.left(), 0);
        const int top = std::max(area.top(), 0);
        const int right = std::min(area.right(), grid.width - 1);
        const int bottom = std::min(area.bottom(), grid.height - 1);
        if (left > right || top > bottom || area.isEmpty()) return;
        const uint64_t span = columnSpan(left >> grid.shift, right >> grid.shift);
        for (int row = top >> grid.shift; row <= bottom >> grid.shift; ++row) f(row, span);
    }

    // Marks every tile that `area` (frame pixels, may reach outside) touches.
    void mark(const QRect& area) {
        forEachRowOf(grid_, area,
                     [this](int row, uint64_t columns) { rows_[size_t(row)] |= columns; });
    }
    // Marks the tiles of tile row `row` whose bits are set in `columns` (bit n: column n).
    void markColumns(int row, uint64_t columns) {
        if (row >= 0 && row < grid_.rows()) rows_[size_t(row)] |= columns & allColumns();
    }
    void markAll();
    // Adds the tiles another set marks. Of another grid (the frame changed size), everything.
    void add(const DirtyTiles& other);
    void clear() { rows_.fill(0); }
    bool any() const;
    bool all() const;
    // Whether a tile of tile rows firstRow..lastRow is marked.
    bool anyIn(int firstRow, int lastRow) const;
    // The marked columns of tile row `row` (0 .. rows - 1), bit n for column n.
    uint64_t columns(int row) const { return rows_[size_t(row)]; }

    // The marked tiles as few rectangles of frame pixels: runs of tiles in a row, merged with
    // the identical run below; clipped to the frame.
    std::vector<QRect> rects() const;

  private:
    uint64_t allColumns() const { return columnSpan(0, grid_.columns() - 1); }

    TileGrid grid_;
    std::array<uint64_t, TileGrid::kMaxRows> rows_{};
};

}  // namespace bw
