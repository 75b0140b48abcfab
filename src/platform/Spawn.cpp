#include "platform/Spawn.h"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <QFile>
#include <csignal>
#include <cstring>
#include <vector>

extern char** environ;

namespace bw {

pid_t spawnProgram(const QString& program, const QStringList& arguments,
                   const SpawnOptions& options, QString* error) {
    // Everything the child needs is made here, before it exists.
    const QByteArray file = QFile::encodeName(program);
    const QByteArray folder = QFile::encodeName(options.workingDirectory);
    std::vector<QByteArray> encoded{file};
    for (const QString& argument : arguments) encoded.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : encoded) argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (options.standardOutput >= 0)
        posix_spawn_file_actions_adddup2(&actions, options.standardOutput, STDOUT_FILENO);
    // Descriptors opened without O_CLOEXEC (by a library, say) stay ours: a program left
    // holding the audio device or the instance lock would outlive us with it.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    if (!folder.isEmpty()) posix_spawn_file_actions_addchdir_np(&actions, folder.constData());

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    // What we ignore (SIGPIPE, say) would stay ignored across exec.
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (options.ownSession) flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attributes, flags);

    pid_t pid = 0;
    // glibc reports a failed exec (or chdir) here, so a program that cannot run is never
    // taken for one that started.
    const int failed =
        posix_spawnp(&pid, file.constData(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed) {
        if (error) *error = QString::fromLocal8Bit(strerror(failed));
        return 0;
    }
    return pid;
}

}  // namespace bw
