#pragma once

#include <QRect>
#include <QSize>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace bw {

// How a frame is cut into square tiles: the tile is the one the 4:3 frame of the same height
// gets, the smallest power of two from 16 up that keeps that frame within 64 columns and 64
// rows (16 pixels at 800 x 600, 32 at 1440 x 1080, 64 at 2880 x 2160). A wider frame (16:9,
// 21:9, 32:9) keeps those tiles, with up to kMaxColumns of them in a tile row; a frame wider
// still gets larger tiles.
struct TileGrid {
    static constexpr int kMaxColumns = 256;
    static constexpr int kMaxRows = 64;
    static constexpr int kMaxFourByThreeColumns = 64;

    int width = 800;
    int height = 600;
    int shift = 4;  // tile size = 1 << shift

    static TileGrid forFrame(QSize frame);
    int tile() const { return 1 << shift; }
    int columns() const { return columnsOf(width); }
    int rows() const { return (height + tile() - 1) >> shift; }
    QRect frame() const { return {0, 0, width, height}; }
    bool operator==(const TileGrid&) const = default;

  private:
    int columnsOf(int pixels) const { return (pixels + tile() - 1) >> shift; }
};

// Columns of one tile row, 0 .. TileGrid::kMaxColumns - 1: column n is bit n % 64 of word
// n / 64. A value of fixed size, so that the masks of every frame cost no allocation.
class TileColumns {
  public:
    static constexpr int kWords = TileGrid::kMaxColumns / 64;

    constexpr TileColumns() = default;
    // Columns first..last (inclusive, within 0 .. kMaxColumns - 1); none when first > last.
    static constexpr TileColumns span(int first, int last) {
        TileColumns span;
        if (first > last) return span;
        const int firstWord = first >> 6;
        const int lastWord = last >> 6;
        const uint64_t fromFirst = ~uint64_t(0) << (first & 63);
        const uint64_t toLast = ~uint64_t(0) >> (63 - (last & 63));
        if (firstWord == lastWord) {  // mostly: a span of a few tiles
            span.words_[size_t(firstWord)] = fromFirst & toLast;
            return span;
        }
        span.words_[size_t(firstWord)] = fromFirst;
        for (int word = firstWord + 1; word < lastWord; ++word)
            span.words_[size_t(word)] = ~uint64_t(0);
        span.words_[size_t(lastWord)] = toLast;
        return span;
    }
    static constexpr TileColumns single(int column) {
        TileColumns single;
        single.words_[size_t(column >> 6)] = uint64_t(1) << (column & 63);
        return single;
    }

    bool has(int column) const { return (words_[size_t(column >> 6)] >> (column & 63) & 1) != 0; }
    bool any() const {
        uint64_t all = 0;
        for (const uint64_t word : words_) all |= word;
        return all != 0;
    }
    TileColumns& operator|=(const TileColumns& other) {
        for (size_t i = 0; i < words_.size(); ++i) words_[i] |= other.words_[i];
        return *this;
    }
    TileColumns& operator&=(const TileColumns& other) {
        for (size_t i = 0; i < words_.size(); ++i) words_[i] &= other.words_[i];
        return *this;
    }
    TileColumns operator|(const TileColumns& other) const { return TileColumns(*this) |= other; }
    TileColumns operator&(const TileColumns& other) const { return TileColumns(*this) &= other; }
    // These columns but those of `other`.
    TileColumns without(const TileColumns& other) const {
        TileColumns rest;
        for (size_t i = 0; i < words_.size(); ++i) rest.words_[i] = words_[i] & ~other.words_[i];
        return rest;
    }
    bool operator==(const TileColumns&) const = default;

    // Calls f(column) for each column, left to right. The loops over the words are unrolled:
    // the compositor walks columns for every draw of every frame.
    template <typename F>
    void forEach(F&& f) const {
#pragma GCC unroll 4
        for (size_t i = 0; i < words_.size(); ++i) {
            for (uint64_t bits = words_[i]; bits != 0; bits &= bits - 1)
                f(int(i) * 64 + std::countr_zero(bits));
        }
    }
    // Calls f(first, end) for each run of consecutive columns, left to right: columns first ..
    // end - 1. A run may go on from one word into the next.
    template <typename F>
    void forEachRun(F&& f) const {
        int open = -1;  // the first column of a run that reached the end of the last word
#pragma GCC unroll 4
        for (size_t i = 0; i < words_.size(); ++i) {
            uint64_t bits = words_[i];
            if (bits == 0 && open < 0) continue;
            const int base = int(i) * 64;
            if (open >= 0 && (bits & 1) == 0) {
                f(open, base);
                open = -1;
            }
            while (bits != 0) {
                const int first = std::countr_zero(bits);
                const int end = first + std::countr_one(bits >> first);
                const int runFirst = open >= 0 ? open : base + first;  // open: first is 0
                open = -1;
                if (end == 64) {
                    open = runFirst;
                    break;
                }
                bits &= ~uint64_t(0) << end;
                f(runFirst, base + end);
            }
        }
        if (open >= 0) f(open, kWords * 64);
    }

  private:
    std::array<uint64_t, kWords> words_{};
};

// Which parts of a frame changed, kept as tiles of a grid. Between two frames of the
// aquarium only a few tiles change (fish, bubbles, the clock), so only those are composed,
// scaled and sent to the screen again. By default the grid is the 800 x 600 frame's.
class DirtyTiles {
  public:
    DirtyTiles() = default;
    explicit DirtyTiles(const TileGrid& grid)
        : grid_(grid), allColumns_(TileColumns::span(0, grid.columns() - 1)) {}

    const TileGrid& grid() const { return grid_; }

    // Calls f(row, columns) for each tile row of `grid` that `area` (frame pixels, may reach
    // outside) touches, with the columns it touches there.
    template <typename F>
    static void forEachRowOf(const TileGrid& grid, const QRect& area, F&& f) {
        const int left = std::max(area.left(), 0);
        const int top = std::max(area.top(), 0);
        const int right = std::min(area.right(), grid.width - 1);
        const int bottom = std::min(area.bottom(), grid.height - 1);
        if (left > right || top > bottom || area.isEmpty()) return;
        const TileColumns span = TileColumns::span(left >> grid.shift, right >> grid.shift);
        for (int row = top >> grid.shift; row <= bottom >> grid.shift; ++row) f(row, span);
    }

    // Marks every tile that `area` (frame pixels, may reach outside) touches.
    void mark(const QRect& area) {
        forEachRowOf(grid_, area, [this](int row, const TileColumns& columns) {
            rows_[size_t(row)] |= columns;
        });
    }
    // Marks the tiles of tile row `row` in `columns`.
    void markColumns(int row, const TileColumns& columns) {
        if (row >= 0 && row < grid_.rows()) rows_[size_t(row)] |= columns & allColumns_;
    }
    void markAll();
    // Adds the tiles another set marks. Of another grid (the frame changed size), everything.
    void add(const DirtyTiles& other);
    void clear() { rows_.fill({}); }
    bool any() const;
    bool all() const;
    // Whether a tile of tile rows firstRow..lastRow is marked.
    bool anyIn(int firstRow, int lastRow) const;
    // The marked columns of tile row `row` (0 .. rows - 1).
    const TileColumns& columns(int row) const { return rows_[size_t(row)]; }

    // The marked tiles as few rectangles of frame pixels: runs of tiles in a row, merged with
    // the identical run below; clipped to the frame.
    std::vector<QRect> rects() const;

  private:
    TileGrid grid_;
    TileColumns allColumns_ = TileColumns::span(0, TileGrid().columns() - 1);  // of grid_
    std::array<TileColumns, TileGrid::kMaxRows> rows_{};
};

}  // namespace bw
