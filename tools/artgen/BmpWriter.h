#pragma once

// Qt writes only 24-bit BMP; sprites need a real alpha channel, so they are written here as
// 32-bit BMP with a BITMAPV5HEADER and BI_BITFIELDS masks (alpha 0xFF000000). Fully transparent
// pixels are written black, the usual colour key, for readers that ignore the alpha mask.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace bw::art {

QByteArray encodeBmp32(const QImage& image);
QByteArray encodeBmp24(const QImage& image);
bool writeFile(const QString& path, const QByteArray& bytes);

}  // namespace bw::art
