#pragma once

#include <QHash>
#include <QWidget>

#include "dialog/DialogControls.h"
#include "dialog/MusicLibrary.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace bw {

// The "Music" tab: a file browser (volume, folder tree, files), the album and the play
// list, and the music switches.
class MusicTab : public QWidget {
    Q_OBJECT
  public:
    MusicTab(DialogContext& context, QWidget* parent);

    QComboBox* Drive1;   // file-system roots and mounted volumes
    QTreeWidget* Dir1;   // the folders of the chosen volume
    QListWidget* File1;  // the files of the chosen folder; several may be selected
    QLabel* lblFolderProblem;
    QPushButton* cmdAdd;
    QListWidget* Album;
    QPushButton* cmdDeleteAlbum;
    QListWidget* PlayList;
    QPushButton* cmdDelete;
    QPushButton* cmdDeleteAll;
    QCheckBox* chkPlayMusic;
    QComboBox* cboMusic;

    MusicLibrary& library() { return library_; }

    // The folder File1 shows.
    const QString& folder() const { return folder_; }
    // Shows `path` in the folder tree (choosing its volume) and its files in File1.
    void showFolder(const QString& path);

    void Drive1_Change();
    void Dir1_Change(const QString& path);
    void cmdAdd_Click();
    void Album_DblClick();
    void cmdDeleteAlbum_Click();
    void cmdDelete_Click();
    void cmdDeleteAll_Click();
    void cboMusic_Click();

    // The two list files: read when the dialog opens, written when it closes. Writing
    // returns the files that could not be written.
    void loadLists();
    QStringList saveLists();
    // Loading step of the music switches.
    void loadMusicOptions();

  private:
    void fillDrives();
    QString driveOf(const QString& path) const;
    void showDrive(const QString& root, const QString& folder);
    QTreeWidgetItem* folderItem(const QString& path, const QString& name, QTreeWidgetItem* parent);
    void fillChildren(QTreeWidgetItem* item);
    // The lists shown from the library, with its selections.
    void showLists();
    void takeSelections();

    DialogContext& c_;
    MusicLibrary library_;
    QString folder_;
    QHash<QString, QString> driveFolders_;  // each volume's current folder, as a drive had
};

}  // namespace bw
