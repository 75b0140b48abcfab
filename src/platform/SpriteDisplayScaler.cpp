#include "platform/SpriteDisplayScaler.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bw {

namespace {

// a * (256 - w) + b * w, per 8-bit channel, w in 0..256.
inline uint32_t mix(uint32_t a, uint32_t b, uint32_t w) {
    const uint32_t v = 256 - w;
    const uint32_t rb =
        (((a & 0x00FF00FFu) * v + (b & 0x00FF00FFu) * w + 0x00800080u) >> 8) & 0x00FF00FFu;
    const uint32_t ag =
        (((a >> 8) & 0x00FF00FFu) * v + ((b >> 8) & 0x00FF00FFu) * w + 0x00800080u) & 0xFF00FF00u;
    return rb | ag;
}

// Processors with SSSE3 (all but the oldest x86-64 ones) mix two pixels as
// a + round((b - a) * w / 32768), which takes a third of the instructions; the others use the
// plain weighted sum above. Either way one formula serves a whole run, so drawing a part of
// the frame gives the same pixels as drawing all of it.
#if defined(__x86_64__)
const bool kMulhrs = __builtin_cpu_supports("ssse3");
#else
constexpr bool kMulhrs = false;
#endif

// The weight w (0..256) as a fraction of 32768, as far as a signed 16-bit number reaches; the
// result still rounds to b when w is 256.
inline int16_t weight15(uint32_t w) { return int16_t(std::min<uint32_t>(w * 128, 32767)); }

inline uint32_t mix15(uint32_t a, uint32_t b, int w15) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = int((a >> shift) & 0xFF);
        const int cb = int((b >> shift) & 0xFF);
        out |= uint32_t(ca + (((cb - ca) * w15 + 0x4000) >> 15)) << shift;
    }
    return out;
}

#if defined(__x86_64__)
// Output pixel x mixes src[index[x]] and its right neighbour, two output pixels at a time.
__attribute__((target("ssse3"))) void widenSsse3(const uint32_t* src, const int32_t* index,
                                                 const int16_t* weights, uint32_t* out, int from,
                                                 int to) {
    // [left0 right0 left1 right1] -> [left0 left1 right0 right1]
    const __m128i group = _mm_setr_epi8(0, 1, 2, 3, 8, 9, 10, 11, 4, 5, 6, 7, 12, 13, 14, 15);
    const __m128i zero = _mm_setzero_si128();
    int x = from;
    for (; x + 2 <= to; x += 2) {
        const __m128i first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + index[x]));
        const __m128i second =
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + index[x + 1]));
        const __m128i grouped = _mm_shuffle_epi8(_mm_unpacklo_epi64(first, second), group);
        const __m128i left = _mm_unpacklo_epi8(grouped, zero);
        const __m128i right = _mm_unpackhi_epi8(grouped, zero);
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + x * 4));
        const __m128i mixed = _mm_add_epi16(left, _mm_mulhrs_epi16(_mm_sub_epi16(right, left), w));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(mixed, mixed));
    }
    for (; x < to; ++x) out[x] = mix15(src[index[x]], src[index[x] + 1], weights[x * 4]);
}

// out = a + (b - a) * w, four pixels at a time.
__attribute__((target("ssse3"))) void mixRowsSsse3(const uint32_t* a, const uint32_t* b,
                                                   uint32_t* out, int from, int to, int w15) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i w = _mm_set1_epi16(short(w15));
    int x = from;
    for (; x + 4 <= to; x += 4) {
        const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
        const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
        const __m128i al = _mm_unpacklo_epi8(pa, zero);
        const __m128i ah = _mm_unpackhi_epi8(pa, zero);
        const __m128i lo =
            _mm_add_epi16(al, _mm_mulhrs_epi16(_mm_sub_epi16(_mm_unpacklo_epi8(pb, zero), al), w));
        const __m128i hi =
            _mm_add_epi16(ah, _mm_mulhrs_epi16(_mm_sub_epi16(_mm_unpackhi_epi8(pb, zero), ah), w));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(lo, hi));
    }
    for (; x < to; ++x) out[x] = mix15(a[x], b[x], w15);
}
#endif

// Source position of each output sample, pixel centres aligned, as index and 0..256 weight.
void sampleTable(int sourceLength, int outputLength, std::vector<int32_t>& index,
                 std::vector<uint16_t>& weight, std::vector<int32_t>& nearest) {
    index.resize(size_t(outputLength));
    weight.resize(size_t(outputLength));
    nearest.resize(size_t(outputLength));
    for (int i = 0; i < outputLength; ++i) {
        // (i + 0.5) * source / output - 0.5, in 1/256 steps
        const int64_t fixed =
            ((2 * int64_t(i) + 1) * sourceLength * 256) / (2 * int64_t(outputLength)) - 128;
        const int64_t clamped = std::clamp<int64_t>(fixed, 0, int64_t(sourceLength - 1) * 256);
        int32_t left = int32_t(clamped >> 8);
        uint16_t w = uint16_t(clamped & 0xFF);
        if (left >= sourceLength - 1) {  // keep left + 1 inside the row
            left = std::max(0, sourceLength - 2);
            w = sourceLength > 1 ? 256 : 0;
        }
        index[size_t(i)] = left;
        weight[size_t(i)] = w;
        nearest[size_t(i)] =
            int32_t(std::min<int64_t>(int64_t(i) * sourceLength / outputLength, sourceLength - 1));
    }
}

}  // namespace

void FrameScaler::prepare(QSize source, QSize area) {
    if (source == sourceSize_ && area == areaSize_) return;
    sourceSize_ = source;
    areaSize_ = area;
    sampleTable(source.width(), area.width(), columnIndex_, columnWeight_, nearestColumn_);
    sampleTable(source.height(), area.height(), rowIndex_, rowWeight_, nearestRow_);
    // Per output column, the weights as the widening path in use takes them.
    if (kMulhrs) {
        columnWeight15_.resize(columnWeight_.size() * 4);
        for (size_t i = 0; i < columnWeight_.size(); ++i)
            std::fill_n(columnWeight15_.begin() + ptrdiff_t(i * 4), 4, weight15(columnWeight_[i]));
    } else {
#if defined(__SSE2__)
        columnLanes_.resize(columnWeight_.size() * 8);
        for (size_t i = 0; i < columnWeight_.size(); ++i) {
            const auto w = int16_t(columnWeight_[i]);
            const auto v = int16_t(256 - w);
            std::fill_n(columnLanes_.begin() + ptrdiff_t(i * 8), 4, v);
            std::fill_n(columnLanes_.begin() + ptrdiff_t(i * 8 + 4), 4, w);
        }
#endif
    }
    for (auto& row : widened_) row.assign(size_t(area.width()), 0);
}

int FrameScaler::widenedRow(const QImage& source, int row, int keep, int from, int to) {
    for (int slot = 0; slot < 2; ++slot) {
        if (widenedSource_[slot] == row) return slot;
    }
    // Rows are asked for top to bottom, so the lower-numbered source row is the stale one.
    int slot = widenedSource_[0] < widenedSource_[1] ? 0 : 1;
    if (slot == keep) slot ^= 1;
    widenedSource_[slot] = row;
    const auto* src = reinterpret_cast<const uint32_t*>(source.constScanLine(row));
    uint32_t* out = widened_[slot].data();
    if (sourceSize_.width() == 1) {
        std::fill(out + from, out + to, src[0]);
        return slot;
    }
#if defined(__x86_64__)
    if (kMulhrs) {
        widenSsse3(src, columnIndex_.data(), columnWeight15_.data(), out, from, to);
        return slot;
    }
#endif
#if defined(__SSE2__)
    // Both neighbours come in one 64-bit load; the weights are ready per output pixel.
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);  // round to nearest
    for (int x = from; x < to; ++x) {
        __m128i pair =
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + columnIndex_[size_t(x)]));
        const __m128i lanes =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(columnLanes_.data() + size_t(x) * 8));
        pair = _mm_mullo_epi16(_mm_unpacklo_epi8(pair, zero), lanes);
        __m128i sum = _mm_add_epi16(_mm_add_epi16(pair, _mm_srli_si128(pair, 8)), half);
        sum = _mm_srli_epi16(sum, 8);
        out[x] = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
    }
#else
    for (int x = from; x < to; ++x) {
        const int32_t left = columnIndex_[size_t(x)];
        out[x] = mix(src[left], src[left + 1], columnWeight_[size_t(x)]);
    }
#endif
    return slot;
}

void FrameScaler::scale(const QImage& source, QImage& target, const QRect& area,
                        ScaleQuality quality) {
    scalePart(source, target, area, quality, area);
}

namespace {

// Output positions [first, last) whose sample index lies in [low, high]; the table rises.
std::pair<int, int> samplesWithin(const std::vector<int32_t>& table, int low, int high) {
    const auto first = std::lower_bound(table.begin(), table.end(), low);
    const auto last = std::upper_bound(first, table.end(), high);
    return {int(first - table.begin()), int(last - table.begin())};
}

}  // namespace

QRect FrameScaler::affectedBy(QSize source, const QRect& area, const QRect& sourcePart) {
    const QRect part = sourcePart & QRect(QPoint(0, 0), source);
    if (area.isEmpty() || part.isEmpty()) return {};
    prepare(source, area.size());
    // Smooth output reads its sample and the next one; nearest output reads one sample.
    auto span = [](const std::vector<int32_t>& smooth, const std::vector<int32_t>& nearest, int low,
                   int high) {
        const auto a = samplesWithin(smooth, low - 1, high);
        const auto b = samplesWithin(nearest, low, high);
        if (a.first >= a.second) return b;
        if (b.first >= b.second) return a;
        return std::make_pair(std::min(a.first, b.first), std::max(a.second, b.second));
    };
    const auto columns = span(columnIndex_, nearestColumn_, part.left(), part.right());
    const auto rows = span(rowIndex_, nearestRow_, part.top(), part.bottom());
    if (columns.first >= columns.second || rows.first >= rows.second) return {};
    return QRect(area.x() + columns.first, area.y() + rows.first, columns.second - columns.first,
                 rows.second - rows.first);
}

QRegion FrameScaler::affectedBy(QSize source, const QRect& area, const DirtyTiles& changes,
                                int margin) {
    if (changes.all()) return area;
    QRegion affected;
    for (const QRect& tiles : changes.rects()) {
        const QRect part = affectedBy(source, area, tiles);
        affected += part.adjusted(-margin, -margin, margin, margin) & area;
    }
    return affected;
}

void FrameScaler::scalePart(const QImage& source, QImage& target, const QRect& area,
                            ScaleQuality quality, const QRect& wanted) {
    const QRect part = wanted & area;
    if (source.isNull() || part.isEmpty() || source.depth() != 32 || target.depth() != 32 ||
        !target.rect().contains(area))
        return;
    if (source.size() == area.size()) {  // shown 1:1: a copy
        const size_t bytes = size_t(part.width()) * 4;
        for (int y = part.top(); y <= part.bottom(); ++y)
            std::memcpy(target.scanLine(y) + part.left() * 4,
                        source.constScanLine(y - area.top()) + (part.left() - area.left()) * 4,
                        bytes);
        return;
    }
    prepare(source.size(), area.size());
    // The source's pixels may have changed since the last call.
    widenedSource_[0] = widenedSource_[1] = -1;

    // Output columns [from, to) and rows of the part, relative to the area.
    const int from = part.left() - area.left();
    const int to = part.right() + 1 - area.left();
    const int width = to - from;
    const qsizetype stride = target.bytesPerLine();
    uchar* base = target.bits() + area.y() * stride + qsizetype(area.x()) * 4;
    int previousSource = -1;
    const uint32_t* previousOut = nullptr;
    for (int y = part.top() - area.top(); y <= part.bottom() - area.top(); ++y) {
        auto* out = reinterpret_cast<uint32_t*>(base + y * stride);
        if (quality == ScaleQuality::Nearest) {
            const int sourceRow = nearestRow_[size_t(y)];
            if (sourceRow == previousSource) {
                std::memcpy(out + from, previousOut + from, size_t(width) * 4);
            } else {
                const auto* src =
                    reinterpret_cast<const uint32_t*>(source.constScanLine(sourceRow));
                for (int x = from; x < to; ++x) out[x] = src[nearestColumn_[size_t(x)]];
            }
            previousSource = sourceRow;
            previousOut = out;
            continue;
        }
        const int top = rowIndex_[size_t(y)];
        const uint32_t w = rowWeight_[size_t(y)];
        const int slotA = widenedRow(source, top, -1, from, to);
        const uint32_t* a = widened_[slotA].data();
        if (w == 0) {
            std::memcpy(out + from, a + from, size_t(width) * 4);
            continue;
        }
        const int slotB =
            widenedRow(source, std::min(top + 1, source.height() - 1), slotA, from, to);
        const uint32_t* b = widened_[slotB].data();
#if defined(__x86_64__)
        if (kMulhrs) {
            mixRowsSsse3(a, b, out, from, to, weight15(w));
            continue;
        }
#endif
        const uint32_t v = 256 - w;
        int x = from;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const __m128i wb = _mm_set1_epi16(short(w));
        const __m128i wa = _mm_set1_epi16(short(v));
        const __m128i half = _mm_set1_epi16(128);
        for (; x + 4 <= to; x += 4) {
            const __m128i pa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
            const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
            const __m128i lo =
                _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(pa, zero), wa),
                                            _mm_mullo_epi16(_mm_unpacklo_epi8(pb, zero), wb)),
                              half);
            const __m128i hi =
                _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(pa, zero), wa),
                                            _mm_mullo_epi16(_mm_unpackhi_epi8(pb, zero), wb)),
                              half);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                             _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8)));
        }
#endif
        for (; x < to; ++x) {
            out[x] = mix(a[x], b[x], w);
        }
    }
}

}  // namespace bw
