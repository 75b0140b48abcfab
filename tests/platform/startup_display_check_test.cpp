// The look for a display that the programs make before Qt starts.
#include "platform/startup/DisplayCheck.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace bw {
namespace {

// A Unix socket at `path`: listening like a compositor's, or bound and left like one whose
// compositor died. Returns the descriptor to close at the end.
int UnixSocket(const std::string& path, bool listening) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0) << path;
    if (listening) {
        EXPECT_EQ(listen(fd, 4), 0);
    }
    return fd;
}

// An X11 display number that no server on this machine answers.
std::string SilentX11Display() {
    for (int number = 97; number < 200; ++number) {
        const std::string name = ":" + std::to_string(number);
        xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
        const bool served = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);
        if (!served) return name;
    }
    return "";
}

std::string Replaced(std::string text, const std::string& marker, const std::string& value) {
    for (size_t at; (at = text.find(marker)) != std::string::npos;)
        text.replace(at, marker.size(), value);
    return text;
}

TEST(DisplayCheck, SaysWhichDisplayIsMissing) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const std::string dir = runtime.path().toStdString();
    const int live = UnixSocket(dir + "/wayland-live", true);
    const int stale = UnixSocket(dir + "/wayland-stale", false);
    const std::string silentX11 = SilentX11Display();
    ASSERT_FALSE(silentX11.empty());

    // "%x" is the silent X11 display, "%r" the runtime folder; no text: the program may start.
    struct Case {
        const char* qtPlatform;
        const char* x11;
        const char* wayland;
        bool runtimeDir;
        bool qtWaylandPlugin;
        const char* message;
    };
    const Case cases[] = {
        {"", "", "", true, true,
         "no X11 or Wayland display to show on (DISPLAY and WAYLAND_DISPLAY are not set)"},
        {"offscreen", "", "", false, false, nullptr},
        {"", "%x", "", true, true,
         "the X11 display %x does not answer, and no Wayland display is set"},
        {"", "", "wayland-gone", true, true,
         "the Wayland display wayland-gone does not answer, and no X11 display is set"},
        {"", "", "wayland-stale", true, true,
         "the Wayland display wayland-stale does not answer, and no X11 display is set"},
        {"", "", "wayland-live", false, true,
         "the Wayland display wayland-live does not answer, and no X11 display is set"},
        {"", "%x", "wayland-gone", true, true,
         "the X11 display %x does not answer, and the Wayland display wayland-gone does not "
         "answer"},
        {"", "%x", "wayland-live", true, false,
         "the X11 display %x does not answer, and the Wayland display wayland-live needs Qt's "
         "Wayland plugin (the package qt6-wayland)"},
        {"", "", "wayland-live", true, true, nullptr},
        {"", "", "%r/wayland-live", false, true, nullptr},
        {"", "%x", "wayland-live", true, true, nullptr},
    };
    for (const Case& c : cases) {
        const DisplayEnvironment environment{c.qtPlatform, Replaced(c.x11, "%x", silentX11),
                                             Replaced(c.wayland, "%r", dir),
                                             c.runtimeDir ? dir : "", c.qtWaylandPlugin};
        SCOPED_TRACE("DISPLAY=" + environment.x11Display + " WAYLAND_DISPLAY=" +
                     environment.waylandDisplay + " XDG_RUNTIME_DIR=" + environment.runtimeDir);
        const std::optional<std::string> message = missingDisplayMessage("Brinewave3", environment);
        if (c.message) {
            EXPECT_EQ(message, "Brinewave3: " + Replaced(c.message, "%x", silentX11) + ".");
        } else {
            EXPECT_EQ(message, std::nullopt);
        }
    }
    close(live);
    close(stale);
}

}  // namespace
}  // namespace bw
