#pragma once

#include <QByteArray>
#include <QString>

namespace bw {

// Reads the whole of the regular file at `path` if it holds at most `maxBytes`. Whatever else
// may stand at a path (a FIFO, a device, a socket, a folder) is refused without waiting on it
// and without reading a byte, and so is a file over the bound. False, with `data` empty,
// otherwise; `error`, when given, says why.
bool readRegularFile(const QString& path, qint64 maxBytes, QByteArray* data,
                     QString* error = nullptr);

}  // namespace bw
