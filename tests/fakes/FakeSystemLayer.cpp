#include "fakes/FakeSystemLayer.h"

namespace bw {

namespace {

QString Flag(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

MessageAnswer FirstButton(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel: return MessageAnswer::Yes;
    case MessageButtons::RetryCancel: return MessageAnswer::Retry;
    default: return MessageAnswer::Ok;
    }
}

}  // namespace

const char* ToString(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Ok: return "Ok";
    case MessageAnswer::Cancel: return "Cancel";
    case MessageAnswer::Yes: return "Yes";
    case MessageAnswer::No: return "No";
    case MessageAnswer::Retry: return "Retry";
    }
    return "?";
}

FakeSystemLayer::FakeSystemLayer()
    // A fixed, ordinary afternoon, so runs do not depend on when the test starts.
    : now_(QDate(2024, 3, 14), QTime(15, 0, 0)) {}

QStringList FakeSystemLayer::callsStartingWith(const QString& prefix) const {
    QStringList matching;
    for (const QString& call : calls_) {
        if (call.startsWith(prefix))
            matching.append(call);
    }
    return matching;
}

int FakeSystemLayer::ShowCursor(bool show) {
    calls_.append(QStringLiteral("ShowCursor(%1)").arg(Flag(show)));
    cursorCount_ += show ? 1 : -1;
    return cursorCount_;
}

void FakeSystemLayer::SetScreenSaverRunning(bool running, QWindow* window) {
    calls_.append(QStringLiteral("SetScreenSaverRunning(%1)").arg(Flag(running)));
    running_ = running;
    grabWindow_ = running ? window : nullptr;
}

uint64_t FakeSystemLayer::FindWindowByTitle(const QString& title) {
    calls_.append(QStringLiteral("FindWindowByTitle(%1)").arg(title));
    return windows_.value(title, 0);
}

bool FakeSystemLayer::PreviousInstanceRunning() {
    calls_.append(QStringLiteral("PreviousInstanceRunning()"));
    return previousInstance_;
}

int FakeSystemLayer::ScreenSaveTimeOutSeconds() {
    calls_.append(QStringLiteral("ScreenSaveTimeOutSeconds()"));
    return timeoutSeconds_;
}

void FakeSystemLayer::ShellOpen(const QString& target) {
    calls_.append(QStringLiteral("ShellOpen(%1)").arg(target));
}

void FakeSystemLayer::RunControlPanel(const QString& commandLine) {
    calls_.append(QStringLiteral("RunControlPanel(%1)").arg(commandLine));
}

bool FakeSystemLayer::StartProgram(const QString& program, const QStringList& arguments) {
    calls_.append(QStringLiteral("StartProgram(%1)").arg((QStringList{program} + arguments).join(", ")));
    return startProgramResult_;
}

MessageAnswer FakeSystemLayer::MessageBox(const QString& text, const QString& title,
                                          MessageIcon icon, MessageButtons buttons) {
    calls_.append(QStringLiteral("MessageBox(%1)").arg(text));
    messages_.push_back({text, title, icon, buttons});
    if (messageHandler)
        return messageHandler(messages_.back());
    if (answers_.empty())
        return FirstButton(buttons);
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void FakeSystemLayer::EndProcess(int exitCode) {
    calls_.append(QStringLiteral("EndProcess(%1)").arg(exitCode));
    if (!exitCode_)
        exitCode_ = exitCode;
    ++endProcessCount_;
    if (onEndProcess)
        onEndProcess(exitCode);
}

void FakeSystemLayer::advanceMs(int64_t ms) {
    monotonicMs_ += ms;
    now_ = now_.addMSecs(ms);
}

}  // namespace bw
