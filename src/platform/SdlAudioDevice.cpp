#include "platform/SdlAudioDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdarg>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <string>

namespace bw {

namespace {

// Mixing period of the device: about 23 ms, short enough that a stop is heard at once.
constexpr int kBufferFrames = 1024;

std::weak_ptr<SdlAudioDevice>& Shared() {
    static std::weak_ptr<SdlAudioDevice> device;
    return device;
}

// What the ALSA library says while the device is being opened. Without a sound card it
// explains at length why it found none, which we say once in our own words: its lines are
// dropped then, and printed as usual once the device is open. The library is reached through
// dlopen (SDL loads the same one), so the build does not depend on it.
class AlsaMessages {
public:
    AlsaMessages() : library_(dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL)) {
        if (!library_)
            return;
        setHandler_ = reinterpret_cast<SetHandler>(dlsym(library_, "snd_lib_error_set_handler"));
        {
            std::lock_guard lock(Kept().mutex);
            Kept().describe = reinterpret_cast<Describe>(dlsym(library_, "snd_strerror"));
        }
        if (setHandler_)
            setHandler_(&AlsaMessages::Keep);
    }
    ~AlsaMessages() {
        Finish(true);
        if (library_)
            dlclose(library_);
    }
    AlsaMessages(const AlsaMessages&) = delete;
    AlsaMessages& operator=(const AlsaMessages&) = delete;

    // Gives the library its own handler back, then prints or drops what was kept.
    void Finish(bool print) {
        if (!setHandler_)
            return;
        setHandler_(nullptr);
        setHandler_ = nullptr;
        std::string text;
        {
            std::lock_guard lock(Kept().mutex);
            text.swap(Kept().text);
            Kept().describe = nullptr;
        }
        if (print)
            std::fputs(text.c_str(), stderr);
    }

private:
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    using Describe = const char* (*)(int);

    // Static, since the handler takes no context; SDL's audio thread may call it too.
    struct Store {
        std::mutex mutex;
        std::string text;
        Describe describe = nullptr;
    };
    static Store& Kept() {
        static Store store;
        return store;
    }

    // The line the library's own handler would have printed.
    static void Keep(const char* file, int line, const char* function, int error,
                     const char* format, ...) {
        char message[1024];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(message, sizeof message, format, arguments);
        va_end(arguments);
        std::lock_guard lock(Kept().mutex);
        std::string& text = Kept().text;
        text += "ALSA lib " + std::string(file ? file : "") + ':' + std::to_string(line) + ":(" +
                (function ? function : "") + ") " + message;
        if (error) {
            text += ": ";
            text += Kept().describe ? Kept().describe(error) : std::strerror(std::abs(error));
        }
        text += '\n';
    }

    void* library_;
    SetHandler setHandler_ = nullptr;
};

}  // namespace

std::shared_ptr<SdlAudioDevice> SdlAudioDevice::Acquire() {
    std::shared_ptr<SdlAudioDevice> device = Shared().lock();
    if (!device) {
        device.reset(new SdlAudioDevice());
        Shared() = device;
    }
    return device;
}

SdlAudioDevice::SdlAudioDevice() {
    // Without this SDL installs its own SIGINT/SIGTERM handlers and the host can no longer
    // end the saver with a plain kill.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A WAV whose data ends early is refused instead of being played cut short.
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");

    AlsaMessages alsa;
    const bool opened = TryOpen();
    alsa.Finish(opened);
    if (opened)
        return;
    std::fprintf(stderr, "Brinewave3: no audio device (%s); sound stays silent\n", SDL_GetError());
    // The silent driver keeps real time, so songs still end after their length.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    TryOpen();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!open_)
        std::fprintf(stderr, "Brinewave3: even silent audio failed: %s\n", SDL_GetError());
}

bool SdlAudioDevice::TryOpen() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    // No format changes allowed: SDL converts to whatever the hardware wants, and every
    // buffer we see is 44.1 kHz signed 16-bit stereo.
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kBufferFrames, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(0);
    open_ = true;
    driver_ = QString::fromUtf8(SDL_GetCurrentAudioDriver());
    return true;
}

SdlAudioDevice::~SdlAudioDevice() {
    if (!open_)
        return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace bw
