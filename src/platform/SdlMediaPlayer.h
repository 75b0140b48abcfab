#pragma once

#include "audio/MediaPlayer.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <sys/types.h>
#include <vector>

namespace bw {

class SdlAudioDevice;

// Plays the user's songs through the shared mixer. Each song is decoded by a child process
// (brinewave3-decode) that writes raw PCM into a pipe; the mixer's music hook reads that
// pipe without ever blocking. A decoder that crashes simply ends the song; one that hangs is
// noticed by the lack of data, killed, and the song ends too.
class SdlMediaPlayer : public MediaPlayer {
public:
    static constexpr int kPlaying = 2;

    // decoderPath empty: brinewave3-decode beside the running program.
    explicit SdlMediaPlayer(QString decoderPath = {}, int stallTimeoutMs = 10000);
    ~SdlMediaPlayer() override;

    SdlMediaPlayer(const SdlMediaPlayer&) = delete;
    SdlMediaPlayer& operator=(const SdlMediaPlayer&) = delete;

    int PlayState() override;
    void Play() override;
    void Stop() override;
    void Open(const QString& path) override;
    void SetStringProperty(const QString& text) override;

    // The running decoder process, 0 when none; for tests.
    pid_t DecoderPid() const { return child_; }

private:
    static void Hook(void* self, uint8_t* stream, int length);
    void Fill(uint8_t* stream, int length);
    bool Start();
    void EndSong();
    void ReapStragglers();

    std::shared_ptr<SdlAudioDevice> device_;
    QString decoderPath_;
    int stallTimeoutMs_;
    QString song_;
    bool playing_ = false;
    pid_t child_ = 0;
    std::vector<pid_t> stragglers_;  // killed but not yet reaped

    // Shared with the audio thread. fd_ and carry_ change only while the hook is removed.
    int fd_ = -1;
    uint8_t carry_[4] = {};
    int carryLength_ = 0;
    std::atomic<bool> ended_{false};
    std::atomic<int64_t> lastDataMs_{0};
};

}  // namespace bw
