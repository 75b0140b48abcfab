// The media player: songs decoded in a child process and streamed into the shared mixer.
#include "audio_support.h"
#include "platform/SdlAudioDevice.h"
#include "platform/SdlMediaPlayer.h"
#include "platform/SdlSoundComponent.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace bw {
namespace {

using namespace bw::test;
using Clock = std::chrono::steady_clock;

bool ProcessGone(pid_t pid) { return pid > 0 && kill(pid, 0) != 0 && errno == ESRCH; }

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class Songs : public ::testing::Test {
protected:
    QString Write(const char* name, const QByteArray& bytes) {
        return WriteFile(dir_.filePath(name), bytes);
    }
    QString Tone(const char* name, double hz, double seconds) {
        return Write(name, WavBytes(Sine(hz, static_cast<int>(seconds * kRate), 0.5)));
    }
    // A stand-in decoder, to play a decoder that misbehaves.
    QString Script(const char* name, const QByteArray& body) {
        const QString path = Write(name, "#!/bin/sh\n" + body + "\n");
        chmod(path.toLocal8Bit().constData(), 0755);
        return path;
    }
    // Polls like the saver's music timer until the song is over; seconds taken, or -1.
    static double WaitForEnd(SdlMediaPlayer& player, int timeoutMs = 10000) {
        const Clock::time_point start = Clock::now();
        return WaitFor([&] { return player.PlayState() == 0; }, timeoutMs, 10) ? SecondsSince(start)
                                                                              : -1;
    }
    QTemporaryDir dir_;
};

TEST_F(Songs, ASongStartsOnOpenAndPlaysToItsEnd) {
    DiskCapture capture;
    const QString song = Tone("song.wav", 660, 1.0);
    double took = 0;
    {
        SdlMediaPlayer player(DecoderPath());
        player.SetStringProperty("0");
        player.Open(song);
        EXPECT_NE(player.PlayState(), 0);
        took = WaitForEnd(player);
        ASSERT_GE(took, 0) << "the song never ended";
        capture.WaitSeconds(0.1);
    }
    EXPECT_GE(took, 0.9) << "the song ended before it could have been heard";

    const std::vector<int16_t> out = capture.Samples();
    const auto [first, last] = SoundingSpan(out);
    EXPECT_NEAR((last - first) / double(kRate), 1.0, 0.05) << "the whole song, once";
    const std::vector<double> middle = Channel(out, 0, first + 4410, last - 4410);
    EXPECT_NEAR(ToneAmplitude(middle, 660), 0.5 * 32767, 0.02 * 32767);
    EXPECT_NEAR(Rms(Channel(out, 1, first + 4410, last - 4410)), Rms(middle), 1.0);
}

TEST_F(Songs, EveryFormatPlays) {
    const struct {
        const char* file;
        double hz;
    } songs[] = {{"tone523.ogg", 523}, {"tone659.flac", 659}, {"tone784.mp3", 784}};
    for (const auto& song : songs) {
        DiskCapture capture;
        {
            SdlMediaPlayer player(DecoderPath());
            player.Open(SongData(song.file));
            ASSERT_GE(WaitForEnd(player), 0) << song.file;
            capture.WaitSeconds(0.1);
        }
        const std::vector<int16_t> out = capture.Samples();
        const auto [first, last] = SoundingSpan(out);
        // 0.6 s long; lossy coders blur the edges a little.
        EXPECT_NEAR((last - first) / double(kRate), 0.6, 0.06) << song.file;
        const std::vector<double> middle = Channel(out, 0, first + 4410, last - 4410);
        EXPECT_GT(ToneAmplitude(middle, song.hz), 0.8 * 16000) << song.file;
        EXPECT_LT(ToneAmplitude(middle, song.hz * 1.5), 0.05 * 16000) << song.file;
    }
}

TEST_F(Songs, MusicAndBubblesMixInOneOutput) {
    DiskCapture capture;
    {
        SdlSoundComponent sound;
        SdlMediaPlayer player(DecoderPath());
        const int bubble = sound.LoadSound(Write("b.wav", WavBytes(Sine(441, 4400, 0.2))));
        sound.PlayLooping(bubble);
        sound.SetVolume(bubble, -600);
        player.Open(Tone("song.wav", 1000, 0.8));
        ASSERT_GE(WaitForEnd(player), 0);
    }
    const std::vector<int16_t> out = capture.Samples();
    const auto [first, last] = SoundingSpan(out);
    ASSERT_GT(last - first, static_cast<size_t>(kRate / 2));
    // A stretch in the middle of the song holds both.
    const size_t middle = first + (last - first) / 2;
    const std::vector<double> both = Channel(out, 0, middle - 4410, middle + 4410);
    EXPECT_NEAR(ToneAmplitude(both, 1000), 0.5 * 32767, 0.03 * 32767);
    EXPECT_NEAR(ToneAmplitude(both, 441), 0.2 * 32767 / 2, 0.03 * 32767);
}

TEST_F(Songs, SilentOutputStillKeepsRealTime) {
    // The test environment's dummy driver plays nothing, at the pace of a real device.
    SdlMediaPlayer player(DecoderPath());
    ASSERT_EQ(SdlAudioDevice::Acquire()->DriverName(), "dummy");
    player.Open(Tone("song.wav", 660, 0.5));
    EXPECT_GE(WaitForEnd(player), 0.4);
}

TEST_F(Songs, StopHaltsAtOnceAndPlayStartsTheSongAgain) {
    SdlMediaPlayer player(DecoderPath());
    player.Play();
    EXPECT_EQ(player.PlayState(), 0) << "nothing opened yet";

    player.Open(Tone("song.wav", 660, 3.0));
    ASSERT_NE(player.PlayState(), 0);
    const pid_t decoder = player.DecoderPid();
    player.Play();
    EXPECT_EQ(player.DecoderPid(), decoder) << "Play while playing goes on";

    player.Stop();
    EXPECT_EQ(player.PlayState(), 0);
    EXPECT_TRUE(ProcessGone(decoder));
    player.Stop();

    player.Play();
    EXPECT_NE(player.PlayState(), 0);
    EXPECT_NE(player.DecoderPid(), decoder);
    player.Open(Tone("short.wav", 660, 0.2));
    ASSERT_GE(WaitForEnd(player), 0);
    player.Play();
    EXPECT_NE(player.PlayState(), 0) << "Play after the end plays it again";
}

TEST_F(Songs, BadFilesEndAtOnceWithoutHarm) {
    QByteArray garbage(20000, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 2654435761u) >> 13);
    const QString cases[] = {
        Write("empty.mp3", {}),
        Write("garbage.flac", "fLaC" + garbage),
        Write("garbage.ogg", "OggS" + garbage),
        Write("garbage.mp3", garbage),
        Write("truncated.wav", WavBytes(Sine(440, 100, 0.5), 1, kRate, 400000)),
        dir_.filePath("missing.wav"),
        dir_.path(),
    };
    SdlMediaPlayer player(DecoderPath());
    for (const QString& song : cases) {
        player.Open(song);
        EXPECT_GE(WaitForEnd(player, 3000), 0) << song.toStdString();
    }
    player.Open(Tone("good.wav", 660, 2.0));
    EXPECT_NE(player.PlayState(), 0) << "a good song still plays afterwards";
}

TEST_F(Songs, ACrashingDecoderEndsTheSong) {
    SdlMediaPlayer player(Script("crash.sh", "kill -SEGV $$"));
    player.Open(Tone("song.wav", 660, 5.0));
    EXPECT_GE(WaitForEnd(player, 3000), 0);
}

TEST_F(Songs, AHungDecoderIsKilledAndTheSongEnds) {
    SdlMediaPlayer player(Script("hang.sh", "exec sleep 60"), 300);
    player.Open(Tone("song.wav", 660, 5.0));
    ASSERT_NE(player.PlayState(), 0);
    const pid_t decoder = player.DecoderPid();
    EXPECT_GE(WaitForEnd(player, 5000), 0.2);
    EXPECT_TRUE(ProcessGone(decoder));
}

TEST_F(Songs, StopKillsADecoderThatIgnoresSigterm) {
    SdlMediaPlayer player(Script("stubborn.sh", "trap '' TERM\nexec sleep 60"));
    player.Open(Tone("song.wav", 660, 5.0));
    ASSERT_NE(player.PlayState(), 0);
    const pid_t decoder = player.DecoderPid();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let it reach the trap
    player.Stop();
    EXPECT_EQ(player.PlayState(), 0);
    EXPECT_TRUE(ProcessGone(decoder)) << "killed and reaped by Stop";
}

TEST_F(Songs, AMissingDecoderPlaysNothing) {
    SdlMediaPlayer player(dir_.filePath("no-decoder"));
    player.Open(Tone("song.wav", 660, 1.0));
    EXPECT_EQ(player.PlayState(), 0);
    player.Play();
    EXPECT_EQ(player.PlayState(), 0);
}

// The decoder on its own: its output format, and that it leaves when nobody listens.
class Decoder : public Songs {
protected:
    // Runs the decoder on `song` with its output in a pipe; the read end is returned.
    int Spawn(const QString& song, pid_t* pid) {
        int fds[2];
        EXPECT_EQ(pipe(fds), 0);
        *pid = fork();
        if (*pid == 0) {
            dup2(fds[1], 1);
            close(fds[0]);
            const QByteArray program = DecoderPath().toLocal8Bit();
            const QByteArray file = song.toLocal8Bit();
            execl(program.constData(), program.constData(), file.constData(), nullptr);
            _exit(127);
        }
        close(fds[1]);
        return fds[0];
    }
    static int Finish(pid_t pid, int timeoutMs) {
        int status = -1;
        WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, timeoutMs);
        return status;
    }
};

TEST_F(Decoder, WritesFortyFourKilohertzStereoWhateverTheSource) {
    // Half a second of 22.05 kHz mono.
    const QString song = Write("mono.wav", WavBytes(Sine(300, 11025, 0.5, 22050), 1, 22050));
    pid_t pid = 0;
    const int fd = Spawn(song, &pid);
    QByteArray bytes;
    char buffer[65536];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<int>(n));
    close(fd);
    const int status = Finish(pid, 5000);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::vector<int16_t> out(static_cast<size_t>(bytes.size() / 2));
    std::memcpy(out.data(), bytes.constData(), out.size() * 2);
    // Within a mixing buffer of half a second at 44.1 kHz.
    EXPECT_NEAR(out.size() / 2.0, kRate / 2.0, 1100);
    const std::vector<double> left = Channel(out, 0, 2000, out.size() / 2 - 2000);
    EXPECT_NEAR(ToneAmplitude(left, 300), 0.5 * 32767, 0.03 * 32767);
    EXPECT_EQ(Rms(left), Rms(Channel(out, 1, 2000, out.size() / 2 - 2000)));
}

TEST_F(Decoder, FailsOnAFileItCannotDecode) {
    pid_t pid = 0;
    const int fd = Spawn(Write("bad.flac", "fLaC not really"), &pid);
    char byte;
    EXPECT_EQ(read(fd, &byte, 1), 0);
    close(fd);
    const int status = Finish(pid, 5000);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
}

TEST_F(Decoder, EndsWhenThePipeCloses) {
    pid_t pid = 0;
    const int fd = Spawn(Tone("long.wav", 440, 20.0), &pid);
    char buffer[4096];
    ASSERT_GT(read(fd, buffer, sizeof buffer), 0);
    close(fd);
    const int status = Finish(pid, 5000);
    EXPECT_NE(status, -1) << "still running with nobody reading";
    if (status == -1)
        kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
}

}  // namespace
}  // namespace bw
