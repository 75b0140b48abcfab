#include "audio/BubbleSound.h"
#include "audio/Music.h"
#include "fakes/FakeSound.h"
#include "fakes/MemorySettingsStore.h"
#include "settings/ListFiles.h"
#include "settings/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace bw {
namespace {

struct BubbleRig {
    explicit BubbleRig(const char* soundOff, const char* sound = "1") {
        writeFactoryDefaults(store);
        Settings writer(store, Reader::Saver);
        writer.write(key::SoundOff, soundOff);
        writer.write(key::Sound, sound);
        bubbles.readOptions();
        if (bubbles.hasTimeLimit()) bubbles.SoundOff();
    }
    MemorySettingsStore store;
    Settings settings{store, Reader::Saver};
    FakeSoundComponent sound;
    BubbleSound bubbles{sound, settings, "/data/bubbles1.wav"};
};

TEST(BubbleSound, SessionCallsOnStartAndOnS) {
    BubbleRig rig("0");
    rig.bubbles.OpenDirectSoundSession();
    EXPECT_EQ(rig.sound.calls(), QStringList({"ReleaseSound(0)", "LoadSound(/data/bubbles1.wav)",
                                              "PlayLooping(1)", "SetVolume(1, -769)",
                                              "SetPan(1, 0)"}));
    rig.sound.clearCalls();
    rig.bubbles.OpenDirectSoundSession();  // S: the previous sound goes first
    EXPECT_EQ(rig.sound.calls(), QStringList({"ReleaseSound(1)", "LoadSound(/data/bubbles1.wav)",
                                              "PlayLooping(2)", "SetVolume(2, -769)",
                                              "SetPan(2, 0)"}));

    BubbleRig off("0", "0");
    off.bubbles.OpenDirectSoundSession();
    off.bubbles.OpenDirectSoundSession();
    EXPECT_FALSE(off.sound.audible());
    EXPECT_EQ(off.sound.calls().filter("PlayLooping").size(), 0);
    EXPECT_EQ(off.sound.calls().filter("StopSound").size(), 2);
}

TEST(BubbleSound, SecondsLimitSilencesAndSRestarts) {
    BubbleRig rig("5");
    rig.bubbles.OpenDirectSoundSession();
    for (int second = 1; second < 300; ++second) rig.bubbles.secondTick();
    EXPECT_TRUE(rig.sound.audible());
    rig.bubbles.secondTick();
    EXPECT_FALSE(rig.sound.audible());
    rig.bubbles.OpenDirectSoundSession();
    EXPECT_TRUE(rig.sound.audible());
    rig.bubbles.secondTick();
    EXPECT_FALSE(rig.sound.audible()) << "silenced again on the next tick";
}

TEST(BubbleSound, NeverAndUnknownLimits) {
    BubbleRig never("0");
    never.bubbles.OpenDirectSoundSession();
    for (int second = 0; second < 100'000; ++second) never.bubbles.secondTick();
    for (int minute = 0; minute < 600; ++minute) never.bubbles.minuteTick();
    EXPECT_TRUE(never.sound.audible());

    // A value the dialog never offers leaves the limit at 0 seconds: silent on the first tick.
    BubbleRig odd("7");
    odd.bubbles.OpenDirectSoundSession();
    odd.bubbles.secondTick();
    EXPECT_FALSE(odd.sound.audible());
}

TEST(BubbleSound, MinuteLimitReleasesTheSound) {
    BubbleRig rig("2");
    rig.bubbles.OpenDirectSoundSession();
    rig.bubbles.minuteTick();
    EXPECT_TRUE(rig.sound.isLoaded(1));
    rig.bubbles.minuteTick();
    EXPECT_FALSE(rig.sound.isLoaded(1));
}

class MusicTest : public ::testing::Test {
protected:
    MusicTest() {
        writeFactoryDefaults(store);
        Settings(store, Reader::Saver).write(key::Music, "1");
    }
    QString song(const char* name) {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        return path;
    }
    QString listPath() const { return dir.filePath("List.txt"); }
    // The song opened by each tick that opens one.
    QStringList opened() const { return player.commands().filter("Open(").replaceInStrings("Open(", "").replaceInStrings(dir.path() + "/", "").replaceInStrings(")", ""); }

    QTemporaryDir dir;
    MemorySettingsStore store;
    Settings settings{store, Reader::Saver};
    FakeMediaPlayer player;
};

TEST_F(MusicTest, PlaysInOrderSkippingMissingSongsAndWraps) {
    const QString one = song("one.ogg"), two = song("two.ogg"), three = song("three.ogg");
    ASSERT_TRUE(writeListFile(listPath(), {one, dir.filePath("gone.mp3"), two, three}));
    Music music(player, settings, listPath());
    music.start();
    EXPECT_EQ(opened(), QStringList({"one.ogg"}));
    for (int tick = 0; tick < 6; ++tick) {
        player.finishSong();
        music.Timer1_Timer();
    }
    EXPECT_EQ(opened(), QStringList({"one.ogg", "two.ogg", "three.ogg", "one.ogg", "two.ogg"}));
    EXPECT_EQ(player.stringProperty(), "2");
}

TEST_F(MusicTest, NothingPlaysWithoutAPlaylistAndNothingBreaks) {
    Music missing(player, settings, listPath());
    missing.start();
    for (int tick = 0; tick < 5; ++tick) missing.Timer1_Timer();
    missing.keyB();
    missing.Timer1_Timer();
    EXPECT_TRUE(opened().isEmpty());

    ASSERT_TRUE(writeListFile(listPath(), {}));
    Music empty(player, settings, listPath());
    empty.start();
    empty.Timer1_Timer();
    EXPECT_TRUE(opened().isEmpty());
}

TEST_F(MusicTest, MinuteLimitStopsAndBBringsItBack) {
    Settings(store, Reader::Saver).write(key::MusicOff, "10");
    ASSERT_TRUE(writeListFile(listPath(), {song("one.ogg")}));
    Music music(player, settings, listPath());
    music.start();
    player.setPlayState(FakeMediaPlayer::kPlaying);
    for (int minute = 1; minute <= 9; ++minute) music.minuteTick();
    EXPECT_TRUE(music.playing());
    music.minuteTick();
    EXPECT_FALSE(music.playing());
    EXPECT_EQ(player.commands().last(), "Stop()");
    for (int tick = 0; tick < 3; ++tick) music.Timer1_Timer();
    EXPECT_EQ(opened().size(), 1) << "stopped music does not come back by itself";
    music.keyB();
    EXPECT_TRUE(music.playing());
    EXPECT_EQ(player.commands().last(), "Play()");
    music.keyV();
    EXPECT_FALSE(music.timer1Enabled());
}

TEST_F(MusicTest, MusicOffLeavesThePlaylistUnread) {
    Settings(store, Reader::Saver).write(key::Music, "0");
    ASSERT_TRUE(writeListFile(listPath(), {song("one.ogg")}));
    Music music(player, settings, listPath());
    music.start();
    EXPECT_TRUE(music.PlayList().isEmpty());
    EXPECT_TRUE(player.commands().isEmpty());
}

}  // namespace
}  // namespace bw
