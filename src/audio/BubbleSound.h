#pragma once

#include <QString>
#include <cstdint>

namespace bw {

class Settings;
class SoundComponent;

// The looping bubble sound: started at start-up and by S, silenced by Q, by the sound-off
// time and on every way out.
class BubbleSound {
public:
    BubbleSound(SoundComponent& sound, const Settings& settings, QString wavePath);

    // "Sound", "SoundOff" and "Volume", read with the saver's other options.
    void readOptions();
    bool hasTimeLimit() const { return soundOffMinutes_ != u"Never"; }
    // The sound-off minutes as seconds.
    void SoundOff();
    // (Re)loads the sound and starts it when "Sound" is on.
    void OpenDirectSoundSession();

    // Timer2, every second: the sound-off time in seconds.
    void secondTick();
    // TimerApp, every minute: the sound-off time in minutes.
    void minuteTick();

    void stopAll();
    // An exit by key, button, mouse movement or the power-management time.
    void silenceForExit();
    // The saver window unloads.
    void unload();

    int16_t soundNumber() const { return soundNumber_; }

private:
    SoundComponent& sound_;
    const Settings& settings_;
    QString wavePath_;

    int16_t soundNumber_ = 0;
    int16_t soundOn_ = 0;
    QString soundOffMinutes_;
    int16_t soundOffSeconds_ = 0;
    int32_t soundSeconds_ = 0;
    int16_t soundMinutes_ = 0;
    int16_t volume_ = 0;
};

}  // namespace bw
