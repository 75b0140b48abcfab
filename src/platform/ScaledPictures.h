#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

#include "settings/FrameShape.h"

namespace bw {

// A picture file as the scene asked for it.
struct PictureFile {
    QString path;
    int transparency = -1;  // as SpritePicture::prepare takes it
    // Fills the scene whatever its own size (the water): fitted to the frame once, at load.
    bool backdrop = false;
    // A picture of the glass (a back wall, a floor): on a wide frame, one as wide as the
    // layout reaches from edge to edge.
    bool glass = false;
};

// For a file of the data folder, the same picture painted at the frame's scale (see
// ArtCache); empty when there is none.
using CrispSource = std::function<QString(const QString& path)>;

// A picture's pixels with its transparency applied, as SpritePicture keeps them: RGB32 when
// drawn opaque, otherwise premultiplied ARGB32 with every transparent pixel clear.
QImage keyedPicture(QImage decoded, int transparency);
// The transparency to prepare a keyed picture with, so that it is taken as it is.
int keyedTransparency(const QImage& keyed);

// The pixels `sceneSize` units take in a frame composed at `scale`.
QSize pixelsAt(QSize sceneSize, double scale);
// Whether `file`, whose own pixels are `ownSize`, is drawn across the whole width of a frame.
bool spansFrame(const PictureFile& file, QSize ownSize);
// How far left of its surface's place a picture of `size` made for `file` in `frame` reaches:
// a backdrop spanning a wide frame starts at its left edge, a wall or a floor further out
// (see FrameShape::glassWidth).
int reachesLeft(const PictureFile& file, const FrameShape& frame, QSize size);

// A keyed picture enlarged smoothly for a frame at `scale`. Its transparent pixels are clear,
// so its edges blend into nothing rather than into the colour key.
QImage enlargedPicture(const QImage& keyed, double scale);
// A keyed backdrop as a frame of `frame` pixels shows it: scaled to cover the frame with its
// own proportions kept, centred. Returned as it is when it has the frame's size already.
QImage backdropPicture(const QImage& keyed, QSize frame);
// A keyed wall or floor of the layout's width, already at the frame's scale, made as wide as
// such a picture is for the frame (FrameShape::glassWidth): itself in the middle (at the
// block's column) but for its tapering ends, mirrored outwards on both sides instead. It
// stands in for the picture painted wide until that is at hand.
QImage widenedPicture(const QImage& keyed, const FrameShape& frame);

// The keyed picture for `file` in `frame` (at a scale > 1, or any scale for a backdrop or a
// picture spanning a wide frame). It is the crisp file `crisp`, when that decodes at the size
// the picture takes in the frame (`ownSize`, the file's own size, times the scale; the frame
// for a backdrop; FrameShape::glassWidth for a wall or floor spanning it). Otherwise the file's
// own pixels, from `decodeOwn`, enlarged, fitted or widened. Null when neither can be used.
QImage pictureAtScale(const PictureFile& file, const FrameShape& frame, const QString& crisp,
                      QSize ownSize, const std::function<QImage()>& decodeOwn);

}  // namespace bw
