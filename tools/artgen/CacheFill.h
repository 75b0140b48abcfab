#pragma once

#include <QSize>
#include <QString>

namespace bw {
class ArtCache;
}

namespace bw::art {

enum class FillOutcome {
    Filled,              // a new set is in place
    AlreadyComplete,     // a complete, current set was there; it is kept
    AnotherFillRunning,  // another process fills this frame; nothing was done
    Failed,              // nothing usable was made; `error` says why
};

// Paints the set for `frame` (W x H pixels, scale H / 600; see ArtCache) into the art cache at
// `cacheRoot`: under a lock, so one fill per frame runs at a time, into a hidden folder unique
// to this process, stamped last and renamed into place only when complete. A stale or damaged
// set is replaced; leftovers of fills that died are removed.
FillOutcome fillCache(const QString& cacheRoot, QSize frame, int threads, QString* error);

// The last step of a fill, under its lock: puts the stamped set painted into `aside` in its
// place. A complete current set found there is kept (and `aside` removed); anything else there
// is replaced. `aside` is gone afterwards, whatever the outcome.
FillOutcome moveIntoPlace(const ArtCache& cache, QSize frame, const QString& aside, QString* error);

// Lowers this process to the lowest priority (nice 19, SCHED_IDLE), for painting in the
// background; the worker threads started afterwards inherit it. False when it could not.
bool paintAtIdlePriority();

}  // namespace bw::art
