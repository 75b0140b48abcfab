#include "app/SaverRig.h"

#include <gtest/gtest.h>

namespace bw {
namespace {

// How many of `calls` rebuilt the scene (drew the backdrop or cleared the frame).
int fullRenders(SaverRig& rig, int calls) {
    int renders = 0;
    for (int i = 0; i < calls; ++i) {
        rig.display.clearLog();
        rig.form->RenderFrame();
        const QString water = QString("DrawSurface(%1)").arg(rig.form->scene().WaterSurface);
        if (rig.display.log.contains(water) || !rig.display.calls("ClearFrame").isEmpty()) ++renders;
        EXPECT_EQ(rig.display.log.last(), "PresentFrame()");
    }
    return renders;
}

TEST(Form1Frames, TunePCThinsOutFullRenders) {
    const struct {
        const char* tunePC;
        int renders;  // of 12 calls
    } cases[] = {{"0", 12}, {"1", 12}, {"3", 4}, {"41", 1}};
    for (const auto& c : cases) {
        SaverRig rig;
        rig.set(key::TunePC, c.tunePC);
        rig.load();
        EXPECT_EQ(fullRenders(rig, 12), c.renders) << "TunePC " << c.tunePC;
        EXPECT_LE(rig.form->scene().RenderCount, 41);
    }
}

TEST(Form1Frames, BlackWaterAndMissingPicturesClearTheFrame) {
    const struct {
        const char* waterType;
        const char* water;
        bool missing;
        bool black;
    } cases[] = {
        {"1", "cool waters.bmp", false, false}, {"2", "", false, true},
        {"3", "cool waters.bmp", false, true},  {"1", "cool waters.bmp", true, true},
    };
    for (const auto& c : cases) {
        SaverRig rig;
        rig.set(key::WaterType, c.waterType);
        rig.set(key::Water, c.water);
        if (c.missing) rig.display.missingFiles.append("cool waters.bmp");
        const SceneState& scene = rig.load().scene();
        // Black water loads no picture at all; the water folder itself is never loaded.
        const bool loadsPicture = QString(c.waterType) == "1";
        EXPECT_EQ(rig.display.calls(QString("LoadFrame(%1,").arg(scene.WaterSurface)).size(),
                  loadsPicture ? 1 : 0);
        rig.display.clearLog();
        rig.form->RenderFrame();
        EXPECT_EQ(rig.display.log.first() == "ClearFrame(0)", c.black) << c.waterType << c.water;
    }
}

TEST(Form1Frames, EverySwitchOffDrawsOnlyTheBackdropAndNotices) {
    SaverRig rig;
    for (const SettingKey* key : allKeys()) {
        if (key->form == ValueForm::CheckBox && QString(key->section) != "Settings")
            rig.set(*key, "0");
    }
    for (const SettingKey& k : key::OBottom) rig.set(k, "False");
    for (const SettingKey* k : {&key::Bubbles, &key::Calendar, &key::ShowMessage})
        rig.set(*k, "0");
    rig.set(key::Bottom, "6");
    for (const SettingKey* k : {&key::TuneScrSvr, &key::RunMonitor, &key::PwrMsg})
        rig.set(*k, "True");
    rig.load();
    rig.releaseEveryone();
    rig.display.clearLog();
    rig.form->RenderFrame();
    EXPECT_EQ(rig.display.log, QStringList({"DrawSurface(2)", "PresentFrame()"}));
}

TEST(Form1Frames, TheNoticeIsDrawnOnceIntoEachHeldFrame) {
    // The calls between full renders present the held frame: a notice drawn there again
    // would lie over its own copy. Each full render draws it once, with the current countdown.
    const struct {
        const char* tunePC;
        int notices;  // of 12 calls
    } cases[] = {{"0", 12}, {"3", 4}, {"41", 1}};
    for (const auto& c : cases) {
        SaverRig rig;
        rig.set(key::TunePC, c.tunePC);
        Form1& form = rig.load();
        int notices = 0;
        for (int call = 0; call < 12; ++call) {
            if (call == 6) form.Timer3_Timer();
            rig.display.clearLog();
            form.RenderFrame();
            const QStringList lines = rig.display.calls("DrawText(1 of 3 Messages");
            const QStringList countdowns = rig.display.calls("DrawText(This graphic will");
            const bool fullRender =
                !rig.display.calls(QString("DrawSurface(%1)").arg(form.scene().WaterSurface))
                     .isEmpty();
            EXPECT_EQ(lines.size(), fullRender ? 1 : 0)
                << "TunePC " << c.tunePC << " call " << call;
            EXPECT_EQ(countdowns.size(), lines.size());
            EXPECT_EQ(
                rig.display.calls(QString("DrawSurface(%1)").arg(form.scene().TuneNoticeSurface))
                    .size(),
                lines.size());
            notices += int(lines.size());
            EXPECT_EQ(rig.display.log.last(), "PresentFrame()");
        }
        EXPECT_EQ(notices, c.notices) << "TunePC " << c.tunePC;
    }
}

TEST(Form1Timers, FirstRunNoticesFollowEachOtherAndAreStored) {
    SaverRig rig;
    Form1& form = rig.load();
    Settings settings(rig.store, Reader::Saver);
    std::vector<int> countdowns;
    for (int tick = 1; tick <= 95; ++tick) {
        form.Timer3_Timer();
        countdowns.push_back(form.scene().firstRunCountdown);
        if (tick == 29) {
            EXPECT_EQ(settings.text(key::TuneScrSvr), "False");
        }
        if (tick == 30) {
            EXPECT_EQ(settings.text(key::TuneScrSvr), "True");
        }
        if (tick == 59) {
            EXPECT_EQ(settings.text(key::RunMonitor), "False");
        }
        if (tick == 60) {
            EXPECT_EQ(settings.text(key::RunMonitor), "True");
        }
        if (tick == 90) {
            EXPECT_EQ(settings.text(key::PwrMsg), "True");
        }
    }
    EXPECT_EQ(countdowns[0], 29);
    EXPECT_EQ(countdowns[29], 30);  // tick 30: the second notice starts with 30 seconds left
    EXPECT_EQ(countdowns[30], 29);
    EXPECT_EQ(countdowns[60], 29);
    EXPECT_EQ(countdowns[88], 1);

    // A notice left unfinished runs only until its own tick in the next run.
    SaverRig next;
    next.set(key::TuneScrSvr, "True");
    Form1& again = next.load();
    again.Timer3_Timer();
    EXPECT_EQ(again.scene().firstRunCountdown, 59);
}

TEST(Form1Timers, StaggerReleasesGroupsAndArmsTheMouse) {
    SaverRig rig;
    Form1& form = rig.load();
    form.TimerTotal_Timer();  // a tick before the first frame does not count
    form.RenderFrame();
    EXPECT_EQ(form.staggerTicks(), 0);
    const struct {
        int tick;
        std::vector<int> released;
    } schedule[] = {{3, {kFish1 + 1}},       {4, {kDolphin}},   {6, {kFish1 + 7}},
                    {8, {kFish1 + 2, kTurtle}}, {13, {kFish1 + 3}}, {14, {kFish1 + 8}},
                    {18, {kFish1 + 4, kShark}}, {23, {kFish1 + 5}}, {27, {kFish1 + 6}}};
    EXPECT_FALSE(form.creatures().waiting(kFish1));
    for (const auto& step : schedule) {
        while (form.staggerTicks() < step.tick - 1) form.TimerTotal_Timer();
        for (int creature : step.released) EXPECT_TRUE(form.creatures().waiting(creature));
        form.TimerTotal_Timer();
        for (int creature : step.released)
            EXPECT_FALSE(form.creatures().waiting(creature)) << "tick " << step.tick;
        EXPECT_EQ(form.inputArmed(), step.tick > 4);
    }
}

}  // namespace
}  // namespace bw
