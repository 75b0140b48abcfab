#include "platform/SdlAudioDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdio>

namespace bw {

namespace {

// Mixing period of the device: about 23 ms, short enough that a stop is heard at once.
constexpr int kBufferFrames = 1024;

std::weak_ptr<SdlAudioDevice>& Shared() {
    static std::weak_ptr<SdlAudioDevice> device;
    return device;
}

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

    if (TryOpen())
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
