#include "platform/SpriteDisplayX11.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <iterator>

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

bool ForeignWindowProbe::holdInPlace(uint64_t window, const QRect& geometry) {
    auto* display = static_cast<Display*>(display_);
    if (!display || window == 0) return false;
    XSync(display, False);
    trappedError = false;
    const auto previous = XSetErrorHandler(trapError);
    XWindowAttributes attributes{};
    bool exists = XGetWindowAttributes(display, ::Window(window), &attributes) && !trappedError;
    if (exists) {
        if (attributes.map_state == IsUnmapped) XMapWindow(display, ::Window(window));
        int x = 0;
        int y = 0;
        ::Window child = 0;
        XTranslateCoordinates(display, ::Window(window), attributes.root, 0, 0, &x, &y, &child);
        if (QRect(x, y, attributes.width, attributes.height) != geometry) {
            // Relative to the parent: a window manager's frame may hold it.
            XMoveResizeWindow(display, ::Window(window), attributes.x + geometry.x() - x,
                              attributes.y + geometry.y() - y, unsigned(geometry.width()),
                              unsigned(geometry.height()));
        }
        XSync(display, False);
        exists = !trappedError;
    }
    XSetErrorHandler(previous);
    return exists;
}

void ForeignWindowProbe::stackOnTop(const std::vector<uint64_t>& topFirst) {
    auto* display = static_cast<Display*>(display_);
    if (!display || topFirst.empty()) return;
    XSync(display, False);
    const auto previous = XSetErrorHandler(trapError);
    std::vector<::Window> windows(topFirst.begin(), topFirst.end());
    // Children of the root, top last; only the first of ours needs raising when ours are not
    // already the topmost in the wanted order.
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    bool inOrder = false;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) &&
        children && count >= windows.size()) {
        inOrder = std::equal(windows.begin(), windows.end(),
                             std::make_reverse_iterator(children + count));
    }
    if (children) XFree(children);
    if (!inOrder) {
        XRaiseWindow(display, windows.front());
        if (windows.size() > 1) XRestackWindows(display, windows.data(), int(windows.size()));
    }
    XSync(display, False);
    XSetErrorHandler(previous);
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
