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

// The scene widths a set can be painted for, in scene units: 800 is the 4:3 layout's, 2133 a
// 32:9 screen's; 3200 is 16:3, three 16:9 screens side by side.
inline constexpr int kMinimumSceneWidth = 800;
inline constexpr int kMaximumSceneWidth = 3200;

// Reads a scene width from the command line; nullopt unless it is a whole number in the range
// above.
std::optional<int> parseSceneWidth(const QString& text);

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
// pictures of the glass span a scene `sceneWidth` units wide (see Span and paintFor); at 800
// the set is the 4:3 one; a width outside the range above is refused before any painting. The
// preview shows the 4:3 middle of the scene whatever the width.
bool generatePictures(const QString& folder, double scale, int threads, QString* error,
                      PictureFormat format = PictureFormat::DataFolder,
                      int sceneWidth = kLayoutWidth);

}  // namespace bw::art
