// A plain X11 window of another program, for a preview to live in.
// Usage: bw-host WIDTH HEIGHT
// Prints the window's id once it is mapped, then keeps it until killed; a resize by another
// client (xdotool windowsize) is taken as it comes. Its background is pure magenta, a colour
// the preview picture does not have, so a test can tell the preview from the empty host.
// Usage: bw-host --can-grab
// Prints "free" when another program could take the keyboard and pointer now, else "held".
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int canGrab(Display* display) {
    const Window root = DefaultRootWindow(display);
    const bool keyboard =
        XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime) ==
        GrabSuccess;
    const bool pointer = XGrabPointer(display, root, False, 0, GrabModeAsync, GrabModeAsync,
                                      None, None, CurrentTime) == GrabSuccess;
    XUngrabKeyboard(display, CurrentTime);
    XUngrabPointer(display, CurrentTime);
    XSync(display, False);
    std::printf(keyboard && pointer ? "free\n" : "held\n");
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::string(argv[1]) == "--can-grab") {
        Display* display = XOpenDisplay(nullptr);
        return display ? canGrab(display) : 1;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: bw-host WIDTH HEIGHT\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bw-host: cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    XColor magenta{};
    Colormap colours = DefaultColormap(display, screen);
    XParseColor(display, colours, "#ff00ff", &magenta);
    XAllocColor(display, colours, &magenta);
    const Window window = XCreateSimpleWindow(
        display, RootWindow(display, screen), 10, 10, unsigned(std::atoi(argv[1])),
        unsigned(std::atoi(argv[2])), 0, BlackPixel(display, screen), magenta.pixel);
    XStoreName(display, window, "Preview host");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify) break;
    }
    std::printf("%lu\n", window);
    std::fflush(stdout);
    for (XEvent event;;) XNextEvent(display, &event);
}
