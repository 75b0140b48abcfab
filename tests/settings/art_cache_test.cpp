// The art cache: which sets the saver may use, and how it asks for a missing one.

#include "fakes/FileBytes.h"
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "fakes/FakeSystemLayer.h"
#include "settings/ArtCache.h"
#include "settings/ArtVersion.h"

namespace bw {
namespace {

// A small set as the generator leaves it: pictures, then the stamp that lists them.
void makeSet(const ArtCache& cache, int height) {
    const QString folder = cache.folderFor(height);
    writeBytes(folder + "/fish/fish1.bmp", QByteArray(300, 'a'));
    writeBytes(folder + "/Water/cool waters.bmp", QByteArray(1000, 'b'));
    writeBytes(folder + "/Misc/preview.bmp", QByteArray(20, 'c'));
    writeBytes(folder + "/" + ArtCache::kStampName,
               ArtCacheStamp::describe(folder, height).toText());
}

class ArtCacheTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    ArtCache cache{dir.filePath("Brinewave3")};
    QString stampPath(int height) const { return cache.folderFor(height) + "/art.stamp"; }
};

TEST_F(ArtCacheTest, ACompleteCurrentSetIsFoundUnderItsHeight) {
    makeSet(cache, 1080);
    EXPECT_EQ(cache.folderFor(1080), dir.filePath("Brinewave3/1080"));
    QString why;
    EXPECT_EQ(cache.completeSet(1080, &why), cache.folderFor(1080)) << why.toStdString();
    EXPECT_TRUE(cache.completeSet(2160).isEmpty()) << "no set painted for 2160";

    const auto stamp = ArtCacheStamp::fromText(readBytes(stampPath(1080)));
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->version, art::kArtVersion);
    EXPECT_EQ(stamp->height, 1080);
    const QList<ArtCacheStamp::File> files = {
        {"Misc/preview.bmp", 20}, {"Water/cool waters.bmp", 1000}, {"fish/fish1.bmp", 300}};
    EXPECT_EQ(stamp->files, files) << "every file but the stamp, sorted";
}

TEST_F(ArtCacheTest, PartialOrDamagedSetsAreNotUsed) {
    const struct {
        const char* name;
        std::function<void(const QString& folder)> harm;
    } cases[] = {
        {"no stamp", [](const QString& f) { QFile::remove(f + "/art.stamp"); }},
        {"a listed file missing", [](const QString& f) { QFile::remove(f + "/fish/fish1.bmp"); }},
        {"a file cut short", [](const QString& f) { writeBytes(f + "/fish/fish1.bmp", "aa"); }},
        {"a file replaced by a folder",
         [](const QString& f) {
             QFile::remove(f + "/Misc/preview.bmp");
             QDir().mkpath(f + "/Misc/preview.bmp");
         }},
        {"the folder gone", [](const QString& f) { QDir(f).removeRecursively(); }},
        // Neither may stall the caller: one would wait for a writer, the other never end.
        {"the stamp a FIFO",
         [](const QString& f) {
             QFile::remove(f + "/art.stamp");
             ASSERT_EQ(mkfifo(QFile::encodeName(f + "/art.stamp").constData(), 0600), 0);
         }},
        {"the stamp a link to a device",
         [](const QString& f) {
             QFile::remove(f + "/art.stamp");
             ASSERT_TRUE(QFile::link("/dev/zero", f + "/art.stamp"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeSet(cache, 1080);
        ASSERT_FALSE(cache.completeSet(1080).isEmpty());
        c.harm(cache.folderFor(1080));
        QString why;
        EXPECT_TRUE(cache.completeSet(1080, &why).isEmpty());
        EXPECT_FALSE(why.isEmpty());
        QDir(cache.folderFor(1080)).removeRecursively();
    }
}

TEST_F(ArtCacheTest, StaleAndDamagedStampsAreNotUsed) {
    makeSet(cache, 1080);
    const QByteArray good = readBytes(stampPath(1080));
    const QByteArray version = "version " + QByteArray::number(art::kArtVersion) + "\n";
    ASSERT_TRUE(good.contains(version));
    auto with = [&](const QByteArray& from, const QByteArray& to) {
        QByteArray text = good;
        return text.replace(from, to);
    };
    const struct {
        const char* name;
        QByteArray stamp;
        bool readable = false;  // a whole stamp, of another set
    } cases[] = {
        {"an older art version", with(version, "version 0\n"), true},
        {"a newer art version",
         with(version, "version " + QByteArray::number(art::kArtVersion + 1) + "\n"), true},
        {"another height", with("height 1080\n", "height 2160\n"), true},
        {"empty", ""},
        {"cut short in a line", good.left(good.size() - 3)},
        {"cut short at a line's end", good.left(good.lastIndexOf('\n', good.size() - 2) + 1)},
        {"a line more", good + "20 Misc/preview.bmp\n"},
        {"another title", with("Brinewave3 art cache", "Brinewave3 art")},
        {"a count that is no number", with("files 3\n", "files three\n")},
        {"a signed count", with("files 3\n", "files +3\n")},
        {"no size", with("20 Misc/preview.bmp", "Misc/preview.bmp")},
        {"a negative size", with("20 Misc/preview.bmp", "-20 Misc/preview.bmp")},
        {"a path out of the set", with("20 Misc/preview.bmp", "20 ../1080/Misc/preview.bmp")},
        {"an absolute path", with("20 Misc/preview.bmp", "20 /etc/passwd")},
        {"binary noise", QByteArray("\x00\xff\x10\n", 4)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(stampPath(1080), c.stamp);
        EXPECT_EQ(ArtCacheStamp::fromText(c.stamp).has_value(), c.readable);
        EXPECT_TRUE(cache.completeSet(1080).isEmpty());
    }
    writeBytes(stampPath(1080), good);
    EXPECT_FALSE(cache.completeSet(1080).isEmpty()) << "the good stamp again";
}

TEST_F(ArtCacheTest, StampReadsBackAsWritten) {
    ArtCacheStamp stamp;
    stamp.version = 7;
    stamp.height = 660;
    stamp.files = {{"Water/cool waters.bmp", 0}, {"fish/ünïcode.bmp", 5000000000}};
    const auto back = ArtCacheStamp::fromText(stamp.toText());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->version, 7);
    EXPECT_EQ(back->height, 660);
    EXPECT_EQ(back->files, stamp.files);
}

TEST_F(ArtCacheTest, HeightsOutsideTheGeneratorsScalesHaveNoSet) {
    for (int height : {0, -1080, 599, 4801}) {
        EXPECT_FALSE(ArtCache::heightIsValid(height)) << height;
        EXPECT_TRUE(cache.completeSet(height).isEmpty());
    }
    EXPECT_TRUE(ArtCache::heightIsValid(600));
    EXPECT_TRUE(ArtCache::heightIsValid(4800));
    EXPECT_DOUBLE_EQ(ArtCache::scaleFor(1080), 1.8);
    EXPECT_DOUBLE_EQ(ArtCache::scaleFor(2160), 3.6);
}

TEST_F(ArtCacheTest, FillingStartsTheInstalledGeneratorForTheHeight) {
    FakeSystemLayer system;
    const QString generator = ArtCache::generatorIn("/usr/lib/brinewave3");
    EXPECT_EQ(generator, "/usr/lib/brinewave3/brinewave3-artgen");
    EXPECT_TRUE(cache.startFilling(2160, generator, system));
    EXPECT_FALSE(cache.startFilling(300, generator, system)) << "no scale below 1";
    system.setStartProgramResult(false);
    EXPECT_FALSE(cache.startFilling(1080, generator, system)) << "a generator that cannot start";
    const QString started = QStringLiteral(
                                "StartProgram(/usr/lib/brinewave3/brinewave3-artgen, "
                                "--cache-fill, %1, %2)")
                                .arg("%1", cache.root());
    EXPECT_EQ(system.calls(), QStringList({started.arg(2160), started.arg(1080)}));
}

TEST(ArtCacheNames, PicturesAreNamedAsInTheDataFolderWithThePngSuffix) {
    EXPECT_EQ(ArtCache::cachedPictureName("fish/Fish1a.bmp"), "fish/Fish1a.png");
    EXPECT_EQ(ArtCache::cachedPictureName("Water/cool waters.BMP"), "Water/cool waters.png");
    EXPECT_EQ(ArtCache::cachedPictureName("Misc/brinewave3.png"), "Misc/brinewave3.png");
    EXPECT_EQ(ArtCache::cachedPictureName("Misc.d/preview"), "Misc.d/preview.png");
    EXPECT_EQ(ArtCache::cachedPictureName("Misc/.bmp"), "Misc/.bmp.png");
}

TEST(ArtCacheRoot, FollowsXdgCacheHome) {
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", "/somewhere/cache/");
    EXPECT_EQ(ArtCache::defaultRoot(), "/somewhere/cache/Brinewave3");
    qputenv("XDG_CACHE_HOME", "relative/cache");
    EXPECT_EQ(ArtCache::defaultRoot(), QDir::homePath() + "/.cache/Brinewave3")
        << "a relative value is ignored";
    qunsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(ArtCache::defaultRoot(), QDir::homePath() + "/.cache/Brinewave3");
    if (!saved.isNull()) qputenv("XDG_CACHE_HOME", saved);
}

}  // namespace
}  // namespace bw
