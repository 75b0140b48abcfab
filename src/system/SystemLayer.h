#pragma once

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>

class QWindow;

namespace bw {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// Everything the programs ask of the operating system. The platform layer implements it
// for a Linux desktop; tests use a recording fake.
class SystemLayer {
public:
    virtual ~SystemLayer() = default;

    // Counted like Windows: the pointer shows while the count is >= 0. Returns the new count.
    virtual int ShowCursor(bool show) = 0;

    // While a screensaver runs, `window` (the saver or the prompt) holds the keyboard and
    // pointer grab so input cannot reach other programs.
    virtual void SetScreenSaverRunning(bool running, QWindow* window = nullptr) = 0;
    virtual bool ScreenSaverRunning() const = 0;

    // A top-level window with exactly this title; 0 when none (or no X11).
    virtual uint64_t FindWindowByTitle(const QString& title) = 0;
    // The client size of a window of another program; invalid when it does not exist.
    virtual QSize ForeignWindowSize(uint64_t window) { return {}; }
    // True when the X server no longer has this window of ours: another client destroyed it.
    // False while it exists, and without X11.
    virtual bool WindowGone(uint64_t window) { return false; }
    // Empty when the saver's password guards this desktop (its grabs hold every key);
    // otherwise the sentence that tells the user why it cannot (a Wayland session).
    virtual QString WhyPasswordCannotGuard() { return {}; }
    // True when another copy of the program holds the per-user instance lock; otherwise this
    // copy takes it (the first answer is kept).
    virtual bool PreviousInstanceRunning() = 0;
    // The system's own screen-saver timeout in seconds; 0 when it cannot be read.
    virtual int ScreenSaveTimeOutSeconds() = 0;

    // Opens a file or address with the desktop's handler.
    virtual void ShellOpen(const QString& target) = 0;
    // A Windows control-panel command line, run as the desktop's matching settings program
    // when one is installed; otherwise nothing happens.
    virtual void RunControlPanel(const QString& commandLine) = 0;
    // Starts a program without waiting for it. False when it cannot be started.
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;

    virtual MessageAnswer MessageBox(const QString& text, const QString& title, MessageIcon icon,
                                     MessageButtons buttons) = 0;

    virtual QDateTime Now() = 0;
    // Milliseconds from a clock that never jumps.
    virtual int64_t MonotonicMs() = 0;

    // Ends the process. Tests record it instead.
    virtual void EndProcess(int exitCode) = 0;
};

}  // namespace bw
