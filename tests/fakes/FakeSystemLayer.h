#pragma once

#include "system/SystemLayer.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace bw {

// A SystemLayer that changes nothing outside the test: it records every call in order as
// text ("ShowCursor(false)", "EndProcess(0)"), answers from values the test sets, and keeps
// a clock that moves only when the test says.
class FakeSystemLayer : public SystemLayer {
public:
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
        MessageButtons buttons;
    };

    FakeSystemLayer();

    int ShowCursor(bool show) override;
    void SetScreenSaverRunning(bool running, QWindow* window = nullptr) override;
    bool ScreenSaverRunning() const override { return running_; }
    uint64_t FindWindowByTitle(const QString& title) override;
    bool PreviousInstanceRunning() override;
    bool WindowGone(uint64_t window) override { return windowGone_; }
    QString WhyPasswordCannotGuard() override { return whyPasswordCannotGuard; }
    int ScreenSaveTimeOutSeconds() override;
    void ShellOpen(const QString& target) override;
    void RunControlPanel(const QString& commandLine) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    MessageAnswer MessageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    QDateTime Now() override { return now_; }
    int64_t MonotonicMs() override { return monotonicMs_; }
    void EndProcess(int exitCode) override;

    // Every call so far, oldest first. Now() and MonotonicMs() are not recorded.
    const QStringList& calls() const { return calls_; }
    // The recorded calls that start with `prefix` ("MessageBox", "ShowCursor(").
    QStringList callsStartingWith(const QString& prefix) const;
    void clearCalls() { calls_.clear(); }

    // Answers.
    void addWindow(const QString& title, uint64_t id) { windows_[title] = id; }
    void setPreviousInstance(bool running) { previousInstance_ = running; }
    void setScreenSaveTimeOut(int seconds) { timeoutSeconds_ = seconds; }
    void setStartProgramResult(bool started) { startProgramResult_ = started; }
    // Every window of ours reads as destroyed by another program.
    void setWindowGone(bool gone) { windowGone_ = gone; }
    // Not empty: the desktop cannot be guarded by a password (a Wayland session).
    QString whyPasswordCannotGuard;
    // Message boxes take the queued answers in order; with none queued, a box gets its first
    // button (Ok, Yes or Retry). A handler, when set, answers instead and may act meanwhile.
    void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    std::function<MessageAnswer(const Message&)> messageHandler;

    // What was shown and done.
    const std::vector<Message>& messages() const { return messages_; }
    int cursorCount() const { return cursorCount_; }
    bool cursorVisible() const { return cursorCount_ >= 0; }
    QWindow* grabWindow() const { return grabWindow_; }
    // The exit code of the first EndProcess, if any; the process goes on.
    std::optional<int> exitCode() const { return exitCode_; }
    int endProcessCount() const { return endProcessCount_; }
    std::function<void(int)> onEndProcess;

    // The clock.
    void setNow(const QDateTime& now) { now_ = now; }
    // Moves both clocks forward.
    void advanceMs(int64_t ms);

private:
    QStringList calls_;
    int cursorCount_ = 0;
    bool running_ = false;
    QWindow* grabWindow_ = nullptr;
    QMap<QString, uint64_t> windows_;
    bool previousInstance_ = false;
    int timeoutSeconds_ = 0;
    bool startProgramResult_ = true;
    bool windowGone_ = false;
    std::deque<MessageAnswer> answers_;
    std::vector<Message> messages_;
    std::optional<int> exitCode_;
    int endProcessCount_ = 0;
    QDateTime now_;
    int64_t monotonicMs_ = 1000000;
};

const char* ToString(MessageAnswer answer);

}  // namespace bw
