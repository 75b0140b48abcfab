// Saves what an X11 window (the root window by default) shows as a PNG.
// Usage: bw-grab OUT.png [WINDOW-ID], or bw-grab --file IN.png to look at a screenshot taken
// otherwise (of a Wayland output, say).
// Prints the number of distinct colours, so a test can tell a picture from a blank screen, and
// its sharpness (see bench/Sharpness.h), so a test can tell crisp art from enlarged, and how
// many of its pixels are the pure magenta of bw-host's window, so a test can tell whether
// another program's window shows. On a screen wider than 4:3 it also prints the columns that
// are black from top to bottom (bars), and the colours and a checksum of the sides beside the
// middle 4:3 area, so a test can tell whether the aquarium reaches the edges and moves there.
#include <QImage>
#include <QSet>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Sharpness.h"

namespace {

// What an X11 window shows; null when it cannot be read (the reason is printed).
QImage grabWindow(int argc, char* argv[]) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bw-grab: cannot open the display\n");
        return {};
    }
    Window window = argc > 2 ? std::strtoul(argv[2], nullptr, 0) : DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        std::fprintf(stderr, "bw-grab: no such window\n");
        return {};
    }
    XImage* shot = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes,
                             ZPixmap);
    if (!shot) {
        std::fprintf(stderr, "bw-grab: the window cannot be read\n");
        return {};
    }
    QImage image(attributes.width, attributes.height, QImage::Format_RGB32);
    for (int y = 0; y < attributes.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < attributes.width; ++x) {
            unsigned long pixel = XGetPixel(shot, x, y);
            line[x] = qRgb((pixel & shot->red_mask) >> 16, (pixel & shot->green_mask) >> 8,
                           pixel & shot->blue_mask);
        }
    }
    XDestroyImage(shot);
    XCloseDisplay(display);
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || (std::strcmp(argv[1], "--file") == 0 && argc != 3)) {
        std::fprintf(stderr, "usage: bw-grab OUT.png [WINDOW-ID] | bw-grab --file IN.png\n");
        return 2;
    }
    const bool fromFile = std::strcmp(argv[1], "--file") == 0;
    const QImage image =
        fromFile ? QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32)
                 : grabWindow(argc, argv);
    if (image.isNull()) {
        if (fromFile) std::fprintf(stderr, "bw-grab: %s is no picture\n", argv[2]);
        return 1;
    }
    QSet<QRgb> colours;
    long long magenta = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (x % 2 == 0 && y % 2 == 0) colours.insert(line[x]);
            if (line[x] == qRgb(255, 0, 255)) ++magenta;
        }
    }
    int blackColumns = 0;
    for (int x = 0; x < image.width(); ++x) {
        bool black = true;
        for (int y = 0; y < image.height() && black; ++y)
            black = (image.pixel(x, y) & 0xFFFFFFu) == 0;
        blackColumns += black;
    }
    const int middle = std::min(image.width(), image.height() * 4 / 3);
    const int side = (image.width() - middle) / 2;
    QSet<QRgb> left, right;
    unsigned long long checksum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < side; ++x) {
            left.insert(line[x]);
            right.insert(line[image.width() - 1 - x]);
            checksum = checksum * 31 + line[x] + 7 * line[image.width() - 1 - x];
        }
    }
    std::printf("colours: %lld\n", static_cast<long long>(colours.size()));
    std::printf("black_columns: %d\n", blackColumns);
    std::printf("sides: %lld %lld %llu\n", static_cast<long long>(left.size()),
                static_cast<long long>(right.size()), checksum);
    std::printf("magenta: %lld\n", magenta);
    std::printf("sharpness: %.3f\n", bw::bench::sharpness(image));
    return fromFile || image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
