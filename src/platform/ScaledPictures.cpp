#include "platform/ScaledPictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/SpriteCompositor.h"

namespace bw {

QImage keyedPicture(QImage image, int transparency) {
    if (image.isNull()) return image;
    // Converted in place where the image is not shared: a decoded file is used only here.
    auto everyPixel = [&image](auto&& change) {
        const int width = image.width();
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) line[x] = change(line[x]);
        }
    };
    if (transparency == kOpaque) {
        image.convertTo(QImage::Format_ARGB32);
        everyPixel([](QRgb p) { return p | 0xFF000000u; });
        image.reinterpretAsFormat(QImage::Format_RGB32);
    } else if (transparency == kTransparent && image.hasAlphaChannel()) {
        const bool givenPremultiplied =
            image.pixelFormat().premultiplied() == QPixelFormat::Premultiplied;
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
        // No colour may exceed its pixel's alpha: blending relies on it (a clear pixel adds
        // nothing), and a picture handed over already premultiplied may break it.
        if (givenPremultiplied) {
            everyPixel([](QRgb p) {
                const uint32_t a = p >> 24;
                return (a << 24) | (std::min(a, (p >> 16) & 0xFF) << 16) |
                       (std::min(a, (p >> 8) & 0xFF) << 8) | std::min(a, p & 0xFF);
            });
        }
    } else {
        // A Windows RGB colour is 0x00BBGGRR.
        const QRgb key = transparency >= 0 ? qRgb(transparency & 0xFF, (transparency >> 8) & 0xFF,
                                                  (transparency >> 16) & 0xFF) &
                                                 0xFFFFFFu
                                           : (SpritePicture::kColourKey & 0xFFFFFFu);
        image.convertTo(QImage::Format_ARGB32);
        everyPixel([key](QRgb p) { return (p & 0xFFFFFFu) == key ? 0u : (p | 0xFF000000u); });
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    }
    return image;
}

int keyedTransparency(const QImage& keyed) {
    return keyed.format() == QImage::Format_RGB32 ? kOpaque : kTransparent;
}

QSize pixelsAt(QSize sceneSize, double scale) {
    return QSize(int(std::lround(sceneSize.width() * scale)),
                 int(std::lround(sceneSize.height() * scale)));
}

QImage enlargedPicture(const QImage& keyed, double scale) {
    const QSize size = pixelsAt(keyed.size(), scale);
    if (keyed.isNull() || size == keyed.size()) return keyed;
    // Premultiplied, a clear pixel adds nothing to its neighbours' blend.
    return keyed.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage backdropPicture(const QImage& keyed, QSize frame) {
    if (keyed.isNull() || keyed.size() == frame) return keyed;
    const QImage covering =
        keyed.scaled(frame, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    if (covering.size() == frame) return covering;
    return covering.copy(QRect(
        QPoint((covering.width() - frame.width()) / 2, (covering.height() - frame.height()) / 2),
        frame));
}

bool spansFrame(const PictureFile& file, QSize ownSize) {
    return file.backdrop || (file.glass && ownSize.width() == FrameShape::kBlockWidth);
}

int reachesLeft(const PictureFile& file, const FrameShape& frame, QSize size) {
    if (file.backdrop) return size.width() == frame.size.width() ? frame.blockColumn() : 0;
    return file.glass && size.width() == frame.glassWidth() ? frame.glassColumn() : 0;
}

QImage widenedPicture(const QImage& keyed, const FrameShape& frame) {
    const int width = frame.glassWidth();
    const int blockWidth = keyed.width();
    if (keyed.isNull() || width <= blockWidth) return keyed;
    QImage wide(width, keyed.height(), keyed.format());
    // The ends of a wall or floor taper off: the picture is mirrored back and forth about
    // lines this far inside them, so that the sides continue it without a seam or a dip.
    constexpr int kTaper = 120;
    const int margin = std::min(int(std::lround(kTaper * frame.scale)), blockWidth / 4);
    const int period = blockWidth - 2 * margin;
    const int origin = frame.glassColumn() + margin;
    std::vector<int> source(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        int offset = (x - origin) % (2 * period);
        if (offset < 0) offset += 2 * period;
        source[size_t(x)] = margin + (offset < period ? offset : 2 * period - 1 - offset);
    }
    for (int y = 0; y < keyed.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(keyed.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(wide.scanLine(y));
        for (int x = 0; x < width; ++x) to[x] = from[source[size_t(x)]];
    }
    return wide;
}

QImage pictureAtScale(const PictureFile& file, const FrameShape& frame, const QString& crisp,
                      QSize ownSize, const std::function<QImage()>& decodeOwn) {
    const double scale = frame.scale;
    const bool spans = spansFrame(file, ownSize);
    if (!crisp.isEmpty()) {
        // A crisp picture of another size was painted for other art: the file's own is right.
        QImage painted = PictureLoader::load(crisp);
        QSize expected = pixelsAt(ownSize, scale);
        if (file.backdrop)
            expected = frame.size;
        else if (spans)
            expected.setWidth(frame.glassWidth());
        if (!painted.isNull() && painted.size() == expected)
            return keyedPicture(std::move(painted), file.transparency);
    }
    QImage own = keyedPicture(decodeOwn(), file.transparency);
    if (own.isNull()) return own;
    if (file.backdrop) return backdropPicture(own, frame.size);
    // Enlarged, the layout's width becomes the block's: the frame's middle.
    own = enlargedPicture(own, scale);
    return spans ? widenedPicture(own, frame) : own;
}

}  // namespace bw
