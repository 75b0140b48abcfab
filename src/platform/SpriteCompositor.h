#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include "platform/DirtyTiles.h"
#include "platform/ScaledPictures.h"
#include "scene/DrawingComponent.h"
#include "settings/FrameShape.h"

namespace bw {

// A decoded frame ready to draw: premultiplied pixels (or plain RGB32 when opaque) and, per
// row, the runs that are fully opaque (copied) or partly transparent (blended). Fully
// transparent pixels belong to no run and cost nothing.
struct SpritePicture {
    struct Run {
        int32_t x;
        int32_t length;
        bool opaque;
    };
    QImage image;
    // The image's pixels, kept at hand: asking QImage costs a call each, for every draw.
    const uint32_t* pixels = nullptr;
    qsizetype stride = 0;  // in pixels
    int width = 0;
    int height = 0;
    // How far the picture reaches left of its surface's place, in pixels: a picture of the
    // glass on a wide frame starts at the frame's left edge while its surface stands at the
    // layout's x = 0.
    int left = 0;
    bool opaque = false;     // no pixel lets anything through
    bool hardEdges = false;  // every pixel is drawn whole or not at all
    QRect visible;           // the smallest rectangle holding every pixel that is drawn
    std::vector<Run> runs;
    std::vector<int32_t> rowStart;  // runs of row y: [rowStart[y], rowStart[y + 1])
    // The columns drawn pixels reach in each tile row the picture covers, for each of the
    // tile size's ways its top row can sit in a tile row (its y modulo the tile size): a moved
    // picture marks just those tiles, not the corners of its rectangle.
    struct Span {
        int32_t left = 1;  // picture columns, inclusive; left > right: nothing drawn
        int32_t right = 0;
    };
    std::vector<Span> tileRowSpans;  // [phase * tileRowsPerPhase + tile row]
    // The same for the columns that are opaque in every row of the tile row: tiles there
    // hide whatever was drawn before.
    std::vector<Span> tileRowSolidSpans;
    int tileRowsPerPhase = 0;
    int tileShift = 4;  // the tile size these are for: 1 << tileShift

    // Transparency -1: the picture's own alpha when it has any, otherwise every pixel of
    // kColourKey becomes transparent. -2: drawn opaque. A value >= 0 is a Windows RGB colour
    // key of its own.
    static constexpr QRgb kColourKey = 0xFFFF00FF;  // pure magenta
    // The tile spans are made for tiles of 1 << tileShift pixels (see TileGrid).
    static std::shared_ptr<const SpritePicture> prepare(QImage decoded, int transparency,
                                                        int tileShift = 4, int left = 0);
    // The same for a picture whose transparency is applied already (see keyedPicture).
    static std::shared_ptr<const SpritePicture> prepareKeyed(QImage keyed, int tileShift,
                                                             int left = 0) {
        const int transparency = keyedTransparency(keyed);
        return prepare(std::move(keyed), transparency, tileShift, left);
    }
    // A picture made for `file` in `frame` (see pictureAtScale), reaching as far left as it
    // should there.
    static std::shared_ptr<const SpritePicture> prepareFor(const PictureFile& file,
                                                           const FrameShape& frame, QImage keyed,
                                                           int tileShift) {
        const int left = reachesLeft(file, frame, keyed.size());
        return prepareKeyed(std::move(keyed), tileShift, left);
    }

    bool visibleAt(int x, int y) const;
};

// The pixels of an RGB32 image being drawn into.
struct PixelTarget {
    uint32_t* pixels = nullptr;
    qsizetype stride = 0;  // in pixels
    int width = 0;
    int height = 0;
};

// A picture that may still be decoding on another core; the first look at it waits.
using PendingPicture = std::shared_future<std::shared_ptr<const SpritePicture>>;

// Where a frame of `frame` pixels sits in a window of `size`: as large as fits with its own
// proportions, centred (black bars fill the rest). A wide frame within two pixels of filling
// the window fills it.
QRect frameRectFor(QSize size, QSize frame);
// The same for the 800 x 600 frame.
QRect sceneRectFor(QSize size);
// A point of the window (pixels) as a point of the scene, in the layout's units; may lie
// outside 0..799 / 0..599.
QPoint mapToFrame(QPoint windowPoint, QSize windowSize, const FrameShape& frame = {});

// Everything of the sprite display that needs no window: surfaces and their frames, the
// shared picture cache, composition of the frame, frame timing and hit tests.
//
// The scene is laid out in 800 x 600 units. The frame is composed at a scale S (1 by default):
// it is round(800 S) x round(600 S) pixels, or wider on a wide screen with the layout in its
// middle (see FrameShape), and every picture, fill and text is placed at its scene position
// times S, rounded, from the layout's left edge; pictures are expected at S already (made at
// that scale), texts are set at their size times S. Positions, moves and hit tests stay in
// scene units. The pictures of the glass (the water, and the walls and floors loaded with
// loadGlass) are as wide as the frame.
//
// Draws are recorded, not painted at once. A frame that starts by covering the whole frame
// (the water, or a clear) is compared draw by draw with the last composed one, and only the
// tiles where they differ are painted again; the result is the same as painting every draw.
// A tile keeps the layers below its first change, so that while a fish swims through it,
// only the fish and what lies above it are painted again.
class SpriteCompositor {
  public:
    // The scene's size, in scene units.
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    static constexpr int kMaxFrames = 1024;
    // Scales from 1 up to this: a frame of 64 x 64 tiles of 128 pixels at the most.
    static constexpr double kMaxScale = 10.0;

    // Milliseconds from a clock that never goes back; tests step it by hand.
    using Clock = std::function<int64_t()>;
    explicit SpriteCompositor(Clock clock = {});

    // Drops every surface and cached picture; numbering starts again at 1.
    void reset();
    // Composes into `frame` from now on (its scale clamped to 1..kMaxScale); resets like
    // reset().
    void setShape(const FrameShape& frame);
    // The 4:3 frame at `scale`.
    void setScale(double scale) { setShape(FrameShape::block(scale)); }
    // Where pictures painted at the scale come from; without one, or for a file it has none
    // for, the file's own picture is enlarged. Kept over resets.
    void setCrispSource(CrispSource source) { crispSource_ = std::move(source); }

    // Every file loaded since the reset that can be used, for changeScale: its key, the file,
    // and its picture at the scale now (perhaps still decoding).
    struct LoadedFile {
        QString key;
        PictureFile file;
        PendingPicture picture;
    };
    std::vector<LoadedFile> loadedFiles() const;
    // Composes into `frame` from now on with every surface, place and frame kept: each file's
    // picture is replaced by `pictures`' one for its key (made for the new frame), or else
    // enlarged from the one it had. The frame until the next is drawn is the last one
    // enlarged, and counts as changed throughout.
    void changeShape(const FrameShape& frame,
                     const QHash<QString, std::shared_ptr<const SpritePicture>>& pictures);
    void changeScale(double scale,
                     const QHash<QString, std::shared_ptr<const SpritePicture>>& pictures) {
        changeShape(FrameShape::block(scale), pictures);
    }
    double scale() const { return scale_; }
    const FrameShape& shape() const { return shape_; }
    // The frame's size in pixels and its tiles.
    const TileGrid& grid() const { return grid_; }
    // A scene position as a frame pixel: times the scale, rounded.
    int toPixels(int sceneUnits) const {
        return scale_ == 1.0 ? sceneUnits : int(std::lround(sceneUnits * scale_));
    }
    // A scene x as a frame column: the layout's left edge is blockColumn in.
    int toColumn(int sceneX) const { return blockColumn_ + toPixels(sceneX); }

    SurfaceId newSurface();
    bool exists(SurfaceId surface) const;
    // Loads frame `frame` (from 1) of a surface. A file is decoded once per path and
    // transparency; later loads share the picture.
    bool loadFrame(SurfaceId surface, int frame, const QString& path, int transparency);
    // Loads the picture that fills the scene behind everything (the water): drawn opaque at
    // the frame's size, whatever the file's own (see backdropPicture).
    bool loadBackdrop(SurfaceId surface, const QString& path);
    // Loads a picture of the glass (a back wall, a floor) as frame 1: as wide as the frame when
    // the file is as wide as the layout, its middle where the file would stand (see
    // pictureAtScale); like loadFrame otherwise.
    bool loadGlass(SurfaceId surface, const QString& path);
    // The same, from a picture in memory (decoded as by the loader).
    bool setFrameImage(SurfaceId surface, int frame, const QImage& image, int transparency);

    void setX(SurfaceId surface, int16_t x);
    void setY(SurfaceId surface, int16_t y);
    int16_t x(SurfaceId surface) const;
    int16_t y(SurfaceId surface) const;
    // Saturate at the int16 range instead of wrapping.
    void moveX(SurfaceId surface, int16_t dx);
    void moveUp(SurfaceId surface, int16_t dy);

    void setCurrentFrame(SurfaceId surface, int frame);
    int currentFrame(SurfaceId surface) const;
    // Highest frame number loaded; AdvanceFrame cycles 1..frameCount.
    int frameCount(SurfaceId surface) const;
    void setFrameDelay(SurfaceId surface, int milliseconds);
    bool isFrameDue(SurfaceId surface) const;
    void advanceFrame(SurfaceId surface);

    void clear(Rgb colour);
    void draw(SurfaceId surface);
    void setTextFont(const QString& face, int points, int weight, bool italic, bool underline,
                     bool strikeOut);
    void drawText(const QString& text, int x, int y, Rgb colour);

    // True when the frame point lies on a visible pixel of the surface's current frame.
    bool isPointOver(SurfaceId surface, QPoint framePoint) const;

    // Paints what was drawn since the last composition.
    void compose();
    // The frame with every draw so far.
    const QImage& frame() {
        compose();
        return frame_;
    }
    // The tiles that changed since the last call, after composing; the presenter shows these.
    DirtyTiles takeChanges();
    // The next frame is painted whole instead of compared with this one (for benchmarks).
    void forgetComposedFrame() { composedValid_ = false; }
    int cachedPictureCount() const { return int(cache_.size()); }

  private:
    struct Surface {
        int16_t x = 0;
        int16_t y = 0;
        int current = 1;
        int frameCount = 0;
        int delayMs = 0;
        int64_t shownSinceMs = 0;
        std::vector<PendingPicture> frames;  // index 0 is frame 1
        // The current frame's picture once looked up (null: none), so that drawing the surface
        // needs nothing but this record.
        const SpritePicture* shown = nullptr;
        bool shownKnown = false;
    };
    struct DrawOp {
        enum class Kind : uint8_t { Fill, Picture, Text };
        Kind kind = Kind::Fill;
        QRect bounds;                            // every pixel it may touch, inside the frame
        const SpritePicture* picture = nullptr;  // kept alive by a surface or as retired
        QPoint at;  // the picture's top-left corner, the text's baseline start
        QRgb colour = 0;
        int font = -1;  // index into fonts_
        QString text;
        bool operator==(const DrawOp&) const = default;
    };
    struct Font {
        QFont font;
        int ascent = 0;
        QHash<QString, QRect> textBounds;  // measured once per text, relative to its point
    };

    // Inline: the saver looks surfaces up a thousand times a frame.
    Surface* find(SurfaceId surface) {
        if (surface < 1 || size_t(surface) > surfaces_.size()) return nullptr;
        return &surfaces_[size_t(surface) - 1];
    }
    const Surface* find(SurfaceId surface) const {
        return const_cast<SpriteCompositor*>(this)->find(surface);
    }
    const SpritePicture* currentPicture(const Surface& s) const;
    const SpritePicture* shownPicture(Surface& s);
    // Sets the shape and the frame's grid; the frame itself is the caller's to make.
    void takeShape(const FrameShape& frame);
    bool storeFrame(Surface& s, int frame, PendingPicture picture);
    bool loadFile(SurfaceId surface, int frame, const PictureFile& file);
    PendingPicture startLoading(const PictureFile& file, bool firstFrame) const;
    int64_t now() const { return clock_(); }
    void record(DrawOp op, bool coversFrame);
    template <typename F>
    void forEachTileOf(const DrawOp& op, F&& f) const;
    bool markDifferences(const std::vector<DrawOp>& before, const std::vector<DrawOp>& after,
                         DirtyTiles& dirty);
    void carryUnderlays(const DirtyTiles& dirty, bool renumbered);
    void paintOp(const DrawOp& op, const QRect& clip);
    // A few tile rows of the frame, painted together; columns per tile row as DirtyTiles
    // keeps them.
    static constexpr int kSlabRows = 4;
    using SlabColumns = std::array<TileColumns, kSlabRows>;
    static constexpr int kMaxSlabs = (TileGrid::kMaxRows + kSlabRows - 1) / kSlabRows;
    int slabs() const { return (grid_.rows() + kSlabRows - 1) / kSlabRows; }
    // Paints the tiles `dirty` marks in slab `slab` (tile rows slab * kSlabRows..).
    void paintSlab(const DirtyTiles& dirty, int slab);
    // Paints a draw over the tiles `columns` gives for tile rows firstRow.., and nowhere else.
    void paintTiles(const DrawOp& op, const SlabColumns& columns, int firstRow, int lastRow);
    // Tiles of one tile row and a number of draws.
    struct TileLevel {
        int32_t level;
        int row;
        TileColumns columns;
    };
    static void addTile(std::vector<TileLevel>& list, int32_t level, int row, int column);
    void keepTiles(const TileLevel& tiles);
    void copyTiles(const PixelTarget& from, const PixelTarget& to, int row,
                   const TileColumns& columns) const;
    // The tiles of tile row `row` that the draw covers whole with opaque pixels.
    TileColumns solidColumns(const DrawOp& op, int row) const;
    bool alreadyOnTop(const DrawOp& op) const;
    int currentFont();

    Clock clock_;
    FrameShape shape_;
    double scale_ = 1.0;  // the shape's, at hand
    int blockColumn_ = 0;  // and its block's column
    TileGrid grid_;
    QImage frame_;
    PixelTarget canvas_;                    // frame_'s pixels, taken when composing starts
    std::vector<Surface> surfaces_;         // surface n at index n - 1
    CrispSource crispSource_;
    struct CachedFile {
        PendingPicture picture;  // invalid: the file could not be used
        PictureFile file;
    };
    QHash<QString, CachedFile> cache_;
    std::vector<Font> fonts_;               // every font asked for since the reset
    int font_ = -1;                         // chosen on first use: needs the application's fonts
    QFont requestedFont_;
    // The last setTextFont call, so that the font follows a change of scale.
    struct FontRequest {
        QString face;
        int points;
        int weight;
        bool italic;
        bool underline;
        bool strikeOut;
    };
    std::optional<FontRequest> fontRequest_;
    // Draws since the last composition; when `pendingCovers_` they start a new frame.
    std::vector<DrawOp> pending_;
    bool pendingCovers_ = false;
    // The draws that made `frame_`; unusable after too many draws without a new frame.
    std::vector<DrawOp> composed_;
    bool composedValid_ = false;
    // Pictures replaced on their surfaces while recorded draws may still use them: those of
    // the frame being recorded, and of the last composed one.
    std::vector<PendingPicture> retiring_;
    std::vector<PendingPicture> retired_;
    DirtyTiles changed_;
    // The draws a slab shows, from the top down, and the tiles each paints there.
    struct SlabDraw {
        const DrawOp* op;
        SlabColumns columns;
    };
    std::vector<SlabDraw> slabDraws_;
    std::array<std::vector<const DrawOp*>, kMaxSlabs> drawsBySlab_;  // in order, while composing
    // Per tile (tile row, column), a number of draws of the frame.
    using TileLevels =
        std::array<std::array<int32_t, TileGrid::kMaxColumns>, TileGrid::kMaxRows>;
    // For each changed tile, the draws below the first that changed there.
    TileLevels firstChange_{};
    // Where each draw of the last composed frame went among the new frame's draws (its
    // index), and one past the end.
    std::vector<int32_t> newIndexOf_;
    // The layers under each tile as they were when it was last painted: the first
    // `underlayLevel_` draws (0: nothing kept). A tile changed again by the same moving draw
    // (a fish still in it, the bubble curtain) starts from them instead of painting the water
    // and the scenery again.
    TileLevels underlayLevel_{};
    std::vector<uint32_t> underlayPixels_;  // allocated when first used
    PixelTarget underlay() {
        return {underlayPixels_.data(), grid_.width, grid_.width, grid_.height};
    }
    std::vector<TileLevel> restores_;  // while painting a slab: tiles that start from their layers
    std::vector<TileLevel> keeps_;     // and tiles whose layers are kept
};

// Draws a prepared picture into a target with its top-left corner at (x, y), clipped to
// `clip` and the target.
void blitPicture(const SpritePicture& picture, const PixelTarget& target, int x, int y,
                 const QRect& clip);

}  // namespace bw
