// A plain X11 window of another program, for a preview to live in.
// Usage: bw-host WIDTH HEIGHT
// Prints the window's id once it is mapped, then keeps it until killed; a resize by another
// client (xdotool windowsize) is taken as it comes. Its background is pure magenta, a colour
// the preview picture does not have, so a test can tell the preview from the empty host.
// Usage: bw-host --can-grab
// Prints "free" when another program could take the keyboard and pointer now, else "held".
// Usage: bw-host --poll-grab SECONDS
// Tries to take the keyboard and the pointer every few milliseconds for that long, letting go
// at once; prints "took" the first time either grab succeeds, else "never" at the end.
// Usage: bw-host --send-keys WINDOW TEXT
// Types TEXT and Return into WINDOW with XSendEvent, as a program that fakes input would.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

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

int pollGrab(Display* display, double seconds) {
    const Window root = DefaultRootWindow(display);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        const bool keyboard = XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync,
                                            CurrentTime) == GrabSuccess;
        const bool pointer = XGrabPointer(display, root, False, 0, GrabModeAsync, GrabModeAsync,
                                          None, None, CurrentTime) == GrabSuccess;
        if (keyboard) XUngrabKeyboard(display, CurrentTime);
        if (pointer) XUngrabPointer(display, CurrentTime);
        XSync(display, False);
        if (keyboard || pointer) {
            std::printf("took\n");
            std::fflush(stdout);
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::printf("never\n");
    return 0;
}

int sendKeys(Display* display, Window window, const std::string& text) {
    auto send = [&](KeySym symbol, unsigned state) {
        XKeyEvent key{};
        key.display = display;
        key.window = window;
        key.root = DefaultRootWindow(display);
        key.time = CurrentTime;
        key.same_screen = True;
        key.keycode = XKeysymToKeycode(display, symbol);
        key.state = state;
        for (int type : {KeyPress, KeyRelease}) {
            key.type = type;
            XSendEvent(display, window, True, KeyPressMask | KeyReleaseMask,
                       reinterpret_cast<XEvent*>(&key));
        }
    };
    for (char c : text) {
        const std::string name(1, c);
        send(XStringToKeysym(name.c_str()), std::isupper(static_cast<unsigned char>(c)) ? ShiftMask : 0);
    }
    send(XK_Return, 0);
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::string(argv[1]) == "--can-grab") {
        Display* display = XOpenDisplay(nullptr);
        return display ? canGrab(display) : 1;
    }
    if (argc == 4 && std::string(argv[1]) == "--send-keys") {
        Display* display = XOpenDisplay(nullptr);
        return display ? sendKeys(display, std::strtoul(argv[2], nullptr, 0), argv[3]) : 1;
    }
    if (argc == 3 && std::string(argv[1]) == "--poll-grab") {
        Display* display = XOpenDisplay(nullptr);
        return display ? pollGrab(display, std::atof(argv[2])) : 1;
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
