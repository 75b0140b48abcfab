#include "platform/PictureLoader.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "system/RegularFile.h"

namespace bw {

namespace {

void setError(QString* error, const QString& text) {
    if (error) *error = text;
}

// Little-endian reads that never leave the buffer: callers check `has` first.
class Bytes {
  public:
    explicit Bytes(const QByteArray& data)
        : data_(reinterpret_cast<const uint8_t*>(data.constData())), size_(data.size()) {}

    int64_t size() const { return size_; }
    bool has(int64_t offset, int64_t length) const {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }
    uint8_t u8(int64_t offset) const { return data_[offset]; }
    uint16_t u16(int64_t offset) const {
        return static_cast<uint16_t>(data_[offset] | (data_[offset + 1] << 8));
    }
    uint32_t u32(int64_t offset) const {
        return static_cast<uint32_t>(data_[offset]) |
               (static_cast<uint32_t>(data_[offset + 1]) << 8) |
               (static_cast<uint32_t>(data_[offset + 2]) << 16) |
               (static_cast<uint32_t>(data_[offset + 3]) << 24);
    }
    int32_t i32(int64_t offset) const { return static_cast<int32_t>(u32(offset)); }
    const uint8_t* at(int64_t offset) const { return data_ + offset; }

  private:
    const uint8_t* data_;
    int64_t size_;
};

// One colour channel given by a bit mask, scaled to 8 bits.
class Channel {
  public:
    explicit Channel(uint32_t mask = 0) : mask_(mask) {
        if (mask == 0) return;
        shift_ = std::countr_zero(mask);
        const uint32_t bits = std::bit_width(mask >> shift_);
        max_ = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    }
    bool present() const { return mask_ != 0; }
    uint32_t operator()(uint32_t pixel) const {
        if (mask_ == 0) return 0;
        const uint64_t value = (pixel & mask_) >> shift_;
        return static_cast<uint32_t>((value * 255 + max_ / 2) / max_);
    }

  private:
    uint32_t mask_ = 0;
    int shift_ = 0;
    uint32_t max_ = 1;
};

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// True when any pixel is not fully opaque.
bool anyTranslucent(const QImage& image) {
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint32_t alphas = 0xFF000000u;
        for (int x = 0; x < width; ++x) alphas &= line[x];
        if (alphas != 0xFF000000u) return true;
    }
    return false;
}

// Decodes RLE8 or RLE4 data into `image` (already filled with transparent pixels). Pixels the
// stream skips stay transparent; a stream that ends early or runs off the picture simply
// stops there, so the result only ever holds what was written.
void decodeRle(const Bytes& bytes, int64_t pos, int64_t end, bool four,
               const std::array<QRgb, 256>& palette, QImage& image, bool topDown) {
    const int width = image.width();
    const int height = image.height();
    int x = 0;
    int row = 0;  // rows counted from the first one stored in the file
    auto put = [&](int index) {
        if (x < width && row < height) {
            const int y = topDown ? row : height - 1 - row;
            reinterpret_cast<QRgb*>(image.scanLine(y))[x] = palette[index];
        }
        ++x;
    };
    while (row < height && pos + 2 <= end) {
        const int count = bytes.u8(pos);
        const int value = bytes.u8(pos + 1);
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i)
                put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of picture
            return;
        } else if (value == 2) {  // move right and down
            if (pos + 2 > end) return;
            x += bytes.u8(pos);
            row += bytes.u8(pos + 1);
            pos += 2;
        } else {  // literal run, padded to a 16-bit boundary
            const int length = value;
            const int64_t dataBytes = four ? (length + 1) / 2 : length;
            if (pos + dataBytes > end) return;
            for (int i = 0; i < length && x < width; ++i) {
                const int byte = bytes.u8(pos + (four ? i / 2 : i));
                put(four ? ((i & 1) ? (byte & 0x0F) : (byte >> 4)) : byte);
            }
            pos += (dataBytes + 1) & ~int64_t(1);
        }
    }
}

}  // namespace

bool PictureLoader::readSmallRegularFile(const QString& path, QByteArray* data, QString* error) {
    if (!readRegularFile(path, kMaxFileBytes, data, error)) return false;
    if (data->isEmpty()) {
        setError(error, QStringLiteral("empty file"));
        return false;
    }
    return true;
}

QImage PictureLoader::load(const QString& path, QString* error) {
    QByteArray data;
    if (!readSmallRegularFile(path, &data, error)) return {};
    return decode(data, error);
}

QImage PictureLoader::decode(const QByteArray& data, QString* error) {
    if (data.startsWith("BM")) return decodeBmp(data, error);

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The limit is process-wide in Qt; setting it before each read keeps it in force.
    QImageReader::setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)));
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide ||
                           int64_t(size.width()) * size.height() > kMaxPixels)) {
        setError(error, QStringLiteral("picture too large"));
        return {};
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        setError(error, reader.errorString());
        return {};
    }
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

QImage PictureLoader::decodeBmp(const QByteArray& data, QString* error) {
    QImage image;
    readBmp(data, error, &image);
    return image;
}

bool PictureLoader::bmpWillDecode(const QByteArray& data, QString* error) {
    return readBmp(data, error, nullptr);
}

bool PictureLoader::readBmp(const QByteArray& data, QString* error, QImage* decoded) {
    const Bytes bytes(data);
    if (!bytes.has(0, 18) || bytes.u8(0) != 'B' || bytes.u8(1) != 'M') {
        setError(error, QStringLiteral("not a BMP file"));
        return false;
    }
    const int64_t pixelOffset = bytes.u32(10);
    const uint32_t headerSize = bytes.u32(14);
    const int64_t header = 14;
    int64_t width = 0;
    int64_t height = 0;
    int planes = 0;
    int bitCount = 0;
    uint32_t compression = kRgb;
    uint32_t coloursUsed = 0;
    int paletteEntry = 4;

    const bool os2v2 = headerSize == 16 || headerSize == 64;
    if (headerSize == 12) {
        if (!bytes.has(header, 12))
            return setError(error, QStringLiteral("truncated header")), false;
        width = bytes.u16(header + 4);
        height = static_cast<int16_t>(bytes.u16(header + 6));
        planes = bytes.u16(header + 8);
        bitCount = bytes.u16(header + 10);
        paletteEntry = 3;
    } else if (headerSize == 16 || headerSize == 40 || headerSize == 52 || headerSize == 56 ||
               headerSize == 64 || headerSize == 108 || headerSize == 124) {
        if (!bytes.has(header, headerSize))
            return setError(error, QStringLiteral("truncated header")), false;
        width = bytes.i32(header + 4);
        height = bytes.i32(header + 8);
        planes = bytes.u16(header + 12);
        bitCount = bytes.u16(header + 14);
        if (headerSize >= 20) compression = bytes.u32(header + 16);
        if (headerSize >= 36) coloursUsed = bytes.u32(header + 32);
    } else {
        setError(error, QStringLiteral("unknown header size %1").arg(headerSize));
        return false;
    }

    const bool topDown = height < 0;
    height = std::abs(height);
    if (planes != 1 || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        width * height > kMaxPixels) {
        setError(error, QStringLiteral("bad dimensions or planes"));
        return false;
    }
    // OS/2 reuses compression numbers 3 and 4 for Huffman and RLE24, which we do not read.
    if (os2v2 && compression > kRle4) {
        setError(error, QStringLiteral("unsupported OS/2 compression"));
        return false;
    }
    const bool rle = compression == kRle8 || compression == kRle4;
    const bool fieldsGiven = compression == kBitFields || compression == kAlphaBitFields;
    const bool validDepth =
        (compression == kRgb && (bitCount == 1 || bitCount == 4 || bitCount == 8 ||
                                 bitCount == 16 || bitCount == 24 || bitCount == 32)) ||
        (compression == kRle8 && bitCount == 8) || (compression == kRle4 && bitCount == 4) ||
        (fieldsGiven && (bitCount == 16 || bitCount == 32));
    if (!validDepth || (rle && topDown)) {
        setError(
            error,
            QStringLiteral("unsupported depth %1 / compression %2").arg(bitCount).arg(compression));
        return false;
    }

    // Channel masks: after a 40-byte header, or inside the longer ones.
    uint32_t masks[4] = {0, 0, 0, 0};
    int64_t afterHeader = header + headerSize;
    if (fieldsGiven) {
        const int count = (compression == kAlphaBitFields || headerSize >= 56) ? 4 : 3;
        const int64_t at = header + 40;
        if (!bytes.has(at, count * 4))
            return setError(error, QStringLiteral("truncated masks")), false;
        for (int i = 0; i < count; ++i) masks[i] = bytes.u32(at + 4 * i);
        if (headerSize == 40) afterHeader += count * 4;
    } else if (bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (bitCount == 32) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
        masks[3] = 0xFF000000;  // used only when some pixel sets it: see below
    }

    // Palette. Indexes beyond the stored entries show as opaque black.
    std::array<QRgb, 256> palette;
    palette.fill(qRgb(0, 0, 0));
    if (bitCount <= 8) {
        const int64_t maxEntries = int64_t(1) << bitCount;
        int64_t entries = coloursUsed == 0 ? maxEntries : coloursUsed;
        if (entries > 65536) {
            setError(error, QStringLiteral("palette size %1 out of range").arg(entries));
            return false;
        }
        // The palette must lie before the pixels and inside the file.
        const int64_t room = (pixelOffset - afterHeader) / paletteEntry;
        entries = std::min({entries, maxEntries, std::max<int64_t>(room, 0)});
        if (!bytes.has(afterHeader, entries * paletteEntry))
            return setError(error, QStringLiteral("truncated palette")), false;
        for (int64_t i = 0; i < entries; ++i) {
            const int64_t at = afterHeader + i * paletteEntry;
            palette[i] = qRgb(bytes.u8(at + 2), bytes.u8(at + 1), bytes.u8(at));
        }
    }

    if (pixelOffset < afterHeader || pixelOffset >= bytes.size()) {
        setError(error, QStringLiteral("pixel offset outside the file"));
        return false;
    }

    // Every row the header promises must be in the file (the last one may lack its padding).
    const int64_t rowBytes = ((width * bitCount + 31) / 32) * 4;
    const int64_t lastRowBytes = (width * bitCount + 7) / 8;
    if (!rle && !bytes.has(pixelOffset, rowBytes * (height - 1) + lastRowBytes)) {
        setError(error, QStringLiteral("pixel data truncated"));
        return false;
    }
    if (!decoded) return true;  // from here on nothing can fail but memory

    QImage& image = *decoded;
    image = QImage(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull()) {
        setError(error, QStringLiteral("out of memory"));
        return false;
    }

    if (rle) {
        image.fill(Qt::transparent);
        decodeRle(bytes, pixelOffset, bytes.size(), compression == kRle4, palette, image, false);
        if (!anyTranslucent(image)) image = image.convertToFormat(QImage::Format_RGB32);
        return true;
    }

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    // 32 bits laid out as Qt keeps them (the usual case, and all of our own art): rows are
    // copied as they are.
    const bool asQt = bitCount == 32 && masks[0] == 0x00FF0000u && masks[1] == 0x0000FF00u &&
                      masks[2] == 0x000000FFu && (masks[3] == 0xFF000000u || masks[3] == 0);
    bool alphaSeen = false;
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = bytes.at(pixelOffset + row * rowBytes);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(int(topDown ? row : height - 1 - row)));
        if (asQt) {
            std::memcpy(dst, src, size_t(width) * 4);
            if (alpha.present()) {
                uint32_t alphas = 0;
                for (int64_t x = 0; x < width; ++x) alphas |= dst[x];
                alphaSeen = alphaSeen || (alphas >> 24) != 0;
            } else {
                for (int64_t x = 0; x < width; ++x) dst[x] |= 0xFF000000u;
            }
            continue;
        }
        for (int64_t x = 0; x < width; ++x) {
            switch (bitCount) {
                case 1:
                    dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                    break;
                case 4:
                    dst[x] = palette[(x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4)];
                    break;
                case 8:
                    dst[x] = palette[src[x]];
                    break;
                case 24:
                    dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                    break;
                default: {
                    const uint32_t pixel =
                        bitCount == 16
                            ? uint32_t(src[2 * x] | (src[2 * x + 1] << 8))
                            : uint32_t(src[4 * x] | (src[4 * x + 1] << 8) | (src[4 * x + 2] << 16) |
                                       (uint32_t(src[4 * x + 3]) << 24));
                    const uint32_t a = alpha.present() ? alpha(pixel) : 255;
                    alphaSeen = alphaSeen || (alpha.present() && a != 0);
                    dst[x] = qRgba(int(red(pixel)), int(green(pixel)), int(blue(pixel)), int(a));
                }
            }
        }
    }
    // An alpha channel that is zero everywhere is unused padding, not an invisible picture.
    if (alpha.present() && !alphaSeen) {
        for (int y = 0; y < int(height); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < int(width); ++x) line[x] |= 0xFF000000u;
        }
    }
    if (!anyTranslucent(image)) image = image.convertToFormat(QImage::Format_RGB32);
    return true;
}

}  // namespace bw
