#include "system/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace bw {

bool readRegularFile(const QString& path, qint64 maxBytes, QByteArray* data, QString* error) {
    data->clear();
    const auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) return fail(QStringLiteral("empty path"));
    // Non-blocking: opening a FIFO would otherwise wait for a writer that may never come.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return fail(QStringLiteral("cannot open: %1").arg(QString::fromLocal8Bit(strerror(errno))));
    }
    QString why;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        why = QStringLiteral("cannot read: %1").arg(QString::fromLocal8Bit(strerror(errno)));
    } else if (!S_ISREG(info.st_mode)) {
        why = QStringLiteral("not a regular file");
    } else if (info.st_size > maxBytes) {
        why = QStringLiteral("larger than %1 bytes").arg(maxBytes);
    } else {
        // Up to the end rather than to the size fstat gave: the file may grow meanwhile.
        // One byte past the bound tells a file that grew too large.
        qint64 done = 0;
        data->resize(std::min<qint64>(info.st_size, maxBytes) + 1);
        for (;;) {
            if (done == data->size()) {
                if (done > maxBytes) break;
                data->resize(std::min<qint64>(done * 2, maxBytes + 1));
            }
            const ssize_t got = ::read(fd, data->data() + done, size_t(data->size() - done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                why =
                    QStringLiteral("cannot read: %1").arg(QString::fromLocal8Bit(strerror(errno)));
                break;
            }
            if (got == 0) break;
            done += got;
        }
        data->resize(done);
        if (why.isEmpty() && done > maxBytes)
            why = QStringLiteral("larger than %1 bytes").arg(maxBytes);
    }
    ::close(fd);
    if (!why.isEmpty()) {
        data->clear();
        return fail(why);
    }
    return true;
}

}  // namespace bw
