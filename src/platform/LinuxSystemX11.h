#pragma once

#include <QString>
#include <cstdint>

// The few Xlib queries of the system layer, kept apart so that Xlib's macros (None, Bool,
// Status, ...) never meet the rest of the code. `display` is a Display*.
namespace bw {

// A new connection to $DISPLAY; null when there is no X server.
void* OpenX11Display();
void CloseX11Display(void* display);

// The top-level window named `title` (_NET_WM_NAME, else WM_NAME): the window manager's
// client list, then the root window's children and their children (the clients inside
// window-manager frames). 0 when there is none.
uint64_t FindX11WindowByTitle(void* display, const QString& title);

// The X server's screen-saver timeout in seconds (0: the server saver is off).
int X11ScreenSaverTimeout(void* display);

}  // namespace bw
