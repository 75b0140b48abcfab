#include "platform/startup/DisplayCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace bw {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool x11DisplayAnswers(const std::string& name) {
    xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);  // also frees a connection that failed
    return answers;
}

// The compositor's socket is all a client needs; a plain connect finds it without libwayland.
bool waylandDisplayAnswers(const std::string& name, const std::string& runtimeDir) {
    if (name.front() != '/' && runtimeDir.empty()) return false;
    const std::string path = name.front() == '/' ? name : runtimeDir + '/' + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return answers;
}

// Where Qt looks for platform plugins: the folder QT_QPA_PLATFORM_PLUGIN_PATH names, then
// "platforms" in each plugin folder (Qt's own, QT_PLUGIN_PATH's, the program's).
bool qtWaylandPluginInstalled() {
    QStringList folders;
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM_PLUGIN_PATH"))
        folders.append(qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"));
    for (const QString& path : QCoreApplication::libraryPaths())
        folders.append(path + QStringLiteral("/platforms"));
    folders.append(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() +
                   QStringLiteral("/platforms"));
    for (const QString& folder : folders) {
        if (!QDir(folder).entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

}  // namespace

DisplayEnvironment DisplayEnvironment::current() {
    DisplayEnvironment environment{variable("QT_QPA_PLATFORM"), variable("DISPLAY"),
                                   variable("WAYLAND_DISPLAY"), variable("XDG_RUNTIME_DIR")};
    if (environment.qtPlatform.empty() && !environment.waylandDisplay.empty())
        environment.qtWaylandPlugin = qtWaylandPluginInstalled();
    return environment;
}

std::optional<std::string> missingDisplayMessage(const std::string& program,
                                                 const DisplayEnvironment& environment) {
    if (!environment.qtPlatform.empty()) return std::nullopt;
    const std::string& x11 = environment.x11Display;
    const std::string& wayland = environment.waylandDisplay;
    const bool waylandAnswers =
        !wayland.empty() && waylandDisplayAnswers(wayland, environment.runtimeDir);
    if (waylandAnswers && environment.qtWaylandPlugin) return std::nullopt;
    if (!x11.empty() && x11DisplayAnswers(x11)) return std::nullopt;

    if (x11.empty() && wayland.empty())
        return program +
               ": no X11 or Wayland display to show on (DISPLAY and WAYLAND_DISPLAY are not set).";
    const std::string x11Problem =
        x11.empty() ? "no X11 display is set" : "the X11 display " + x11 + " does not answer";
    std::string waylandProblem = "no Wayland display is set";
    if (waylandAnswers)
        waylandProblem = "the Wayland display " + wayland +
                         " needs Qt's Wayland plugin (the package qt6-wayland)";
    else if (!wayland.empty())
        waylandProblem = "the Wayland display " + wayland + " does not answer";
    // The display that is set comes first: it is the one the user meant.
    return program + ": " +
           (x11.empty() ? waylandProblem + ", and " + x11Problem
                        : x11Problem + ", and " + waylandProblem) +
           ".";
}

bool reportMissingDisplay(const std::string& program) {
    const std::optional<std::string> message =
        missingDisplayMessage(program, DisplayEnvironment::current());
    if (message) std::fprintf(stderr, "%s\n", message->c_str());
    return message.has_value();
}

}  // namespace bw
