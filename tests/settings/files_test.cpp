#include "settings/InstallFolder.h"
#include "settings/ListFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace bw {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void touch(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ListFiles, WriteAndReadBackInOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sub/List.txt");
    const QStringList songs = {"/music/one.ogg", "/music/Songs, Vol. 2/two.mp3",
                               "/music/ünïcode three.flac"};
    ASSERT_TRUE(writeListFile(path, songs));
    EXPECT_EQ(readAll(path),
              "\"/music/one.ogg\"\r\n\"/music/Songs, Vol. 2/two.mp3\"\r\n\"/music/ünïcode "
              "three.flac\"\r\n");
    EXPECT_EQ(readListFile(path), songs);

    ASSERT_TRUE(writeListFile(path, {}));
    EXPECT_EQ(readAll(path), "");
    EXPECT_TRUE(readListFile(path).isEmpty());
    EXPECT_TRUE(readListFile(dir.filePath("missing.txt")).isEmpty());
    EXPECT_TRUE(readListFile(dir.path()).isEmpty()) << "a folder is not a list file";
}

TEST(ListFiles, APathTheFileCannotHoldIsNeverWrittenAsAnotherPath) {
    // Every character a file name may hold survives, except the three that end a field or a
    // line: a path with one of those is left out, never written altered.
    const QStringList cannot = {"/music/\"Live\" at home.ogg", "/music/two\nlines.mp3",
                                "/music/cr\rin name.mp3"};
    for (const QString& path : cannot) EXPECT_FALSE(listFileCanHold(path)) << path.toStdString();
    const QStringList can = {"/music/it's, (live) [2] {x} ; #1.ogg", "/music/tab\there.mp3",
                             "/music/ünïcode ♫.flac", "/music/back\\slash.wav"};
    for (const QString& path : can) EXPECT_TRUE(listFileCanHold(path)) << path.toStdString();

    QTemporaryDir dir;
    const QString path = dir.filePath("List.txt");
    ASSERT_TRUE(writeListFile(path, can + cannot));
    EXPECT_EQ(readListFile(path), can);
}

TEST(ListFiles, DamagedTextKeepsWhatCanBeRead) {
    const struct {
        const char* name;
        QByteArray text;
        QStringList expected;
    } cases[] = {
        {"unquoted lines", "/a.mp3\n  /b.mp3  \n", {"/a.mp3", "/b.mp3"}},
        {"comma outside quotes", "\"/a.mp3\",\"/b.mp3\"\r\n", {"/a.mp3", "/b.mp3"}},
        {"unterminated quote", "\"/a.mp3\r\n\"/b.mp3\"\r\n", {"/a.mp3", "/b.mp3"}},
        {"blank lines", "\r\n\r\n\"/a.mp3\"\r\n\r\n", {"/a.mp3"}},
        {"no final line end", "\"/a.mp3\"", {"/a.mp3"}},
        {"NUL bytes", QByteArray("\"/a\0.mp3\"\n", 10), {"/a.mp3"}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseListText(c.text), c.expected) << c.name;

    QByteArray junk(200000, 'x');
    for (int i = 0; i < junk.size(); i += 7) junk[i] = static_cast<char>(i % 256);
    const QStringList fromJunk = parseListText(junk);  // must simply not crash or hang
    EXPECT_LE(fromJunk.size(), junk.count('\n') + junk.count('\r') + junk.count(',') + 1);
}

TEST(InstallFolder, MapsWindowsNamesToRealFilesWithoutRegardToCase) {
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    const QString user = dir.filePath("user");
    touch(data + "/Water/cool waters.bmp");
    touch(data + "/fish/fish1_1.bmp");
    touch(data + "/Help/Help");
    touch(user + "/Water/My Own.bmp");
    const InstallFolder folder(data, user);

    EXPECT_EQ(folder.map("C:\\Orvanta\\Brinewave3\\water\\cool waters.bmp"),
              data + "/Water/cool waters.bmp");
    EXPECT_EQ(folder.map("c:/orvanta/BRINEWAVE3/FISH/Fish1_1.BMP"), data + "/fish/fish1_1.bmp");
    EXPECT_EQ(folder.map(InstallFolder::kText + "Water\\my own.bmp"), user + "/Water/My Own.bmp");
    EXPECT_EQ(folder.map(InstallFolder::kText + "Misc\\missing.bmp"), data + "/Misc/missing.bmp");
    EXPECT_EQ(folder.waterFolders(), QStringList({data + "/Water", user + "/Water"}));
}

TEST(InstallFolder, ListFilesAreTheUsersOwn) {
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    const QString user = dir.filePath("user");
    const InstallFolder folder(data, user);
    const QString list = InstallFolder::kText + "List.txt";

    // Nothing anywhere: read from and write to the user's folder.
    EXPECT_EQ(folder.map(list), user + "/List.txt");
    // Only an installed list: it is read until the user has one of their own.
    touch(data + "/List.txt", "\"/installed.ogg\"\r\n");
    EXPECT_EQ(folder.map(list), data + "/List.txt");
    EXPECT_EQ(folder.userListPath("List.txt"), user + "/List.txt");
    ASSERT_TRUE(writeListFile(folder.userListPath("List.txt"), {"/mine.ogg"}));
    EXPECT_EQ(folder.map(list), user + "/List.txt");
    EXPECT_EQ(readListFile(folder.map(list)), QStringList{"/mine.ogg"});
    EXPECT_EQ(folder.map(InstallFolder::kText + "album.TXT"), user + "/album.TXT");
}

TEST(InstallFolder, FileExistsOnlyForFiles) {
    QTemporaryDir dir;
    touch(dir.filePath("song.mp3"));
    EXPECT_TRUE(fileExists(dir.filePath("song.mp3")));
    EXPECT_FALSE(fileExists(dir.path()));
    EXPECT_FALSE(fileExists(dir.filePath("nothing.mp3")));
    EXPECT_FALSE(fileExists(""));
}

}  // namespace
}  // namespace bw
