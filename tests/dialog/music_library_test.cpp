#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "DialogRig.h"
#include "dialog/MusicLibrary.h"
#include "dialog/MusicTab.h"
#include "dialog/WaterTab.h"
#include "settings/ListFiles.h"

namespace bw {
namespace {

class MusicLibraryTest : public ::testing::Test {
  protected:
    FakeSystemLayer system;
    MusicLibrary library{system};

    const FakeSystemLayer::Message& lastBox() const { return system.messages().back(); }
};

TEST_F(MusicLibraryTest, AddingReportsTheCountAndKeepsDuplicates) {
    library.addToAlbum("/music", {"a.mp3", "b.ogg", "c.wav"});
    EXPECT_EQ(library.album(), QStringList({"/music/a.mp3", "/music/b.ogg", "/music/c.wav"}));
    EXPECT_EQ(lastBox().text, "3 files added to Album.");
    EXPECT_EQ(lastBox().title, "Brinewave3 Music Center");
    EXPECT_EQ(lastBox().icon, MessageIcon::Information);

    library.addToAlbum("/", {"a.mp3"});
    library.addToAlbum("/music", {"a.mp3"});
    EXPECT_EQ(library.album().count("/music/a.mp3"), 2);
    EXPECT_EQ(library.album()[3], "/a.mp3");
    EXPECT_EQ(lastBox().text, "1 files added to Album.");

    library.addToAlbum("/music", {});
    EXPECT_EQ(lastBox().text, "0 files added to Album.");
    EXPECT_EQ(library.album().size(), 5);
}

TEST_F(MusicLibraryTest, AFileTheListsCannotHoldIsRefusedWithAMessage) {
    library.addToAlbum("/music", {"a.mp3", "\"Live\" at home.ogg", "b.ogg", "two\nlines.wav"});
    EXPECT_EQ(library.album(), QStringList({"/music/a.mp3", "/music/b.ogg"}));
    ASSERT_EQ(system.messages().size(), 2u);
    const auto& refusal = system.messages().front();
    EXPECT_EQ(refusal.title, "Brinewave3 Music Center");
    EXPECT_EQ(refusal.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(refusal.text.contains("/music/\"Live\" at home.ogg")) << refusal.text.toStdString();
    EXPECT_TRUE(refusal.text.contains("/music/two\nlines.wav")) << refusal.text.toStdString();
    EXPECT_TRUE(refusal.text.contains("double quote")) << refusal.text.toStdString();
    EXPECT_EQ(lastBox().text, "2 files added to Album.");

    // A folder whose name holds a quote makes every file in it unstorable.
    library.addToAlbum("/my \"best\"", {"c.mp3"});
    EXPECT_EQ(library.album().size(), 2);
    EXPECT_EQ(lastBox().text, "0 files added to Album.");
}

TEST_F(MusicLibraryTest, PlayListTakesEachEntryOnceComparedExactly) {
    library.setLists({}, {"/m/Song.mp3", "/m/song.mp3", "/m/Song.mp3"});
    library.selectAlbum(0);
    library.addSelectedToPlayList();
    library.selectAlbum(1);
    library.addSelectedToPlayList();
    EXPECT_EQ(library.playList(), QStringList({"/m/Song.mp3", "/m/song.mp3"}));
    EXPECT_TRUE(system.messages().empty());

    library.selectAlbum(2);
    library.addSelectedToPlayList();
    EXPECT_EQ(library.playList().size(), 2);
    EXPECT_EQ(lastBox().text, "/m/Song.mp3 already in the playlist!");
    EXPECT_EQ(lastBox().title, "Melodex Info");

    // Nothing selected: nothing happens.
    library.selectAlbum(-1);
    library.addSelectedToPlayList();
    EXPECT_EQ(system.messages().size(), 1u);
}

TEST_F(MusicLibraryTest, DeletingSelectsTheNeighbour) {
    const struct {
        QStringList entries;
        int selected;
        QStringList left;
        int selectedAfter;
    } cases[] = {
        {{"a", "b", "c"}, 2, {"a", "b"}, 1},
        {{"a", "b", "c"}, 0, {"b", "c"}, 0},
        {{"a", "b", "c"}, 1, {"a", "c"}, 1},
        {{"a"}, 0, {}, -1},
    };
    for (const auto& c : cases) {
        library.setLists(c.entries, c.entries);
        library.selectPlayList(c.selected);
        library.deleteSong();
        EXPECT_EQ(library.playList(), c.left);
        EXPECT_EQ(library.playListSelection(), c.selectedAfter);
        library.selectAlbum(c.selected);
        library.deleteAlbumSong();
        EXPECT_EQ(library.album(), c.left);
        EXPECT_EQ(library.albumSelection(), c.selectedAfter);
    }
    EXPECT_TRUE(system.messages().empty());
}

TEST_F(MusicLibraryTest, DeletingWithoutASelectionExplains) {
    const struct {
        QStringList entries;
        bool album;
        const char* text;
        const char* title;
    } cases[] = {
        {{}, false, "Playlist is empty!", "Brinewave3 Critical"},
        {{"a"}, false, "Choose a song to delete!", "Brinewave3 Info"},
        {{}, true, "Album is empty!", "Quillon Critical"},
        {{"a"}, true, "Choose a song to delete!", "Quillon Info"},
    };
    for (const auto& c : cases) {
        library.setLists(c.entries, c.entries);
        c.album ? library.deleteAlbumSong() : library.deleteSong();
        EXPECT_EQ(lastBox().text, c.text);
        EXPECT_EQ(lastBox().title, c.title);
        EXPECT_EQ(lastBox().icon, MessageIcon::Critical);
        EXPECT_EQ(library.playList(), c.entries);
        EXPECT_EQ(library.album(), c.entries);
    }
}

TEST_F(MusicLibraryTest, DeleteAllAsksFirstAndNeverOnAnEmptyList) {
    library.deleteAll();
    ASSERT_EQ(system.messages().size(), 1u);
    EXPECT_EQ(lastBox().text, "Playlist is empty!");
    EXPECT_EQ(lastBox().buttons, MessageButtons::Ok);

    library.setLists({"a", "b"}, {"a"});
    system.queueAnswer(MessageAnswer::No);
    library.deleteAll();
    EXPECT_EQ(lastBox().text, "Delete All Items In Playlist?");
    EXPECT_EQ(lastBox().title, "Brinewave3 Question");
    EXPECT_EQ(lastBox().buttons, MessageButtons::YesNo);
    EXPECT_EQ(library.playList().size(), 2);

    system.queueAnswer(MessageAnswer::Yes);
    library.deleteAll();
    EXPECT_TRUE(library.playList().isEmpty());
    EXPECT_EQ(library.album(), QStringList({"a"}));
}

// The tab with real folders and list files.
class MusicTabTest : public DialogTest {
  protected:
    MusicTabTest() {
        addWater("a.bmp");
        QDir().mkpath(temp.filePath("songs/sub"));
        for (const char* name : {"one.mp3", "two, live.ogg", "three.wav"}) {
            QFile file(temp.filePath(QStringLiteral("songs/") + name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    QString songs() const { return temp.filePath("songs"); }
};

TEST_F(MusicTabTest, BrowsingAddingAndSavingSurviveAReopen) {
    setup& d = open();
    MusicTab* m = d.music;
    m->showFolder(songs());
    EXPECT_EQ(m->folder(), songs());
    ASSERT_EQ(m->File1->count(), 3);
    EXPECT_EQ(m->Dir1->currentItem()->text(0), "songs");
    EXPECT_TRUE(m->lblFolderProblem->isHidden());
    for (int i = 0; i < 3; ++i) m->File1->item(i)->setSelected(true);
    m->cmdAdd->click();
    EXPECT_EQ(system.messages().back().text, "3 files added to Album.");
    const QStringList album{songs() + "/one.mp3", songs() + "/three.wav",
                            songs() + "/two, live.ogg"};
    ASSERT_EQ(m->Album->count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(m->Album->item(i)->text(), album[i]);

    for (int row : {2, 0}) {
        m->Album->setCurrentRow(row);
        m->Album_DblClick();
    }
    ASSERT_EQ(m->PlayList->count(), 2);
    m->Album->setCurrentRow(2);
    m->Album_DblClick();
    EXPECT_EQ(system.messages().back().text, album[2] + " already in the playlist!");

    // Deleting the selected last entry selects the new last one.
    m->PlayList->setCurrentRow(1);
    m->cmdDelete->click();
    ASSERT_EQ(m->PlayList->count(), 1);
    EXPECT_EQ(m->PlayList->currentRow(), 0);
    EXPECT_TRUE(m->PlayList->item(0)->isSelected());

    d.cmdOK->click();
    EXPECT_EQ(readListFile(temp.filePath("user/List.txt")), QStringList({album[2]}));
    EXPECT_EQ(readListFile(temp.filePath("user/Album.txt")), album);

    setup& again = open();
    ASSERT_EQ(again.music->PlayList->count(), 1);
    EXPECT_EQ(again.music->PlayList->item(0)->text(), album[2]);
    ASSERT_EQ(again.music->Album->count(), 3);
    EXPECT_EQ(again.music->Album->item(2)->text(), album[2]);
}

TEST_F(MusicTabTest, TheCloseBoxSavesTooAndEmptyListsGiveEmptyFiles) {
    writeListFile(temp.filePath("user/List.txt"), {"/old/song.mp3"});
    setup& d = open();
    ASSERT_EQ(d.music->PlayList->count(), 1);
    d.music->PlayList->setCurrentRow(0);
    d.music->cmdDelete->click();
    EXPECT_EQ(d.music->PlayList->count(), 0);
    d.show();
    d.close();
    EXPECT_FALSE(d.isVisible());
    QFile list(temp.filePath("user/List.txt"));
    ASSERT_TRUE(list.exists());
    EXPECT_EQ(list.size(), 0);
    EXPECT_TRUE(QFile::exists(temp.filePath("user/Album.txt")));
}

TEST_F(MusicTabTest, PreviewSavesTheListsBeforeTheSaverStarts) {
    QStringList albumWhenStarted;
    onPreview = [&] { albumWhenStarted = readListFile(temp.filePath("user/Album.txt")); };
    setup& d = open();
    d.music->showFolder(songs());
    d.music->File1->item(1)->setSelected(true);
    d.music->cmdAdd->click();
    d.water->cmdPreview->click();
    EXPECT_EQ(previewRuns, 1);
    EXPECT_EQ(albumWhenStarted, QStringList({songs() + "/three.wav"}));
    // One saver at a time.
    d.water->cmdPreview->click();
    EXPECT_EQ(previewRuns, 1);
}

TEST_F(MusicTabTest, DeleteAllOnAnEmptyPlayListAsksNothing) {
    setup& d = open();
    system.clearCalls();
    d.music->cmdDeleteAll->click();
    ASSERT_EQ(system.messages().size(), 1u);
    EXPECT_EQ(system.messages()[0].text, "Playlist is empty!");
}

TEST_F(MusicTabTest, AFolderThatCannotBeReadShowsNoFiles) {
    setup& d = open();
    d.music->showFolder(songs());
    ASSERT_GT(d.music->File1->count(), 0);
    d.music->showFolder(temp.filePath("missing/folder"));
    EXPECT_EQ(d.music->File1->count(), 0);
    EXPECT_FALSE(d.music->lblFolderProblem->isHidden());
    d.music->cmdAdd->click();
    EXPECT_EQ(system.messages().back().text, "0 files added to Album.");
}

TEST_F(MusicTabTest, VolumesListTheRootFirstAndRememberTheirFolder) {
    setup& d = open();
    QComboBox* drives = d.music->Drive1;
    ASSERT_GE(drives->count(), 1);
    EXPECT_EQ(drives->itemData(0).toString(), "/");
    d.music->showFolder(songs());
    const QString root = drives->currentData().toString();
    EXPECT_TRUE(songs().startsWith(root));
    // Another volume and back: the folder is where it was.
    if (drives->count() > 1) {
        const int other = drives->currentIndex() == 0 ? 1 : 0;
        drives->setCurrentIndex(other);
        d.music->Drive1_Change();
        EXPECT_NE(d.music->folder(), songs());
        drives->setCurrentIndex(drives->findData(root));
        d.music->Drive1_Change();
        EXPECT_EQ(d.music->folder(), songs());
    }
}

}  // namespace
}  // namespace bw
