#include "BmpWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace bw::art {

namespace {

void put16(QByteArray& out, uint16_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void put32(QByteArray& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

void fileHeader(QByteArray& out, uint32_t fileSize, uint32_t pixelOffset) {
    out.append("BM", 2);
    put32(out, fileSize);
    put32(out, 0);
    put32(out, pixelOffset);
}

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kV5HeaderSize = 124;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi

}  // namespace

QByteArray encodeBmp32(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const uint32_t w = static_cast<uint32_t>(image.width());
    const uint32_t h = static_cast<uint32_t>(image.height());
    const uint32_t pixelBytes = w * h * 4;
    const uint32_t offset = kFileHeaderSize + kV5HeaderSize;
    QByteArray out;
    out.reserve(static_cast<qsizetype>(offset + pixelBytes));
    fileHeader(out, offset + pixelBytes, offset);
    put32(out, kV5HeaderSize);
    put32(out, w);
    put32(out, h);  // positive: rows bottom-up
    put16(out, 1);
    put16(out, 32);
    put32(out, kBitFields);
    put32(out, pixelBytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0x00FF0000u);  // red
    put32(out, 0x0000FF00u);  // green
    put32(out, 0x000000FFu);  // blue
    put32(out, 0xFF000000u);  // alpha
    put32(out, 0x73524742u);  // 'sRGB'
    for (int i = 0; i < 9 + 3; ++i) {
        put32(out, 0);  // endpoints and gamma: unused with sRGB
    }
    put32(out, 4);  // LCS_GM_IMAGES
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (uint32_t x = 0; x < w; ++x) {
            const QRgb pixel = qAlpha(line[x]) == 0 ? 0u : line[x];
            put32(out, pixel);
        }
    }
    return out;
}

QByteArray encodeBmp24(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const uint32_t w = static_cast<uint32_t>(image.width());
    const uint32_t h = static_cast<uint32_t>(image.height());
    const uint32_t stride = (w * 3 + 3) & ~3u;
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    QByteArray out;
    out.reserve(static_cast<qsizetype>(offset + stride * h));
    fileHeader(out, offset + stride * h, offset);
    put32(out, kInfoHeaderSize);
    put32(out, w);
    put32(out, h);
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // BI_RGB
    put32(out, stride * h);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);
    put32(out, 0);
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (uint32_t x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(line[x])));
            out.append(static_cast<char>(qGreen(line[x])));
            out.append(static_cast<char>(qRed(line[x])));
        }
        for (uint32_t pad = w * 3; pad < stride; ++pad) {
            out.append('\0');
        }
    }
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    // The buffered tail reaches the disk only at flush: a full disk shows there, not in write().
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

}  // namespace bw::art
