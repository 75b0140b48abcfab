#pragma once

#include <sys/types.h>

#include <QString>
#include <QStringList>

namespace bw {

struct SpawnOptions {
    QString workingDirectory;  // empty: ours
    int standardOutput = -1;   // a descriptor its output goes to; -1: ours
    bool ownSession = false;   // out of reach of our terminal and of signals to our group
};

// Starts `program` (looked up on $PATH when it has no slash) with posix_spawn. The child runs
// nothing of ours before it execs, so it cannot get stuck on a lock another of our threads
// held at that moment, which a fork of this multithreaded process could. It starts with no
// signal blocked and every signal at its default action, reads /dev/null, and inherits no
// descriptor beyond the standard three. Its pid, or 0 when it could not be started, not even
// run (`error` then says why). The caller reaps it.
pid_t spawnProgram(const QString& program, const QStringList& arguments,
                   const SpawnOptions& options = {}, QString* error = nullptr);

}  // namespace bw
