#include "audio/BubbleSound.h"

#include "audio/SoundComponent.h"
#include "settings/Conversions.h"
#include "settings/Settings.h"

#include <algorithm>

namespace bw {

namespace {

// The minute choices of the settings dialog besides "Never".
constexpr int kMinuteChoices[] = {1,  2,  3,  4,   5,   10,  15,  20,  30,  45,
                                  60, 90, 120, 180, 240, 300, 360, 420, 480};

// "0" is stored for "Never".
QString minutesOrNever(const QString& stored) {
    return textToInt16(stored) == 0 ? QStringLiteral("Never") : stored;
}

}  // namespace

BubbleSound::BubbleSound(SoundComponent& sound, const Settings& settings, QString wavePath)
    : sound_(sound), settings_(settings), wavePath_(std::move(wavePath)) {}

void BubbleSound::readOptions() {
    soundOn_ = settings_.integer(key::Sound);
    soundOffMinutes_ = minutesOrNever(settings_.text(key::SoundOff));
    volume_ = settings_.integer(key::Volume);
}

void BubbleSound::SoundOff() {
    const std::optional<int16_t> minutes = textToInt16(soundOffMinutes_);
    if (minutes && std::ranges::find(kMinuteChoices, *minutes) != std::end(kMinuteChoices))
        soundOffSeconds_ = static_cast<int16_t>(60 * *minutes);
}

void BubbleSound::OpenDirectSoundSession() {
    sound_.ReleaseSound(soundNumber_);
    soundNumber_ = static_cast<int16_t>(sound_.LoadSound(wavePath_));
    soundOn_ = settings_.integer(key::Sound);
    if (soundOn_ == 1) {
        sound_.PlayLooping(soundNumber_);
        sound_.SetVolume(soundNumber_, volume_);
        sound_.SetPan(soundNumber_, 0);
    } else if (soundOn_ == 0) {
        sound_.StopSound(soundNumber_);
    }
}

void BubbleSound::secondTick() {
    if (!hasTimeLimit()) return;
    ++soundSeconds_;
    if (soundSeconds_ >= soundOffSeconds_) sound_.StopAll();
    if (soundSeconds_ > 86398) soundSeconds_ = 0;
}

void BubbleSound::minuteTick() {
    if (soundMinutes_ < INT16_MAX) ++soundMinutes_;
    if (textToInt16(soundOffMinutes_) == soundMinutes_) sound_.ReleaseSound(soundNumber_);
}

void BubbleSound::stopAll() { sound_.StopAll(); }

void BubbleSound::silenceForExit() {
    sound_.StopAll();
    sound_.ReleaseSound(soundNumber_);
}

void BubbleSound::unload() {
    sound_.ReleaseSound(soundNumber_);
    sound_.StopAll();
}

}  // namespace bw
