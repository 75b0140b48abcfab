#include "help/HelpDocuments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include "help/RtfReader.h"

namespace bw {
namespace {

// A topic is a few pages; anything larger than this is not one of ours, and we show only its
// beginning rather than hold the whole of it in memory.
constexpr qint64 kMaxDocumentBytes = 16 * 1024 * 1024;

}  // namespace

QString findTopicDocument(const QString& folder, const QString& fileName) {
    if (fileName.isEmpty()) return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile()) return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return {};
}

bool loadTopicDocument(const QString& path, QTextDocument& document) {
    document.clear();
    if (path.isEmpty()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = file.read(kMaxDocumentBytes);
    readRtf(data, document);
    return true;
}

}  // namespace bw
