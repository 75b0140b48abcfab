#include "platform/ServerScalerX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

namespace bw {

namespace {

constexpr int kFewestRows = 16;

// Xlib reports errors to one handler for the whole process, and reports them whenever it
// reads from a connection, not only when asked. Ours notes those of our own connections and
// leaves the others to the handler it replaced (Xlib's own would end the process).
std::mutex watchedMutex;
std::vector<std::pair<Display*, std::atomic<bool>*>> watched;
XErrorHandler previousHandler = nullptr;
std::once_flag handlerInstalled;

int noteError(Display* display, XErrorEvent* event) {
    {
        const std::lock_guard<std::mutex> lock(watchedMutex);
        for (const auto& [ours, failed] : watched) {
            if (ours == display) {
                *failed = true;
                return 0;
            }
        }
    }
    return previousHandler ? previousHandler(display, event) : 0;
}

void watchErrors(Display* display, std::atomic<bool>* failed) {
    ServerScaler::installErrorHandler();
    const std::lock_guard<std::mutex> lock(watchedMutex);
    watched.emplace_back(display, failed);
}

void unwatchErrors(Display* display) {
    const std::lock_guard<std::mutex> lock(watchedMutex);
    watched.erase(std::remove_if(watched.begin(), watched.end(),
                                 [display](const auto& entry) { return entry.first == display; }),
                  watched.end());
}

}  // namespace

struct ServerScaler::State {
    Display* display = nullptr;
    std::atomic<bool> failed = false;  // a request failed since the last look
    XRenderPictFormat* frameFormat = nullptr;
    XShmSegmentInfo segment{};
    QSize frameSize;
    // Rows as wide as the frame in memory the server reads too: the changed parts on their
    // way, packed in shelves.
    XImage* image = nullptr;
    int shelfTop = 0;
    int shelfHeight = 0;
    int shelfEnd = 0;   // the first free column of the shelf
    Pixmap pixmap = 0;  // the frame as the server keeps it
    GC gc = nullptr;
    Picture source = 0;
    Picture target = 0;
    // A frame shown 1:1 is put straight into the window (one copy in the server instead of
    // two), when the window's pixels are laid out as the image's.
    ::Window window = 0;
    GC windowGc = nullptr;
    int copying = -1;  // 1: the last frame went straight to the window; -1 none sent yet
    QSize sceneSize;   // the enlargement the source is set up for
    int filter = -1;   // 1 smooth, 0 nearest, -1 not set yet

    // Waits until the server has handled every request sent so far; false when one failed.
    bool sync() {
        XSync(display, False);
        return !failed.exchange(false);
    }

    // Where a part of `size` goes in the image: beside the last, below it, or, once the
    // server has read everything sent (false when that failed), at the top again.
    std::optional<QPoint> place(QSize size) {
        if (shelfEnd + size.width() > image->width) {
            shelfTop += shelfHeight;
            shelfHeight = 0;
            shelfEnd = 0;
        }
        if (shelfTop + size.height() > image->height) {
            if (!sync()) return std::nullopt;
            shelfTop = shelfHeight = shelfEnd = 0;
        }
        const QPoint at(shelfEnd, shelfTop);
        shelfEnd += size.width();
        shelfHeight = std::max(shelfHeight, size.height());
        return at;
    }

    ~State() {
        if (!display) return;
        if (target) XRenderFreePicture(display, target);
        if (source) XRenderFreePicture(display, source);
        if (gc) XFreeGC(display, gc);
        if (windowGc) XFreeGC(display, windowGc);
        if (pixmap) XFreePixmap(display, pixmap);
        if (segment.shmaddr) {
            if (segment.shmseg) XShmDetach(display, &segment);
            XSync(display, False);
            shmdt(segment.shmaddr);
        }
        if (image) {
            image->data = nullptr;  // the segment, detached above
            XDestroyImage(image);
        }
        XCloseDisplay(display);
        unwatchErrors(display);
    }
};

void ServerScaler::installErrorHandler() {
    std::call_once(handlerInstalled, [] { previousHandler = XSetErrorHandler(noteError); });
}

ServerScaler::ServerScaler(std::unique_ptr<State> state) : state_(std::move(state)) {}

ServerScaler::~ServerScaler() = default;

std::unique_ptr<ServerScaler> ServerScaler::connect(QSize frameSize, size_t stagingBytes) {
    if (frameSize.isEmpty()) return nullptr;
    auto s = std::make_unique<State>();
    s->frameSize = frameSize;
    s->display = XOpenDisplay(nullptr);
    Display* display = s->display;
    if (!display) return nullptr;
    watchErrors(display, &s->failed);

    // Shared memory only works with a server on this machine; transforms and filters came
    // with RENDER 0.6.
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XShmQueryExtension(display) || !XRenderQueryExtension(display, &event, &error) ||
        !XRenderQueryVersion(display, &major, &minor) || (major == 0 && minor < 6))
        return nullptr;
    s->frameFormat = XRenderFindStandardFormat(display, PictStandardRGB24);
    XVisualInfo visual{};
    if (!s->frameFormat ||
        !XMatchVisualInfo(display, DefaultScreen(display), 24, TrueColor, &visual))
        return nullptr;

    // The image must hold pixels exactly as the frame does (0xffRRGGBB in native order).
    const size_t rowBytes = size_t(frameSize.width()) * 4;
    const int rows = int(std::clamp<size_t>(stagingBytes / rowBytes, kFewestRows,
                                            size_t(std::max(frameSize.height(), kFewestRows))));
    s->image = XShmCreateImage(display, visual.visual, 24, ZPixmap, nullptr, &s->segment,
                               unsigned(frameSize.width()), unsigned(rows));
    if (!s->image) return nullptr;
    if (s->image->bits_per_pixel != 32 || s->image->byte_order != LSBFirst ||
        s->image->red_mask != 0xFF0000 || s->image->green_mask != 0xFF00 ||
        s->image->blue_mask != 0xFF)
        return nullptr;
    s->segment.shmid =
        shmget(IPC_PRIVATE, size_t(s->image->bytes_per_line) * rows, IPC_CREAT | 0600);
    if (s->segment.shmid < 0) return nullptr;
    void* memory = shmat(s->segment.shmid, nullptr, 0);
    // Marked for removal at once: it goes away with its last user, even if we are killed.
    shmctl(s->segment.shmid, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1)) return nullptr;
    s->segment.shmaddr = s->image->data = static_cast<char*>(memory);
    s->segment.readOnly = True;
    if (!XShmAttach(display, &s->segment) || !s->sync()) {
        s->segment.shmseg = 0;  // not attached: nothing to detach
        return nullptr;
    }
    return std::unique_ptr<ServerScaler>(new ServerScaler(std::move(s)));
}

bool ServerScaler::attach(uint64_t window) {
    State& s = *state_;
    Display* display = s.display;
    if (window == 0 || s.target) return false;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, ::Window(window), &attributes) || !s.sync()) return false;
    XRenderPictFormat* windowFormat = XRenderFindVisualFormat(display, attributes.visual);
    if (!windowFormat) return false;
    s.pixmap = XCreatePixmap(display, ::Window(window), unsigned(s.frameSize.width()),
                             unsigned(s.frameSize.height()), 24);
    s.gc = XCreateGC(display, s.pixmap, 0, nullptr);
    XRenderPictureAttributes pad{};
    pad.repeat = RepeatPad;  // the edge pixels continue outwards instead of fading to black
    s.source = XRenderCreatePicture(display, s.pixmap, s.frameFormat, CPRepeat, &pad);
    s.target = XRenderCreatePicture(display, ::Window(window), windowFormat, 0, nullptr);
    const Visual* visual = attributes.visual;
    if (attributes.depth == s.image->depth && visual->red_mask == s.image->red_mask &&
        visual->green_mask == s.image->green_mask && visual->blue_mask == s.image->blue_mask) {
        s.window = ::Window(window);
        s.windowGc = XCreateGC(display, s.window, 0, nullptr);
    }
    return s.sync();
}

std::unique_ptr<ServerScaler> ServerScaler::open(uint64_t window, QSize frameSize,
                                                 size_t stagingBytes) {
    auto scaler = connect(frameSize, stagingBytes);
    return scaler && scaler->attach(window) ? std::move(scaler) : nullptr;
}

bool ServerScaler::present(const QImage& frame, const DirtyTiles& changed, const QRect& scene,
                           QSize windowSize, bool whole, bool smooth) {
    State& s = *state_;
    const bool copy = s.windowGc && scene.size() == frame.size();
    if (int(copy) != s.copying) {
        // The pixmap or the window missed what went the other way.
        whole = true;
        s.copying = int(copy);
    }
    const std::vector<QRect> sent = whole ? std::vector<QRect>{frame.rect()} : changed.rects();
    // A pixel wider all round: the server's sample positions may round apart from ours.
    const QRegion area = whole ? QRegion(QRect(QPoint(0, 0), windowSize))
                               : samples_.affectedBy(frame.size(), scene, changed, 1);
    if (area.isEmpty()) return true;
    Display* display = s.display;
    if (!s.target || frame.depth() != 32 || frame.size() != s.frameSize) return false;
    // The server has read the last frame's parts (and reports whether it could draw them)
    // before their memory is written again.
    if (!s.sync()) return false;
    s.shelfTop = s.shelfHeight = s.shelfEnd = 0;

    if (!scene.isEmpty() && scene.size() != s.sceneSize) {
        // Maps window pixels to frame pixels; pixel centres line up as when scaling here.
        XTransform transform{};
        transform.matrix[0][0] = XDoubleToFixed(double(frame.width()) / double(scene.width()));
        transform.matrix[1][1] = XDoubleToFixed(double(frame.height()) / double(scene.height()));
        transform.matrix[2][2] = XDoubleToFixed(1);
        XRenderSetPictureTransform(display, s.source, &transform);
        s.sceneSize = scene.size();
    }
    // Shown 1:1 there is nothing to blend, and nearest lets the server copy.
    if (scene.size() == frame.size()) smooth = false;
    if (int(smooth) != s.filter) {
        XRenderSetPictureFilter(display, s.source, smooth ? FilterBilinear : FilterNearest, nullptr,
                                0);
        s.filter = int(smooth);
    }

    const QRect frameRect = frame.rect();
    for (const QRect& wanted : sent) {
        const QRect inFrame = wanted & frameRect;
        // Parts taller than the image go in bands.
        for (int top = inFrame.top(); top <= inFrame.bottom(); top += s.image->height) {
            const QRect part(inFrame.left(), top, inFrame.width(),
                             std::min(inFrame.bottom() + 1 - top, s.image->height));
            const std::optional<QPoint> at = s.place(part.size());
            if (!at) return false;
            const size_t bytes = size_t(part.width()) * 4;
            for (int row = 0; row < part.height(); ++row)
                std::memcpy(s.image->data + qsizetype(at->y() + row) * s.image->bytes_per_line +
                                at->x() * 4,
                            frame.constScanLine(part.y() + row) + part.left() * 4, bytes);
            if (copy)
                XShmPutImage(display, s.window, s.windowGc, s.image, at->x(), at->y(),
                             scene.x() + part.x(), scene.y() + part.y(), unsigned(part.width()),
                             unsigned(part.height()), False);
            else
                XShmPutImage(display, s.pixmap, s.gc, s.image, at->x(), at->y(), part.x(), part.y(),
                             unsigned(part.width()), unsigned(part.height()), False);
        }
    }

    const XRenderColor black{0, 0, 0, 0xFFFF};
    for (const QRect& r : area) {
        const QRect inside = r & scene;
        if (!inside.isEmpty() && !copy)
            XRenderComposite(display, PictOpSrc, s.source, None, s.target, inside.x() - scene.x(),
                             inside.y() - scene.y(), 0, 0, inside.x(), inside.y(),
                             unsigned(inside.width()), unsigned(inside.height()));
        if (inside == r) continue;
        for (const QRect& bar : QRegion(r).subtracted(scene))
            XRenderFillRectangle(display, PictOpSrc, s.target, &black, bar.x(), bar.y(),
                                 unsigned(bar.width()), unsigned(bar.height()));
    }
    XFlush(display);
    return true;
}

bool ServerScaler::finish() { return state_->sync(); }

}  // namespace bw
