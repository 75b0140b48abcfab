#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace bw {

enum class RunMode { Saver, Preview, Configure, ChangePassword, Hack, None };

struct StartRequest {
    RunMode mode = RunMode::None;
    QString selector;            // the first two characters of the trimmed, lower-cased argument
    uint64_t previewWindow = 0;  // the window after "/p"; 0 when none
    uint64_t hackWindow = 0;     // the window to draw into as a display mode; 0 = the root window
    bool hackSound = false;      // "-sound": bubbles and music in the display mode
    // "-f" or "--daemonize" (swaylock's words): on a Wayland session lock the program returns
    // once the session is locked, and the saver goes on in the background.
    bool daemonize = false;
};

// The program's arguments: the XScreenSaver display mode ("-window-id ID", "--window-id ID",
// "-root", "--root", or no argument but $XSCREENSAVER_WINDOW, each perhaps with "-sound"),
// else the screensaver argument; "-f" or "--daemonize" may go with either.
StartRequest parseCommandLine(const QStringList& arguments, const QString& xscreensaverWindow);

// Reads the screensaver argument: trimmed, lower-cased, the first two characters select the
// mode ("" or "/s" saver, "/p" preview, "/c" settings, "/a" change password).
StartRequest parseStartArgument(const QString& argument);

// The preview window in a "/p" argument: the longest numeric tail, decimal or 0x hex,
// leading blanks allowed ("/p 4660", "/p:4660", "/p 0x1234"). 0 when there is none.
uint64_t previewWindowFromArgument(const QString& argument);

// A second saver is refused while one runs, unless the display settings are open
// (their preview starts savers of its own).
bool refuseSecondSaver(const StartRequest& request, bool displayPropertiesOpen,
                       bool previousInstanceRunning);

// The options for people at a terminal, each given alone: "--help" or "-h", "--version",
// "--add-to-xscreensaver". Anything else is a run mode or an argument the program ignores.
enum class ProgramOption { None, Help, Version, AddToXScreenSaver };
ProgramOption programOptionFromArguments(const QStringList& arguments);

// What "--help" prints.
QString usageText();

}  // namespace bw
