#pragma once

#include <QString>

namespace bw {

// Plays loaded WAV sounds, one looping voice per sound number.
class SoundComponent {
public:
    virtual ~SoundComponent() = default;
    // A new whole number per load; 0 when the file cannot be loaded.
    virtual int LoadSound(const QString& path) = 0;
    // 0, an unknown or an already released number does no harm.
    virtual void ReleaseSound(int sound) = 0;
    virtual void PlayLooping(int sound) = 0;
    virtual void StopSound(int sound) = 0;
    virtual void StopAll() = 0;
    // Hundredths of a decibel: 0 loudest, -2500 quietest.
    virtual void SetVolume(int sound, int volume) = 0;
    virtual void SetPan(int sound, int pan) = 0;
};

}  // namespace bw
