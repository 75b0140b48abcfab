#include "platform/SpriteDisplayX11.h"

#include <X11/Xlib.h>

namespace bw {

namespace {

bool trappedError = false;

int trapError(Display*, XErrorEvent*) {
    trappedError = true;
    return 0;
}

}  // namespace

ForeignWindowProbe::ForeignWindowProbe() : display_(XOpenDisplay(nullptr)) {}

ForeignWindowProbe::~ForeignWindowProbe() {
    if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

uint64_t ForeignWindowProbe::rootWindow() const {
    auto* display = static_cast<Display*>(display_);
    return display ? uint64_t(DefaultRootWindow(display)) : 0;
}

bool ForeignWindowProbe::mapRaised(uint64_t window) {
    auto* display = static_cast<Display*>(display_);
    if (!display || window == 0) return false;
    XSync(display, False);
    trappedError = false;
    const auto previous = XSetErrorHandler(trapError);
    XMapRaised(display, ::Window(window));
    XSync(display, False);
    XSetErrorHandler(previous);
    return !trappedError;
}

std::optional<QSize> ForeignWindowProbe::size(uint64_t window) {
    auto* display = static_cast<Display*>(display_);
    if (!display || window == 0) return std::nullopt;
    // Xlib's default handler exits on BadWindow; the host may close its window at any time.
    XSync(display, False);
    trappedError = false;
    const auto previous = XSetErrorHandler(trapError);
    ::Window root = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    const Status ok =
        XGetGeometry(display, ::Window(window), &root, &x, &y, &width, &height, &border, &depth);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!ok || trappedError) return std::nullopt;
    return QSize(int(width), int(height));
}

}  // namespace bw
