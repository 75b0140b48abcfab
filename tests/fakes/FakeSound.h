#pragma once

#include "audio/MediaPlayer.h"
#include "audio/SoundComponent.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

namespace bw {

// A SoundComponent that records every call in order as text ("LoadSound(path)",
// "SetVolume(1, -2000)") and keeps enough state to say what would be heard.
class FakeSoundComponent : public SoundComponent {
public:
    int LoadSound(const QString& path) override;
    void ReleaseSound(int sound) override;
    void PlayLooping(int sound) override;
    void StopSound(int sound) override;
    void StopAll() override;
    void SetVolume(int sound, int volume) override;
    void SetPan(int sound, int pan) override;

    const QStringList& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    // A load of this path returns 0 from now on.
    void setLoadFails(const QString& path) { failingPaths_.insert(path); }

    bool isLoaded(int sound) const { return loaded_.contains(sound); }
    bool isPlaying(int sound) const { return playing_.contains(sound); }
    // True while any loaded sound plays.
    bool audible() const { return !playing_.isEmpty(); }
    // The last volume and pan set for a loaded sound (0 when never set).
    int volume(int sound) const { return volumes_.value(sound, 0); }
    int pan(int sound) const { return pans_.value(sound, 0); }

private:
    QStringList calls_;
    QSet<QString> failingPaths_;
    int nextNumber_ = 1;
    QSet<int> loaded_;
    QSet<int> playing_;
    QMap<int, int> volumes_;
    QMap<int, int> pans_;
};

// A MediaPlayer that records every call in order ("Open(path)", "Play()", "Stop()",
// "SetStringProperty(2)", "PlayState()"), plays nothing, and reports the state the test sets.
class FakeMediaPlayer : public MediaPlayer {
public:
    static constexpr int kPlaying = 2;

    int PlayState() override;
    void Play() override;
    void Stop() override;
    void Open(const QString& path) override;
    void SetStringProperty(const QString& text) override;

    const QStringList& calls() const { return calls_; }
    // The calls without the PlayState() polls.
    QStringList commands() const;
    void clearCalls() { calls_.clear(); }

    // Open of this path fails: nothing plays and PlayState stays 0.
    void setOpenFails(const QString& path) { failingPaths_.insert(path); }
    void setPlayState(int state) { state_ = state; }
    // The current song reaches its end.
    void finishSong() { state_ = 0; }
    QString currentSong() const { return song_; }
    QString stringProperty() const { return stringProperty_; }

private:
    QStringList calls_;
    QSet<QString> failingPaths_;
    QString song_;
    QString stringProperty_;
    int state_ = 0;
};

}  // namespace bw
