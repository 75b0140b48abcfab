// Decodes one music file to raw 44.1 kHz signed 16-bit stereo PCM (native byte order) on
// standard output, as fast as the reader takes it, then exits.
// Usage: brinewave3-decode FILE
//
// The saver runs one of these per song so that a decoder which crashes or hangs on a bad file
// takes only this process with it. Exit status: 0 played to the end, 2 the file cannot be
// decoded, 1 any other failure. It also ends when the reader closes the pipe or the parent dies.
#include <SDL.h>
#include <SDL_mixer.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kBufferFrames = 1024;

// Written by the main thread before the music starts, read by the audio thread.
std::atomic<bool> armed{false};
// Set on the audio thread when the song has ended; the buffer mixed then is the last one.
std::atomic<bool> finished{false};
std::atomic<bool> done{false};

void WriteAll(const Uint8* data, int length) {
    while (length > 0) {
        const ssize_t written = write(STDOUT_FILENO, data, static_cast<size_t>(length));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            _exit(0);  // the reader has gone: nobody wants the rest
        data += written;
        length -= static_cast<int>(written);
    }
}

// Runs on the audio thread after each mix. The disk driver's own file is /dev/null: this is
// where the samples really go, and a full pipe holds the mixer back.
void SDLCALL Output(void*, Uint8* stream, int length) {
    if (!armed.load() || done.load())
        return;
    WriteAll(stream, length);
    if (finished.load())
        done.store(true);
}

void SDLCALL Finished() { finished.store(true); }

bool ReaderGone() {
    pollfd out{STDOUT_FILENO, 0, 0};
    return poll(&out, 1, 0) > 0 && (out.revents & (POLLERR | POLLHUP | POLLNVAL));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brinewave3-decode FILE\n");
        return 1;
    }
    // Die with the saver, and leave no core file behind when a bad song crashes us.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() == 1)
        return 1;
    rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    signal(SIGPIPE, SIG_DFL);

    // Mix as fast as possible into nothing; Output() hands the samples on.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "brinewave3-decode: %s\n", SDL_GetError());
        return 1;
    }
    Mix_Init(MIX_INIT_FLAC | MIX_INIT_MP3 | MIX_INIT_OGG);
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kBufferFrames, nullptr, 0) != 0) {
        std::fprintf(stderr, "brinewave3-decode: %s\n", Mix_GetError());
        return 1;
    }
    Mix_Music* music = Mix_LoadMUS(argv[1]);
    if (!music) {
        std::fprintf(stderr, "brinewave3-decode: %s: %s\n", argv[1], Mix_GetError());
        _exit(2);
    }
    Mix_HookMusicFinished(Finished);
    Mix_SetPostMix(Output, nullptr);
    armed.store(true);
    if (Mix_PlayMusic(music, 1) != 0) {
        std::fprintf(stderr, "brinewave3-decode: %s: %s\n", argv[1], Mix_GetError());
        _exit(2);
    }
    while (!done.load()) {
        if (ReaderGone())
            _exit(0);
        SDL_Delay(5);
    }
    // No orderly shutdown: the song is out, and a decoder that misbehaved on the way could
    // block a halt. The kernel closes the pipe, which the reader sees as the song's end.
    _exit(0);
}
