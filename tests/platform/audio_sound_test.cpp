// The bubble-sound component on SDL2_mixer: what it loads and refuses, and what comes out of
// the mixer (captured with SDL's disk driver).
#include "audio_support.h"
#include "platform/SdlAudioDevice.h"
#include "platform/SdlSoundComponent.h"

#include <SDL_mixer.h>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace bw {
namespace {

using namespace bw::test;

// 44 whole periods of 441 Hz: the loop joins without a seam.
constexpr double kLoopHz = 441.0;
constexpr int kLoopFrames = 4400;
constexpr double kLoopAmplitude = 0.25;

class SoundFiles : public ::testing::Test {
protected:
    QString Write(const char* name, const QByteArray& bytes) {
        return WriteFile(dir_.filePath(name), bytes);
    }
    QString Bubble() { return Write("loop.wav", WavBytes(Sine(kLoopHz, kLoopFrames, kLoopAmplitude))); }
    QTemporaryDir dir_;
};

TEST_F(SoundFiles, EachLoadGetsANewNumberAndReleasedNumbersAreNotReused) {
    SdlSoundComponent sound;
    const QString path = Bubble();
    const int first = sound.LoadSound(path);
    const int second = sound.LoadSound(path);
    EXPECT_GT(first, 0);
    EXPECT_GT(second, 0);
    EXPECT_NE(first, second);
    sound.ReleaseSound(first);
    const int third = sound.LoadSound(path);
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
}

TEST_F(SoundFiles, BrokenOrForeignFilesAreRefused) {
    const std::vector<int16_t> tone = Sine(kLoopHz, 1000, 0.5);
    QByteArray garbage(5000, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919) >> 3);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty.wav", QByteArray()},
        {"header-only.wav", WavBytes({}).left(20)},
        {"no-samples.wav", WavBytes({})},
        {"truncated.wav", WavBytes(tone, 1, kRate, 200000)},
        {"garbage.wav", garbage},
        {"riff-garbage.wav", "RIFF\x10\0\0\0WAVE" + garbage},
        {"song.ogg", ReadFile(SongData("tone523.ogg"))},
    };
    SdlSoundComponent sound;
    for (const auto& c : cases)
        EXPECT_EQ(sound.LoadSound(Write(c.name, c.bytes)), 0) << c.name;
    EXPECT_EQ(sound.LoadSound(dir_.filePath("missing.wav")), 0);
    EXPECT_EQ(sound.LoadSound(dir_.path()), 0);
    // The component still works afterwards.
    EXPECT_GT(sound.LoadSound(Bubble()), 0);
}

TEST_F(SoundFiles, StaleNumbersAndRepeatedStopsDoNoHarm) {
    SdlSoundComponent sound;
    const int bubble = sound.LoadSound(Bubble());
    ASSERT_GT(bubble, 0);
    sound.PlayLooping(bubble);
    EXPECT_EQ(Mix_Playing(-1), 1);

    sound.ReleaseSound(0);
    sound.ReleaseSound(bubble + 100);
    sound.PlayLooping(0);
    sound.SetVolume(bubble + 100, -500);
    sound.SetPan(0, 0);
    sound.StopSound(bubble + 100);
    EXPECT_EQ(Mix_Playing(-1), 1) << "calls on other numbers left the loop alone";

    sound.StopAll();
    sound.StopAll();
    EXPECT_EQ(Mix_Playing(-1), 0);
    sound.PlayLooping(bubble);
    EXPECT_EQ(Mix_Playing(-1), 1);

    sound.ReleaseSound(bubble);
    EXPECT_EQ(Mix_Playing(-1), 0) << "a released sound stops";
    sound.ReleaseSound(bubble);
    sound.PlayLooping(bubble);
    sound.SetVolume(bubble, 0);
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST(SoundLevels, PanAttenuatesTheOtherSide) {
    const struct {
        int pan;
        int left;
        int right;
    } cases[] = {
        {0, 255, 255}, {600, 128, 255}, {-600, 255, 128}, {2000, 26, 255}, {10000, 0, 255},
        {-30000, 255, 0},
    };
    for (const auto& c : cases) {
        const auto [left, right] = SdlSoundComponent::PanLevels(c.pan);
        EXPECT_EQ(left, c.left) << c.pan;
        EXPECT_EQ(right, c.right) << c.pan;
    }
}

TEST(SoundDevice, OpeningTheDeviceLeavesSigtermToTheHost) {
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    SdlSoundComponent sound;
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    struct sigaction interrupt {};
    sigaction(SIGINT, nullptr, &interrupt);
    EXPECT_EQ(interrupt.sa_handler, SIG_DFL);
}

TEST(SoundDevice, AnUnusableDriverFallsBackToSilentOutput) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    SdlSoundComponent sound;
    std::shared_ptr<SdlAudioDevice> device = SdlAudioDevice::Acquire();
    EXPECT_TRUE(device->IsOpen());
    EXPECT_EQ(device->DriverName(), "dummy");
    QTemporaryDir dir;
    const int bubble =
        sound.LoadSound(WriteFile(dir.filePath("b.wav"), WavBytes(Sine(kLoopHz, kLoopFrames, 0.2))));
    EXPECT_GT(bubble, 0);
    sound.PlayLooping(bubble);
    EXPECT_EQ(Mix_Playing(-1), 1);
}

TEST(SoundDevice, TheAlsaLibrarysOwnLinesAreShownOnlyWhenTheDeviceOpens) {
    // Configurations of our own, so the machine's cards play no part: a default device on a
    // card that is not there, and one that opens but fails each write of what it plays.
    const struct {
        const char* config;
        bool opens;
    } cases[] = {
        {"pcm.!default { type plug slave.pcm front }\npcm.front { type hw card nosuchcard }\n",
         false},
        {"pcm.!default { type file slave.pcm n file \"/nonexistent/out.raw\" }\n"
         "pcm.n { type null }\n",
         true},
    };
    ScopedEnv driver("SDL_AUDIODRIVER", "alsa");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        QTemporaryDir dir;
        ScopedEnv config("ALSA_CONFIG_PATH", WriteFile(dir.filePath("asound.conf"), c.config));
        // The descriptor itself: the library prints there, not through our streams.
        const QString said = dir.filePath("stderr");
        const int captured = open(QFile::encodeName(said).constData(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(captured, 0);
        std::fflush(stderr);
        const int saved = dup(STDERR_FILENO);
        dup2(captured, STDERR_FILENO);
        close(captured);
        {
            const std::shared_ptr<SdlAudioDevice> device = SdlAudioDevice::Acquire();
            EXPECT_EQ(device->DriverName(), c.opens ? "alsa" : "dummy");
            // An open device fails its first write on the audio thread.
            if (c.opens) WaitFor([&] { return ReadFile(said).contains("ALSA lib"); }, 5000);
        }
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
        const QByteArray text = ReadFile(said);
        EXPECT_EQ(text.contains("no audio device"), !c.opens) << text.toStdString();
        EXPECT_EQ(text.contains("ALSA lib"), c.opens) << text.toStdString();
    }
}

// What the mixer really played, captured by the disk driver.
class SoundOutput : public SoundFiles {
protected:
    // Plays the loop as the saver does (PlayLooping, SetVolume, SetPan) for `seconds`.
    std::vector<int16_t> Play(int volume, double seconds) {
        DiskCapture capture;
        {
            SdlSoundComponent sound;
            EXPECT_EQ(SdlAudioDevice::Acquire()->DriverName(), "disk");
            const int bubble = sound.LoadSound(Bubble());
            EXPECT_GT(bubble, 0);
            sound.PlayLooping(bubble);
            sound.SetVolume(bubble, volume);
            sound.SetPan(bubble, 0);
            EXPECT_TRUE(capture.WaitSeconds(seconds));
        }
        return capture.Samples();
    }
    // RMS of the left channel while the loop sounded, past its first 50 ms.
    static double SteadyRms(const std::vector<int16_t>& stereo) {
        const auto [first, last] = SoundingSpan(stereo);
        return Rms(Channel(stereo, 0, first + kRate / 20, last));
    }
};

TEST_F(SoundOutput, ALoopingSoundIsHeardSeamlesslyAndCentred) {
    const std::vector<int16_t> out = Play(0, 0.6);
    const auto [first, last] = SoundingSpan(out);
    ASSERT_GT(last, first) << "nothing was heard";
    EXPECT_GT(last - first, static_cast<size_t>(kLoopFrames * 4)) << "it did not loop";

    const double expectedRms = kLoopAmplitude * 32767 / std::sqrt(2.0);
    // No gap: every 10 ms stretch carries the tone at full level.
    for (size_t at = first; at + 441 <= last; at += 441)
        ASSERT_NEAR(Rms(Channel(out, 0, at, at + 441)), expectedRms, expectedRms * 0.1) << at;
    // No click where the loop joins: no step steeper than the sine's own slope.
    const double maxStep = 2 * kPi * kLoopHz / kRate * kLoopAmplitude * 32767 * 1.1;
    for (size_t i = first + 1; i < last; ++i) {
        ASSERT_LE(std::abs(out[2 * i] - out[2 * i - 2]), maxStep) << "frame " << i;
        ASSERT_EQ(out[2 * i], out[2 * i + 1]) << "pan 0 is centred";
    }
}

TEST_F(SoundOutput, VolumeIsInHundredthsOfADecibel) {
    const double loud = SteadyRms(Play(0, 0.3));
    ASSERT_GT(loud, 1000);
    for (int volume : {-600, -2000, -2500}) {
        const double quiet = SteadyRms(Play(volume, 0.3));
        ASSERT_GT(quiet, 0) << volume;
        const double db = 20 * std::log10(quiet / loud);
        EXPECT_NEAR(db, volume / 100.0, 1.0) << volume;
        if (volume == -2000)
            std::printf("[ measured ] SetVolume -2000: %.2f dB\n", db);
    }
}

TEST_F(SoundOutput, StopAllSilencesAndStopSoundOnlyItsOwnSound) {
    DiskCapture capture;
    qint64 stopAllAt = 0;
    qint64 stopOneAt = 0;
    {
        SdlSoundComponent sound;
        const int low = sound.LoadSound(Bubble());
        const int high = sound.LoadSound(
            Write("high.wav", WavBytes(Sine(2 * kLoopHz, kLoopFrames, kLoopAmplitude))));
        sound.PlayLooping(low);
        sound.PlayLooping(high);
        ASSERT_TRUE(capture.WaitSeconds(0.3));
        stopOneAt = capture.Frames();
        sound.StopSound(low);
        ASSERT_TRUE(capture.WaitSeconds(0.3));
        stopAllAt = capture.Frames();
        sound.StopAll();
        sound.StopAll();
        ASSERT_TRUE(capture.WaitSeconds(0.3));
    }
    const std::vector<int16_t> out = capture.Samples();
    // A few device buffers may already be on their way when a stop is made.
    const size_t margin = 5 * 1024;
    const std::vector<double> both = Channel(out, 0, kRate / 20, stopOneAt);
    const std::vector<double> highOnly = Channel(out, 0, stopOneAt + margin, stopAllAt);
    const std::vector<double> after = Channel(out, 0, stopAllAt + margin);
    ASSERT_GT(highOnly.size(), 2000u);
    ASSERT_GT(after.size(), 2000u);
    EXPECT_GT(ToneAmplitude(both, kLoopHz), 5000);
    EXPECT_GT(ToneAmplitude(both, 2 * kLoopHz), 5000);
    EXPECT_LT(ToneAmplitude(highOnly, kLoopHz), 50);
    EXPECT_GT(ToneAmplitude(highOnly, 2 * kLoopHz), 5000);
    EXPECT_EQ(Rms(after), 0.0);
}

}  // namespace
}  // namespace bw
