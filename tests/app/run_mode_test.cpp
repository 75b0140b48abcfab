#include "app/RunMode.h"

#include <gtest/gtest.h>

namespace bw {
namespace {

TEST(RunMode, ArgumentSelectsTheMode) {
    const struct {
        const char* argument;
        RunMode mode;
        uint64_t window;
    } cases[] = {
        {"/S", RunMode::Saver, 0},           {"  /s  ", RunMode::Saver, 0},
        {"/s", RunMode::Saver, 0},           {"", RunMode::Saver, 0},
        {"/p 4660", RunMode::Preview, 4660}, {"/p:4660", RunMode::Preview, 4660},
        {"/P 4660", RunMode::Preview, 4660}, {"/p", RunMode::Preview, 0},
        {"/p 0x1234", RunMode::Preview, 0x1234}, {"/p 0X1A2B", RunMode::Preview, 0x1a2b},
        {"/p abc", RunMode::Preview, 0},     {"/c:1234", RunMode::Configure, 0},
        {"/c", RunMode::Configure, 0},       {"/a 1234", RunMode::ChangePassword, 0},
        {"/x", RunMode::None, 0},            {"s", RunMode::None, 0},
        {"-s", RunMode::None, 0},            {"/screensaver", RunMode::Saver, 0},
    };
    for (const auto& c : cases) {
        const StartRequest request = parseStartArgument(c.argument);
        EXPECT_EQ(request.mode, c.mode) << "'" << c.argument << "'";
        EXPECT_EQ(request.previewWindow, c.window) << "'" << c.argument << "'";
    }
}

TEST(RunMode, SecondSaverRefusedUnlessDisplayPropertiesOpen) {
    const StartRequest saver = parseStartArgument("/s");
    EXPECT_TRUE(refuseSecondSaver(saver, false, true));
    EXPECT_FALSE(refuseSecondSaver(saver, true, true));
    EXPECT_FALSE(refuseSecondSaver(saver, false, false));
    // Only "/s" is refused: a start without argument or another mode always runs.
    EXPECT_FALSE(refuseSecondSaver(parseStartArgument(""), false, true));
    EXPECT_FALSE(refuseSecondSaver(parseStartArgument("/c"), false, true));
}

}  // namespace
}  // namespace bw

namespace bw {
namespace {

TEST(RunMode, XScreenSaverDisplayMode) {
    const struct {
        QStringList arguments;
        const char* environment;
        RunMode mode;
        uint64_t window;
        bool sound;
    } cases[] = {
        {{"-window-id", "12345"}, "", RunMode::Hack, 12345, false},
        {{"--window-id", "0x1e00007", "-sound"}, "", RunMode::Hack, 0x1e00007, true},
        {{"-root"}, "", RunMode::Hack, 0, false},
        {{"--root"}, "0x400001", RunMode::Hack, 0x400001, false},
        {{}, "0x400001", RunMode::Hack, 0x400001, false},
        {{}, "4194305", RunMode::Hack, 4194305, false},
        {{"-sound"}, "77", RunMode::Hack, 77, true},
        // The classic arguments keep their meaning, with or without the variable.
        {{"/s"}, "77", RunMode::Saver, 0, false},
        {{"/c"}, "", RunMode::Configure, 0, false},
        {{"/p", "0x10"}, "", RunMode::Preview, 0, false},
        {{}, "", RunMode::Saver, 0, false},
        {{}, "not a window", RunMode::Saver, 0, false},
        {{"-window-id", "junk"}, "", RunMode::None, 0, false},
        {{"-window-id"}, "", RunMode::None, 0, false},
    };
    for (const auto& c : cases) {
        const StartRequest request = parseCommandLine(c.arguments, c.environment);
        const QString name = c.arguments.join(' ') + " / " + c.environment;
        EXPECT_EQ(request.mode, c.mode) << qPrintable(name);
        EXPECT_EQ(request.hackWindow, c.window) << qPrintable(name);
        EXPECT_EQ(request.hackSound, c.sound) << qPrintable(name);
    }
    EXPECT_EQ(parseCommandLine({"/p", "0x10"}, "").previewWindow, 0x10u);
}

// swayidle -w waits for its command: "-f" has the lock return once it holds the session.
TEST(RunMode, DaemonizeGoesWithTheSaver) {
    for (const QStringList& arguments :
         {QStringList{"/s", "-f"}, QStringList{"--daemonize", "/S"}, QStringList{"-f"}}) {
        const StartRequest request = parseCommandLine(arguments, "");
        EXPECT_EQ(request.mode, RunMode::Saver) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(request.daemonize) << qPrintable(arguments.join(' '));
    }
    EXPECT_EQ(parseCommandLine({"/s", "-f"}, "").selector, "/s");
    EXPECT_FALSE(parseCommandLine({"/s"}, "").daemonize);
}

TEST(RunMode, TerminalOptionsStandAlone) {
    EXPECT_EQ(programOptionFromArguments({"--help"}), ProgramOption::Help);
    EXPECT_EQ(programOptionFromArguments({"-h"}), ProgramOption::Help);
    EXPECT_EQ(programOptionFromArguments({"--version"}), ProgramOption::Version);
    EXPECT_EQ(programOptionFromArguments({"--add-to-xscreensaver"}),
              ProgramOption::AddToXScreenSaver);
    // With anything beside them, or spelt otherwise, they are arguments like any other.
    for (const QStringList& arguments : {QStringList{}, QStringList{"--help", "/s"},
                                         QStringList{"/c", "--version"}, QStringList{"--HELP"},
                                         QStringList{"-help"}, QStringList{"/s"},
                                         QStringList{"--versions"}}) {
        EXPECT_EQ(programOptionFromArguments(arguments), ProgramOption::None)
            << qPrintable(arguments.join(' '));
    }
    EXPECT_TRUE(usageText().contains("--add-to-xscreensaver"));
}

}  // namespace
}  // namespace bw
