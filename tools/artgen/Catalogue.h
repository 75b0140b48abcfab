#pragma once

// The one list of every file the art generator makes: where it goes, how many numbered images
// it has, how the saver turns them into frames and how large it is painted. The generator, the
// contact sheet and the tests all walk this table.

#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

#include "Span.h"

class QImage;

namespace bw::art {

enum class Naming {
    Single,    // stem + ".bmp" (or the stem's own extension)
    Numbered,  // stem + 1..N + ".bmp", shown ping-pong: 2N - 2 frames
    ThreeWay,  // stem + "a", "b", "c" + ".bmp", shown a, b, a, c: 4 frames
};

enum class Encoding {
    Sprite,  // 32-bit BMP with alpha
    Opaque,  // 24-bit BMP
    Png,
    Wave,
};

enum class Source {
    Painted,      // drawn by `paint`
    Composed,     // drawn from the other finished pictures (the preview)
    Synthesised,  // the bubble sound
};

struct Asset;
using Painter = QImage (*)(const Asset& asset, int image, double scale);
// Paints a picture of the glass across `frame`, as many pixels wide as the frame (see Span).
using WidePainter = QImage (*)(const Asset& asset, int image, const FrameShape& frame);

struct Asset {
    const char* stem;  // relative path without number, suffix and extension
    Naming naming;
    int images;
    Encoding encoding;
    QSize size;
    Source source;
    Painter paint;
    int variant;  // which member of its family the painter draws
    // Set for the pictures of the glass, which reach the screen's edges: the water, the back
    // walls and the floors as wide as the layout. `paint` is it at the layout's width.
    WidePainter paintWide = nullptr;
};

const std::vector<Asset>& catalogue();
const Asset* findAsset(const QString& stem);

// Relative path of image `image` (1-based: 1..N, or 1..3 for a, b, c).
QString imagePath(const Asset& asset, int image);
QStringList imagePaths(const Asset& asset);
// Frames the saver builds from the images.
int frameCount(const Asset& asset);

// Image `image` for `frame`, painted at the frame's scale: a picture of the glass spans the
// frame's width in pixels, any other picture is its own size. On a 4:3 frame every picture is
// the one `paint` makes.
QImage paintFor(const Asset& asset, int image, const FrameShape& frame);

}  // namespace bw::art
