#include "platform/LinuxSystemX11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <vector>

namespace bw {

namespace {

// Windows come and go while we look at them; a vanished one must not end the program, which
// is what Xlib's default error handler does.
int IgnoreXErrors(::Display*, XErrorEvent*) { return 0; }

std::vector<Window> ClientList(::Display* display, Window root) {
    std::vector<Window> windows;
    const Atom clientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, root, clientList, 0, 65536, False, XA_WINDOW, &type, &format,
                           &count, &remaining, &data) == Success &&
        data && type == XA_WINDOW && format == 32) {
        // Format-32 properties come back as an array of long.
        const auto* ids = reinterpret_cast<const unsigned long*>(data);
        windows.assign(ids, ids + count);
    }
    if (data)
        XFree(data);
    return windows;
}

std::vector<Window> Children(::Display* display, Window parent) {
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> windows;
    if (XQueryTree(display, parent, &root, &up, &children, &count) && children)
        windows.assign(children, children + count);
    if (children)
        XFree(children);
    return windows;
}

QString WindowTitle(::Display* display, Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &data) == Success &&
        data && type == utf8 && format == 8) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(count));
    }
    if (data)
        XFree(data);
    if (!title.isNull())
        return title;
    XTextProperty name{};
    if (XGetWMName(display, window, &name) && name.value && name.format == 8) {
        const auto* text = reinterpret_cast<const char*>(name.value);
        const int length = static_cast<int>(name.nitems);
        title = name.encoding == utf8 ? QString::fromUtf8(text, length)
                                      : QString::fromLatin1(text, length);
    }
    if (name.value)
        XFree(name.value);
    return title;
}

}  // namespace

void* OpenX11Display() { return XOpenDisplay(nullptr); }

void CloseX11Display(void* display) {
    if (display)
        XCloseDisplay(static_cast<::Display*>(display));
}

uint64_t FindX11WindowByTitle(void* handle, const QString& title) {
    auto* display = static_cast<::Display*>(handle);
    if (!display || title.isEmpty())
        return 0;
    XSync(display, False);
    XErrorHandler previous = XSetErrorHandler(IgnoreXErrors);
    const Window root = DefaultRootWindow(display);
    std::vector<Window> candidates = ClientList(display, root);
    for (Window top : Children(display, root)) {
        candidates.push_back(top);
        for (Window inner : Children(display, top))
            candidates.push_back(inner);
    }
    uint64_t found = 0;
    for (Window window : candidates) {
        if (WindowTitle(display, window) == title) {
            found = window;
            break;
        }
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

int X11ScreenSaverTimeout(void* handle) {
    auto* display = static_cast<::Display*>(handle);
    if (!display)
        return 0;
    int timeout = 0;
    int interval = 0;
    int preferBlanking = 0;
    int allowExposures = 0;
    XGetScreenSaver(display, &timeout, &interval, &preferBlanking, &allowExposures);
    return timeout > 0 ? timeout : 0;
}

}  // namespace bw
