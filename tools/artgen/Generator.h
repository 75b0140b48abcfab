#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "Scene.h"
#include "Span.h"
#include "settings/ArtVersion.h"

namespace bw::art {

// kArtVersion (settings/ArtVersion.h) names the art painted here.

// The scales a set can be painted at: 1 is the data folder's, 3.6 a 2160-line screen's.
inline constexpr double kMinimumScale = 1.0;
inline constexpr double kMaximumScale = 8.0;

// Reads a scale from the command line; nullopt unless it is a number in the range above.
std::optional<double> parseScale(const QString& text);

// Reads a frame width in pixels from the command line; nullopt unless it is a whole number.
std::optional<int> parseFrameWidth(const QString& text);

// The frame `frameWidth` pixels wide, as high as the block at `scale`, that a set at `scale` is
// painted for; nullopt unless the width is from the 4:3 frame's (round(800 * scale): 1440 at
// 1.8) to FrameShape::kMaxBlocks times that.
std::optional<FrameShape> frameAt(double scale, int frameWidth);

// The preview picture: the factory scene composed from pictures painted at `scale`, reduced.
QImage paintPreview(const ImageLookup& lookup, double scale);

// Writes every file of the catalogue below `folder` at 1x: the data folder. Returns false with
// `error` set when a file cannot be written.
bool generateAll(const QString& folder, int threads, QString* error);

// How the pictures of a set are written: as the data folder has them (BMP, 32-bit where they
// carry alpha), or all as PNG at zlib level 1 (fast to write, a fifth to a sixth of the bytes,
// read as fast by the saver's loader), named ArtCache::cachedPictureName(): the art cache's.
enum class PictureFormat { DataFolder, Png };

// Writes every picture of the catalogue at `scale` below `folder`, with the data folder's
// relative paths and names; the sound and the hand-written files are not part of it. The
// pictures of the glass span a frame `frameWidth` pixels wide (see Span and paintFor); without
// it, or at the 4:3 width, the set is the 4:3 one; a width frameAt() refuses is refused before
// any painting. The preview shows the 4:3 middle of the scene whatever the width.
bool generatePictures(const QString& folder, double scale, int threads, QString* error,
                      PictureFormat format = PictureFormat::DataFolder,
                      std::optional<int> frameWidth = std::nullopt);

}  // namespace bw::art
