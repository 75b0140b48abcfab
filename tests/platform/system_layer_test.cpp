// The Linux system layer: pointer, grabs, instance lock, timeout, settings programs, shell,
// message boxes.
#include "fakes/QtApp.h"
#include "platform/LinuxSystemLayer.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <string>
#include <thread>
#include <vector>

namespace bw {
namespace {

QCoreApplication* App() { return &ensureQtApp(); }

QString Write(const QString& path, const QByteArray& bytes, bool executable = false) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    if (executable)
        chmod(path.toLocal8Bit().constData(), 0755);
    return path;
}

// The trimmed text of a file once a program has written a whole line to it ("" after the
// timeout). The file exists before the line is in it, so waiting for the file is not enough.
QByteArray WaitForLine(const QString& path, int timeoutMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (text.endsWith('\n')) return text.trimmed();
        }
        if (std::chrono::steady_clock::now() > deadline) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Handles events (the layer reaps its children on a timer) until `done` holds; false if it
// never does within the time.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Gone for good: ended and reaped, not left a zombie.
bool Reaped(const QByteArray& pid) {
    return pid.toInt() > 0 && !QFileInfo::exists(QStringLiteral("/proc/") + pid);
}

class System : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        options_.lockDirectory = dir_.path();
        options_.homeDirectory = dir_.path();
        options_.programPath = {dir_.path()};
    }
    QString Path(const char* name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
    LinuxSystemLayer::Options options_;
};

TEST_F(System, CursorIsCountedLikeWindowsAndHiddenBelowZero) {
    LinuxSystemLayer system(options_);
    const struct {
        bool show;
        int count;
    } steps[] = {{false, -1}, {false, -2}, {true, -1}, {true, 0}, {true, 1}, {false, 0}, {false, -1}};
    for (const auto& step : steps) {
        EXPECT_EQ(system.ShowCursor(step.show), step.count);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        if (step.count < 0) {
            ASSERT_NE(cursor, nullptr) << step.count;
            EXPECT_EQ(cursor->shape(), Qt::BlankCursor);
        } else {
            EXPECT_EQ(cursor, nullptr) << step.count;
        }
    }
    system.ShowCursor(true);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(System, OnlyTheFirstInstanceTakesTheLock) {
    auto first = std::make_unique<LinuxSystemLayer>(options_);
    LinuxSystemLayer second(options_);
    EXPECT_FALSE(first->PreviousInstanceRunning());
    EXPECT_TRUE(second.PreviousInstanceRunning());
    first.reset();
    EXPECT_TRUE(second.PreviousInstanceRunning()) << "asked once, at start";
    LinuxSystemLayer third(options_);
    EXPECT_FALSE(third.PreviousInstanceRunning());

    LinuxSystemLayer::Options elsewhere = options_;
    elsewhere.lockDirectory = Path("no/such/folder");
    EXPECT_FALSE(LinuxSystemLayer(elsewhere).PreviousInstanceRunning());
}

TEST_F(System, OnlyACopyThatAsksHoldsTheLock) {
    // A preview or a dialog never asks, so it never keeps a saver from starting.
    LinuxSystemLayer preview(options_);
    LinuxSystemLayer saver(options_);
    EXPECT_FALSE(saver.PreviousInstanceRunning());
    LinuxSystemLayer secondSaver(options_);
    EXPECT_TRUE(secondSaver.PreviousInstanceRunning());
}

TEST_F(System, XScreenSaverTimeoutLines) {
    const struct {
        const char* text;
        std::optional<int> seconds;
    } cases[] = {
        {"timeout:\t\t0:10:00\ncycle:\t\t0:10:00\n", 600},
        {"# xscreensaver\nlock:\tFalse\ntimeout:    1:30:05\n", 5405},
        {"timeout: 12:30\n", 750},
        {"timeout: 7\n", 420},
        {"  timeout:0:00:00", 0},
        {"lockTimeout: 0:05:00\n", std::nullopt},
        {"timeout: soon\n", std::nullopt},
        {"timeout: 0:10:00:00\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinuxSystemLayer::ParseXScreenSaverTimeout(c.text), c.seconds) << c.text;
}

TEST_F(System, TimeoutComesFromXScreenSaverFileElseZeroWithoutX) {
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    {
        LinuxSystemLayer system(options_);
        EXPECT_EQ(system.ScreenSaveTimeOutSeconds(), 0);
    }
    Write(Path(".xscreensaver"), "mode: random\ntimeout: 0:15:00\n");
    LinuxSystemLayer system(options_);
    EXPECT_EQ(system.ScreenSaveTimeOutSeconds(), 900);
    if (!display.isEmpty())
        qputenv("DISPLAY", display);
}

TEST_F(System, ControlPanelLinesFindTheDesktopsSettingsProgram) {
    for (const char* name : {"gnome-control-center", "xfce4-display-settings", "mate-power-preferences"})
        Write(Path(name), "#!/bin/sh\n", true);
    const QString display = "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,3";
    const QString power = "rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,,1";
    const QStringList path{dir_.path()};
    const struct {
        QString command;
        QString desktop;
        QStringList expected;
    } cases[] = {
        {display, "XFCE", {Path("xfce4-display-settings")}},
        {display, "ubuntu:GNOME", {Path("gnome-control-center"), "display"}},
        {display, "", {Path("gnome-control-center"), "display"}},
        {power, "XFCE", {Path("mate-power-preferences")}},
        {power, "GNOME", {Path("gnome-control-center"), "power"}},
        {"RUNDLL32.EXE SHELL32.DLL,Control_RunDLL DESK.CPL", "KDE", {Path("gnome-control-center"), "display"}},
        {"rundll32.exe shell32.dll,Control_RunDLL timedate.cpl", "GNOME", {}},
        {"", "GNOME", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinuxSystemLayer::ControlPanelProgram(c.command, c.desktop, path), c.expected)
            << c.command.toStdString() << " on " << c.desktop.toStdString();
    }
    EXPECT_TRUE(LinuxSystemLayer::ControlPanelProgram(display, "GNOME", {Path("none")}).isEmpty());
}

TEST_F(System, RunControlPanelStartsTheProgramWithItsPage) {
    const QString marker = Path("started");
    Write(Path("gnome-control-center"), "#!/bin/sh\necho \"$@\" > " + marker.toLocal8Bit() + "\n",
          true);
    LinuxSystemLayer system(options_);
    system.RunControlPanel("rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,,1");
    EXPECT_EQ(WaitForLine(marker), "power");
}

TEST_F(System, ShellOpenRunsAProgramAndSkipsMissingTargets) {
    const QString marker = Path("ran");
    const QString program =
        Write(Path("Help"), "#!/bin/sh\npwd > " + marker.toLocal8Bit() + "\n", true);
    LinuxSystemLayer system(options_);
    system.ShellOpen(Path("missing.htm"));
    system.ShellOpen("");
    system.ShellOpen(program);
    EXPECT_EQ(WaitForLine(marker), dir_.path().toLocal8Bit()) << "started in its own folder";
}

TEST_F(System, StartProgramReportsWhatCannotStartAndReapsWhatEnded) {
    LinuxSystemLayer system(options_);
    EXPECT_FALSE(system.StartProgram(Path("no-such-program"), {}));
    const QString marker = Path("args");
    const QString program = Write(Path("p"),
                                  "#!/bin/sh\necho \"$$ $1|$2\" > " + marker.toLocal8Bit() + "\n",
                                  true);
    EXPECT_FALSE(system.StartProgram(Write(Path("text"), "no program"), {})) << "not executable";
    EXPECT_TRUE(system.StartProgram(program, {"a b", "c"}));
    const QList<QByteArray> said = WaitForLine(marker).split(' ');
    ASSERT_EQ(said.size(), 3);
    EXPECT_EQ(said[1] + ' ' + said[2], "a b|c");
    EXPECT_TRUE(WaitUntil([&] { return Reaped(said[0]); })) << "left a zombie";
}

TEST_F(System, ProgramsStartWhileOtherThreadsAllocate) {
    // A child forked while another thread holds the allocator's lock can hang before it runs
    // the program, and its parent with it.
    std::atomic<bool> stop{false};
    std::vector<std::thread> busy;
    for (int i = 0; i < 4; ++i) {
        busy.emplace_back([&stop] {
            while (!stop) std::vector<std::string> junk(64, std::string(100, 'x'));
        });
    }
    LinuxSystemLayer system(options_);
    const QString pids = Path("pids");
    constexpr int kStarts = 100;
    int started = 0;
    for (int i = 0; i < kStarts; ++i)
        started += system.StartProgram("/bin/sh", {"-c", "echo $$ >> \"$0\"", pids});
    stop = true;
    for (std::thread& thread : busy) thread.join();
    EXPECT_EQ(started, kStarts);
    QList<QByteArray> ran;
    EXPECT_TRUE(WaitUntil([&] {
        QFile file(pids);
        ran = file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
        ran.removeAll(QByteArray());
        return ran.size() == kStarts;
    })) << ran.size() << " ran";
    EXPECT_TRUE(WaitUntil([&] { return std::all_of(ran.begin(), ran.end(), Reaped); }))
        << "zombies left";
}

TEST_F(System, MessageBoxShowsTitleTextIconAndButtons) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        GTEST_SKIP() << "needs a widget application";
    LinuxSystemLayer system(options_);
    system.ShowCursor(false);
    const struct {
        MessageIcon icon;
        MessageButtons buttons;
        QMessageBox::Icon shownIcon;
        QMessageBox::StandardButtons shownButtons;
        QMessageBox::StandardButton click;
        MessageAnswer answer;
    } cases[] = {
        {MessageIcon::Question, MessageButtons::YesNo, QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No, QMessageBox::No, MessageAnswer::No},
        {MessageIcon::Exclamation, MessageButtons::OkCancel, QMessageBox::Warning,
         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, MessageAnswer::Cancel},
        {MessageIcon::Critical, MessageButtons::RetryCancel, QMessageBox::Critical,
         QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry, MessageAnswer::Retry},
        {MessageIcon::None, MessageButtons::Ok, QMessageBox::NoIcon, QMessageBox::Ok,
         QMessageBox::Ok, MessageAnswer::Ok},
    };
    for (const auto& c : cases) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->windowTitle(), "Brinewave3");
            EXPECT_EQ(box->text(), "Really?");
            EXPECT_EQ(box->icon(), c.shownIcon);
            EXPECT_EQ(box->standardButtons(), c.shownButtons);
            ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor)
                << "the pointer shows while a box asks";
            box->button(c.click)->click();
        });
        EXPECT_EQ(system.MessageBox("Really?", "Brinewave3", c.icon, c.buttons), c.answer);
        EXPECT_TRUE(seen);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    system.ShowCursor(true);
    // Drawn off screen (the Wayland lock), a box would wait for an answer no one can give.
    options_.messagesOnStandardError = true;
    LinuxSystemLayer unseen(options_);
    bool boxShown = false;
    QTimer answer;  // says No to a box that shows after all
    answer.setSingleShot(true);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxShown = true;
            box->button(QMessageBox::No)->click();
        }
    });
    answer.start(0);
    EXPECT_EQ(unseen.MessageBox("Really?", "Brinewave3", MessageIcon::Question,
                                MessageButtons::YesNo),
              MessageAnswer::Yes);
    EXPECT_FALSE(boxShown);
}

TEST_F(System, RunningStateHoldsTheGrabUntilItEnds) {
    LinuxSystemLayer::Options options = options_;
    options.grabRetryMs = 10;
    LinuxSystemLayer system(options);
    QWindow window;
    window.show();
    system.SetScreenSaverRunning(true, &window);
    EXPECT_TRUE(system.ScreenSaverRunning());
    // The offscreen platform refuses every grab, like a display where another client holds
    // one: the layer keeps trying.
    EXPECT_TRUE(system.GrabPending());
    QCoreApplication::processEvents();
    EXPECT_TRUE(system.GrabPending());
    system.SetScreenSaverRunning(false);
    EXPECT_FALSE(system.ScreenSaverRunning());
    EXPECT_FALSE(system.GrabPending());
    system.SetScreenSaverRunning(true);
    EXPECT_TRUE(system.ScreenSaverRunning());
    EXPECT_FALSE(system.GrabPending()) << "no window, nothing to grab";
}

TEST_F(System, ClocksMoveForward) {
    LinuxSystemLayer system(options_);
    const int64_t before = system.MonotonicMs();
    const QDateTime now = system.Now();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(system.MonotonicMs() - before, 20);
    EXPECT_LE(std::abs(now.msecsTo(QDateTime::currentDateTime())), 5000);
}

TEST(SystemEnd, EndProcessOutsideTheEventLoopEndsTheProcessWithItsCode) {
    EXPECT_EXIT(
        LinuxSystemLayer().EndProcess(7),
        ::testing::ExitedWithCode(7), "");
}

TEST(SystemEnd, EndProcessInsideTheEventLoopLeavesIt) {
    App();
    LinuxSystemLayer::Options options;
    QTemporaryDir dir;
    options.lockDirectory = dir.path();
    LinuxSystemLayer system(options);
    QTimer::singleShot(0, [&] { system.EndProcess(3); });
    EXPECT_EQ(QCoreApplication::exec(), 3);
}

}  // namespace
}  // namespace bw
