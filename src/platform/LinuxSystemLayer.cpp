#include "platform/LinuxSystemLayer.h"

#include "platform/InputLockX11.h"
#include "platform/LinuxSystemX11.h"
#include "platform/Spawn.h"
#include "platform/SpriteDisplayX11.h"
#include "platform/wayland/WaylandProbe.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bw {

namespace {

enum class Applet { Display, Power };

struct SettingsProgram {
    Applet applet;
    QStringList desktops;  // XDG_CURRENT_DESKTOP names this program belongs to
    QString program;
    QStringList arguments;
};

// In order of preference when the running desktop is none of theirs.
const QList<SettingsProgram>& SettingsPrograms() {
    static const QList<SettingsProgram> programs = {
        {Applet::Display, {"MATE"}, "mate-display-properties", {}},
        {Applet::Display, {"X-Cinnamon", "Cinnamon"}, "cinnamon-settings", {"display"}},
        {Applet::Display, {"GNOME", "Unity"}, "gnome-control-center", {"display"}},
        {Applet::Display, {"XFCE"}, "xfce4-display-settings", {}},
        {Applet::Display, {"KDE"}, "systemsettings", {"kcm_kscreen"}},
        {Applet::Display, {"LXQt"}, "lxqt-config-monitor", {}},
        {Applet::Display, {"LXDE"}, "lxrandr", {}},
        {Applet::Power, {"MATE"}, "mate-power-preferences", {}},
        {Applet::Power, {"X-Cinnamon", "Cinnamon"}, "cinnamon-settings", {"power"}},
        {Applet::Power, {"GNOME", "Unity"}, "gnome-control-center", {"power"}},
        {Applet::Power, {"XFCE"}, "xfce4-power-manager-settings", {}},
        {Applet::Power, {"KDE"}, "systemsettings", {"kcm_powerdevilprofilesconfig"}},
        {Applet::Power, {"LXQt"}, "lxqt-config-powermanagement", {}},
    };
    return programs;
}

QString LockDirectory(const QString& chosen) {
    if (!chosen.isEmpty())
        return chosen;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

// Something the kernel can run: an ELF binary or a script with "#!". Files on FAT or NTFS
// mounts carry the executable bit too, and those must still open in their viewer.
bool IsProgram(const QFileInfo& info) {
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    return head == "\x7f" "ELF" || head.startsWith("#!");
}

MessageAnswer AnswerOf(int button) {
    switch (button) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Retry: return MessageAnswer::Retry;
    default: return MessageAnswer::Cancel;
    }
}

}  // namespace

LinuxSystemLayer::LinuxSystemLayer() : LinuxSystemLayer(Options{}) {}

LinuxSystemLayer::LinuxSystemLayer(Options options) : options_(std::move(options)) {}

LinuxSystemLayer::~LinuxSystemLayer() {
    ReleaseGrab();
    if (cursorCount_ < 0 && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
    if (lockFd_ >= 0)
        close(lockFd_);
    CloseX11Display(display_);
}

int LinuxSystemLayer::ShowCursor(bool show) {
    const bool wasHidden = cursorCount_ < 0;
    cursorCount_ += show ? 1 : -1;
    const bool hidden = cursorCount_ < 0;
    if (hidden != wasHidden && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (hidden)
            QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    }
    return cursorCount_;
}

void LinuxSystemLayer::SetScreenSaverRunning(bool running, QWindow* window) {
    running_ = running;
    if (!running) {
        ReleaseGrab();
        return;
    }
    if (!synthetic_ && X11InputLock::available()) {
        synthetic_ = std::make_unique<SyntheticInputFilter>();
        QCoreApplication::instance()->installNativeEventFilter(synthetic_.get());
    }
    // No window (yet): whatever is held stays held, for the window that comes next.
    if (!window || window == grabWindow_) return;
    // On X11 the grab is on the root window and simply stays on; elsewhere it is the window's.
    if (!X11InputLock::available()) ReleaseGrab();
    grabWindow_ = window;
    TryGrab();
}

bool LinuxSystemLayer::ScreenSaverRunning() const { return running_; }

bool LinuxSystemLayer::GrabPending() const { return running_ && grabWindow_ && !grabbed_; }

void LinuxSystemLayer::TryGrab() {
    if (!running_ || !grabWindow_) {
        if (grabRetry_)
            grabRetry_->stop();
        return;
    }
    if (X11InputLock::available()) {
        grabbed_ = X11InputLock::grab();
    } else if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // Wayland grabs nothing for a plain window (Qt grabs only for popups): asking ten
        // times a second would only fill standard error with Qt's refusals.
        return;
    } else {
        // Both report failure while another client holds a grab or the window is not yet mapped.
        const bool keyboard = grabWindow_->setKeyboardGrabEnabled(true);
        const bool pointer = grabWindow_->setMouseGrabEnabled(true);
        grabbed_ = keyboard && pointer;
    }
    if (grabbed_) {
        if (grabRetry_)
            grabRetry_->stop();
        return;
    }
    if (!grabRetry_) {
        grabRetry_ = std::make_unique<QTimer>();
        grabRetry_->setInterval(options_.grabRetryMs);
        QObject::connect(grabRetry_.get(), &QTimer::timeout, [this] { TryGrab(); });
    }
    if (!grabRetry_->isActive())
        grabRetry_->start();
}

void LinuxSystemLayer::ReleaseGrab() {
    if (grabRetry_)
        grabRetry_->stop();
    if (X11InputLock::available()) {
        // Whichever window asked last may be gone by now; the grab is the connection's.
        X11InputLock::release();
    } else if (grabWindow_) {
        grabWindow_->setKeyboardGrabEnabled(false);
        grabWindow_->setMouseGrabEnabled(false);
    }
    if (synthetic_) {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->removeNativeEventFilter(synthetic_.get());
        synthetic_.reset();
    }
    grabWindow_ = nullptr;
    grabbed_ = false;
}

void* LinuxSystemLayer::Display() {
    if (!displayTried_) {
        displayTried_ = true;
        if (!qEnvironmentVariable("DISPLAY").isEmpty())
            display_ = OpenX11Display();
    }
    return display_;
}

uint64_t LinuxSystemLayer::FindWindowByTitle(const QString& title) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return 0;
    return FindX11WindowByTitle(Display(), title);
}

// The lock is taken by the first copy that asks and kept for the life of the process; only a
// saver asks, so a preview or a dialog never keeps a later saver from starting.
QString LinuxSystemLayer::WhyPasswordCannotGuard() {
    // Asked once: the compositor of a session does not change.
    if (!whyPasswordCannotGuard_)
        whyPasswordCannotGuard_ = whyPasswordCannotGuard(probeWaylandCompositor());
    return *whyPasswordCannotGuard_;
}

bool LinuxSystemLayer::PreviousInstanceRunning() {
    if (lockAsked_) return previousInstance_;
    lockAsked_ = true;
    const QString path = LockDirectory(options_.lockDirectory) +
                         QStringLiteral("/brinewave3-%1.lock").arg(getuid());
    lockFd_ = open(QFile::encodeName(path).constData(),
                   O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ >= 0 && flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        previousInstance_ = errno == EWOULDBLOCK;
        close(lockFd_);
        lockFd_ = -1;
    }
    return previousInstance_;
}

ForeignWindowProbe* LinuxSystemLayer::Probe() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    if (!probe_) probe_ = std::make_unique<ForeignWindowProbe>();
    return probe_->connected() ? probe_.get() : nullptr;
}

bool LinuxSystemLayer::WindowGone(uint64_t window) {
    ForeignWindowProbe* probe = window ? Probe() : nullptr;
    return probe && !probe->size(window);
}

QSize LinuxSystemLayer::ForeignWindowSize(uint64_t window) {
    ForeignWindowProbe* probe = window ? Probe() : nullptr;
    return probe ? probe->size(window).value_or(QSize()) : QSize();
}

std::optional<int> LinuxSystemLayer::ParseXScreenSaverTimeout(const QString& fileText) {
    static const QRegularExpression line(QStringLiteral("^\\s*timeout:\\s*(\\S+)\\s*$"),
                                         QRegularExpression::MultilineOption);
    static const QRegularExpression time(QStringLiteral("^(\\d{1,6})(?::(\\d{1,6}))?(?::(\\d{1,6}))?$"));
    const QRegularExpressionMatch found = line.match(fileText);
    if (!found.hasMatch())
        return std::nullopt;
    const QRegularExpressionMatch parts = time.match(found.captured(1));
    if (!parts.hasMatch())
        return std::nullopt;
    QList<long long> numbers;
    for (int i = 1; i <= 3 && parts.hasCaptured(i); ++i)
        numbers.append(parts.captured(i).toLongLong());
    long long seconds = 0;
    if (numbers.size() == 3)
        seconds = numbers[0] * 3600 + numbers[1] * 60 + numbers[2];
    else if (numbers.size() == 2)
        seconds = numbers[0] * 60 + numbers[1];
    else
        seconds = numbers[0] * 60;  // a lone number counts minutes
    return static_cast<int>(std::min<long long>(seconds, INT32_MAX));
}

int LinuxSystemLayer::ScreenSaveTimeOutSeconds() {
    const QString home =
        options_.homeDirectory.isEmpty() ? QDir::homePath() : options_.homeDirectory;
    QFile file(home + QStringLiteral("/.xscreensaver"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (std::optional<int> seconds = ParseXScreenSaverTimeout(QString::fromUtf8(file.readAll())))
            return *seconds;
    }
    return X11ScreenSaverTimeout(Display());
}

void LinuxSystemLayer::ShellOpen(const QString& target) {
    if (target.trimmed().isEmpty())
        return;
    // A scheme has at least two letters, so "C:\..." stays a path.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(target).hasMatch()) {
        OpenWithDesktop(target);
        return;
    }
    const QFileInfo info(target);
    if (!info.exists())
        return;  // like the shell's "open" on a missing file: nothing, and no message
    if (IsProgram(info)) {
        StartDetached(info.absoluteFilePath(), {}, info.absolutePath());
        return;
    }
    OpenWithDesktop(info.absoluteFilePath());
}

// xdg-open started as every other program is, rather than through QDesktopServices, which
// forks inside Qt and waits for the child on the calling thread.
void LinuxSystemLayer::OpenWithDesktop(const QString& target) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        std::fprintf(stderr, "Brinewave3: cannot open %s: xdg-open is not installed\n",
                     qPrintable(target));
        return;
    }
    StartDetached(opener, {target});
}

QStringList LinuxSystemLayer::ControlPanelProgram(const QString& commandLine,
                                                  const QString& desktop,
                                                  const QStringList& path) {
    const QString command = commandLine.toLower();
    Applet applet;
    if (command.contains(QLatin1String("desk.cpl")))
        applet = Applet::Display;
    else if (command.contains(QLatin1String("powercfg.cpl")))
        applet = Applet::Power;
    else
        return {};
    const QStringList running = desktop.toLower().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    auto belongs = [&running](const SettingsProgram& program) {
        for (const QString& name : program.desktops) {
            if (running.contains(name.toLower()))
                return true;
        }
        return false;
    };
    QList<const SettingsProgram*> ordered;
    for (const SettingsProgram& program : SettingsPrograms()) {
        if (program.applet == applet && belongs(program))
            ordered.append(&program);
    }
    for (const SettingsProgram& program : SettingsPrograms()) {
        if (program.applet == applet && !belongs(program))
            ordered.append(&program);
    }
    for (const SettingsProgram* program : ordered) {
        const QString found = QStandardPaths::findExecutable(program->program, path);
        if (!found.isEmpty())
            return QStringList{found} + program->arguments;
    }
    return {};
}

void LinuxSystemLayer::RunControlPanel(const QString& commandLine) {
    QStringList program = ControlPanelProgram(
        commandLine, qEnvironmentVariable("XDG_CURRENT_DESKTOP"), options_.programPath);
    if (program.isEmpty())
        return;
    const QString executable = program.takeFirst();
    StartDetached(executable, program);
}

bool LinuxSystemLayer::StartProgram(const QString& program, const QStringList& arguments) {
    return StartDetached(program, arguments);
}

// The program runs in a session of its own and outlives us if need be; while we live it is
// our child, reaped once it ends without anyone waiting for it.
bool LinuxSystemLayer::StartDetached(const QString& program, const QStringList& arguments,
                                     const QString& workingDirectory) {
    ReapChildren();
    SpawnOptions options;
    options.workingDirectory = workingDirectory;
    options.ownSession = true;
    const pid_t pid = spawnProgram(program, arguments, options);
    if (!pid)
        return false;
    children_.push_back(pid);
    if (!reaper_ && QCoreApplication::instance()) {
        reaper_ = std::make_unique<QTimer>();
        reaper_->setInterval(kReapIntervalMs);
        QObject::connect(reaper_.get(), &QTimer::timeout, [this] { ReapChildren(); });
    }
    if (reaper_ && !reaper_->isActive())
        reaper_->start();
    return true;
}

void LinuxSystemLayer::ReapChildren() {
    std::erase_if(children_, [](pid_t pid) {
        const pid_t result = waitpid(pid, nullptr, WNOHANG);
        return result == pid || (result < 0 && errno != EINTR);
    });
    if (children_.empty() && reaper_)
        reaper_->stop();
}

MessageAnswer LinuxSystemLayer::MessageBox(const QString& text, const QString& title,
                                           MessageIcon icon, MessageButtons buttons) {
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    MessageAnswer first = MessageAnswer::Ok;
    switch (buttons) {
    case MessageButtons::Ok: break;
    case MessageButtons::OkCancel: standard = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        first = MessageAnswer::Yes;
        break;
    case MessageButtons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        first = MessageAnswer::Yes;
        break;
    case MessageButtons::RetryCancel:
        standard = QMessageBox::Retry | QMessageBox::Cancel;
        first = MessageAnswer::Retry;
        break;
    }
    if (options_.messagesOnStandardError ||
        !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No widgets to show it with, or none would be seen: say it on the terminal and take
        // the default button.
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        return first;
    }
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(standard);
    switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    // Above the full-screen saver, and with a pointer to answer it with.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const bool pointerHidden = cursorCount_ < 0;
    if (pointerHidden)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int clicked = box.exec();
    if (pointerHidden)
        QGuiApplication::restoreOverrideCursor();
    return AnswerOf(clicked);
}

QDateTime LinuxSystemLayer::Now() { return QDateTime::currentDateTime(); }

int64_t LinuxSystemLayer::MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void LinuxSystemLayer::EndProcess(int exitCode) {
    std::fflush(nullptr);
    QCoreApplication* app = QCoreApplication::instance();
    // From inside the event loop, leave it: main returns and everything is torn down in order
    // (the settings file written, the audio closed). Outside it there is nothing to return to.
    if (app && QThread::currentThread() == app->thread() && app->thread()->loopLevel() > 0) {
        QCoreApplication::exit(exitCode);
        return;
    }
    std::exit(exitCode);
}

}  // namespace bw
