#include "CacheFill.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

#include "BmpWriter.h"
#include "Generator.h"
#include "settings/ArtCache.h"

namespace bw::art {

namespace {

// The lock of one frame's fill, held from open to destruction (the kernel lets it go when the
// process ends, however it ends).
class FillLock {
  public:
    explicit FillLock(const QString& path)
        : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (fd_ < 0) {
            error_ = errno;
        } else if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            error_ = errno;
        }
    }
    ~FillLock() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FillLock(const FillLock&) = delete;
    FillLock& operator=(const FillLock&) = delete;

    bool held() const { return fd_ >= 0 && error_ == 0; }
    bool heldByAnother() const { return fd_ >= 0 && error_ == EWOULDBLOCK; }
    int error() const { return error_; }

  private:
    int fd_;
    int error_ = 0;
};

bool removeFolder(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return true;
    }
    return info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
}

// Folders left by fills that died, and sets that were on their way out: only the holder of the
// lock makes them, so while it is held none of them is in use.
void removeLeftovers(const ArtCache& cache, QSize frame) {
    const QDir root(cache.root());
    const QStringList prefixes = {QFileInfo(cache.fillingPrefixFor(frame)).fileName(),
                                  QFileInfo(cache.discardedPrefixFor(frame)).fileName()};
    for (const QString& prefix : prefixes) {
        for (const QString& name :
             root.entryList({prefix + u'*'}, QDir::AllEntries | QDir::Hidden | QDir::System)) {
            removeFolder(root.filePath(name));
        }
    }
}

// Everything written reaches the disk before the set takes its place, so a power cut cannot
// leave a stamped set whose files the disk never received.
bool syncFileSystem(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    return synced;
}

QString uniqueSuffix() {
    return QStringLiteral("%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
}

}  // namespace

FillOutcome fillCache(const QString& cacheRoot, QSize frame, int threads, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error) {
            *error = why;
        }
        return FillOutcome::Failed;
    };
    if (!ArtCache::frameIsValid(frame)) {
        return fail(QStringLiteral("no set is made for a frame of %1 x %2 pixels: the height must "
                                   "be from %3 to %4, the width from 4:3 to %5 times that")
                        .arg(frame.width())
                        .arg(frame.height())
                        .arg(ArtCache::kMinimumHeight)
                        .arg(ArtCache::kMaximumHeight)
                        .arg(FrameShape::kMaxBlocks));
    }
    const ArtCache cache(QDir::cleanPath(QDir(cacheRoot).absolutePath()));
    if (!QDir().mkpath(cache.root())) {
        return fail(QStringLiteral("cannot make the cache folder %1").arg(cache.root()));
    }
    const FillLock lock(cache.lockPathFor(frame));
    if (lock.heldByAnother()) {
        return FillOutcome::AnotherFillRunning;
    }
    if (!lock.held()) {
        return fail(
            QStringLiteral("cannot lock %1: %2")
                .arg(cache.lockPathFor(frame), QString::fromLocal8Bit(strerror(lock.error()))));
    }
    if (!cache.completeSet(frame).isEmpty()) {
        return FillOutcome::AlreadyComplete;
    }
    removeLeftovers(cache, frame);

    const QString aside = cache.fillingPrefixFor(frame) + uniqueSuffix();
    if (!QDir().mkdir(aside)) {
        return fail(QStringLiteral("cannot write to %1").arg(cache.root()));
    }
    QString why;
    bool painted = generatePictures(aside, ArtCache::scaleFor(frame.height()), threads, &why,
                                    PictureFormat::Png, frame.width());
    if (painted) {
        // The stamp last: until it is written the set is partial.
        const QByteArray stamp = ArtCacheStamp::describe(aside, frame).toText();
        painted = writeFile(aside + u'/' + QLatin1String(ArtCache::kStampName), stamp);
        if (!painted) {
            why = QStringLiteral("cannot write the stamp in %1").arg(aside);
        }
    }
    if (painted && !syncFileSystem(aside)) {
        painted = false;
        why = QStringLiteral("cannot write %1 to the disk").arg(aside);
    }
    if (!painted) {
        removeFolder(aside);
        return fail(why);
    }

    return moveIntoPlace(cache, frame, aside, error);
}

FillOutcome moveIntoPlace(const ArtCache& cache, QSize frame, const QString& aside,
                          QString* error) {
    const auto fail = [&](const QString& why) {
        removeFolder(aside);
        if (error) {
            *error = why;
        }
        return FillOutcome::Failed;
    };
    const QString target = cache.folderFor(frame);
    if (!cache.completeSet(frame).isEmpty()) {
        removeFolder(aside);
        return FillOutcome::AlreadyComplete;
    }
    // What is there is a stale or damaged set, or something else: it goes aside first, so the
    // rename below never merges into it.
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink()) {
        const QString discarded = cache.discardedPrefixFor(frame) + uniqueSuffix();
        if (::rename(QFile::encodeName(target).constData(),
                     QFile::encodeName(discarded).constData()) != 0) {
            return fail(QStringLiteral("cannot move the old set %1 aside: %2")
                            .arg(target, QString::fromLocal8Bit(strerror(errno))));
        }
        removeFolder(discarded);
    }
    if (::rename(QFile::encodeName(aside).constData(), QFile::encodeName(target).constData()) !=
        0) {
        const int renameError = errno;
        // Another writer got there first (one that took no lock): its set stays.
        if ((renameError == EEXIST || renameError == ENOTEMPTY) &&
            !cache.completeSet(frame).isEmpty()) {
            removeFolder(aside);
            return FillOutcome::AlreadyComplete;
        }
        return fail(QStringLiteral("cannot rename %1 to %2: %3")
                        .arg(aside, target, QString::fromLocal8Bit(strerror(renameError))));
    }
    return FillOutcome::Filled;
}

bool paintAtIdlePriority() {
    const bool niced = ::setpriority(PRIO_PROCESS, 0, 19) == 0;
    sched_param param{};
    param.sched_priority = 0;
    const bool idle = ::sched_setscheduler(0, SCHED_IDLE, &param) == 0;
    return niced && idle;
}

}  // namespace bw::art
