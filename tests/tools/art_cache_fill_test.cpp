// Filling the art cache: only complete, stamped sets ever land in place, one fill per frame
// runs at a time, and a cache that cannot be written fails cleanly.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <optional>
#include <utility>

#include "CacheFill.h"
#include "Catalogue.h"
#include "Paint.h"
#include "fakes/FileBytes.h"
#include "fakes/QtApp.h"
#include "settings/ArtCache.h"
#include "settings/ArtVersion.h"

namespace {

using bw::ArtCache;
using bw::ArtCacheStamp;
using bw::readBytes;
using bw::writeBytes;
using bw::art::FillOutcome;

// The smallest screen scale above 1: a whole set is quick to paint. Its 4:3 frame.
constexpr int kHeight = 660;
const QSize kFrame(880, kHeight);

// Every picture of the data folder under its name in a set, with its size in the set for
// `frame`: at the frame's scale, the water as wide as the frame, the walls and floors beyond.
QMap<QString, QSize> cataloguePictures(QSize frame) {
    const double scale = ArtCache::scaleFor(frame.height());
    const bw::FrameShape shape = bw::FrameShape::across(frame.height(),
                                                        double(frame.width()) / frame.height());
    QMap<QString, QSize> pictures;
    for (const bw::art::Asset& asset : bw::art::catalogue()) {
        if (asset.encoding != bw::art::Encoding::Wave) {
            QSize size = bw::art::scaledSize(asset.size, scale);
            if (asset.paintWide) {
                size.setWidth(asset.encoding == bw::art::Encoding::Sprite ? shape.glassWidth()
                                                                          : frame.width());
            }
            for (const QString& path : bw::art::imagePaths(asset)) {
                pictures.insert(ArtCache::cachedPictureName(path), size);
            }
        }
    }
    return pictures;
}

// Everything in the cache folder, hidden entries included.
QStringList entries(const QString& root) {
    return QDir(root).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void expectCompleteSet(const ArtCache& cache, QSize frame) {
    QString why;
    ASSERT_EQ(cache.completeSet(frame, &why), cache.folderFor(frame)) << why.toStdString();
    const auto stamp = ArtCacheStamp::fromText(
        readBytes(cache.folderFor(frame) + u'/' + QLatin1String(ArtCache::kStampName)));
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->version, bw::art::kArtVersion);
    const QMap<QString, QSize> expected = cataloguePictures(frame);
    QStringList listed;
    for (const ArtCacheStamp::File& file : stamp->files) {
        listed += file.path;
        // Every picture is a PNG of the catalogue's size at the set's scale.
        QImageReader reader(cache.folderFor(frame) + u'/' + file.path);
        EXPECT_EQ(reader.format(), "png") << file.path.toStdString();
        EXPECT_EQ(reader.size(), expected.value(file.path)) << file.path.toStdString();
    }
    EXPECT_EQ(listed, expected.keys());
}

// The nice value and scheduling policy of a running process, from /proc/PID/stat; nullopt once
// it has ended.
std::optional<std::pair<int, int>> niceAndPolicy(qint64 pid) {
    const QByteArray stat = readBytes(QStringLiteral("/proc/%1/stat").arg(pid));
    // The fields after the command name (which may hold spaces) start at field 3.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 39) {
        return std::nullopt;
    }
    return std::pair(fields[19 - 3].toInt(), fields[41 - 3].toInt());
}

QString generator() { return ArtCache::generatorIn(qEnvironmentVariable("BW_TEST_DATA")); }

class CacheFill : public ::testing::Test {
  protected:
    void SetUp() override {
        bw::ensureQtApp();  // fonts, for the pictures with text
        ASSERT_TRUE(dir.isValid());
    }
    QTemporaryDir dir;
    ArtCache cache{dir.filePath("cache/Brinewave3")};
};

TEST_F(CacheFill, TwoGeneratorsAtOnceLeaveOneValidSetAndNothingElse) {
    if (!QFileInfo(generator()).isExecutable()) {
        GTEST_SKIP() << "no generator in BW_TEST_DATA";
    }
    QProcess first, second;
    const QStringList arguments = {"--cache-fill", QString::number(kHeight), cache.root(),
                                   "--threads", "1"};
    first.start(generator(), arguments);
    second.start(generator(), arguments);
    ASSERT_TRUE(first.waitForStarted());
    // A fill is background work: it lowers itself to the lowest priority before painting.
    std::optional<std::pair<int, int>> priority;
    for (int i = 0; i < 500 && first.state() == QProcess::Running; ++i) {
        priority = niceAndPolicy(first.processId());
        if (priority && priority->second == SCHED_IDLE) {
            break;
        }
        QThread::msleep(10);
    }
    ASSERT_TRUE(priority) << "the fill ended before its priority could be read";
    EXPECT_EQ(*priority, std::pair(19, int(SCHED_IDLE))) << "nice 19, SCHED_IDLE";
    ASSERT_TRUE(first.waitForFinished(300000));
    ASSERT_TRUE(second.waitForFinished(300000));
    const QString said = first.readAllStandardOutput() + second.readAllStandardOutput();
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(said.count("painted into"), 1) << said.toStdString();
    EXPECT_EQ(said.count("another fill") + said.count("is complete"), 1) << said.toStdString();

    expectCompleteSet(cache, kFrame);
    EXPECT_EQ(entries(cache.root()), QStringList({"660", "660.lock"}))
        << "no folder painted aside is left";
}

TEST_F(CacheFill, AStaleSetIsReplacedAndACompleteOneKept) {
    // Another version's set, and what fills that died left behind.
    writeBytes(cache.folderFor(kFrame) + "/fish/old.bmp", "old");
    ArtCacheStamp stale = ArtCacheStamp::describe(cache.folderFor(kFrame), kFrame);
    stale.version = bw::art::kArtVersion - 1;
    writeBytes(cache.folderFor(kFrame) + "/art.stamp", stale.toText());
    writeBytes(cache.fillingPrefixFor(kFrame) + "4242-dead/fish/half.bmp", "half");
    writeBytes(cache.discardedPrefixFor(kFrame) + "4242-dead/fish/old.bmp", "old");
    writeBytes(cache.folderFor(QSize(1440, 1080)) + "/fish/other.bmp",
               "another height's set stays");
    ASSERT_TRUE(cache.completeSet(kFrame).isEmpty());

    QString error;
    ASSERT_EQ(bw::art::fillCache(cache.root(), kFrame, 2, &error), FillOutcome::Filled)
        << error.toStdString();
    expectCompleteSet(cache, kFrame);
    EXPECT_FALSE(QFile::exists(cache.folderFor(kFrame) + "/fish/old.bmp"));
    EXPECT_EQ(entries(cache.root()), QStringList({"1080", "660", "660.lock"}));

    // A second fill finds the set complete and leaves it as it is.
    const QString probe = cache.folderFor(kFrame) + "/probe";
    writeBytes(probe, "kept");
    EXPECT_EQ(bw::art::fillCache(cache.root(), kFrame, 2, &error), FillOutcome::AlreadyComplete);
    EXPECT_EQ(readBytes(probe), "kept");
}

TEST_F(CacheFill, ASetWhoseStampIsNoFileIsPaintedAnew) {
    if (!QFileInfo(generator()).isExecutable()) {
        GTEST_SKIP() << "no generator in BW_TEST_DATA";
    }
    const QString stamp = cache.folderFor(kFrame) + "/art.stamp";
    const QString old = cache.folderFor(kFrame) + "/fish/old.bmp";
    const struct {
        const char* name;
        std::function<bool()> make;
    } stamps[] = {
        {"a FIFO", [&] { return ::mkfifo(QFile::encodeName(stamp).constData(), 0600) == 0; }},
        {"a link to a device", [&] { return QFile::link("/dev/zero", stamp); }},
    };
    for (const auto& c : stamps) {
        SCOPED_TRACE(c.name);
        writeBytes(old, "old");
        QFile::remove(stamp);
        ASSERT_TRUE(c.make());
        QProcess fill;
        fill.start(generator(), {"--cache-fill", QString::number(kHeight), cache.root()});
        ASSERT_TRUE(fill.waitForFinished(300000)) << "the fill hangs";
        EXPECT_EQ(fill.exitCode(), 0) << fill.readAllStandardError().toStdString();
        expectCompleteSet(cache, kFrame);
        EXPECT_FALSE(QFileInfo::exists(old));
    }
}

TEST_F(CacheFill, WhileAnotherFillHoldsTheLockNothingIsDone) {
    ASSERT_TRUE(QDir().mkpath(cache.root()));
    const int held = ::open(QFile::encodeName(cache.lockPathFor(kFrame)).constData(),
                            O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    QString error;
    EXPECT_EQ(bw::art::fillCache(cache.root(), kFrame, 1, &error), FillOutcome::AnotherFillRunning);
    EXPECT_EQ(entries(cache.root()), QStringList({"660.lock"}));
    ::close(held);
}

TEST_F(CacheFill, ASetThatAppearedMeanwhileIsKeptAndTheNewOneDropped) {
    // A complete set in place (made by a writer that took no lock), and ours painted aside.
    const auto makeSet = [](const QString& folder, const QByteArray& bytes) {
        writeBytes(folder + "/fish/fish1.bmp", bytes);
        writeBytes(folder + "/art.stamp", ArtCacheStamp::describe(folder, kFrame).toText());
    };
    makeSet(cache.folderFor(kFrame), "theirs");
    const QString aside = cache.fillingPrefixFor(kFrame) + "1-ours";
    makeSet(aside, "ours, longer");
    QString error;
    EXPECT_EQ(bw::art::moveIntoPlace(cache, kFrame, aside, &error), FillOutcome::AlreadyComplete);
    EXPECT_EQ(readBytes(cache.folderFor(kFrame) + "/fish/fish1.bmp"), "theirs");
    EXPECT_FALSE(QFileInfo::exists(aside));

    // A damaged one in place is replaced by ours.
    QFile::remove(cache.folderFor(kFrame) + "/fish/fish1.bmp");
    makeSet(aside, "ours, longer");
    EXPECT_EQ(bw::art::moveIntoPlace(cache, kFrame, aside, &error), FillOutcome::Filled);
    EXPECT_EQ(readBytes(cache.folderFor(kFrame) + "/fish/fish1.bmp"), "ours, longer");
    EXPECT_EQ(entries(cache.root()), QStringList({"660"}));
}

TEST_F(CacheFill, ACacheFolderThatCannotBeWrittenFailsCleanly) {
    writeBytes(dir.filePath("a file"), "not a folder");
    // A file where the folder should be, a folder below a file, a folder no one may write in.
    QStringList roots = {dir.filePath("a file"), dir.filePath("a file/Brinewave3"), "/proc"};
    if (::geteuid() != 0) {  // permissions bind everyone but root
        const QString readOnly = dir.filePath("read-only");
        ASSERT_TRUE(QDir().mkpath(readOnly));
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
        roots += readOnly;
    }
    for (const QString& root : roots) {
        SCOPED_TRACE(root.toStdString());
        QString error;
        EXPECT_EQ(bw::art::fillCache(root, kFrame, 1, &error), FillOutcome::Failed);
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(readBytes(dir.filePath("a file")), "not a folder");
    EXPECT_TRUE(entries(dir.filePath("read-only")).isEmpty());

    if (QFileInfo(generator()).isExecutable()) {
        QProcess run;
        run.start(generator(), {"--cache-fill", QString::number(kHeight), roots[1]});
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_EQ(run.exitCode(), 1);
        EXPECT_TRUE(run.readAllStandardError().contains("cannot make the cache folder"));
    }
}

TEST_F(CacheFill, AFillKilledOrStoppedByAFullDiskLeavesNoSetInPlace) {
    if (!QFileInfo(generator()).isExecutable()) {
        GTEST_SKIP() << "no generator in BW_TEST_DATA";
    }
    // Killed while painting: what it painted stays aside, never in the set's place.
    QProcess killed;
    killed.start(generator(), {"--cache-fill", QString::number(kHeight), cache.root()});
    ASSERT_TRUE(killed.waitForStarted());
    const QString filling = QFileInfo(cache.fillingPrefixFor(kFrame)).fileName();
    bool painting = false;
    for (int i = 0; i < 3000 && !painting && killed.state() == QProcess::Running; ++i) {
        const QStringList found =
            QDir(cache.root()).entryList({filling + "*"}, QDir::Dirs | QDir::Hidden);
        painting =
            !found.isEmpty() &&
            !QDir(cache.root() + u'/' + found[0]).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot);
        QThread::msleep(10);
    }
    ASSERT_TRUE(painting) << "the fill never started painting";
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished());
    EXPECT_TRUE(cache.completeSet(kFrame).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(cache.folderFor(kFrame)));

    // A disk that fills up midway (here: a file size limit): a clean failure, nothing left.
    QProcess limited;
    limited.start("bash", {"-c", "trap '' XFSZ; ulimit -f 64; exec \"$0\" \"$@\"", generator(),
                           "--cache-fill", QString::number(kHeight), cache.root()});
    ASSERT_TRUE(limited.waitForFinished(300000));
    EXPECT_EQ(limited.exitCode(), 1);
    EXPECT_TRUE(limited.readAllStandardError().contains("cannot write"));
    EXPECT_EQ(entries(cache.root()), QStringList({"660.lock"})) << "the killed fill's leftovers "
                                                                   "and its own are gone";

    // The next fill makes the set.
    QString error;
    ASSERT_EQ(bw::art::fillCache(cache.root(), kFrame, 2, &error), FillOutcome::Filled)
        << error.toStdString();
    expectCompleteSet(cache, kFrame);
}

TEST_F(CacheFill, FramesOutsideTheScalesAndWidthsAreRefused) {
    // Heights outside the scales; narrower than 4:3; wider than FrameShape::kMaxBlocks blocks.
    for (const QSize frame : {ArtCache::blockFrame(0), ArtCache::blockFrame(599),
                              ArtCache::blockFrame(4801), QSize(1439, 1080), QSize(5761, 1080)}) {
        QString error;
        EXPECT_EQ(bw::art::fillCache(cache.root(), frame, 1, &error), FillOutcome::Failed);
        EXPECT_TRUE(error.contains("600 to 4800")) << error.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(cache.root()));
    if (QFileInfo(generator()).isExecutable()) {
        for (const char* frame : {"1080.5", "abc", "300", "1439x1080", "5761x1080", "1920x"}) {
            QProcess run;
            run.start(generator(), {"--cache-fill", frame, cache.root()});
            ASSERT_TRUE(run.waitForFinished(60000));
            EXPECT_EQ(run.exitCode(), 2) << frame;
            EXPECT_TRUE(run.readAllStandardError().contains("the frame must be H or WxH"));
        }
        EXPECT_FALSE(QFileInfo::exists(cache.root()));
    }
}

// A 16:9 screen of 600 lines: a set at 1x of its own, beside the 4:3 one, whose water, walls
// and floors are as wide as the frame.
TEST_F(CacheFill, AWideFrameIsFilledIntoASetOfItsOwn) {
    if (!QFileInfo(generator()).isExecutable()) {
        GTEST_SKIP() << "no generator in BW_TEST_DATA";
    }
    const QSize wide(1067, 600);
    QProcess fill;
    fill.start(generator(), {"--cache-fill", "1067x600", cache.root(), "--threads", "2"});
    ASSERT_TRUE(fill.waitForFinished(300000)) << "the fill hangs";
    EXPECT_EQ(fill.exitCode(), 0) << fill.readAllStandardError().toStdString();
    expectCompleteSet(cache, wide);
    EXPECT_EQ(QImageReader(cache.folderFor(wide) + "/Water/cool waters.png").size(),
              QSize(1067, 600));
    EXPECT_TRUE(cache.completeSet(ArtCache::blockFrame(600)).isEmpty()) << "the 4:3 set is another";
    EXPECT_EQ(entries(cache.root()), QStringList({"1067x600", "1067x600.lock"}));
}

}  // namespace
