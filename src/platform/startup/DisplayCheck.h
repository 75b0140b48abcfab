#pragma once

#include <optional>
#include <string>

namespace bw {

// What tells a program where its windows can show; a text is empty when its variable is not set.
struct DisplayEnvironment {
    std::string qtPlatform;       // QT_QPA_PLATFORM
    std::string x11Display;       // DISPLAY
    std::string waylandDisplay;   // WAYLAND_DISPLAY
    std::string runtimeDir;       // XDG_RUNTIME_DIR, where a relative Wayland display lives
    bool qtWaylandPlugin = true;  // Qt's Wayland platform plugin is installed

    static DisplayEnvironment current();
};

// Qt ends a program that finds no display with an abort and a core dump, so the programs look
// first. Returns the one line to tell the user ("PROGRAM: ...") when there is no X11 server
// that answers and no Wayland socket that takes a connection (one that Qt can use: without its
// Wayland plugin Qt can only fall back on X11); nothing when there is a display, or when
// QT_QPA_PLATFORM leaves the choice to Qt.
std::optional<std::string> missingDisplayMessage(const std::string& program,
                                                 const DisplayEnvironment& environment);

// For main(), before the application object: prints the line of missingDisplayMessage to
// standard error and returns true when the program has nowhere to show.
bool reportMissingDisplay(const std::string& program);

}  // namespace bw
