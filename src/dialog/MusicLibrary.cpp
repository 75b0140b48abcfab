#include "dialog/MusicLibrary.h"

#include <QDir>

#include "settings/ListFiles.h"
#include "system/SystemLayer.h"

namespace bw {

void MusicLibrary::selectAlbum(int index) {
    albumSelection_ = index >= 0 && index < album_.size() ? index : -1;
}

void MusicLibrary::selectPlayList(int index) {
    playListSelection_ = index >= 0 && index < playList_.size() ? index : -1;
}

void MusicLibrary::setLists(QStringList playList, QStringList album) {
    playList_ = std::move(playList);
    album_ = std::move(album);
    albumSelection_ = -1;
    playListSelection_ = -1;
}

void MusicLibrary::addToAlbum(const QString& folder, const QStringList& fileNames) {
    QStringList refused;
    qsizetype added = 0;
    for (const QString& name : fileNames) {
        const QString path = QDir(folder).filePath(name);
        // Kept, such a path would be saved as another one and the song would never play.
        if (!listFileCanHold(path)) {
            refused.append(path);
            continue;
        }
        album_.append(path);
        ++added;
    }
    if (!refused.isEmpty()) {
        system_.MessageBox(
            QStringLiteral("These files were not added to the Album: their names contain a double "
                           "quote (\") or a line break, which the music lists cannot store.\n\n") +
                refused.join(u'\n') +
                QStringLiteral("\n\nRename them in your file manager, then add them again."),
            QStringLiteral("Brinewave3 Music Center"), MessageIcon::Exclamation,
            MessageButtons::Ok);
    }
    system_.MessageBox(QString::number(added) + QStringLiteral(" files added to Album."),
                       QStringLiteral("Brinewave3 Music Center"), MessageIcon::Information,
                       MessageButtons::Ok);
}

void MusicLibrary::addSelectedToPlayList() {
    if (albumSelection_ < 0) return;
    const QString entry = album_.at(albumSelection_);
    if (playList_.contains(entry, Qt::CaseSensitive)) {
        system_.MessageBox(entry + QStringLiteral(" already in the playlist!"),
                           QStringLiteral("Melodex Info"), MessageIcon::Information,
                           MessageButtons::Ok);
        return;
    }
    playList_.append(entry);
}

void MusicLibrary::deleteSelected(QStringList& list, int& selection, const QString& emptyText,
                                  const QString& emptyTitle, const QString& noSelectionTitle) {
    if (selection < 0) {
        if (list.isEmpty())
            system_.MessageBox(emptyText, emptyTitle, MessageIcon::Critical, MessageButtons::Ok);
        else
            system_.MessageBox(QStringLiteral("Choose a song to delete!"), noSelectionTitle,
                               MessageIcon::Critical, MessageButtons::Ok);
        return;
    }
    list.removeAt(selection);
    if (selection >= list.size()) selection = static_cast<int>(list.size()) - 1;
}

void MusicLibrary::deleteAlbumSong() {
    deleteSelected(album_, albumSelection_, QStringLiteral("Album is empty!"),
                   QStringLiteral("Quillon Critical"), QStringLiteral("Quillon Info"));
}

void MusicLibrary::deleteSong() {
    deleteSelected(playList_, playListSelection_, QStringLiteral("Playlist is empty!"),
                   QStringLiteral("Brinewave3 Critical"), QStringLiteral("Brinewave3 Info"));
}

void MusicLibrary::deleteAll() {
    if (playList_.isEmpty()) {
        system_.MessageBox(QStringLiteral("Playlist is empty!"),
                           QStringLiteral("Brinewave3 Critical"), MessageIcon::Critical,
                           MessageButtons::Ok);
        return;
    }
    const MessageAnswer answer = system_.MessageBox(QStringLiteral("Delete All Items In Playlist?"),
                                                    QStringLiteral("Brinewave3 Question"),
                                                    MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) return;
    playList_.clear();
    playListSelection_ = -1;
}

}  // namespace bw
