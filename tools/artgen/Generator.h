#pragma once

#include <QHash>
#include <QImage>
#include <QString>

namespace bw::art {

// Paints every picture of the catalogue in memory, keyed by relative path. `threads` workers
// share the work; the result does not depend on their number.
QHash<QString, QImage> paintEverything(int threads);

// Writes every file of the catalogue below `folder`. Returns false with `error` set when a
// file cannot be written.
bool generateAll(const QString& folder, int threads, QString* error);

}  // namespace bw::art
