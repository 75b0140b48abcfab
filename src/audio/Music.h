#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace bw {

class MediaPlayer;
class Settings;

// The user's playlist, played song after song while the saver runs.
class Music {
public:
    // `listPath` is the real path of "List.txt".
    Music(MediaPlayer& player, const Settings& settings, QString listPath);

    // At start: reads "MusicOff" and "Music"; with music on, loads the playlist and opens the
    // first song.
    void start();
    // Timer1, every second: the next song once the current one has stopped.
    void Timer1_Timer();
    // TimerApp, every minute: the music-off time.
    void minuteTick();
    // V: stop. B: play again.
    void keyV();
    void keyB();
    // The mouse exit and the window's unload stop the music at once.
    void stop();

    bool playing() const { return playing_; }
    bool timer1Enabled() const { return timer1Enabled_; }
    const QStringList& PlayList() const { return playList_; }
    int selected() const { return selected_; }

private:
    void openSelected();

    MediaPlayer& player_;
    const Settings& settings_;
    QString listPath_;

    int16_t musicOn_ = 0;
    QString musicOffMinutes_;
    bool playing_ = false;
    bool timer1Enabled_ = false;
    int16_t musicMinutes_ = 0;
    QStringList playList_;
    int selected_ = -1;
};

}  // namespace bw
