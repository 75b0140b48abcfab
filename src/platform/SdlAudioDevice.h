#pragma once

#include <QString>
#include <memory>

namespace bw {

// The one SDL audio device of the process, shared by the bubble sounds and the music so both
// come out of the same mixer. It opens at 44.1 kHz, 16-bit stereo when the first user asks for
// it and closes when the last one lets go. When no real device can be opened it falls back to
// SDL's silent "dummy" driver, which still consumes audio in real time.
class SdlAudioDevice {
public:
    static constexpr int kFrequency = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBytesPerFrame = 4;

    static std::shared_ptr<SdlAudioDevice> Acquire();
    ~SdlAudioDevice();

    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    // False only when even the silent driver could not be opened.
    bool IsOpen() const { return open_; }
    // The SDL driver in use ("pulseaudio", "alsa", "disk", "dummy", ...), empty when closed.
    QString DriverName() const { return driver_; }

private:
    SdlAudioDevice();
    bool TryOpen();

    bool open_ = false;
    QString driver_;
};

}  // namespace bw
