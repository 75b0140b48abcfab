#include "platform/DirtyTiles.h"

#include <algorithm>

namespace bw {

TileGrid TileGrid::forFrame(QSize frame) {
    TileGrid grid{std::max(frame.width(), 1), std::max(frame.height(), 1), 4};
    // The width of the 4:3 frame of this height, rounded; a narrower frame's own.
    const int fourByThreeWidth = std::min(grid.width, (4 * grid.height + 1) / 3);
    while (grid.columnsOf(fourByThreeWidth) > kMaxFourByThreeColumns || grid.rows() > kMaxRows ||
           grid.columns() > kMaxColumns)
        ++grid.shift;
    return grid;
}

void DirtyTiles::markAll() {
    for (int row = 0; row < grid_.rows(); ++row) rows_[size_t(row)] = allColumns_;
}

void DirtyTiles::add(const DirtyTiles& other) {
    if (!(other.grid_ == grid_)) {
        // Nothing marked here yet: take the other grid as it is; else all of the new frame.
        const bool mine = any();
        grid_ = other.grid_;
        allColumns_ = other.allColumns_;
        if (mine) {
            markAll();
            return;
        }
        rows_.fill({});
    }
    for (size_t row = 0; row < rows_.size(); ++row) rows_[row] |= other.rows_[row];
}

bool DirtyTiles::any() const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [](const TileColumns& row) { return row.any(); });
}

bool DirtyTiles::anyIn(int firstRow, int lastRow) const {
    for (int row = std::max(firstRow, 0); row <= std::min(lastRow, grid_.rows() - 1); ++row)
        if (rows_[size_t(row)].any()) return true;
    return false;
}

bool DirtyTiles::all() const {
    for (int row = 0; row < grid_.rows(); ++row)
        if (rows_[size_t(row)] != allColumns_) return false;
    return true;
}

std::vector<QRect> DirtyTiles::rects() const {
    const QRect frame = grid_.frame();
    if (all()) return {frame};
    const int tile = grid_.tile();
    std::vector<QRect> done;
    // Runs of the row above, still growing downwards.
    std::vector<QRect> open;
    std::vector<QRect> next;
    for (int row = 0; row < grid_.rows(); ++row) {
        next.clear();
        rows_[size_t(row)].forEachRun([&](int first, int end) {
            const QRect run(first * tile, row * tile, (end - first) * tile, tile);
            auto above = std::find_if(open.begin(), open.end(), [&](const QRect& r) {
                return r.left() == run.left() && r.right() == run.right();
            });
            if (above != open.end()) {
                next.push_back(above->adjusted(0, 0, 0, tile));
                open.erase(above);
            } else {
                next.push_back(run);
            }
        });
        done.insert(done.end(), open.begin(), open.end());
        open.swap(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    for (QRect& r : done) r &= frame;
    return done;
}

}  // namespace bw
