#include "platform/SpriteCompositor.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QThreadPool>
#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/PictureLoader.h"
#include "platform/ScaledPictures.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bw {

namespace {


QRgb toQRgb(Rgb colour) {
    return qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

int16_t saturate16(int value) {
    return static_cast<int16_t>(std::clamp(value, int(std::numeric_limits<int16_t>::min()),
                                           int(std::numeric_limits<int16_t>::max())));
}

// d * (255 - alpha of s) / 255 + s, two channels at a time; s is premultiplied. Rounds as
// the vector code does: t = x * a + 0x80, then (t + (t >> 8)) >> 8.
inline uint32_t blendOver(uint32_t s, uint32_t d) {
    const uint32_t inverse = 255 - (s >> 24);
    uint32_t rb = (d & 0x00FF00FFu) * inverse + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    uint32_t ag = ((d >> 8) & 0x00FF00FFu) * inverse + 0x00800080u;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return s + (rb | ag);
}

#if defined(__SSE2__)
// blendOver for four pixels: red and blue, then alpha and green, as 16-bit lanes.
inline __m128i blendFour(__m128i s, __m128i d) {
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    const __m128i half = _mm_set1_epi16(0x80);
    // (t + (t >> 8)) >> 8 is (t * 257) >> 16 for every 16-bit t: one multiply, high half.
    const __m128i times257 = _mm_set1_epi16(0x0101);
    // 255 - alpha of each pixel, in both of its 16-bit lanes
    __m128i inverse = _mm_srli_epi32(s, 24);
    inverse = _mm_xor_si128(_mm_or_si128(inverse, _mm_slli_epi32(inverse, 16)), lowBytes);
    const __m128i rb = _mm_mulhi_epu16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(d, lowBytes), inverse), half), times257);
    const __m128i ag = _mm_mulhi_epu16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(d, 8), inverse), half), times257);
    return _mm_add_epi8(s, _mm_or_si128(rb, _mm_slli_epi16(ag, 8)));
}

inline __m128i load(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void store(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// blendOver for one pixel, its four channels as 16-bit lanes.
inline void blendOne(const uint32_t* src, uint32_t* dst) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i s = _mm_cvtsi32_si128(int(*src));
    const __m128i d = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(*dst)), zero);
    const __m128i inverse =
        _mm_xor_si128(_mm_shufflelo_epi16(_mm_unpacklo_epi8(s, zero), 0xFF), _mm_set1_epi16(0xFF));
    __m128i t = _mm_add_epi16(_mm_mullo_epi16(d, inverse), _mm_set1_epi16(0x80));
    t = _mm_mulhi_epu16(t, _mm_set1_epi16(0x0101));
    *dst = uint32_t(_mm_cvtsi128_si32(_mm_add_epi8(s, _mm_packus_epi16(t, t))));
}
#endif

// Blends a run of four or more premultiplied pixels over the frame, four at a time. (Runs
// hold soft edges almost only: testing groups for wholly opaque or clear pixels cost more than
// it saved.)
void blendRun(const uint32_t* src, uint32_t* dst, int count) {
#if defined(__SSE2__)
    // The first four pixels, the ones between, and the last four, which are blended over
    // what the frame held before the run: the pixels they share with the groups before come
    // out as they already are. Most runs are short, and four to eight pixels take no loop.
    const __m128i lastBefore = load(dst + count - 4);
    store(dst, blendFour(load(src), load(dst)));
    for (int i = 4; i < count - 4; i += 4) store(dst + i, blendFour(load(src + i), load(dst + i)));
    store(dst + count - 4, blendFour(load(src + count - 4), lastBefore));
#else
    for (int i = 0; i < count; ++i) dst[i] = blendOver(src[i], dst[i]);
#endif
}

// Blends a run of one to three pixels, columns from..to - 1 of a picture row that may be
// drawn in columns x0..x1 - 1. Done as one group of four that takes in up to three pixels
// beside the run, which it leaves as they are: those are clear (nothing to add) or opaque
// (the picture's own pixel, which its run copies anyway), never part of another blended run,
// as runs are built.
void blendShortRun(const uint32_t* src, uint32_t* dst, int from, int to, int x0, int x1) {
#if defined(__SSE2__)
    const int start = from + 4 <= x1 ? from : to - 4 >= x0 ? to - 4 : -1;
    if (start >= 0) {
        store(dst + start, blendFour(load(src + start), load(dst + start)));
        return;
    }
    for (int i = from; i < to; ++i) blendOne(src + i, dst + i);
#else
    (void)x0;
    (void)x1;
    for (int i = from; i < to; ++i) dst[i] = blendOver(src[i], dst[i]);
#endif
}

enum class PixelKind : uint8_t { Clear, Opaque, Blend };

// Runs shorter than these are folded into a neighbouring blended run: a few extra blends
// cost less than the bookkeeping of many tiny runs along anti-aliased edges. Blended runs
// thus lie at least four pixels apart, which blendShortRun relies on.
constexpr int kMinOpaqueRun = 16;
constexpr int kMinClearGap = 4;

void buildRuns(SpritePicture& picture) {
    const QImage& image = picture.image;
    const int width = image.width();
    picture.rowStart.assign(size_t(image.height()) + 1, 0);
    picture.runs.clear();
    struct Raw {
        int x;
        int length;
        PixelKind kind;
    };
    std::vector<Raw> raw;
    bool opaque = true;
    bool hardEdges = true;
    for (int y = 0; y < image.height(); ++y) {
        picture.rowStart[y] = int32_t(picture.runs.size());
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        raw.clear();
        for (int x = 0; x < width; ++x) {
            const int a = qAlpha(line[x]);
            const PixelKind kind = a == 0     ? PixelKind::Clear
                                   : a == 255 ? PixelKind::Opaque
                                              : PixelKind::Blend;
            if (!raw.empty() && raw.back().kind == kind)
                ++raw.back().length;
            else
                raw.push_back({x, 1, kind});
        }
        for (size_t i = 0; i < raw.size(); ++i) {
            Raw& r = raw[i];
            const bool inside = i > 0 && i + 1 < raw.size();
            if (r.kind == PixelKind::Opaque && r.length < kMinOpaqueRun)
                r.kind = PixelKind::Blend;
            else if (r.kind == PixelKind::Clear && inside && r.length < kMinClearGap)
                r.kind = PixelKind::Blend;
        }
        opaque = opaque && raw.size() == 1 && raw.front().kind == PixelKind::Opaque;
        hardEdges = hardEdges && std::none_of(raw.begin(), raw.end(), [](const Raw& r) {
                        return r.kind == PixelKind::Blend;
                    });
        for (const Raw& r : raw) {
            if (r.kind == PixelKind::Clear) continue;
            const bool opaque = r.kind == PixelKind::Opaque;
            auto& runs = picture.runs;
            if (int32_t(runs.size()) > picture.rowStart[y] && !opaque && !runs.back().opaque &&
                runs.back().x + runs.back().length == r.x)
                runs.back().length += r.length;
            else
                runs.push_back({r.x, r.length, opaque});
        }
    }
    picture.rowStart[image.height()] = int32_t(picture.runs.size());
    picture.opaque = opaque && image.width() > 0 && image.height() > 0;
    picture.hardEdges = hardEdges;
    picture.visible = {};
    const int tile = 1 << picture.tileShift;
    picture.tileRowsPerPhase = (image.height() + tile - 1) / tile + 1;
    picture.tileRowSpans.assign(size_t(tile * picture.tileRowsPerPhase), {});
    picture.tileRowSolidSpans.assign(size_t(tile * picture.tileRowsPerPhase), {});
    // Each row's longest opaque run; a tile row is solid where all its rows' runs overlap.
    std::vector<SpritePicture::Span> solidRow(size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        for (int i = picture.rowStart[y]; i < picture.rowStart[y + 1]; ++i) {
            const SpritePicture::Run& run = picture.runs[size_t(i)];
            SpritePicture::Span& longest = solidRow[size_t(y)];
            if (run.opaque && run.length > longest.right + 1 - longest.left)
                longest = {run.x, run.x + run.length - 1};
        }
    }
    for (int phase = 0; phase < tile; ++phase) {
        for (int band = 0; band < picture.tileRowsPerPhase; ++band) {
            const int top = band * tile - phase;
            if (top < 0 || top + tile > image.height()) continue;
            SpritePicture::Span solid = solidRow[size_t(top)];
            for (int y = top + 1; y < top + tile; ++y) {
                solid.left = std::max(solid.left, solidRow[size_t(y)].left);
                solid.right = std::min(solid.right, solidRow[size_t(y)].right);
            }
            picture.tileRowSolidSpans[size_t(phase * picture.tileRowsPerPhase + band)] = solid;
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        const int first = picture.rowStart[y];
        const int last = picture.rowStart[y + 1] - 1;
        if (first > last) continue;
        const SpritePicture::Run& end = picture.runs[size_t(last)];
        const int left = picture.runs[size_t(first)].x;
        const int right = end.x + end.length - 1;
        picture.visible |= QRect(left, y, right + 1 - left, 1);
        for (int phase = 0; phase < tile; ++phase) {
            SpritePicture::Span& span =
                picture
                    .tileRowSpans[size_t(phase * picture.tileRowsPerPhase + (y + phase) / tile)];
            if (span.left > span.right) {
                span = {left, right};
            } else {
                span.left = std::min(span.left, left);
                span.right = std::max(span.right, right);
            }
        }
    }
}

}  // namespace

std::shared_ptr<const SpritePicture> SpritePicture::prepare(QImage decoded, int transparency,
                                                            int tileShift, int left) {
    if (decoded.isNull()) return nullptr;
    QImage image = keyedPicture(std::move(decoded), transparency);
    if (image.isNull()) return nullptr;
    auto picture = std::make_shared<SpritePicture>();
    picture->image = std::move(image);
    picture->pixels = reinterpret_cast<const uint32_t*>(picture->image.constBits());
    picture->stride = picture->image.bytesPerLine() / 4;
    picture->width = picture->image.width();
    picture->height = picture->image.height();
    picture->tileShift = tileShift;
    picture->left = left;
    buildRuns(*picture);
    return picture;
}

bool SpritePicture::visibleAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return false;
    return qAlpha(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]) != 0;
}

void blitPicture(const SpritePicture& picture, const PixelTarget& target, int x, int y,
                 const QRect& clip) {
    // Rows and columns of the picture that land inside the clip and the target.
    const int x0 = std::max({0, clip.left() - x, -x});
    const int x1 = std::min({picture.width, clip.right() + 1 - x, target.width - x});
    const int y0 = std::max({0, clip.top() - y, -y});
    const int y1 = std::min({picture.height, clip.bottom() + 1 - y, target.height - y});
    if (x0 >= x1 || y0 >= y1) return;
    const uint32_t* src = picture.pixels + y0 * picture.stride;
    uint32_t* dst = target.pixels + (y + y0) * target.stride + x;
    const SpritePicture::Run* const runs = picture.runs.data();
    const int32_t* rowStart = picture.rowStart.data();
    for (int row = y0; row < y1; ++row, src += picture.stride, dst += target.stride) {
        const SpritePicture::Run* run = runs + rowStart[row];
        const SpritePicture::Run* const end = runs + rowStart[row + 1];
        while (run != end && run->x + run->length <= x0) ++run;  // left of the clip
        for (; run != end && run->x < x1; ++run) {
            const int from = std::max(run->x, x0);
            const int to = std::min(run->x + run->length, x1);
            if (run->opaque) {
                std::memcpy(dst + from, src + from, size_t(to - from) * 4);
            } else if (to - from >= 4) {
                blendRun(src + from, dst + from, to - from);
            } else {
                blendShortRun(src, dst, from, to, x0, x1);
            }
        }
    }
}

QRect frameRectFor(QSize size, QSize frame) {
    if (size.isEmpty() || frame.isEmpty()) return {};
    // The widest rectangle of the frame's proportions that fits, in whole pixels.
    int width = size.width();
    int height = int(int64_t(width) * frame.height() / frame.width());
    if (height > size.height()) {
        height = size.height();
        width = int(int64_t(height) * frame.width() / frame.height());
    }
    // A wide frame of the window's shape but for rounding (600 lines high, say 1067 x 600 for
    // 1920 x 1080) fills it rather than leave a line black.
    constexpr int kSnap = 2;
    const bool wide = int64_t(frame.width()) * 3 > int64_t(frame.height()) * 4;
    if (wide && size.width() - width <= kSnap && size.height() - height <= kSnap)
        return {{0, 0}, size};
    return {(size.width() - width) / 2, (size.height() - height) / 2, width, height};
}

QRect sceneRectFor(QSize size) {
    return frameRectFor(size, QSize(SpriteCompositor::kWidth, SpriteCompositor::kHeight));
}

QPoint mapToFrame(QPoint windowPoint, QSize windowSize, const FrameShape& frame) {
    const QRect shown = frameRectFor(windowSize, frame.size);
    if (shown.isEmpty()) return {};
    auto floorDiv = [](int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    // The frame pixel under the point, then the scene unit that pixel belongs to.
    const int64_t column =
        floorDiv(int64_t(windowPoint.x() - shown.x()) * frame.size.width(), shown.width());
    const int64_t row =
        floorDiv(int64_t(windowPoint.y() - shown.y()) * frame.size.height(), shown.height());
    if (frame.scale == 1.0) return {int(column - frame.blockColumn()), int(row)};
    return {int(std::floor((column - frame.blockColumn()) / frame.scale)),
            int(std::floor(row / frame.scale))};
}

SpriteCompositor::SpriteCompositor(Clock clock)
    : clock_(std::move(clock)), frame_(kWidth, kHeight, QImage::Format_RGB32) {
    if (!clock_) {
        clock_ = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
    }
    reset();
}

void SpriteCompositor::setShape(const FrameShape& frame) {
    takeShape(frame);
    frame_ = QImage(grid_.width, grid_.height, QImage::Format_RGB32);
    reset();
}

void SpriteCompositor::takeShape(const FrameShape& frame) {
    shape_ = frame;
    if (frame.scale < 1.0 || frame.scale > kMaxScale || frame.size.isEmpty()) {
        // Out of range: the wide frame of the nearest scale allowed, of the same proportions.
        const double aspect = frame.size.isEmpty()
                                  ? 4.0 / 3.0
                                  : double(frame.size.width()) / frame.size.height();
        const double scale = std::clamp(frame.scale, 1.0, kMaxScale);
        shape_ = FrameShape::across(int(std::lround(kHeight * scale)), aspect);
    }
    scale_ = shape_.scale;
    blockColumn_ = shape_.blockColumn();
    grid_ = TileGrid::forFrame(shape_.size);
    underlayPixels_.clear();
    underlayPixels_.shrink_to_fit();
}

void SpriteCompositor::reset() {
    changed_ = DirtyTiles(grid_);
    surfaces_.clear();
    cache_.clear();
    pending_.clear();
    pendingCovers_ = false;
    composed_.clear();
    composedValid_ = false;
    retiring_.clear();
    retired_.clear();
    clear(rgb(0, 0, 0));
}

SurfaceId SpriteCompositor::newSurface() {
    surfaces_.emplace_back();
    surfaces_.back().shownSinceMs = now();
    return SurfaceId(surfaces_.size());
}

bool SpriteCompositor::exists(SurfaceId surface) const { return find(surface) != nullptr; }

namespace {

PendingPicture ready(std::shared_ptr<const SpritePicture> picture) {
    if (!picture) return {};
    std::promise<std::shared_ptr<const SpritePicture>> promise;
    promise.set_value(std::move(picture));
    return promise.get_future().share();
}

}  // namespace

// Decoding the aquarium's few hundred pictures is most of its start-up time, so BMP files,
// whose headers tell in advance whether they will decode, are decoded on the other cores
// while this one reads the next files; the first frames of animations come before the rest.
// Other formats are decoded here and now. Whether a file can be used is known on return.
// At a scale above 1, and for a backdrop, the pictures are made on the other cores too: read
// from the crisp file when there is one, else enlarged or fitted from the file's own pixels.
PendingPicture SpriteCompositor::startLoading(const PictureFile& file, bool firstFrame) const {
    QByteArray data;
    if (!PictureLoader::readSmallRegularFile(file.path, &data, nullptr)) return {};
    const bool bmp = data.startsWith("BM");
    if (bmp && !PictureLoader::bmpWillDecode(data)) return {};
    QImage decodedHere;
    if (!bmp) {
        decodedHere = PictureLoader::decode(data);
        if (decodedHere.isNull()) return {};
    }
    const int tileShift = grid_.shift;
    std::function<std::shared_ptr<const SpritePicture>()> make;
    if (scale_ == 1.0 && !file.backdrop && !(file.glass && shape_.wide())) {
        if (!bmp) return ready(SpritePicture::prepare(decodedHere, file.transparency, tileShift));
        make = [data, transparency = file.transparency, tileShift] {
            return SpritePicture::prepare(PictureLoader::decodeBmp(data), transparency, tileShift);
        };
    } else {
        const QString crisp = crispSource_ ? crispSource_(file.path) : QString();
        make = [data, decodedHere, file, crisp, shape = shape_, tileShift] {
            // The crisp picture's size is checked against the file's (its header says it).
            QSize ownSize = decodedHere.size();
            if (ownSize.isEmpty()) {
                QByteArray header = data;
                QBuffer buffer(&header);
                ownSize = QImageReader(&buffer, "bmp").size();
            }
            QImage picture = pictureAtScale(file, shape, crisp, ownSize, [&] {
                return decodedHere.isNull() ? PictureLoader::decodeBmp(data) : decodedHere;
            });
            return SpritePicture::prepareFor(file, shape, std::move(picture), tileShift);
        };
    }
    auto promise = std::make_shared<std::promise<std::shared_ptr<const SpritePicture>>>();
    PendingPicture picture = promise->get_future().share();
    QThreadPool::globalInstance()->start(
        [promise, make = std::move(make)] {
            std::shared_ptr<const SpritePicture> decoded;
            try {
                decoded = make();
            } catch (...) {  // out of memory: the picture draws nothing
            }
            promise->set_value(std::move(decoded));
        },
        firstFrame ? 1 : 0);  // what the first frames show comes first
    return picture;
}

bool SpriteCompositor::storeFrame(Surface& s, int frame, PendingPicture picture) {
    if (!picture.valid()) return false;
    if (s.frames.size() < size_t(frame)) s.frames.resize(size_t(frame));
    PendingPicture& stored = s.frames[size_t(frame) - 1];
    if (stored.valid()) retiring_.push_back(std::move(stored));
    stored = std::move(picture);
    s.shownKnown = false;
    s.frameCount = std::max(s.frameCount, frame);
    return true;
}

bool SpriteCompositor::loadFrame(SurfaceId surface, int frame, const QString& path,
                                 int transparency) {
    return loadFile(surface, frame, PictureFile{path, transparency, false});
}

bool SpriteCompositor::loadBackdrop(SurfaceId surface, const QString& path) {
    return loadFile(surface, 1, PictureFile{path, kOpaque, true});
}

bool SpriteCompositor::loadGlass(SurfaceId surface, const QString& path) {
    return loadFile(surface, 1, PictureFile{path, kTransparent, false, true});
}

bool SpriteCompositor::loadFile(SurfaceId surface, int frame, const PictureFile& file) {
    Surface* s = find(surface);
    if (!s || frame < 1 || frame > kMaxFrames || file.path.isEmpty()) return false;
    const QString key = QFileInfo(file.path).absoluteFilePath() + QLatin1Char('\n') +
                        QString::number(file.transparency) +
                        (file.backdrop ? QStringLiteral("\nbackdrop") : QString()) +
                        (file.glass ? QStringLiteral("\nglass") : QString());
    auto cached = cache_.constFind(key);
    if (cached == cache_.constEnd()) {
        // Failures are remembered too: four hundred surfaces asking for one broken file
        // read it once.
        cached = cache_.insert(key, CachedFile{startLoading(file, frame == 1), file});
    }
    return storeFrame(*s, frame, cached->picture);
}

std::vector<SpriteCompositor::LoadedFile> SpriteCompositor::loadedFiles() const {
    std::vector<LoadedFile> files;
    for (auto at = cache_.constBegin(); at != cache_.constEnd(); ++at) {
        if (at->picture.valid()) files.push_back({at.key(), at->file, at->picture});
    }
    return files;
}

void SpriteCompositor::changeShape(
    const FrameShape& frame, const QHash<QString, std::shared_ptr<const SpritePicture>>& pictures) {
    compose();
    const double before = scale_;
    takeShape(frame);
    frame_ = frame_.scaled(grid_.width, grid_.height, Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation)
                 .convertToFormat(QImage::Format_RGB32);
    // Each picture's replacement, by the picture it replaces.
    QHash<const SpritePicture*, PendingPicture> replacements;
    for (auto at = cache_.begin(); at != cache_.end(); ++at) {
        const SpritePicture* old = at->picture.valid() ? at->picture.get().get() : nullptr;
        if (!old) continue;
        const auto made = pictures.constFind(at.key());
        if (made != pictures.constEnd() && *made && (*made)->tileShift == grid_.shift)
            at->picture = ready(*made);
        replacements.insert(old, at->picture);
    }
    for (Surface& s : surfaces_) {
        for (PendingPicture& frame : s.frames) {
            const SpritePicture* old = frame.valid() ? frame.get().get() : nullptr;
            if (!old) continue;
            auto replacement = replacements.constFind(old);
            if (replacement == replacements.constEnd() || replacement->get().get() == old) {
                // Not from a file, or its file gave nothing at the new scale.
                const QImage enlarged = enlargedPicture(old->image, scale_ / before);
                // A picture across the old frame reaches as far left in the new one.
                const int left = old->left > 0 ? blockColumn_ : 0;
                replacement = replacements.insert(
                    old, ready(SpritePicture::prepareKeyed(enlarged, grid_.shift, left)));
            }
            frame = *replacement;
        }
        s.shown = nullptr;
        s.shownKnown = false;
    }
    for (auto at = cache_.begin(); at != cache_.end(); ++at) {
        if (!at->picture.valid() || !at->picture.get()) continue;
        const auto replacement = replacements.constFind(at->picture.get().get());
        if (replacement != replacements.constEnd()) at->picture = *replacement;
    }
    composed_.clear();
    composedValid_ = false;
    retiring_.clear();
    retired_.clear();
    fonts_.clear();
    font_ = -1;
    if (fontRequest_) {
        const FontRequest again = *fontRequest_;
        setTextFont(again.face, again.points, again.weight, again.italic, again.underline,
                    again.strikeOut);
    }
    changed_ = DirtyTiles(grid_);
    changed_.markAll();
}

bool SpriteCompositor::setFrameImage(SurfaceId surface, int frame, const QImage& image,
                                     int transparency) {
    Surface* s = find(surface);
    if (!s || frame < 1 || frame > kMaxFrames) return false;
    return storeFrame(*s, frame,
                      ready(SpritePicture::prepare(image, transparency, grid_.shift)));
}

void SpriteCompositor::setX(SurfaceId surface, int16_t x) {
    if (Surface* s = find(surface)) s->x = x;
}

void SpriteCompositor::setY(SurfaceId surface, int16_t y) {
    if (Surface* s = find(surface)) s->y = y;
}

int16_t SpriteCompositor::x(SurfaceId surface) const {
    const Surface* s = find(surface);
    return s ? s->x : 0;
}

int16_t SpriteCompositor::y(SurfaceId surface) const {
    const Surface* s = find(surface);
    return s ? s->y : 0;
}

void SpriteCompositor::moveX(SurfaceId surface, int16_t dx) {
    if (Surface* s = find(surface)) s->x = saturate16(int(s->x) + dx);
}

void SpriteCompositor::moveUp(SurfaceId surface, int16_t dy) {
    if (Surface* s = find(surface)) s->y = saturate16(int(s->y) - dy);
}

void SpriteCompositor::setCurrentFrame(SurfaceId surface, int frame) {
    if (Surface* s = find(surface)) {
        s->current = frame;
        s->shownKnown = false;
        s->shownSinceMs = now();
    }
}

int SpriteCompositor::currentFrame(SurfaceId surface) const {
    const Surface* s = find(surface);
    return s ? s->current : 0;
}

int SpriteCompositor::frameCount(SurfaceId surface) const {
    const Surface* s = find(surface);
    return s ? s->frameCount : 0;
}

void SpriteCompositor::setFrameDelay(SurfaceId surface, int milliseconds) {
    if (Surface* s = find(surface)) {
        s->delayMs = std::max(0, milliseconds);
        s->shownSinceMs = now();
    }
}

bool SpriteCompositor::isFrameDue(SurfaceId surface) const {
    const Surface* s = find(surface);
    if (!s) return false;
    return s->delayMs <= 0 || now() - s->shownSinceMs >= s->delayMs;
}

void SpriteCompositor::advanceFrame(SurfaceId surface) {
    Surface* s = find(surface);
    if (!s) return;
    if (s->frameCount > 0) {
        s->current = (s->current >= 1 && s->current < s->frameCount) ? s->current + 1 : 1;
        s->shownKnown = false;
    }
    // Keep the cadence of the delay even though frames are only polled once per render,
    // but never try to catch up on a long pause.
    const int64_t t = now();
    s->shownSinceMs += s->delayMs;
    if (s->delayMs <= 0 || t - s->shownSinceMs >= s->delayMs || s->shownSinceMs > t)
        s->shownSinceMs = t;
}

const SpritePicture* SpriteCompositor::currentPicture(const Surface& s) const {
    if (s.current < 1 || size_t(s.current) > s.frames.size()) return nullptr;
    const PendingPicture& picture = s.frames[size_t(s.current) - 1];
    return picture.valid() ? picture.get().get() : nullptr;
}

const SpritePicture* SpriteCompositor::shownPicture(Surface& s) {
    if (!s.shownKnown) {
        s.shown = currentPicture(s);
        s.shownKnown = true;
    }
    return s.shown;
}

void SpriteCompositor::clear(Rgb colour) {
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.bounds = frame_.rect();
    op.colour = toQRgb(colour);
    record(std::move(op), true);
}

void SpriteCompositor::draw(SurfaceId surface) {
    Surface* s = find(surface);
    if (!s) return;
    const SpritePicture* picture = shownPicture(*s);
    if (!picture) return;
    // The picture's drawn pixels, clipped to the frame (plain arithmetic: this runs for every
    // sprite of every frame).
    const QRect& visible = picture->visible;
    const int x = toColumn(s->x) - picture->left;
    const int y = toPixels(s->y);
    const int left = std::max(0, x + visible.left());
    const int top = std::max(0, y + visible.top());
    const int right = std::min(grid_.width - 1, x + visible.right());
    const int bottom = std::min(grid_.height - 1, y + visible.bottom());
    if (left > right || top > bottom || visible.isEmpty()) return;
    DrawOp op;
    op.kind = DrawOp::Kind::Picture;
    op.bounds = QRect(QPoint(left, top), QPoint(right, bottom));
    op.picture = picture;
    op.at = QPoint(x, y);
    // An opaque picture's visible rectangle is the whole picture.
    const bool coversFrame = picture->opaque && x + visible.left() <= 0 &&
                             y + visible.top() <= 0 && x + visible.right() >= grid_.width - 1 &&
                             y + visible.bottom() >= grid_.height - 1;
    record(std::move(op), coversFrame);
}

void SpriteCompositor::record(DrawOp op, bool coversFrame) {
    if (coversFrame) {
        pending_.clear();
        pendingCovers_ = true;
    }
    pending_.push_back(std::move(op));
}

namespace {

// Draws recorded on top of a frame without starting a new one are kept up to this many; past
// it the frame is painted directly until the next new frame.
constexpr size_t kMaxRecordedDraws = 20000;

}  // namespace

namespace {

// Where a picture's top row falls among tile rows: the tile row (rounded down also above the
// frame) and the row within it.
struct TilePlacement {
    int topTileRow;
    int phase;
};

TilePlacement tilePlacement(int y, int shift) {
    const int topTileRow = y >> shift;  // rounds down, also above the frame
    return {topTileRow, y - (topTileRow << shift)};
}

// The tile columns that frame columns left..right (inside the frame) cover whole.
TileColumns wholeTileColumns(int left, int right, int shift) {
    if (left > right) return {};
    const int first = (left + (1 << shift) - 1) >> shift;
    const int last = ((right + 1) >> shift) - 1;
    return first <= last ? TileColumns::span(first, last) : TileColumns();
}

}  // namespace

// Calls f(tile row, columns) for the tiles where a draw may change pixels. A picture gives, in
// each tile row, the columns its drawn pixels reach there, not its whole rectangle: the tiles in
// the corners around a fish stay untouched when it swims.
template <typename F>
void SpriteCompositor::forEachTileOf(const DrawOp& op, F&& f) const {
    if (op.kind != DrawOp::Kind::Picture) {
        DirtyTiles::forEachRowOf(grid_, op.bounds, f);
        return;
    }
    const int shift = grid_.shift;
    const SpritePicture& picture = *op.picture;
    const TilePlacement place = tilePlacement(op.at.y(), shift);
    const SpritePicture::Span* spans =
        &picture.tileRowSpans[size_t(place.phase * picture.tileRowsPerPhase)];
    const int first = std::max(0, (op.bounds.top() >> shift) - place.topTileRow);
    const int last =
        std::min(picture.tileRowsPerPhase - 1, (op.bounds.bottom() >> shift) - place.topTileRow);
    for (int band = first; band <= last; ++band) {
        const SpritePicture::Span& span = spans[band];
        const int left = std::max(op.bounds.left(), op.at.x() + span.left);
        const int right = std::min(op.bounds.right(), op.at.x() + span.right);
        if (left <= right)
            f(place.topTileRow + band, TileColumns::span(left >> shift, right >> shift));
    }
}

TileColumns SpriteCompositor::solidColumns(const DrawOp& op, int row) const {
    const int shift = grid_.shift;
    if (op.kind == DrawOp::Kind::Fill) {
        const bool wholeRow =
            op.bounds.top() <= row << shift &&
            op.bounds.bottom() >= std::min(grid_.height, (row + 1) << shift) - 1;
        return wholeRow ? wholeTileColumns(op.bounds.left(), op.bounds.right(), shift)
                        : TileColumns();
    }
    if (op.kind != DrawOp::Kind::Picture) return {};
    const SpritePicture& picture = *op.picture;
    const TilePlacement place = tilePlacement(op.at.y(), shift);
    const int band = row - place.topTileRow;
    if (band < 0 || band >= picture.tileRowsPerPhase) return {};
    const SpritePicture::Span& span =
        picture.tileRowSolidSpans[size_t(place.phase * picture.tileRowsPerPhase + band)];
    return wholeTileColumns(std::max(0, op.at.x() + span.left),
                            std::min(grid_.width - 1, op.at.x() + span.right), shift);
}

// The draws of two frames are lined up in order, allowing for draws that are new, gone or
// changed; every draw without an equal partner marks its pixels. A tile no draw marked then
// gets the same draws in the same order in both frames, so its pixels stay as they are.
// A marked tile also learns how many draws of the new frame lie below its first change (its
// layers up to there are as they were), and each old draw where it went in the new frame.
// Says whether a draw is new or gone: the indices of the draws above it moved.
bool SpriteCompositor::markDifferences(const std::vector<DrawOp>& before,
                                       const std::vector<DrawOp>& after, DirtyTiles& dirty) {
    // Draws are marked in the new frame's order, so a tile's first marking is its first change.
    auto markChanged = [&](const DrawOp& op, size_t level) {
        forEachTileOf(op, [&](int row, const TileColumns& columns) {
            columns.without(dirty.columns(row)).forEach([&](int fresh) {
                firstChange_[size_t(row)][size_t(fresh)] = int32_t(level);
            });
            dirty.markColumns(row, columns);
        });
    };
    // A draw gone from the new frame changes its tiles from the bottom up: the layers kept
    // there may hold it.
    DirtyTiles gone(grid_);
    auto markGone = [&](size_t i, size_t j) {
        newIndexOf_[i] = int32_t(j);
        forEachTileOf(before[i],
                      [&](int row, const TileColumns& columns) { gone.markColumns(row, columns); });
    };
    // The same picture, text or fill, wherever it is.
    auto sameThing = [](const DrawOp& a, const DrawOp& b) {
        return a.kind == b.kind && a.picture == b.picture && a.font == b.font &&
               a.colour == b.colour && a.text == b.text;
    };
    newIndexOf_.assign(before.size() + 1, 0);
    bool renumbered = before.size() != after.size();
    constexpr size_t kLookAhead = 8;
    size_t i = 0;
    size_t j = 0;
    while (i < before.size() && j < after.size()) {
        if (sameThing(before[i], after[j])) {
            if (!(before[i] == after[j])) {
                markChanged(before[i], j);
                markChanged(after[j], j);
            }
            newIndexOf_[i++] = int32_t(j++);
            continue;
        }
        // A few draws new in this frame, or gone from it?
        size_t skip = 1;
        for (; skip <= kLookAhead; ++skip) {
            if (j + skip < after.size() && sameThing(before[i], after[j + skip])) break;
            if (i + skip < before.size() && sameThing(before[i + skip], after[j])) break;
        }
        if (skip > kLookAhead) {  // something else in its place
            markChanged(before[i], j);
            markChanged(after[j], j);
            newIndexOf_[i++] = int32_t(j++);
        } else if (j + skip < after.size() && sameThing(before[i], after[j + skip])) {
            for (; skip > 0; --skip, ++j) markChanged(after[j], j);
            renumbered = true;
        } else {
            for (; skip > 0; --skip) markGone(i++, j);
            renumbered = true;
        }
    }
    for (; i < before.size(); ++i) markGone(i, j);
    newIndexOf_.back() = int32_t(j);  // draws new at the end lie above everything kept
    for (; j < after.size(); ++j) markChanged(after[j], j);
    for (int row = 0; row < grid_.rows(); ++row) {
        const TileColumns& columns = gone.columns(row);
        dirty.markColumns(row, columns);
        columns.forEach([&](int column) { firstChange_[size_t(row)][size_t(column)] = 0; });
    }
    return renumbered;
}

// What is kept under each tile, renumbered for the new frame's draws and dropped where one of
// the draws it holds changed.
void SpriteCompositor::carryUnderlays(const DirtyTiles& dirty, bool renumbered) {
    if (renumbered) {
        const auto oldDraws = int32_t(newIndexOf_.size() - 1);
        // Only the grid's tiles: the others are never looked at, and all are cleared before a
        // frame of another grid is compared.
        for (int row = 0; row < grid_.rows(); ++row) {
            for (int column = 0; column < grid_.columns(); ++column) {
                int32_t& level = underlayLevel_[size_t(row)][size_t(column)];
                level = level <= oldDraws ? newIndexOf_[size_t(level)] : 0;
            }
        }
    }
    for (int row = 0; row < grid_.rows(); ++row) {
        dirty.columns(row).forEach([&](int column) {
            int32_t& level = underlayLevel_[size_t(row)][size_t(column)];
            if (level > firstChange_[size_t(row)][size_t(column)]) level = 0;
        });
    }
}

void SpriteCompositor::compose() {
    if (pending_.empty()) return;
    canvas_ = {reinterpret_cast<uint32_t*>(frame_.bits()), frame_.bytesPerLine() / 4, grid_.width,
               grid_.height};
    DirtyTiles dirty(grid_);
    if (pendingCovers_) {
        if (composedValid_) {
            carryUnderlays(dirty, markDifferences(composed_, pending_, dirty));
        } else {
            dirty.markAll();
            for (auto& row : firstChange_) row.fill(0);
            for (auto& row : underlayLevel_) row.fill(0);
        }
        composed_.swap(pending_);
        composedValid_ = true;
        // Pictures retired before the last frame was recorded: no kept draw can use them.
        retired_.clear();
        retired_.swap(retiring_);
        // A few tile rows at a time, and in them draw by draw over the changed tiles each
        // shows in: every pixel still gets its draws in order, and the slab of the frame
        // (200 KB) stays in the processor's cache while layer after layer goes over it.
        std::array<bool, kMaxSlabs> slabChanged{};
        for (int slab = 0; slab < slabs(); ++slab) {
            slabChanged[size_t(slab)] = dirty.anyIn(
                slab * kSlabRows, std::min(grid_.rows(), (slab + 1) * kSlabRows) - 1);
            drawsBySlab_[size_t(slab)].clear();
        }
        for (const DrawOp& op : composed_) {
            const int last = (op.bounds.bottom() >> grid_.shift) / kSlabRows;
            for (int slab = (op.bounds.top() >> grid_.shift) / kSlabRows; slab <= last; ++slab) {
                if (slabChanged[size_t(slab)]) drawsBySlab_[size_t(slab)].push_back(&op);
            }
        }
        for (int slab = 0; slab < slabs(); ++slab) {
            if (slabChanged[size_t(slab)]) paintSlab(dirty, slab);
        }
    } else {
        // Drawn over the last frame.
        for (DrawOp& op : pending_) {
            if (!composedValid_ || !alreadyOnTop(op)) {
                dirty.mark(op.bounds);
                paintOp(op, op.bounds);
            }
            if (composed_.size() >= kMaxRecordedDraws) composedValid_ = false;
            if (composedValid_) composed_.push_back(std::move(op));
        }
    }
    pending_.clear();
    pendingCovers_ = false;
    if (!composedValid_) {  // no recorded draw is looked at again
        retiring_.clear();
        retired_.clear();
    }
    changed_.add(dirty);
}

// Adds a tile to the list, to the tiles at `level` in tile row `row` if the last entries hold
// them.
void SpriteCompositor::addTile(std::vector<TileLevel>& list, int32_t level, int row, int column) {
    const TileColumns bit = TileColumns::single(column);
    for (auto at = list.rbegin(); at != list.rend() && at->row == row; ++at) {
        if (at->level == level) {
            at->columns |= bit;
            return;
        }
    }
    list.push_back({level, row, bit});
}

// The draws are gone through from the top down first, so that a tile an opaque draw covers
// whole gets nothing from the draws under it (the water under a rock, a rock under a fish),
// nor does a tile that starts from its kept layers; then each draw paints, in order, the tiles
// it still shows in. Tiles painted below their first change keep their layers up to it.
void SpriteCompositor::paintSlab(const DirtyTiles& dirty, int slab) {
    const int firstRow = slab * kSlabRows;
    const int lastRow = std::min(grid_.rows(), firstRow + kSlabRows) - 1;
    SlabColumns open{};  // marked tiles not yet hidden by the draws above
    bool anyOpen = false;
    restores_.clear();
    keeps_.clear();
    for (int row = firstRow; row <= lastRow; ++row) {
        open[size_t(row - firstRow)] = dirty.columns(row);
        anyOpen = anyOpen || dirty.columns(row).any();
        dirty.columns(row).forEach([&](int column) {
            const int32_t kept = underlayLevel_[size_t(row)][size_t(column)];
            const int32_t change = firstChange_[size_t(row)][size_t(column)];
            if (kept > 0) addTile(restores_, kept, row, column);
            if (change > kept) addTile(keeps_, change, row, column);
        });
    }
    auto higherFirst = [](const TileLevel& a, const TileLevel& b) { return a.level > b.level; };
    std::sort(restores_.begin(), restores_.end(), higherFirst);
    std::sort(keeps_.begin(), keeps_.end(), higherFirst);
    // Called as the pass reaches draw number `index`: the tiles whose first change lies above
    // it are painted below their change (if still open), the tiles whose kept layers lie
    // above it start from those.
    auto nextKeep = keeps_.begin();
    auto nextRestore = restores_.begin();
    auto passDownTo = [&](int32_t index) {
        for (; nextKeep != keeps_.end() && nextKeep->level > index; ++nextKeep)
            nextKeep->columns &= open[size_t(nextKeep->row - firstRow)];
        bool closed = false;
        for (; nextRestore != restores_.end() && nextRestore->level > index; ++nextRestore) {
            TileColumns& columns = open[size_t(nextRestore->row - firstRow)];
            nextRestore->columns &= columns;
            columns = columns.without(nextRestore->columns);
            closed = true;
        }
        if (closed)
            anyOpen =
                std::any_of(open.begin(), open.end(), [](const TileColumns& c) { return c.any(); });
    };
    slabDraws_.clear();
    const std::vector<const DrawOp*>& draws = drawsBySlab_[size_t(slab)];
    for (auto at = draws.rbegin(); at != draws.rend(); ++at) {
        const DrawOp* op = *at;
        passDownTo(int32_t(op - composed_.data()));
        if (!anyOpen) break;
        const int shift = grid_.shift;
        const int top = std::max(firstRow, op->bounds.top() >> shift);
        const int bottom = std::min(lastRow, op->bounds.bottom() >> shift);
        const TileColumns reach =
            TileColumns::span(op->bounds.left() >> shift, op->bounds.right() >> shift);
        SlabDraw draw{op, {}};
        bool shows = false;
        for (int row = top; row <= bottom; ++row) {
            draw.columns[size_t(row - firstRow)] = open[size_t(row - firstRow)] & reach;
            shows = shows || draw.columns[size_t(row - firstRow)].any();
        }
        if (!shows) continue;
        slabDraws_.push_back(draw);
        if (op->kind == DrawOp::Kind::Text) continue;
        anyOpen = false;
        for (int row = firstRow; row <= lastRow; ++row) {
            TileColumns& columns = open[size_t(row - firstRow)];
            if (row >= top && row <= bottom) columns = columns.without(solidColumns(*op, row));
            anyOpen = anyOpen || columns.any();
        }
    }
    passDownTo(-1);
    SlabColumns restored{};
    for (const TileLevel& tiles : restores_)
        restored[size_t(tiles.row - firstRow)] |= tiles.columns;
    for (int row = firstRow; row <= lastRow; ++row)
        copyTiles(underlay(), canvas_, row, restored[size_t(row - firstRow)]);
    auto keep = keeps_.rbegin();
    auto keepUpTo = [&](int32_t index) {
        for (; keep != keeps_.rend() && keep->level <= index; ++keep) keepTiles(*keep);
    };
    for (auto draw = slabDraws_.rbegin(); draw != slabDraws_.rend(); ++draw) {
        keepUpTo(int32_t(draw->op - composed_.data()));
        paintTiles(*draw->op, draw->columns, firstRow, lastRow);
    }
    keepUpTo(std::numeric_limits<int32_t>::max());
}

void SpriteCompositor::keepTiles(const TileLevel& tiles) {
    if (!tiles.columns.any()) return;
    if (underlayPixels_.empty()) underlayPixels_.resize(size_t(grid_.width) * grid_.height);
    copyTiles(canvas_, underlay(), tiles.row, tiles.columns);
    tiles.columns.forEach(
        [&](int column) { underlayLevel_[size_t(tiles.row)][size_t(column)] = tiles.level; });
}

void SpriteCompositor::copyTiles(const PixelTarget& from, const PixelTarget& to, int row,
                                 const TileColumns& columns) const {
    const int tile = grid_.tile();
    const int top = row * tile;
    const int bottom = std::min(from.height, top + tile);
    columns.forEachRun([&](int first, int end) {
        const int left = first * tile;
        const size_t bytes = size_t(std::min(from.width, end * tile) - left) * 4;
        for (int y = top; y < bottom; ++y)
            std::memcpy(to.pixels + y * to.stride + left, from.pixels + y * from.stride + left,
                        bytes);
    });
}

void SpriteCompositor::paintTiles(const DrawOp& op, const SlabColumns& columns, int firstRow,
                                  int lastRow) {
    const int tile = grid_.tile();
    // Tile rows with the same columns are painted together.
    static constexpr TileColumns kNone;
    TileColumns open;
    int openFrom = firstRow;
    for (int row = firstRow; row <= lastRow + 1; ++row) {
        const TileColumns& next = row <= lastRow ? columns[size_t(row - firstRow)] : kNone;
        if (next == open) continue;
        open.forEachRun([&](int first, int end) {
            paintOp(op, QRect(first * tile, openFrom * tile, (end - first) * tile,
                              (row - openFrom) * tile));
        });
        open = next;
        openFrom = row;
    }
}

// A picture without soft edges drawn again exactly over itself, with nothing drawn over it
// since, changes no pixel (a notice shown over a frame that is not drawn anew).
bool SpriteCompositor::alreadyOnTop(const DrawOp& op) const {
    if (op.kind != DrawOp::Kind::Picture || !op.picture->hardEdges) return false;
    for (auto later = composed_.rbegin(); later != composed_.rend(); ++later) {
        if (*later == op) return true;
        if (later->bounds.intersects(op.bounds)) return false;
    }
    return false;
}

DirtyTiles SpriteCompositor::takeChanges() {
    compose();
    DirtyTiles changes(grid_);
    std::swap(changes, changed_);
    return changes;
}

void SpriteCompositor::paintOp(const DrawOp& op, const QRect& clip) {
    if (op.kind == DrawOp::Kind::Picture) {
        blitPicture(*op.picture, canvas_, op.at.x(), op.at.y(), clip);
        return;
    }
    const QRect area = op.bounds & clip;
    if (area.isEmpty()) return;
    switch (op.kind) {
        case DrawOp::Kind::Fill:
            if (area == frame_.rect()) {
                frame_.fill(op.colour);
                break;
            }
            for (int y = area.top(); y <= area.bottom(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(frame_.scanLine(y));
                std::fill(line + area.left(), line + area.right() + 1, op.colour);
            }
            break;
        case DrawOp::Kind::Picture:
            break;
        case DrawOp::Kind::Text: {
            QPainter painter(&frame_);
            painter.setClipRect(area);
            painter.setFont(fonts_[size_t(op.font)].font);
            painter.setPen(QColor::fromRgb(op.colour));
            painter.drawText(op.at, op.text);
            break;
        }
    }
}

namespace {

// The em size of a face per pixel of line height, measured once per face.
double emPerLine(const QFont& face) {
    static QHash<QString, double> ratios;
    const auto known = ratios.constFind(face.family());
    if (known != ratios.constEnd()) return *known;
    QFont probe(face);
    probe.setPixelSize(100);
    const int line = QFontMetrics(probe).height();
    const double ratio = line > 0 ? 100.0 / line : 1.0;
    ratios.insert(face.family(), ratio);
    return ratio;
}

}  // namespace

void SpriteCompositor::setTextFont(const QString& face, int points, int weight, bool italic,
                                   bool underline, bool strikeOut) {
    fontRequest_ = FontRequest{face, points, weight, italic, underline, strikeOut};
    QFont font(face.isEmpty() ? QStringLiteral("Arial") : face);
    font.setStyleHint(QFont::SansSerif);
    // The size is the height of a line of text in pixels, as Windows' font creation takes it:
    // the 800 x 600 layout puts lines of size 16 fifteen pixels apart. Qt sizes the em square,
    // which is smaller than a line by the face's ascent and descent.
    const int safeHeight = points <= 0 ? 10 : std::min(points, 500);
    font.setPixelSize(std::max(1, int(std::lround(safeHeight * scale_ * emPerLine(font)))));
    // Windows weights run 1..1000 like Qt's; light weights fall back to the regular face.
    font.setWeight(weight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    requestedFont_ = font;
    font_ = -1;
}

int SpriteCompositor::currentFont() {
    if (font_ >= 0) return font_;
    // The saver sets the same few fonts again every frame: keep each once.
    auto known = std::find_if(fonts_.begin(), fonts_.end(),
                              [&](const Font& f) { return f.font == requestedFont_; });
    if (known == fonts_.end()) {
        known = fonts_.insert(fonts_.end(),
                              Font{requestedFont_, QFontMetrics(requestedFont_).ascent(), {}});
    }
    font_ = int(known - fonts_.begin());
    return font_;
}

void SpriteCompositor::drawText(const QString& text, int x, int y, Rgb colour) {
    if (text.isEmpty()) return;
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.font = currentFont();
    Font& font = fonts_[size_t(op.font)];
    // (x, y) is the top-left corner of the text, as Windows places it.
    op.at = QPoint(toColumn(x), toPixels(y) + font.ascent);
    auto measured = font.textBounds.constFind(text);
    if (measured == font.textBounds.constEnd()) {
        if (font.textBounds.size() > 1000) font.textBounds.clear();  // a clock makes many
        const QFontMetrics metrics(font.font);
        // The ink, and the whole line box for underlines; a margin for anti-aliasing.
        const QRect ink = metrics.boundingRect(text);
        const QRect line(0, -font.ascent, metrics.horizontalAdvance(text), metrics.height());
        const int margin = 2 + metrics.height() / 8;
        measured =
            font.textBounds.insert(text, (ink | line).adjusted(-margin, -margin, margin, margin));
    }
    op.bounds = measured.value().translated(op.at) & frame_.rect();
    if (op.bounds.isEmpty()) return;
    op.colour = toQRgb(colour);
    op.text = text;
    record(std::move(op), false);
}

bool SpriteCompositor::isPointOver(SurfaceId surface, QPoint framePoint) const {
    const Surface* s = find(surface);
    if (!s) return false;
    const SpritePicture* picture = currentPicture(*s);
    if (!picture) return false;
    // The frame pixel at the middle of the scene unit (the unit itself at scale 1).
    auto pixelOf = [this](int units) { return int(std::floor((units + 0.5) * scale_)); };
    return picture->visibleAt(pixelOf(framePoint.x()) - toPixels(s->x) + picture->left,
                              pixelOf(framePoint.y()) - toPixels(s->y));
}

}  // namespace bw
