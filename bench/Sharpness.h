#pragma once

// How sharp a picture of the aquarium is: the standard deviation of the Laplacian of its
// grey levels over the 4:3 scene area (black bars left out). Fine detail raises it; an
// enlarged, blurred picture has little of it.

#include <QImage>
#include <QRect>
#include <cmath>

namespace bw::bench {

inline double sharpness(const QImage& picture) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const int height = std::min(grey.height(), grey.width() * 3 / 4);
    const int width = height * 4 / 3;
    const QRect scene((grey.width() - width) / 2, (grey.height() - height) / 2, width, height);
    double sum = 0, squares = 0;
    int64_t count = 0;
    for (int y = scene.top() + 1; y < scene.bottom(); ++y) {
        const uchar* above = grey.constScanLine(y - 1);
        const uchar* line = grey.constScanLine(y);
        const uchar* below = grey.constScanLine(y + 1);
        for (int x = scene.left() + 1; x < scene.right(); ++x) {
            const double l = 4.0 * line[x] - line[x - 1] - line[x + 1] - above[x] - below[x];
            sum += l;
            squares += l * l;
            ++count;
        }
    }
    if (count == 0) return 0;
    const double mean = sum / double(count);
    return std::sqrt(std::max(0.0, squares / double(count) - mean * mean));
}

}  // namespace bw::bench
