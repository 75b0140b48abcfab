#include "platform/SdlSoundComponent.h"

#include "platform/SdlAudioDevice.h"

#include <QFile>
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <cmath>
#include <set>

namespace bw {

namespace {

// A looping effect, not a song: anything bigger is refused rather than held in memory.
constexpr qint64 kMaxSoundFileBytes = 64 * 1024 * 1024;
// Below this level the sound is inaudible anyway; it is also DirectSound's floor.
constexpr int kSilentHundredthsDb = -10000;

bool IsWaveFile(const QByteArray& bytes) {
    return bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE";
}

double Gain(int hundredthsDb) {
    if (hundredthsDb <= kSilentHundredthsDb)
        return 0.0;
    return std::pow(10.0, std::min(hundredthsDb, 0) / 2000.0);
}

}  // namespace

SdlSoundComponent::SdlSoundComponent() : device_(SdlAudioDevice::Acquire()) {}

SdlSoundComponent::~SdlSoundComponent() {
    for (auto& [number, sound] : sounds_) {
        if (sound.chunk) {
            Mix_HaltChannel(sound.channel);
            Mix_FreeChunk(sound.chunk);
        }
    }
}

int SdlSoundComponent::MixerVolume(int hundredthsDb) {
    return static_cast<int>(std::lround(Gain(hundredthsDb) * MIX_MAX_VOLUME));
}

std::pair<int, int> SdlSoundComponent::PanLevels(int pan) {
    pan = std::clamp(pan, kSilentHundredthsDb, -kSilentHundredthsDb);
    int left = static_cast<int>(std::lround(Gain(-std::max(pan, 0)) * 255));
    int right = static_cast<int>(std::lround(Gain(std::min(pan, 0)) * 255));
    return {left, right};
}

int SdlSoundComponent::LoadSound(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxSoundFileBytes)
        return 0;
    const QByteArray bytes = file.readAll();
    // Only WAV: other formats would run a full music decoder inside the saver.
    if (!IsWaveFile(bytes))
        return 0;

    Sound sound;
    SDL_RWops* source = SDL_RWFromConstMem(bytes.constData(), static_cast<int>(bytes.size()));
    if (device_->IsOpen()) {
        sound.chunk = Mix_LoadWAV_RW(source, 1);
        // An empty chunk would spin the mixer's loop forever.
        if (sound.chunk && sound.chunk->alen < SdlAudioDevice::kBytesPerFrame) {
            Mix_FreeChunk(sound.chunk);
            sound.chunk = nullptr;
        }
        if (!sound.chunk)
            return 0;
        sound.channel = FreeChannel();
    } else {
        // No device: still refuse what could not be played, but keep the number silent.
        SDL_AudioSpec spec;
        Uint8* data = nullptr;
        Uint32 length = 0;
        if (!SDL_LoadWAV_RW(source, 1, &spec, &data, &length))
            return 0;
        SDL_FreeWAV(data);
        if (length == 0)
            return 0;
    }
    const int number = nextNumber_++;
    sounds_[number] = sound;
    return number;
}

int SdlSoundComponent::FreeChannel() {
    std::set<int> used;
    for (const auto& [number, sound] : sounds_)
        used.insert(sound.channel);
    int channel = 0;
    while (used.count(channel))
        ++channel;
    if (channel >= channelsAllocated_) {
        channelsAllocated_ = channel + 1;
        Mix_AllocateChannels(channelsAllocated_);
    }
    Mix_Volume(channel, MIX_MAX_VOLUME);
    return channel;
}

SdlSoundComponent::Sound* SdlSoundComponent::Find(int sound) {
    auto it = sounds_.find(sound);
    return it == sounds_.end() ? nullptr : &it->second;
}

void SdlSoundComponent::ReleaseSound(int number) {
    Sound* sound = Find(number);
    if (!sound)
        return;
    if (sound->chunk) {
        Mix_HaltChannel(sound->channel);
        Mix_FreeChunk(sound->chunk);
    }
    sounds_.erase(number);
}

void SdlSoundComponent::ApplyLevels(const Sound& sound) {
    Mix_Volume(sound.channel, MixerVolume(sound.volume));
    const auto [left, right] = PanLevels(sound.pan);
    // Only a playing channel keeps an effect; the mixer drops it when the channel halts.
    if (Mix_Playing(sound.channel))
        Mix_SetPanning(sound.channel, static_cast<Uint8>(left), static_cast<Uint8>(right));
}

void SdlSoundComponent::PlayLooping(int number) {
    Sound* sound = Find(number);
    if (!sound || !sound->chunk)
        return;
    // Already looping: let it run on without a restart click.
    if (Mix_Playing(sound->channel) && Mix_GetChunk(sound->channel) == sound->chunk)
        return;
    Mix_Volume(sound->channel, MixerVolume(sound->volume));
    if (Mix_PlayChannel(sound->channel, sound->chunk, -1) < 0)
        return;
    ApplyLevels(*sound);
}

void SdlSoundComponent::StopSound(int number) {
    Sound* sound = Find(number);
    if (sound && sound->chunk)
        Mix_HaltChannel(sound->channel);
}

void SdlSoundComponent::StopAll() {
    for (const auto& [number, sound] : sounds_) {
        if (sound.chunk)
            Mix_HaltChannel(sound.channel);
    }
}

void SdlSoundComponent::SetVolume(int number, int volume) {
    Sound* sound = Find(number);
    if (!sound)
        return;
    sound->volume = std::clamp(volume, kSilentHundredthsDb, 0);
    if (sound->chunk)
        ApplyLevels(*sound);
}

void SdlSoundComponent::SetPan(int number, int pan) {
    Sound* sound = Find(number);
    if (!sound)
        return;
    sound->pan = std::clamp(pan, kSilentHundredthsDb, -kSilentHundredthsDb);
    if (sound->chunk)
        ApplyLevels(*sound);
}

}  // namespace bw
