#include "app/RunMode.h"

namespace bw {

namespace {

// A whole number after optional leading blanks: decimal digits, or 0x and hex digits.
bool parseNumber(QString text, uint64_t* value) {
    while (text.startsWith(u' ')) text.remove(0, 1);
    const bool hex = text.startsWith(u"0x", Qt::CaseInsensitive);
    const QString digits = hex ? text.mid(2) : text;
    if (digits.isEmpty()) return false;
    for (QChar c : digits) {
        const bool decimal = c >= u'0' && c <= u'9';
        const bool hexLetter = c.toLower() >= u'a' && c.toLower() <= u'f';
        if (!(decimal || (hex && hexLetter))) return false;
    }
    bool ok = false;
    *value = digits.toULongLong(&ok, hex ? 16 : 10);
    return ok;
}

}  // namespace

uint64_t previewWindowFromArgument(const QString& argument) {
    for (qsizetype n = argument.size(); n >= 1; --n) {
        uint64_t value = 0;
        if (parseNumber(argument.right(n), &value)) return value;
    }
    return 0;
}

StartRequest parseStartArgument(const QString& argument) {
    StartRequest request;
    const QString normalized = argument.trimmed().toLower();
    request.selector = normalized.left(2);
    if (request.selector.isEmpty() || request.selector == u"/s") {
        request.mode = RunMode::Saver;
    } else if (request.selector == u"/p") {
        request.mode = RunMode::Preview;
        request.previewWindow = previewWindowFromArgument(normalized);
    } else if (request.selector == u"/c") {
        request.mode = RunMode::Configure;
    } else if (request.selector == u"/a") {
        request.mode = RunMode::ChangePassword;
    }
    return request;
}

namespace {

// A window id in decimal or 0x hex; 0 when the text is none.
uint64_t windowId(const QString& text) {
    const QString trimmed = text.trimmed();
    uint64_t id = 0;
    return !trimmed.isEmpty() && parseNumber(trimmed, &id) ? id : 0;
}

bool isAny(const QString& argument, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (argument == QLatin1String(name)) return true;
    return false;
}

}  // namespace

StartRequest parseCommandLine(const QStringList& arguments, const QString& xscreensaverWindow) {
    StartRequest hack;
    hack.mode = RunMode::Hack;
    QStringList rest;
    bool hackArgument = false;
    bool daemonize = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (isAny(argument, {"-window-id", "--window-id"}) && i + 1 < arguments.size()) {
            hack.hackWindow = windowId(arguments[++i]);
            hackArgument = hack.hackWindow != 0;
            if (!hackArgument) return StartRequest{};  // a window id that is no number
        } else if (isAny(argument, {"-root", "--root"})) {
            hack.hackWindow = windowId(xscreensaverWindow);
            hackArgument = true;
        } else if (isAny(argument, {"-sound", "--sound"})) {
            hack.hackSound = true;
        } else if (isAny(argument, {"-f", "--daemonize"})) {
            daemonize = true;
        } else {
            rest.append(argument);
        }
    }
    if (rest.isEmpty() && (hackArgument || windowId(xscreensaverWindow) != 0)) {
        if (!hackArgument) hack.hackWindow = windowId(xscreensaverWindow);
        hack.daemonize = daemonize;
        return hack;
    }
    StartRequest request = parseStartArgument(rest.join(u' '));
    request.daemonize = daemonize;
    return request;
}

bool refuseSecondSaver(const StartRequest& request, bool displayPropertiesOpen,
                       bool previousInstanceRunning) {
    return request.selector == u"/s" && !displayPropertiesOpen && previousInstanceRunning;
}

ProgramOption programOptionFromArguments(const QStringList& arguments) {
    if (arguments.size() != 1) return ProgramOption::None;
    const QString& argument = arguments[0];
    if (isAny(argument, {"--help", "-h"})) return ProgramOption::Help;
    if (argument == u"--version") return ProgramOption::Version;
    if (argument == u"--add-to-xscreensaver") return ProgramOption::AddToXScreenSaver;
    return ProgramOption::None;
}

QString usageText() {
    return QStringLiteral(
        "Usage: brinewave3 [/s [-f] | /c | /a | /p WINDOW]\n"
        "       brinewave3 [-root | -window-id WINDOW] [-sound]\n"
        "       brinewave3 --add-to-xscreensaver | --help | --version\n"
        "\n"
        "An animated aquarium screensaver.\n"
        "\n"
        "  /s                     the aquarium, full screen (also with no argument)\n"
        "  -f, --daemonize        with /s on a Wayland session lock: return once the\n"
        "                         session is locked (for swayidle -w)\n"
        "  /c                     the settings dialog\n"
        "  /a                     change the password\n"
        "  /p WINDOW              a small preview inside the X11 window WINDOW\n"
        "  -root                  draw as an XScreenSaver display mode\n"
        "  -window-id WINDOW      draw into the X11 window WINDOW as a display mode\n"
        "  -sound                 bubbles and music in the display mode\n"
        "  --add-to-xscreensaver  list Brinewave3 in XScreenSaver's display modes\n"
        "                         (adds it to ~/.xscreensaver, keeping a backup)\n"
        "  -h, --help             show this help and exit\n"
        "  --version              show the version and exit\n"
        "\n"
        "While the aquarium runs: X and Z enter and leave custom mode, Q and S turn the\n"
        "bubbles off and on, V and B the music; any other key ends it.\n"
        "See brinewave3(6) for more.\n");
}

}  // namespace bw
