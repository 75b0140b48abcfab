#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

namespace bw {

// Reads pictures that may come from anywhere (users drop their own files into the water
// folder), so it trusts nothing in them. BMP files are decoded here, after their headers have
// been checked against the file's size, into images whose every pixel was written; other
// formats go through Qt's readers with a capped allocation. A refused file gives a null image.
//
// Result: Format_ARGB32 when the picture carries transparency, otherwise Format_RGB32.
class PictureLoader {
  public:
    // Files larger than this are not read at all.
    static constexpr int64_t kMaxFileBytes = 64 * 1024 * 1024;
    // Largest picture accepted, in pixels (256 MB as 32-bit pixels).
    static constexpr int64_t kMaxPixels = 64 * 1024 * 1024;
    static constexpr int kMaxSide = 32767;

    // Reads and decodes the file at `path`. Directories, FIFOs, devices and oversized files are
    // refused without being read (and without blocking). `error`, when given, says why.
    static QImage load(const QString& path, QString* error = nullptr);

    // Decodes a whole file's contents.
    static QImage decode(const QByteArray& data, QString* error = nullptr);

    // Decodes BMP data only (the "BM" file layout).
    static QImage decodeBmp(const QByteArray& data, QString* error = nullptr);
    // True when decodeBmp will succeed (memory permitting), judged from the header and the
    // size of the data without decoding a pixel.
    static bool bmpWillDecode(const QByteArray& data, QString* error = nullptr);

    // Reads a regular file of at most kMaxFileBytes. False (and `data` empty) otherwise.
    static bool readSmallRegularFile(const QString& path, QByteArray* data, QString* error);

  private:
    // Checks the BMP data and, when `decoded` is given, decodes it there.
    static bool readBmp(const QByteArray& data, QString* error, QImage* decoded);
};

}  // namespace bw
