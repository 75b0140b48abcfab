#include "audio/Music.h"

#include "audio/MediaPlayer.h"
#include "settings/Conversions.h"
#include "settings/InstallFolder.h"
#include "settings/ListFiles.h"
#include "settings/Settings.h"

namespace bw {

Music::Music(MediaPlayer& player, const Settings& settings, QString listPath)
    : player_(player), settings_(settings), listPath_(std::move(listPath)) {}

void Music::start() {
    const QString stored = settings_.text(key::MusicOff);
    musicOffMinutes_ = textToInt16(stored) == 0 ? QStringLiteral("Never") : stored;
    musicOn_ = settings_.integer(key::Music);
    timer1Enabled_ = false;
    if (musicOn_ != 1) return;
    playing_ = true;
    if (fileExists(listPath_)) playList_.append(readListFile(listPath_));
    selected_ = playList_.isEmpty() ? -1 : 0;
    openSelected();
    timer1Enabled_ = true;
}

void Music::openSelected() {
    if (selected_ < 0 || selected_ >= playList_.size()) return;
    const QString& song = playList_[selected_];
    // A song that has gone is skipped: nothing plays, so the next tick tries the next one.
    if (fileExists(song)) player_.Open(song);
}

void Music::Timer1_Timer() {
    if (!timer1Enabled_ || !playing_) return;
    // Without a playlist there is nothing to advance to.
    if (playList_.isEmpty()) return;
    if (player_.PlayState() != 0) return;
    player_.Stop();
    int songIndex = selected_ + 1;
    if (songIndex > playList_.size() - 1) songIndex = 0;
    selected_ = songIndex;
    player_.SetStringProperty(QString::number(selected_));
    openSelected();
    timer1Enabled_ = true;
}

void Music::minuteTick() {
    if (musicMinutes_ < INT16_MAX) ++musicMinutes_;
    if (musicMinutes_ != 0 && textToInt16(musicOffMinutes_) == musicMinutes_) {
        player_.Stop();
        playing_ = false;
    }
}

void Music::keyV() {
    player_.Stop();
    timer1Enabled_ = false;
    playing_ = false;
}

void Music::keyB() {
    timer1Enabled_ = true;
    playing_ = true;
    player_.Play();
}

void Music::stop() { player_.Stop(); }

}  // namespace bw
