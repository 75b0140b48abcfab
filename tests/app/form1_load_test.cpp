#include "app/SaverRig.h"

#include <gtest/gtest.h>

#include <set>

namespace bw {
namespace {

using Pos = std::pair<int, int>;
Pos pos(int x, int y) { return {x, y}; }

TEST(Form1Load, SurfacesAreCreatedInOrder) {
    SaverRig rig;
    Form1& form = rig.load();
    const SceneState& scene = form.scene();

    EXPECT_EQ(scene.CalendarSurface, 1);
    EXPECT_EQ(scene.WaterSurface, 2);
    EXPECT_EQ(scene.objects[kWall].Surface, 3);
    EXPECT_EQ(scene.objects[kBottom1].Surface, 4);
    EXPECT_EQ(scene.objects[kDarkCliff1 + 2].Surface, 12);
    EXPECT_EQ(scene.objects[kCastle].Surface, 13);
    EXPECT_EQ(scene.objects[kTotem].Surface, 23);
    EXPECT_EQ(scene.objects[kColumns].Surface, 26);
    EXPECT_EQ(scene.objects[kCoral1].Surface, 27);
    EXPECT_EQ(scene.objects[kCoral1 + 13].Surface, 40);
    EXPECT_EQ(scene.objects[kCliff1].Surface, 41);
    EXPECT_EQ(scene.objects[kCliff1 + 4].Surface, 45);
    EXPECT_EQ(scene.SmallBubbleSurface[0], 46);
    EXPECT_EQ(scene.LargeBubbleSurface[99], 445);
    EXPECT_EQ(scene.CurtainSurface[1], 447);
    EXPECT_EQ(scene.creatures[kFish1].Surface, 448);
    EXPECT_EQ(scene.creatures[kTurtle].Surface, 459);
    EXPECT_EQ(scene.DarkFishSurface[4], 464);
    // A fresh store shows all three first-run notices.
    EXPECT_EQ(scene.MonitorNoticeSurface, 465);
    EXPECT_EQ(scene.TuneNoticeSurface, 466);
    EXPECT_EQ(scene.PowerNoticeSurface, 467);
    EXPECT_EQ(rig.display.surfaces.size(), 467u);

    EXPECT_EQ(rig.display.surface(2).frames.at(1), "/data/water/cool waters.bmp");
    EXPECT_EQ(rig.display.surface(2).transparency.at(1), kOpaque);
    EXPECT_EQ(rig.display.surface(3).frames.at(1), "/data/Bottom/oldwall.bmp");
    EXPECT_EQ(rig.display.surface(23).frames.at(1), "/data/Artifacts/Statue2.bmp");  // Totem
    EXPECT_EQ(rig.display.surface(24).frames.at(1), "/data/Artifacts/Statue3.bmp");  // Statue2
    EXPECT_EQ(rig.display.surface(465).transparency.at(1), kOpaque);
}

TEST(Form1Load, ObjectsStandAtStoredPlacesOrParked) {
    SaverRig rig;
    rig.set(key::Castle, "0");
    rig.set(key::Anchor, "1");
    rig.set(key::Plant[2], "2");  // placed, but never drawn
    rig.set(key::OBottom[1], "False");
    rig.set(key::CalPos, "2");
    const SceneState& scene = rig.load().scene();
    const auto at = [&](int object) {
        const auto& s = rig.display.surface(scene.objects[object].Surface);
        return pos(s.x, s.y);
    };
    EXPECT_EQ(at(kAnchor), pos(87, 381));
    EXPECT_EQ(at(kCastle).first, -400);
    EXPECT_EQ(at(kCoral1 + 2), pos(568, 523));
    EXPECT_EQ(at(kBottom1 + 1), pos(0, 700));
    EXPECT_EQ(at(kBottom1), pos(68, 467));
    EXPECT_EQ(at(kWall), pos(96, 309));
    const auto& calendar = rig.display.surface(scene.CalendarSurface);
    EXPECT_EQ(pos(calendar.x, calendar.y), pos(730, 5));
}

TEST(Form1Load, WallKindsAndCalendarPlaces) {
    const struct {
        const char* bottom;
        const char* file;
        int x, y;
    } walls[] = {
        {"1", "brickwall.bmp", 96, 309},  {"6", "oldwall.bmp", 0, -300},
        {"6.0", "oldwall.bmp", 0, -300},  {"9", "Shellbottom.bmp", 96, 309},
        {"5", "JaggedBottom.bmp", 96, 309},
    };
    for (const auto& w : walls) {
        SaverRig rig;
        rig.set(key::Bottom, w.bottom);
        rig.set(key::CalPos, "7");
        const SceneState& scene = rig.load().scene();
        const auto& wall = rig.display.surface(scene.objects[kWall].Surface);
        EXPECT_EQ(wall.frames.at(1), QString("/data/Bottom/") + w.file) << w.bottom;
        EXPECT_EQ(wall.x, w.x) << w.bottom;
        EXPECT_EQ(wall.y, w.y) << w.bottom;
        // CalPos 7: the calendar is never placed.
        EXPECT_TRUE(rig.display.calls(QString("SetSurfaceX(%1,").arg(scene.CalendarSurface)).isEmpty());
    }
}

TEST(Form1Load, BubblesAndCreaturesStart) {
    SaverRig rig;
    rig.set(key::FishSpeed[2], "4");
    rig.set(key::Turtle, "4");
    const SceneState& scene = rig.load().scene();
    const auto& display = rig.display;

    EXPECT_EQ(display.surface(scene.SmallBubbleSurface[0]).y, 602);
    EXPECT_EQ(display.surface(scene.SmallBubbleSurface[2]).y, 606);
    EXPECT_EQ(display.surface(scene.SmallBubbleSurface[149]).y, 826);
    EXPECT_EQ(display.surface(scene.MediumBubbleSurface[0]).y, 605);
    EXPECT_EQ(display.surface(scene.LargeBubbleSurface[99]).y, 1601);
    for (SurfaceId bubble : scene.SmallBubbleSurface) {
        EXPECT_GE(display.surface(bubble).x, 50);
        EXPECT_LE(display.surface(bubble).x, 60);
    }
    EXPECT_EQ(display.surface(scene.CurtainSurface[0]).y, 400);
    EXPECT_EQ(display.surface(scene.CurtainSurface[1]).y, 1000);

    const auto& angel = display.surface(scene.creatures[kFish1].Surface);
    ASSERT_EQ(angel.frames.size(), 18u);
    EXPECT_EQ(angel.frames.at(10), "/data/fish/1Angel10.bmp");
    EXPECT_EQ(angel.frames.at(11), "/data/fish/1Angel9.bmp");
    EXPECT_EQ(angel.frames.at(18), "/data/fish/1Angel2.bmp");
    EXPECT_EQ(angel.delay, 50);
    EXPECT_EQ(pos(angel.x, angel.y), pos(-151, 30));
    EXPECT_EQ(display.surface(scene.creatures[kFish1 + 2].Surface).delay, 20);

    const auto& turtle = display.surface(scene.creatures[kTurtle].Surface);
    ASSERT_EQ(turtle.frames.size(), 14u);
    EXPECT_EQ(turtle.frames.at(9), "/data/fish/Turtle7.bmp");
    EXPECT_EQ(turtle.frames.at(14), "/data/fish/Turtle2.bmp");
    EXPECT_EQ(turtle.delay, 90);
    EXPECT_EQ(display.surface(scene.creatures[kDolphin].Surface).delay, 30);

    const auto& dark3 = display.surface(scene.DarkFishSurface[2]);
    ASSERT_EQ(dark3.frames.size(), 4u);
    EXPECT_EQ(dark3.frames.at(1), "/data/fish/DarkFish3a.bmp");
    EXPECT_EQ(dark3.frames.at(3), "/data/fish/DarkFish3a.bmp");
    EXPECT_EQ(dark3.frames.at(4), "/data/fish/DarkFish3c.bmp");
    EXPECT_EQ(pos(dark3.x, dark3.y), pos(850, 290));
    EXPECT_EQ(display.calls(QString("SetCurrentFrame(%1,1)").arg(scene.DarkFishSurface[2])).size(), 1);
}

TEST(Form1Load, OnAWideScreenTheCreaturesStartOutsideItsEdgesAndTheGlassSpansIt) {
    SaverRig rig;
    rig.display.sceneWidth = 2133;  // 32:9
    const Form1& form = rig.load();
    const SceneState& scene = form.scene();
    ASSERT_EQ(scene.span, (SceneSpan{-666, 1467}));
    EXPECT_EQ(rig.display.surface(scene.creatures[kFish1].Surface).x, -666 - 151);
    EXPECT_EQ(rig.display.surface(scene.creatures[kFish1 + 2].Surface).x, 1467 + 5);
    EXPECT_EQ(rig.display.surface(scene.DarkFishSurface[1]).x, 1467 + 50);
    // The drifting fish count their first drift from the edge they enter by.
    EXPECT_EQ(form.creatures().creature(kFish1 + 2).MarkX, 1467);
    EXPECT_EQ(form.creatures().creature(kFish1 + 3).MarkX, -666);
    // Two spare bodies for each creature and background fish, after every other surface.
    EXPECT_EQ(scene.spareCreatureSurfaces[kTurtle], (std::vector<SurfaceId>{490, 491}));
    EXPECT_EQ(rig.display.surfaces.size(), 467u + 2 * (kCreatureCount + kDarkFish));
    // The wall and the floors run across the width; the calendar sits in the screen's corner.
    std::set<SurfaceId> glass = {scene.objects[kWall].Surface};
    for (int i = 0; i < 6; ++i) glass.insert(scene.objects[kBottom1 + i].Surface);
    EXPECT_EQ(rig.display.glass, glass);
    EXPECT_EQ(rig.display.surface(scene.CalendarSurface).x, -666 + 5);
}

TEST(Form1Load, TheSettingDecidesWhetherTheDisplayFillsAWideScreen) {
    for (const auto& [stored, fills] : {std::pair{"1", true}, std::pair{"0", false}}) {
        SaverRig rig;
        rig.set(key::FillWide, stored);
        rig.load();
        EXPECT_EQ(rig.display.fillsWideScreens, std::optional<bool>(fills)) << stored;
    }
}

TEST(Form1Load, NoticesOnlyWhileNotShownInFull) {
    SaverRig rig;
    rig.set(key::RunMonitor, "True");
    rig.set(key::PwrMsg, "True");
    const SceneState& scene = rig.load().scene();
    EXPECT_EQ(scene.MonitorNoticeSurface, 0);
    EXPECT_EQ(scene.TuneNoticeSurface, 465);
    EXPECT_EQ(scene.PowerNoticeSurface, 0);
    EXPECT_EQ(rig.display.surfaces.size(), 465u);
}

TEST(Form1Load, DisplayThatCannotOpenEndsCleanly) {
    SaverRig rig;
    rig.display.openSucceeds = false;
    Form1& form = rig.load();
    ASSERT_EQ(rig.system.messages().size(), 1u);
    EXPECT_EQ(rig.system.messages()[0].title, "Error opening Direct Draw!");
    EXPECT_EQ(rig.system.messages()[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(rig.system.messages()[0].text.startsWith(
        "This screensaver requires your color setting to be 32-bit(Highest)\r\n\r\nPlease look"));
    EXPECT_TRUE(rig.display.surfaces.empty());
    EXPECT_TRUE(form.closedDown());
    EXPECT_EQ(rig.system.exitCode(), 0);
    EXPECT_TRUE(rig.system.cursorVisible());
    EXPECT_FALSE(rig.system.ScreenSaverRunning());
    EXPECT_TRUE(rig.sound.calls().filter("LoadSound").isEmpty());
}

// A Wayland session lock another program holds: the display said why on standard error, and
// the saver fails, so that swayidle does not take the session for locked.
TEST(Form1Load, ASessionLockNotTakenFails) {
    SaverRig rig;
    rig.display.openSucceeds = false;
    rig.display.locksSession = true;
    EXPECT_TRUE(rig.load().closedDown());
    EXPECT_TRUE(rig.system.messages().empty());
    EXPECT_EQ(rig.system.exitCode(), 1);
}

}  // namespace
}  // namespace bw
