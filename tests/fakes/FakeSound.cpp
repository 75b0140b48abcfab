#include "fakes/FakeSound.h"

namespace bw {

int FakeSoundComponent::LoadSound(const QString& path) {
    calls_.append(QStringLiteral("LoadSound(%1)").arg(path));
    if (failingPaths_.contains(path))
        return 0;
    const int number = nextNumber_++;
    loaded_.insert(number);
    return number;
}

void FakeSoundComponent::ReleaseSound(int sound) {
    calls_.append(QStringLiteral("ReleaseSound(%1)").arg(sound));
    loaded_.remove(sound);
    playing_.remove(sound);
    volumes_.remove(sound);
    pans_.remove(sound);
}

void FakeSoundComponent::PlayLooping(int sound) {
    calls_.append(QStringLiteral("PlayLooping(%1)").arg(sound));
    if (loaded_.contains(sound))
        playing_.insert(sound);
}

void FakeSoundComponent::StopSound(int sound) {
    calls_.append(QStringLiteral("StopSound(%1)").arg(sound));
    playing_.remove(sound);
}

void FakeSoundComponent::StopAll() {
    calls_.append(QStringLiteral("StopAll()"));
    playing_.clear();
}

void FakeSoundComponent::SetVolume(int sound, int volume) {
    calls_.append(QStringLiteral("SetVolume(%1, %2)").arg(sound).arg(volume));
    if (loaded_.contains(sound))
        volumes_[sound] = volume;
}

void FakeSoundComponent::SetPan(int sound, int pan) {
    calls_.append(QStringLiteral("SetPan(%1, %2)").arg(sound).arg(pan));
    if (loaded_.contains(sound))
        pans_[sound] = pan;
}

int FakeMediaPlayer::PlayState() {
    calls_.append(QStringLiteral("PlayState()"));
    return state_;
}

void FakeMediaPlayer::Play() {
    calls_.append(QStringLiteral("Play()"));
    if (!song_.isEmpty() && !failingPaths_.contains(song_))
        state_ = kPlaying;
}

void FakeMediaPlayer::Stop() {
    calls_.append(QStringLiteral("Stop()"));
    state_ = 0;
}

void FakeMediaPlayer::Open(const QString& path) {
    calls_.append(QStringLiteral("Open(%1)").arg(path));
    song_ = path;
    state_ = failingPaths_.contains(path) ? 0 : kPlaying;
}

void FakeMediaPlayer::SetStringProperty(const QString& text) {
    calls_.append(QStringLiteral("SetStringProperty(%1)").arg(text));
    stringProperty_ = text;
}

QStringList FakeMediaPlayer::commands() const {
    QStringList result;
    for (const QString& call : calls_) {
        if (call != QLatin1String("PlayState()"))
            result.append(call);
    }
    return result;
}

}  // namespace bw
