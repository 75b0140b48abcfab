#pragma once

#include <QString>
#include <QStringList>

namespace bw {

class SystemLayer;

// The music library behind the "Music" tab: the album (every collected file, duplicates
// allowed) and the play list (songs to play, in order, each once), each with its selected
// entry (-1 for none). The widgets show these lists; every rule and message lives here.
class MusicLibrary {
  public:
    explicit MusicLibrary(SystemLayer& system) : system_(system) {}

    const QStringList& album() const { return album_; }
    const QStringList& playList() const { return playList_; }
    int albumSelection() const { return albumSelection_; }
    int playListSelection() const { return playListSelection_; }
    // Out-of-range positions select nothing.
    void selectAlbum(int index);
    void selectPlayList(int index);

    // Replaces both lists, selecting nothing.
    void setLists(QStringList playList, QStringList album);

    // Appends `folder`/name for each selected file name and reports the count. A path the list
    // files cannot hold is refused with a message.
    void addToAlbum(const QString& folder, const QStringList& fileNames);
    // Appends the selected album entry to the play list unless it is there already.
    void addSelectedToPlayList();
    // Remove the selected entry and select its neighbour.
    void deleteAlbumSong();
    void deleteSong();
    // Empties the play list once the user agrees.
    void deleteAll();

  private:
    void deleteSelected(QStringList& list, int& selection, const QString& emptyText,
                        const QString& emptyTitle, const QString& noSelectionTitle);

    SystemLayer& system_;
    QStringList album_;
    QStringList playList_;
    int albumSelection_ = -1;
    int playListSelection_ = -1;
};

}  // namespace bw
