#include "platform/DirtyTiles.h"

#include <algorithm>

namespace bw {

namespace {

const QRect kFrame(0, 0, 800, 600);

}  // namespace

void DirtyTiles::mark(const QRect& area) {
    const int left = std::max(area.left(), 0);
    const int top = std::max(area.top(), 0);
    const int right = std::min(area.right(), kFrame.right());
    const int bottom = std::min(area.bottom(), kFrame.bottom());
    if (left > right || top > bottom || area.isEmpty()) return;
    for (int row = top / kTile; row <= bottom / kTile; ++row) {
        for (int column = left / kTile; column <= right / kTile; ++column) {
            uint8_t& tile = tiles_[size_t(row * kColumns + column)];
            count_ += 1 - tile;
            tile = 1;
        }
    }
}

void DirtyTiles::markAll() {
    std::fill(tiles_.begin(), tiles_.end(), uint8_t(1));
    count_ = int(tiles_.size());
}

void DirtyTiles::add(const DirtyTiles& other) {
    if (other.all()) {
        markAll();
        return;
    }
    for (size_t i = 0; i < tiles_.size(); ++i) {
        if (other.tiles_[i] && !tiles_[i]) {
            tiles_[i] = 1;
            ++count_;
        }
    }
}

void DirtyTiles::clear() {
    std::fill(tiles_.begin(), tiles_.end(), uint8_t(0));
    count_ = 0;
}

std::vector<QRect> DirtyTiles::rects() const {
    std::vector<QRect> done;
    if (!any()) return done;
    if (all()) return {kFrame};
    // Runs of the row above, still growing downwards.
    std::vector<QRect> open;
    std::vector<QRect> next;
    for (int row = 0; row < kRows; ++row) {
        next.clear();
        for (int column = 0; column < kColumns;) {
            if (!tiles_[size_t(row * kColumns + column)]) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < kColumns && tiles_[size_t(row * kColumns + column)]) ++column;
            const QRect run(first * kTile, row * kTile, (column - first) * kTile, kTile);
            auto above = std::find_if(open.begin(), open.end(), [&](const QRect& r) {
                return r.left() == run.left() && r.right() == run.right();
            });
            if (above != open.end()) {
                next.push_back(above->adjusted(0, 0, 0, kTile));
                open.erase(above);
            } else {
                next.push_back(run);
            }
        }
        done.insert(done.end(), open.begin(), open.end());
        open.swap(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    for (QRect& r : done) r &= kFrame;
    return done;
}

}  // namespace bw
