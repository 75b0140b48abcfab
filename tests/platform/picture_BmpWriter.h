#pragma once

// Builds BMP files byte by byte, so tests can make well-formed and deliberately broken ones.

#include <QByteArray>
#include <QImage>
#include <QtEndian>
#include <cstdint>
#include <vector>

namespace bw::test {

inline void putU16(QByteArray& data, int offset, uint16_t value) {
    qToLittleEndian(value, data.data() + offset);
}
inline void putU32(QByteArray& data, int offset, uint32_t value) {
    qToLittleEndian(value, data.data() + offset);
}

struct BmpHeader {
    int32_t width = 0;
    int32_t height = 0;  // negative: rows stored top down
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    std::vector<QRgb> palette;
};

// File header + 40-byte info header + palette; pixel data follows at the returned size.
inline QByteArray bmpHeaders(const BmpHeader& h, uint32_t pixelBytes) {
    const int paletteBytes = int(h.palette.size()) * 4;
    const int offset = 14 + 40 + paletteBytes;
    QByteArray data(offset, '\0');
    data[0] = 'B';
    data[1] = 'M';
    putU32(data, 2, uint32_t(offset) + pixelBytes);
    putU32(data, 10, uint32_t(offset));
    putU32(data, 14, 40);
    putU32(data, 18, uint32_t(h.width));
    putU32(data, 22, uint32_t(h.height));
    putU16(data, 26, 1);
    putU16(data, 28, h.bitCount);
    putU32(data, 30, h.compression);
    putU32(data, 34, pixelBytes);
    putU32(data, 46, h.coloursUsed);
    for (size_t i = 0; i < h.palette.size(); ++i) {
        const QRgb c = h.palette[i];
        data[54 + int(i) * 4] = char(qBlue(c));
        data[55 + int(i) * 4] = char(qGreen(c));
        data[56 + int(i) * 4] = char(qRed(c));
    }
    return data;
}

// An uncompressed 24- or 32-bit BMP of `image`, bottom-up; 32-bit keeps the alpha bytes.
inline QByteArray bmpOf(const QImage& source, int bitCount) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int rowBytes = ((image.width() * bitCount + 31) / 32) * 4;
    BmpHeader h;
    h.width = image.width();
    h.height = image.height();
    h.bitCount = uint16_t(bitCount);
    QByteArray data = bmpHeaders(h, uint32_t(rowBytes * image.height()));
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int at = x * bitCount / 8;
            row[at] = char(qBlue(c));
            row[at + 1] = char(qGreen(c));
            row[at + 2] = char(qRed(c));
            if (bitCount == 32) row[at + 3] = char(qAlpha(c));
        }
        data += row;
    }
    return data;
}

// An RLE8 BMP with the given palette and raw stream.
inline QByteArray rle8Bmp(int width, int height, const std::vector<QRgb>& palette,
                          const QByteArray& stream) {
    BmpHeader h;
    h.width = width;
    h.height = height;
    h.bitCount = 8;
    h.compression = 1;
    h.coloursUsed = uint32_t(palette.size());
    h.palette = palette;
    return bmpHeaders(h, uint32_t(stream.size())) + stream;
}

}  // namespace bw::test
