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
