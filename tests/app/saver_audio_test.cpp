// The saver with its real sound component and media player, heard through SDL's disk driver.
#include "app/SaverRig.h"
#include "fakes/QtApp.h"
#include "platform/SdlMediaPlayer.h"
#include "platform/SdlSoundComponent.h"
#include "platform/audio_support.h"
#include "settings/ListFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace bw {
namespace {

using namespace bw::test;

// Runs the saver's timers for a while, as its event loop would.
void runFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

struct RealAudioSaver {
    RealAudioSaver() {
        ensureQtApp();
        rig.set(key::TuneScrSvr, "True");
        rig.set(key::RunMonitor, "True");
        rig.set(key::PwrMsg, "True");
    }
    // Starts the saver with the components writing to the capture.
    Form1& start(const QString& dataFolder) {
        sound = std::make_unique<SdlSoundComponent>();
        player = std::make_unique<SdlMediaPlayer>(DecoderPath());
        folder = std::make_unique<InstallFolder>(dataFolder, capture.dir() + "/user");
        rig.form = std::make_unique<Form1>(SaverComponents{rig.display, *sound, *player,
                                                           rig.system, rig.store, *folder,
                                                           rig.prompts});
        rig.form->Form_Load();
        rig.form->startTimers();
        return *rig.form;
    }
    std::vector<int16_t> stop() {
        rig.form.reset();
        player.reset();
        sound.reset();
        return capture.Samples();
    }

    DiskCapture capture;
    SaverRig rig;
    std::unique_ptr<SdlSoundComponent> sound;
    std::unique_ptr<SdlMediaPlayer> player;
    std::unique_ptr<InstallFolder> folder;
};

// Which of the tones sounds in each 50 ms of the left channel (0 for silence).
std::vector<int> tonesOverTime(const std::vector<int16_t>& stereo, const std::vector<double>& tones) {
    constexpr size_t kWindow = kRate / 20;
    std::vector<int> found;
    const size_t frames = stereo.size() / 2;
    for (size_t from = 0; from + kWindow <= frames; from += kWindow) {
        const std::vector<double> left = Channel(stereo, 0, from, from + kWindow);
        int best = 0;
        double bestAmplitude = 1000;  // about -30 dB: quieter is silence
        for (size_t t = 0; t < tones.size(); ++t) {
            const double amplitude = ToneAmplitude(left, tones[t]);
            if (amplitude > bestAmplitude) {
                bestAmplitude = amplitude;
                best = static_cast<int>(t) + 1;
            }
        }
        found.push_back(best);
    }
    return found;
}

TEST(SaverAudio, PlaylistPlaysInOrderAndStartsOver) {
    RealAudioSaver saver;
    const std::vector<double> tones = {440.0, 660.0, 880.0};
    QStringList songs;
    for (double hz : tones) {
        const QString path = saver.capture.dir() + QString("/song%1.wav").arg(int(hz));
        WriteFile(path, WavBytes(Sine(hz, kRate * 6 / 10, 0.5)));
        songs.append(path);
    }
    ASSERT_TRUE(writeListFile(saver.capture.dir() + "/user/List.txt", songs));
    saver.rig.set(key::Music, "1");
    saver.rig.set(key::Sound, "0");
    saver.start(saver.capture.dir() + "/data");
    runFor(5500);
    const std::vector<int> heard = tonesOverTime(saver.stop(), tones);

    // The songs in the order heard, each counted once, and the longest silence between them.
    std::vector<int> order;
    int silence = 0, longestSilence = 0;
    for (int tone : heard) {
        if (tone == 0) {
            ++silence;
            continue;
        }
        if (!order.empty()) longestSilence = std::max(longestSilence, silence);
        silence = 0;
        if (order.empty() || order.back() != tone) order.push_back(tone);
    }
    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 4), (std::vector<int>{1, 2, 3, 1}));
    EXPECT_LE(longestSilence * 50, 1200) << "milliseconds of silence between two songs";
}

TEST(SaverAudio, BubblesAreTwentyDecibelsQuieterAtMinusTwoThousand) {
    const QString data = qEnvironmentVariable("BW_TEST_DATA");
    if (!QFile::exists(data + "/bubbles1.wav")) GTEST_SKIP() << "no generated bubbles1.wav";
    double level[2] = {0, 0};
    const char* volumes[2] = {"0", "-2000"};
    for (int i = 0; i < 2; ++i) {
        RealAudioSaver saver;
        saver.rig.set(key::Volume, volumes[i]);
        saver.start(data);
        runFor(1500);
        const std::vector<int16_t> samples = saver.stop();
        const auto [from, to] = SoundingSpan(samples);
        ASSERT_GT(to, from + kRate / 2) << "the bubbles were not heard at volume " << volumes[i];
        level[i] = Rms(Channel(samples, 0, from, to));
    }
    const double decibels = 20 * std::log10(level[0] / level[1]);
    EXPECT_NEAR(decibels, 20.0, 1.5);
}

}  // namespace
}  // namespace bw
