#include "platform/DirtyTiles.h"

#include <algorithm>

namespace bw {

TileGrid TileGrid::forFrame(QSize frame) {
    TileGrid grid{std::max(frame.width(), 1), std::max(frame.height(), 1), 4};
    while (grid.columns() > kMaxColumns || grid.rows() > kMaxRows) ++grid.shift;
    return grid;
}

void DirtyTiles::markAll() {
    for (int row = 0; row < grid_.rows(); ++row) rows_[size_t(row)] = allColumns();
}

void DirtyTiles::add(const DirtyTiles& other) {
    if (!(other.grid_ == grid_)) {
        // Nothing marked here yet: take the other grid as it is; else all of the new frame.
        const bool mine = any();
        grid_ = other.grid_;
        if (mine) {
            markAll();
            return;
        }
        rows_.fill(0);
    }
    for (size_t row = 0; row < rows_.size(); ++row) rows_[row] |= other.rows_[row];
}

bool DirtyTiles::any() const {
    return std::any_of(rows_.begin(), rows_.end(), [](uint64_t row) { return row != 0; });
}

bool DirtyTiles::anyIn(int firstRow, int lastRow) const {
    for (int row = std::max(firstRow, 0); row <= std::min(lastRow, grid_.rows() - 1); ++row)
        if (rows_[size_t(row)] != 0) return true;
    return false;
}

bool DirtyTiles::all() const {
    for (int row = 0; row < grid_.rows(); ++row)
        if (rows_[size_t(row)] != allColumns()) return false;
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
        forEachRun(rows_[size_t(row)], [&](int first, int end) {
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
