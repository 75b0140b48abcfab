#include "app/SaverRig.h"
#include "settings/ReadOnlySettingsStore.h"

#include <gtest/gtest.h>
#include <map>

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

// The layer each drawing call of the log belongs to, with runs of one layer merged: one
// entry per layer, in the order the frame drew them.
QStringList drawnLayers(const SaverRig& rig) {
    const SceneState& scene = rig.form->scene();
    std::map<SurfaceId, QString> layerOf;
    layerOf[scene.WaterSurface] = "Water";
    for (SurfaceId fish : scene.DarkFishSurface) layerOf[fish] = "Background fish";
    for (int i = 0; i < kSceneObjectCount; ++i)
        layerOf[scene.objects[i].Surface] = objectPositions()[i].object;
    for (int fish = 1; fish <= 9; ++fish)
        layerOf[scene.creatures[kFish1 + fish - 1].Surface] = QString("Fish%1").arg(fish);
    layerOf[scene.creatures[kDolphin].Surface] = "Dolphin";
    layerOf[scene.creatures[kShark].Surface] = "Shark";
    layerOf[scene.creatures[kTurtle].Surface] = "Turtle";
    layerOf[scene.CalendarSurface] = "Calendar";
    for (const auto* stream : {&scene.SmallBubbleSurface, &scene.MediumBubbleSurface})
        for (SurfaceId bubble : *stream) layerOf[bubble] = "Bubble streams";
    for (SurfaceId bubble : scene.LargeBubbleSurface) layerOf[bubble] = "Bubble streams";
    for (SurfaceId curtain : scene.CurtainSurface) layerOf[curtain] = "Bubble curtains";
    for (SurfaceId notice :
         {scene.TuneNoticeSurface, scene.MonitorNoticeSurface, scene.PowerNoticeSurface})
        layerOf[notice] = "First-run notice";

    QStringList layers;
    for (const QString& call : rig.display.log) {
        QString layer;
        if (call.startsWith("DrawSurface(")) {
            const SurfaceId surface = call.mid(12).chopped(1).toInt();
            layer = layerOf.count(surface) ? layerOf[surface] : "Unknown surface " + call;
        } else if (call.startsWith("DrawText(")) {
            const QString text = call.mid(9);
            if (text.startsWith(scene.Message + ","))
                layer = "Message";
            else if (text.startsWith("Custom Mode,") || text.startsWith("Selected Object:") ||
                     text.startsWith("Press the 'z' key") || text.startsWith("Caution:"))
                layer = "Custom captions";
            else if (text.contains("of 3 Messages") || text.startsWith("This graphic will"))
                layer = "First-run notice";
            else if (!layers.isEmpty() && layers.last() == "Calendar")
                layer = "Calendar";  // the date and time written on the sheet
            else
                layer = "Unknown text " + call;
        } else if (call.startsWith("ClearFrame(")) {
            layer = "Black water";
        } else if (call == "PresentFrame()") {
            layer = "Present";
        } else {
            continue;  // moving, asking and font calls draw nothing
        }
        if (layers.isEmpty() || layers.last() != layer) layers.append(layer);
    }
    return layers;
}

TEST(Form1Frames, AFullRenderDrawsEveryLayerBackToFront) {
    SaverRig rig;
    for (const SettingKey* key : allKeys()) {
        if (key->form == ValueForm::CheckBox && QString(key->section) != "Settings")
            rig.set(*key, "1");
    }
    for (const SettingKey& k : key::OBottom) rig.set(k, "True");
    for (const SettingKey* k : {&key::Bubbles, &key::Calendar, &key::ShowMessage})
        rig.set(*k, "1");
    rig.set(key::Bottom, "2");
    Form1& form = rig.load();
    rig.releaseEveryone();
    form.KeyDown('X');  // custom mode: its captions are a layer of their own
    rig.display.clearLog();
    form.RenderFrame();

    // Back to front; a later layer covers an earlier one.
    const QStringList expected = {
        "Water",
        "Background fish",
        "Message",
        "Custom captions",
        "DarkCliff1", "DarkCliff2", "DarkCliff3",
        "City", "Pyramid", "Horse", "Rome", "Liberty", "Statue1", "Columns", "Statue2",
        "Wall",
        "Shark", "Turtle", "Dolphin",
        "Castle", "Lighthouse2", "Lighthouse", "Anchor", "Treasure",
        "Coral1", "Coral2", "Coral3", "Coral4", "Coral5", "Coral6", "Coral7",
        "Coral8", "Coral9", "Coral10", "Coral11", "Coral12", "Coral13", "Coral14",
        "Fish1", "Fish3", "Fish4", "Fish5", "Fish6", "Fish7",
        "Cliff1", "Cliff3", "Cliff4", "Cliff2", "Cliff5",
        "Bottom1", "Bottom2", "Bottom3", "Bottom4", "Bottom5", "Bottom6",
        "Coral6", "Coral2", "Coral3", "Coral11", "Coral12", "Coral13", "Coral14",
        "Totem",
        "Calendar",
        "Bubble streams", "Bubble curtains",
        "Fish2",
        "Fish8", "Fish9",
        "First-run notice",
        "Present",
    };
    // One layer a line, so that a failure shows where the order departs.
    EXPECT_EQ(drawnLayers(rig).join('\n').toStdString(), expected.join('\n').toStdString());
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

// Inside another screensaver program the settings are only read, so a notice could never be
// marked as seen: it would come back at every start. The display mode shows none.
TEST(Form1DisplayMode, ShowsNoFirstRunNotices) {
    for (bool displayMode : {false, true}) {
        SaverRig rig;  // the notices are not yet seen
        rig.store.clearWrites();
        ReadOnlySettingsStore readOnly(&rig.store);
        SaverComponents components{rig.display, rig.sound,  rig.player, rig.system,
                                   displayMode ? static_cast<SettingsStore&>(readOnly) : rig.store,
                                   rig.folder,  rig.prompts};
        components.displayMode = displayMode;
        Form1 form(components);
        form.Form_Load();
        QStringList noticeLoads;
        for (const char* notice : {"TuneMsg.bmp", "monitor.bmp", "PwrMsg.bmp"})
            noticeLoads += rig.display.calls("LoadFrame(").filter(notice);
        rig.display.clearLog();
        for (int second = 1; second <= 95; ++second) {
            form.RenderFrame();
            form.Timer3_Timer();
        }
        const QStringList noticeTexts = rig.display.log.filter("of 3 Messages");
        if (displayMode) {
            EXPECT_TRUE(noticeLoads.isEmpty()) << qPrintable(noticeLoads.join(' '));
            EXPECT_TRUE(noticeTexts.isEmpty()) << qPrintable(noticeTexts.value(0));
            EXPECT_TRUE(rig.store.writes().empty());
        } else {
            EXPECT_EQ(noticeLoads.size(), 3);
            EXPECT_FALSE(noticeTexts.isEmpty());
        }
    }
}

}  // namespace
}  // namespace bw
