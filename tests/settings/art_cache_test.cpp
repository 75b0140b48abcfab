// The art cache: which sets the saver may use, and how it asks for a missing one.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "fakes/FakeSystemLayer.h"
#include "fakes/FileBytes.h"
#include "settings/ArtCache.h"
#include "settings/ArtVersion.h"

namespace bw {
namespace {

// The 4:3 frames of 1080 and 2160 lines.
const QSize k1080(1440, 1080);
const QSize k2160(2880, 2160);

// A small set as the generator leaves it: pictures, then the stamp that lists them.
void makeSet(const ArtCache& cache, QSize frame) {
    const QString folder = cache.folderFor(frame);
    writeBytes(folder + "/fish/fish1.bmp", QByteArray(300, 'a'));
    writeBytes(folder + "/Water/cool waters.bmp", QByteArray(1000, 'b'));
    writeBytes(folder + "/Misc/preview.bmp", QByteArray(20, 'c'));
    writeBytes(folder + "/" + ArtCache::kStampName,
               ArtCacheStamp::describe(folder, frame).toText());
}

class ArtCacheTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    ArtCache cache{dir.filePath("Brinewave3")};
    QString stampPath(QSize frame) const { return cache.folderFor(frame) + "/art.stamp"; }
};

TEST_F(ArtCacheTest, ACompleteCurrentSetIsFoundUnderItsHeight) {
    makeSet(cache, k1080);
    EXPECT_EQ(cache.folderFor(k1080), dir.filePath("Brinewave3/1080"));
    QString why;
    EXPECT_EQ(cache.completeSet(k1080, &why), cache.folderFor(k1080)) << why.toStdString();
    EXPECT_TRUE(cache.completeSet(k2160).isEmpty()) << "no set painted for 2160";

    const auto stamp = ArtCacheStamp::fromText(readBytes(stampPath(k1080)));
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->version, art::kArtVersion);
    EXPECT_EQ(stamp->height, 1080);
    EXPECT_EQ(stamp->width, 0) << "a 4:3 set's stamp is as it always was";
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
        makeSet(cache, k1080);
        ASSERT_FALSE(cache.completeSet(k1080).isEmpty());
        c.harm(cache.folderFor(k1080));
        QString why;
        EXPECT_TRUE(cache.completeSet(k1080, &why).isEmpty());
        EXPECT_FALSE(why.isEmpty());
        QDir(cache.folderFor(k1080)).removeRecursively();
    }
}

TEST_F(ArtCacheTest, StaleAndDamagedStampsAreNotUsed) {
    makeSet(cache, k1080);
    const QByteArray good = readBytes(stampPath(k1080));
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
        {"a wide frame's", with("height 1080\n", "height 1080\nwidth 1920\n"), true},
        {"a width of 0", with("height 1080\n", "height 1080\nwidth 0\n")},
        {"a width after the count", with("files 3\n", "files 3\nwidth 1920\n")},
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
        writeBytes(stampPath(k1080), c.stamp);
        EXPECT_EQ(ArtCacheStamp::fromText(c.stamp).has_value(), c.readable);
        EXPECT_TRUE(cache.completeSet(k1080).isEmpty());
    }
    writeBytes(stampPath(k1080), good);
    EXPECT_FALSE(cache.completeSet(k1080).isEmpty()) << "the good stamp again";
}

TEST_F(ArtCacheTest, StampReadsBackAsWritten) {
    for (int width : {0, 1173}) {  // of a 4:3 frame, of a wide one
        ArtCacheStamp stamp;
        stamp.version = 7;
        stamp.height = 660;
        stamp.width = width;
        stamp.files = {{"Water/cool waters.bmp", 0}, {"fish/ünïcode.bmp", 5000000000}};
        const auto back = ArtCacheStamp::fromText(stamp.toText());
        ASSERT_TRUE(back) << width;
        EXPECT_EQ(back->version, 7);
        EXPECT_EQ(back->height, 660);
        EXPECT_EQ(back->width, width);
        EXPECT_EQ(back->files, stamp.files);
    }
}

// A 4:3 frame keeps the name its sets always had; a wide one is named by its width too, and
// each has its own set, lock and folders painted aside.
TEST_F(ArtCacheTest, EachFrameHasASetOfItsOwn) {
    const struct {
        QSize frame;
        const char* name;
    } frames[] = {
        {{800, 600}, "600"},         {{1067, 600}, "1067x600"},   {{867, 650}, "650"},
        {{1440, 1080}, "1080"},      {{1920, 1080}, "1920x1080"}, {{2560, 1080}, "2560x1080"},
        {{5760, 1080}, "5760x1080"}, {{5120, 1440}, "5120x1440"}, {{6400, 4800}, "4800"},
    };
    for (const auto& c : frames) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(ArtCache::frameIsValid(c.frame));
        EXPECT_EQ(ArtCache::frameName(c.frame), c.name);
        EXPECT_EQ(ArtCache::parseFrame(c.name), c.frame);
        EXPECT_EQ(cache.folderFor(c.frame), cache.root() + "/" + c.name);
        EXPECT_EQ(cache.lockPathFor(c.frame), cache.root() + "/" + c.name + ".lock");
        EXPECT_EQ(cache.fillingPrefixFor(c.frame), cache.root() + "/." + c.name + ".filling-");
        EXPECT_EQ(cache.discardedPrefixFor(c.frame), cache.root() + "/." + c.name + ".discarded-");
        makeSet(cache, c.frame);
        QString why;
        EXPECT_EQ(cache.completeSet(c.frame, &why), cache.folderFor(c.frame)) << why.toStdString();
    }
    EXPECT_EQ(ArtCache::parseFrame("1440x1080"), k1080) << "the 4:3 frame by its full name";

    // The stamp names the width of a wide frame only; one painted for another frame of the same
    // height is not the set, wherever it lies.
    EXPECT_FALSE(readBytes(stampPath(k1080)).contains("width"));
    EXPECT_TRUE(readBytes(stampPath(QSize(1920, 1080))).contains("\nwidth 1920\n"));
    const struct {
        QSize stampedFor, lyingIn;
    } misplaced[] = {
        {{2560, 1080}, {1920, 1080}},
        {{1440, 1080}, {1920, 1080}},
        {{1920, 1080}, {1440, 1080}},
    };
    for (const auto& c : misplaced) {
        SCOPED_TRACE((ArtCache::frameName(c.stampedFor) + " in " + ArtCache::frameName(c.lyingIn))
                         .toStdString());
        const QString folder = cache.folderFor(c.lyingIn);
        writeBytes(folder + "/art.stamp", ArtCacheStamp::describe(folder, c.stampedFor).toText());
        QString why;
        EXPECT_TRUE(cache.completeSet(c.lyingIn, &why).isEmpty());
        EXPECT_EQ(why, "the stamp names another frame");
    }
}

TEST_F(ArtCacheTest, FramesNoSetIsMadeForAreRefused) {
    const QSize frames[] = {{1439, 1080}, {5761, 1080}, {799, 599},    {799, 600},
                            {6400, 4801}, {0, 0},       {-1920, 1080}, {1920, -1080}};
    FakeSystemLayer system;
    for (const QSize frame : frames) {
        SCOPED_TRACE(ArtCache::frameName(frame).toStdString());
        EXPECT_FALSE(ArtCache::frameIsValid(frame));
        EXPECT_FALSE(ArtCache::parseFrame(ArtCache::frameName(frame)));
        EXPECT_TRUE(cache.completeSet(frame).isEmpty());
        EXPECT_FALSE(cache.startFilling(frame, "brinewave3-artgen", system));
    }
    EXPECT_TRUE(system.calls().isEmpty());
    for (const char* name :
         {"", "1080.5", "abc", "300", "+1080", " 1080", "1080 ", "1920x", "x1080", "1920X1080",
          "1920 x 1080", "1920x1080x2", "-1920x1080", "99999999999x1080", "1920x99999999999"}) {
        EXPECT_FALSE(ArtCache::parseFrame(name)) << name;
    }
}

TEST_F(ArtCacheTest, HeightsOutsideTheGeneratorsScalesHaveNoSet) {
    for (int height : {0, -1080, 599, 4801}) {
        EXPECT_FALSE(ArtCache::heightIsValid(height)) << height;
        EXPECT_TRUE(cache.completeSet(ArtCache::blockFrame(height)).isEmpty());
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
    EXPECT_TRUE(cache.startFilling(k2160, generator, system));
    EXPECT_TRUE(cache.startFilling(QSize(2560, 1080), generator, system));
    EXPECT_FALSE(cache.startFilling(QSize(400, 300), generator, system)) << "no scale below 1";
    EXPECT_FALSE(cache.startFilling(QSize(5761, 1080), generator, system)) << "too wide";
    system.setStartProgramResult(false);
    EXPECT_FALSE(cache.startFilling(k1080, generator, system)) << "a generator that cannot start";
    const QString started = QStringLiteral(
                                "StartProgram(/usr/lib/brinewave3/brinewave3-artgen, "
                                "--cache-fill, %1, %2)")
                                .arg("%1", cache.root());
    EXPECT_EQ(system.calls(),
              QStringList({started.arg(2160), started.arg("2560x1080"), started.arg(1080)}));
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
