#pragma once

#include "audio/SoundComponent.h"

#include <map>
#include <memory>

struct Mix_Chunk;

namespace bw {

class SdlAudioDevice;

// The bubble sounds on SDL2_mixer: each loaded sound keeps a mixer channel of its own, so
// its volume and pan stay with it between plays.
class SdlSoundComponent : public SoundComponent {
public:
    SdlSoundComponent();
    ~SdlSoundComponent() override;

    SdlSoundComponent(const SdlSoundComponent&) = delete;
    SdlSoundComponent& operator=(const SdlSoundComponent&) = delete;

    int LoadSound(const QString& path) override;
    void ReleaseSound(int sound) override;
    void PlayLooping(int sound) override;
    void StopSound(int sound) override;
    void StopAll() override;
    void SetVolume(int sound, int volume) override;
    void SetPan(int sound, int pan) override;

    // Mixer volume (0..128) for a level in hundredths of a decibel.
    static int MixerVolume(int hundredthsDb);
    // Left and right panning levels (0..255) for a pan in hundredths of a decibel: a positive
    // pan attenuates the left side, a negative one the right.
    static std::pair<int, int> PanLevels(int pan);

private:
    struct Sound {
        Mix_Chunk* chunk = nullptr;  // null when there is no device: the sound stays silent
        int channel = -1;
        int volume = 0;
        int pan = 0;
    };

    Sound* Find(int sound);
    int FreeChannel();
    void ApplyLevels(const Sound& sound);

    std::shared_ptr<SdlAudioDevice> device_;
    std::map<int, Sound> sounds_;
    int nextNumber_ = 1;
    int channelsAllocated_ = 0;
};

}  // namespace bw
