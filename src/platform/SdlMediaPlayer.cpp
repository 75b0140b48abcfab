#include "platform/SdlMediaPlayer.h"

#include "platform/SdlAudioDevice.h"
#include "platform/Spawn.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <SDL_mixer.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace bw {

namespace {

// About six seconds of music: the decoder stays well ahead of the mixer even on a busy machine.
constexpr int kPipeBytes = 1 << 20;
// A decoder gets this long to leave on SIGTERM before it is killed outright.
constexpr int kTermGraceMs = 150;
constexpr int kKillWaitMs = 1000;

int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QString DefaultDecoderPath() {
    const QString folder = QCoreApplication::instance()
                               ? QCoreApplication::applicationDirPath()
                               : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return folder + QStringLiteral("/brinewave3-decode");
}

// Waits up to `ms` for the child to end; true once it is reaped (or no longer ours).
bool Reap(pid_t pid, int ms) {
    const int64_t deadline = SteadyMs() + ms;
    for (;;) {
        const pid_t result = waitpid(pid, nullptr, WNOHANG);
        if (result == pid || (result < 0 && errno == ECHILD))
            return true;
        if (SteadyMs() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace

SdlMediaPlayer::SdlMediaPlayer(QString decoderPath, int stallTimeoutMs)
    : device_(SdlAudioDevice::Acquire()),
      decoderPath_(decoderPath.isEmpty() ? DefaultDecoderPath() : std::move(decoderPath)),
      stallTimeoutMs_(stallTimeoutMs) {}

SdlMediaPlayer::~SdlMediaPlayer() {
    EndSong();
    for (pid_t pid : stragglers_)
        Reap(pid, kKillWaitMs);
}

void SdlMediaPlayer::Open(const QString& path) {
    EndSong();
    song_ = path;
    playing_ = Start();
}

void SdlMediaPlayer::Play() {
    ReapStragglers();
    if (playing_ || song_.isEmpty())
        return;
    playing_ = Start();
}

void SdlMediaPlayer::Stop() { EndSong(); }

void SdlMediaPlayer::SetStringProperty(const QString&) {}

int SdlMediaPlayer::PlayState() {
    ReapStragglers();
    if (!playing_)
        return 0;
    if (child_ && waitpid(child_, nullptr, WNOHANG) == child_)
        child_ = 0;
    int unread = 0;
    ioctl(fd_, FIONREAD, &unread);
    const bool drained = child_ == 0 && unread == 0;
    const bool stalled = SteadyMs() - lastDataMs_.load() > stallTimeoutMs_;
    if (ended_.load() || drained || stalled) {
        EndSong();
        return 0;
    }
    return kPlaying;
}

bool SdlMediaPlayer::Start() {
    if (!device_->IsOpen() || !QFileInfo(song_).isFile())
        return false;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return false;
    fcntl(fds[0], F_SETPIPE_SZ, kPipeBytes);  // a smaller pipe still works
    fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);

    // Signals start at their defaults, so the decoder dies of a closed pipe or a SIGTERM.
    SpawnOptions options;
    options.standardOutput = fds[1];
    const pid_t pid = spawnProgram(decoderPath_, {song_}, options);
    close(fds[1]);
    if (!pid) {
        close(fds[0]);
        return false;
    }
    child_ = pid;
    fd_ = fds[0];
    carryLength_ = 0;
    ended_.store(false);
    lastDataMs_.store(SteadyMs());
    Mix_HookMusic(Hook, this);
    return true;
}

void SdlMediaPlayer::EndSong() {
    if (fd_ >= 0) {
        // Once this returns the audio thread no longer reads the pipe.
        Mix_HookMusic(nullptr, nullptr);
        close(fd_);
        fd_ = -1;
    }
    if (child_) {
        if (!Reap(child_, 0)) {
            kill(child_, SIGTERM);
            if (!Reap(child_, kTermGraceMs)) {
                kill(child_, SIGKILL);
                if (!Reap(child_, 50))
                    stragglers_.push_back(child_);
            }
        }
        child_ = 0;
    }
    playing_ = false;
}

void SdlMediaPlayer::ReapStragglers() {
    std::erase_if(stragglers_, [](pid_t pid) { return Reap(pid, 0); });
}

void SdlMediaPlayer::Hook(void* self, uint8_t* stream, int length) {
    static_cast<SdlMediaPlayer*>(self)->Fill(stream, length);
}

// Audio thread. Never blocks: the pipe is non-blocking, and what is missing plays as silence.
void SdlMediaPlayer::Fill(uint8_t* stream, int length) {
    int filled = carryLength_;
    std::memcpy(stream, carry_, static_cast<size_t>(carryLength_));
    carryLength_ = 0;
    bool gotData = false;
    while (filled < length && !ended_.load()) {
        const ssize_t count = read(fd_, stream + filled, static_cast<size_t>(length - filled));
        if (count > 0) {
            filled += static_cast<int>(count);
            gotData = true;
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else if (count < 0 && errno == EAGAIN) {
            break;
        } else {
            ended_.store(true);  // end of the song, or the decoder is gone
        }
    }
    if (gotData)
        lastDataMs_.store(SteadyMs());
    // Keep a torn sample frame for the next call so left and right never swap.
    const int whole = filled - filled % SdlAudioDevice::kBytesPerFrame;
    if (!ended_.load()) {
        carryLength_ = filled - whole;
        std::memcpy(carry_, stream + whole, static_cast<size_t>(carryLength_));
    }
    std::memset(stream + whole, 0, static_cast<size_t>(length - whole));
}

}  // namespace bw
