#pragma once

#include <optional>

namespace bw {

// A session lock outlives the process that holds it: if the saver dies while the Wayland session
// is locked, the compositor keeps it locked (sway shows red) until a lock client takes over. So
// the full saver runs in a child process, and the process "/s" started as waits for it and
// starts it again at once when it ends while the session is locked; the new saver takes the
// abandoned lock over.
//
// Returns in the child, with nothing, to go on as the saver; in the supervisor, with the status
// to exit with once the saver has ended with the session unlocked (or never locked it). A saver
// that keeps dying at once (five times within ten seconds) is given up on: the session stays
// locked, as the compositor keeps it.
//
// With `daemonize`, the supervisor runs in a session of its own, and the process "/s" started
// as returns 0 as soon as the session is locked (as swayidle -w wants of a locker), or the
// saver's status when it ended without locking.
std::optional<int> superviseSessionLock(bool daemonize);

// The saver tells its supervisor (when it has one) that the session is locked, and unlocked
// again; a saver that ends after the first and before the second is started again.
void reportSessionLocked();
void reportSessionUnlocked();
// True in a saver its supervisor started again after one died while the session was locked.
bool sessionLockTakenOver();

}  // namespace bw
