#pragma once

#include "system/SystemLayer.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <vector>

#include <QTimer>
class QWindow;

namespace bw {

class ForeignWindowProbe;
class SyntheticInputFilter;

// The operating-system services of a Linux desktop: Qt for the cursor, grabs, message boxes and
// the shell, Xlib for what Qt does not tell (window titles, the X screen-saver timeout).
class LinuxSystemLayer : public SystemLayer {
public:
    struct Options {
        QString lockDirectory;    // empty: $XDG_RUNTIME_DIR, else the temp folder
        QString homeDirectory;    // empty: the user's home, where .xscreensaver lives
        QStringList programPath;  // empty: $PATH, where settings programs are looked up
        int grabRetryMs = 100;
        // Nothing Qt shows is seen (the Wayland lock draws off screen): messages go to standard
        // error, answered with their first button, instead of waiting for an answer never given.
        bool messagesOnStandardError = false;
    };

    LinuxSystemLayer();
    explicit LinuxSystemLayer(Options options);
    ~LinuxSystemLayer() override;

    LinuxSystemLayer(const LinuxSystemLayer&) = delete;
    LinuxSystemLayer& operator=(const LinuxSystemLayer&) = delete;

    int ShowCursor(bool show) override;
    void SetScreenSaverRunning(bool running, QWindow* window = nullptr) override;
    bool ScreenSaverRunning() const override;
    uint64_t FindWindowByTitle(const QString& title) override;
    QSize ForeignWindowSize(uint64_t window) override;
    bool WindowGone(uint64_t window) override;
    bool PreviousInstanceRunning() override;
    QString WhyPasswordCannotGuard() override;
    int ScreenSaveTimeOutSeconds() override;
    void ShellOpen(const QString& target) override;
    void RunControlPanel(const QString& commandLine) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    MessageAnswer MessageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    QDateTime Now() override;
    int64_t MonotonicMs() override;
    void EndProcess(int exitCode) override;

    // True while the running saver's window still waits for its keyboard and pointer grab.
    bool GrabPending() const;

    // The timeout of an ~/.xscreensaver file's "timeout:" line ("0:10:00", "10:00" or plain
    // minutes) in seconds; nothing when the text has no readable line.
    static std::optional<int> ParseXScreenSaverTimeout(const QString& fileText);
    // The settings program for a control-panel command line and the running desktop
    // ($XDG_CURRENT_DESKTOP), among the programs found on `path` (empty: $PATH): the program's
    // full path first, then its arguments. Empty when there is none.
    static QStringList ControlPanelProgram(const QString& commandLine, const QString& desktop,
                                           const QStringList& path);

private:
    void* Display();
    // Our own connection for questions about windows; null without X11.
    ForeignWindowProbe* Probe();
    void TryGrab();
    void ReleaseGrab();
    bool StartDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory = {});
    // A URL, or a file that is no program, in the desktop's application for it.
    void OpenWithDesktop(const QString& target);
    void ReapChildren();

    static constexpr int kReapIntervalMs = 500;

    Options options_;
    int cursorCount_ = 0;
    bool running_ = false;
    QPointer<QWindow> grabWindow_;
    bool grabbed_ = false;
    std::unique_ptr<QTimer> grabRetry_;
    std::unique_ptr<SyntheticInputFilter> synthetic_;  // installed while running, on X11
    void* display_ = nullptr;  // our own X11 connection, opened on first use
    bool displayTried_ = false;
    int lockFd_ = -1;
    bool lockAsked_ = false;
    bool previousInstance_ = false;
    std::optional<QString> whyPasswordCannotGuard_;
    std::unique_ptr<ForeignWindowProbe> probe_;  // its own X11 connection, opened on first use
    std::vector<pid_t> children_;                // started, not yet reaped
    std::unique_ptr<QTimer> reaper_;
};

}  // namespace bw
