#include "app/SaverRig.h"

#include <gtest/gtest.h>

namespace bw {
namespace {

constexpr int kEscape = 27;
constexpr int kSpace = 32;

// Every exit ends the same way: no screensaver runs, the pointer shows, the process ends once.
void expectClosedDown(SaverRig& rig) {
    EXPECT_TRUE(rig.form->closedDown());
    EXPECT_FALSE(rig.system.ScreenSaverRunning());
    EXPECT_TRUE(rig.system.cursorVisible());
    EXPECT_EQ(rig.system.endProcessCount(), 1);
    // A saver that did not close may have told the player nothing: fail, do not crash.
    ASSERT_FALSE(rig.player.commands().isEmpty());
    EXPECT_EQ(rig.player.commands().last(), "Stop()");
}

TEST(Form1Exits, KeysThatActInsideTheSaverNeverEndIt) {
    SaverRig rig;
    Form1& form = rig.load();
    form.RenderFrame();
    for (int key : {'Q', 'S', 'V', 'B', 'Z', 'X'}) {
        form.KeyDown(key);
        form.KeyUp(key);
    }
    EXPECT_FALSE(form.closedDown());
    form.KeyDown(kSpace);
    expectClosedDown(rig);
}

TEST(Form1Exits, KeyExitSilencesClosesAndEnds) {
    SaverRig rig;
    Form1& form = rig.load();
    const int bubbles = form.bubbleSoundNumber();
    rig.sound.clearCalls();
    rig.display.clearLog();
    form.KeyDown(kEscape);
    EXPECT_EQ(rig.sound.calls(),
              QStringList({"StopAll()", QString("ReleaseSound(%1)").arg(bubbles),
                           QString("ReleaseSound(%1)").arg(bubbles), "StopAll()"}));
    EXPECT_EQ(rig.display.log, QStringList({"CloseDisplay()"}));
    EXPECT_TRUE(rig.prompts.shown.isEmpty());
    expectClosedDown(rig);
    // The display's loss after the exit, and any late event, change nothing.
    form.Deactivated();
    form.KeyDown(kEscape);
    form.MouseDown(kLeftButton, 10, 10);
    EXPECT_EQ(rig.system.endProcessCount(), 1);
}

TEST(Form1Exits, OnlyReleasesOfKeysPressedInTheSaverCount) {
    SaverRig rig;
    Form1& form = rig.load();
    form.KeyUp(13);  // Enter still held from the terminal that started the saver
    EXPECT_FALSE(form.closedDown());
    form.KeyDown('V');
    form.KeyUp('V');
    form.KeyDown('B');
    form.KeyUp('B');
    EXPECT_FALSE(form.closedDown());
}

TEST(Form1Exits, MouseMovementCountsOnlyOnceArmed) {
    SaverRig rig;
    rig.set(key::MouseSens, "1");
    Form1& form = rig.load();
    form.RenderFrame();
    for (int i = 0; i < 4; ++i) form.TimerTotal_Timer();
    form.MouseMove(0, 5, 5);
    EXPECT_FALSE(form.closedDown()) << "moved before the mouse was armed";
    form.TimerTotal_Timer();
    form.MouseMove(0, 6, 6);
    expectClosedDown(rig);
}

TEST(Form1Exits, SensitivityCountsWithinTenSeconds) {
    SaverRig rig;
    rig.set(key::MouseSens, "3");
    Form1& form = rig.load();
    rig.releaseEveryone();
    form.MouseMove(0, 1, 1);
    form.MouseMove(0, 2, 2);
    EXPECT_FALSE(form.closedDown());
    form.MouseMove(0, 3, 3);
    expectClosedDown(rig);

    // One move, a long pause, then moves: the first after the pause clears the count.
    SaverRig slow;
    slow.set(key::MouseSens, "3");
    Form1& other = slow.load();
    slow.releaseEveryone();
    other.MouseMove(0, 1, 1);
    slow.system.advanceMs(11'000);
    for (int move = 1; move <= 3; ++move) {
        other.MouseMove(0, move, move);
        EXPECT_FALSE(other.closedDown()) << "move " << move << " after the pause";
    }
    other.MouseMove(0, 9, 9);
    expectClosedDown(slow);
}

TEST(Form1Exits, ButtonEndsAtOnceButNotInCustomMode) {
    SaverRig rig;
    Form1& form = rig.load();
    form.KeyDown('X');
    form.MouseDown(kLeftButton, 100, 100);
    form.MouseMove(kLeftButton, 120, 100);
    form.MouseUp(kLeftButton, 120, 100);
    EXPECT_FALSE(form.closedDown());
    form.KeyDown('Z');
    form.MouseDown(kLeftButton, 100, 100);
    expectClosedDown(rig);
}

TEST(Form1Exits, PasswordGuardsInputAndTheLossOfTheDisplay) {
    SaverRig rig;
    rig.set(key::PWEnabled, "1");
    Form1& form = rig.load();
    EXPECT_EQ(rig.display.calls("setLocked"), QStringList{"setLocked(true)"});
    form.KeyDown(kEscape);
    EXPECT_EQ(rig.prompts.shown, QStringList{"PasswordPrompt"});
    EXPECT_EQ(rig.display.calls("CloseDisplay").size(), 1);
    expectClosedDown(rig);

    // A hidden window or an unplugged screen must not open a locked desktop.
    SaverRig lost;
    lost.set(key::PWEnabled, "1");
    Form1& lostForm = lost.load();
    lostForm.Deactivated();
    EXPECT_EQ(lost.prompts.shown, QStringList{"PasswordPrompt"});
    EXPECT_EQ(lost.display.calls("CloseDisplay").size(), 1);
    expectClosedDown(lost);
    lostForm.Deactivated();
    lostForm.KeyDown(kEscape);
    EXPECT_EQ(lost.prompts.shown.size(), 1);
    EXPECT_EQ(lost.system.endProcessCount(), 1);

    // Without a password the lost display ends the saver at once, and nothing is held; so
    // with one on a desktop it cannot guard (it says why on standard error).
    for (const bool passwordSet : {false, true}) {
        SaverRig open;
        if (passwordSet) {
            open.set(key::PWEnabled, "1");
            open.system.whyPasswordCannotGuard = QStringLiteral("No lock here.");
        }
        Form1& openForm = open.load();
        EXPECT_TRUE(open.display.calls("setLocked").isEmpty());
        openForm.Deactivated();
        EXPECT_TRUE(open.prompts.shown.isEmpty());
        expectClosedDown(open);
    }
}

void powerSoon(SaverRig& rig) {
    rig.set(key::Power, "1");
    rig.set(key::Monitor, "1 Minute");
    rig.system.setScreenSaveTimeOut(10);  // steps aside 60 - 10 - 45 = 5 seconds after start
}

TEST(Form1Power, StepsAsideOnceWithTheNoticeOrThePrompt) {
    for (const char* password : {"0", "1"}) {
        SaverRig rig;
        powerSoon(rig);
        rig.set(key::PWEnabled, password);
        Form1& form = rig.load();
        for (int second = 1; second <= 4; ++second) {
            rig.system.advanceMs(1000);
            form.Timer2_Timer();
        }
        EXPECT_TRUE(rig.prompts.shown.isEmpty());
        rig.system.advanceMs(1000);
        form.Timer2_Timer();
        form.Timer2_Timer();
        EXPECT_EQ(rig.prompts.shown,
                  QStringList{QString(password) == "1" ? "PasswordPrompt" : "PowerNotice"});
        EXPECT_EQ(rig.display.calls("CloseDisplay").size(), 1);
        expectClosedDown(rig);
    }
}

TEST(Form1Power, NeverOnALockedWaylandSession) {
    SaverRig rig;
    powerSoon(rig);
    rig.display.locksSession = true;
    Form1& form = rig.load();
    for (int second = 1; second <= 10; ++second) {
        rig.system.advanceMs(1000);
        form.Timer2_Timer();
    }
    EXPECT_TRUE(rig.prompts.shown.isEmpty());
    EXPECT_TRUE(rig.display.calls("CloseDisplay").isEmpty());
}

TEST(Form1Exits, ALockTakenOverAsksForThePasswordAtOnce) {
    for (const bool passwordSet : {false, true}) {
        SaverRig rig;
        rig.set(key::PWEnabled, passwordSet ? "1" : "0");
        rig.display.locksSession = rig.display.takesOverLock = true;
        Form1& form = rig.load();
        form.RenderFrame();
        form.RenderFrame();
        EXPECT_EQ(rig.prompts.shown,
                  passwordSet ? QStringList{"PasswordPrompt"} : QStringList{})
            << passwordSet;
        EXPECT_EQ(rig.system.endProcessCount(), passwordSet ? 1 : 0) << passwordSet;
    }
}

TEST(Form1Power, NeverAfterAnInputExit) {
    SaverRig rig;
    powerSoon(rig);
    rig.set(key::PWEnabled, "1");
    Form1& form = rig.load();
    form.KeyDown(kEscape);
    rig.system.advanceMs(60'000);
    form.Timer2_Timer();
    EXPECT_EQ(rig.prompts.shown, QStringList{"PasswordPrompt"});
    EXPECT_EQ(rig.system.endProcessCount(), 1);
}

}  // namespace
}  // namespace bw

namespace bw {
namespace {

TEST(Form1DisplayMode, DrawsOnlyAndEndsWhenItsWindowGoes) {
    SaverRig rig;
    rig.set(key::PWEnabled, "1");
    rig.set(key::Power, "1");
    rig.set(key::Monitor, "1 Minute");
    rig.form = std::make_unique<Form1>(SaverComponents{rig.display, rig.sound, rig.player,
                                                       rig.system, rig.store, rig.folder,
                                                       rig.prompts, true, false});
    Form1& form = *rig.form;
    form.Form_Load();
    rig.releaseEveryone();
    form.RenderFrame();
    for (int key : {27, int('Q'), 13}) {
        form.KeyDown(key);
        form.KeyUp(key);
    }
    form.MouseMove(0, 1, 1);
    form.MouseDown(kLeftButton, 1, 1);
    rig.system.advanceMs(600'000);
    form.Timer2_Timer();
    EXPECT_FALSE(form.closedDown());
    EXPECT_TRUE(rig.prompts.shown.isEmpty());
    EXPECT_TRUE(rig.sound.calls().filter("LoadSound").isEmpty()) << "silent unless asked";
    EXPECT_TRUE(rig.system.callsStartingWith("ShowCursor").isEmpty());
    form.Deactivated();
    EXPECT_TRUE(form.closedDown());
    EXPECT_EQ(rig.system.endProcessCount(), 1);
}

}  // namespace
}  // namespace bw
