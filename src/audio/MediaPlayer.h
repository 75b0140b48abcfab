#pragma once

#include <QString>

namespace bw {

// Plays one song file at a time.
class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;
    // 0 when nothing plays: the song ended, was stopped, or could not be opened.
    virtual int PlayState() = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    // Opens the song and starts it.
    virtual void Open(const QString& path) = 0;
    // Written before each Open; accepted and ignored.
    virtual void SetStringProperty(const QString& text) = 0;
};

}  // namespace bw
