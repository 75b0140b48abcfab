#include "platform/DirtyTiles.h"

#include <algorithm>

namespace bw {

namespace {

const QRect kFrame(0, 0, DirtyTiles::kFrameWidth, DirtyTiles::kFrameHeight);

}  // namespace

void DirtyTiles::markAll() { rows_.fill(kAllColumns); }

void DirtyTiles::add(const DirtyTiles& other) {
    for (size_t row = 0; row < rows_.size(); ++row) rows_[row] |= other.rows_[row];
}

bool DirtyTiles::any() const {
    return std::any_of(rows_.begin(), rows_.end(), [](uint64_t row) { return row != 0; });
}

bool DirtyTiles::anyIn(int firstRow, int lastRow) const {
    for (int row = std::max(firstRow, 0); row <= std::min(lastRow, kRows - 1); ++row)
        if (rows_[size_t(row)] != 0) return true;
    return false;
}

bool DirtyTiles::all() const {
    return std::all_of(rows_.begin(), rows_.end(), [](uint64_t row) { return row == kAllColumns; });
}

std::vector<QRect> DirtyTiles::rects() const {
    std::vector<QRect> done;
    if (all()) return {kFrame};
    // Runs of the row above, still growing downwards.
    std::vector<QRect> open;
    std::vector<QRect> next;
    for (int row = 0; row < kRows; ++row) {
        next.clear();
        forEachRun(rows_[size_t(row)], [&](int first, int end) {
            const QRect run(first * kTile, row * kTile, (end - first) * kTile, kTile);
            auto above = std::find_if(open.begin(), open.end(), [&](const QRect& r) {
                return r.left() == run.left() && r.right() == run.right();
            });
            if (above != open.end()) {
                next.push_back(above->adjusted(0, 0, 0, kTile));
                open.erase(above);
            } else {
                next.push_back(run);
            }
        });
        done.insert(done.end(), open.begin(), open.end());
        open.swap(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    for (QRect& r : done) r &= kFrame;
    return done;
}

}  // namespace bw
