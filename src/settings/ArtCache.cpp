#include "settings/ArtCache.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <climits>

#include "settings/ArtVersion.h"
#include "system/RegularFile.h"
#include "system/SystemLayer.h"

namespace bw {

namespace {

const QByteArray kStampTitle = "Brinewave3 art cache";
// A stamp is a few hundred short lines; anything far larger is not one.
constexpr qint64 kMaxStampBytes = 4 * 1024 * 1024;

// "name value" with a whole number no smaller than `minimum`.
std::optional<qint64> readField(const QByteArray& line, const QByteArray& name, qint64 minimum) {
    if (!line.startsWith(name + ' ')) return std::nullopt;
    bool ok = false;
    const QByteArray digits = line.mid(name.size() + 1);
    const qint64 value = digits.toLongLong(&ok);
    // toLongLong accepts a sign and surrounding spaces; the stamp never has them.
    if (!ok || value < minimum || digits != QByteArray::number(value)) return std::nullopt;
    return value;
}

// A path the generator writes: relative, with no way out of the set's folder.
bool isSetPath(const QString& path) {
    if (path.isEmpty() || path.startsWith(u'/') || path.contains(u'\\')) return false;
    const QStringList parts = path.split(u'/');
    return std::none_of(parts.begin(), parts.end(), [](const QString& part) {
        return part.isEmpty() || part == QStringLiteral(".") || part == QStringLiteral("..");
    });
}

}  // namespace

QByteArray ArtCacheStamp::toText() const {
    QByteArray text = kStampTitle + '\n';
    text += "version " + QByteArray::number(version) + '\n';
    text += "height " + QByteArray::number(height) + '\n';
    text += "files " + QByteArray::number(files.size()) + '\n';
    for (const File& file : files) {
        text += QByteArray::number(file.bytes) + ' ' + file.path.toUtf8() + '\n';
    }
    return text;
}

std::optional<ArtCacheStamp> ArtCacheStamp::fromText(const QByteArray& text) {
    if (!text.endsWith('\n')) return std::nullopt;  // cut short
    const QList<QByteArray> lines = text.left(text.size() - 1).split('\n');
    if (lines.size() < 4 || lines[0] != kStampTitle) return std::nullopt;
    const auto version = readField(lines[1], "version", 0);
    const auto height = readField(lines[2], "height", 1);
    const auto count = readField(lines[3], "files", 1);
    if (!version || !height || !count || *version > INT_MAX || *height > INT_MAX ||
        *count != lines.size() - 4) {
        return std::nullopt;
    }
    ArtCacheStamp stamp;
    stamp.version = static_cast<int>(*version);
    stamp.height = static_cast<int>(*height);
    for (qsizetype i = 4; i < lines.size(); ++i) {
        const qsizetype space = lines[i].indexOf(' ');
        if (space <= 0) return std::nullopt;
        const auto bytes = readField("size " + lines[i].left(space), "size", 0);
        const QString path = QString::fromUtf8(lines[i].mid(space + 1));
        if (!bytes || !isSetPath(path)) return std::nullopt;
        stamp.files.append({path, *bytes});
    }
    return stamp;
}

ArtCacheStamp ArtCacheStamp::describe(const QString& folder, int height) {
    ArtCacheStamp stamp;
    stamp.version = art::kArtVersion;
    stamp.height = height;
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        const QString path = root.relativeFilePath(file.filePath());
        if (path != QLatin1String(ArtCache::kStampName)) stamp.files.append({path, file.size()});
    }
    std::sort(stamp.files.begin(), stamp.files.end(),
              [](const File& a, const File& b) { return a.path < b.path; });
    return stamp;
}

QString ArtCache::defaultRoot() {
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    // A relative value is to be ignored, as the XDG base directory rules say.
    if (!QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(base) + QStringLiteral("/Brinewave3");
}

ArtCache::ArtCache(QString root) : root_(std::move(root)) {}

bool ArtCache::heightIsValid(int height) {
    return height >= kMinimumHeight && height <= kMaximumHeight;
}

QString ArtCache::folderFor(int height) const { return root_ + u'/' + QString::number(height); }

QString ArtCache::lockPathFor(int height) const {
    return root_ + u'/' + QString::number(height) + QStringLiteral(".lock");
}

QString ArtCache::fillingPrefixFor(int height) const {
    return root_ + QStringLiteral("/.") + QString::number(height) + QStringLiteral(".filling-");
}

QString ArtCache::discardedPrefixFor(int height) const {
    return root_ + QStringLiteral("/.") + QString::number(height) + QStringLiteral(".discarded-");
}

QString ArtCache::completeSet(int height, QString* why) const {
    const auto refuse = [why](const QString& reason) {
        if (why) *why = reason;
        return QString();
    };
    if (!heightIsValid(height)) return refuse(QStringLiteral("no set is made for this height"));
    const QString folder = folderFor(height);
    // Anything but a small regular file is no stamp: a FIFO would block the reader for good,
    // a device would feed it without end.
    const QString stampPath = folder + u'/' + QLatin1String(kStampName);
    QByteArray text;
    QString error;
    if (!readRegularFile(stampPath, kMaxStampBytes, &text, &error)) {
        return refuse(QStringLiteral("the stamp cannot be read (%1): not complete").arg(error));
    }
    const std::optional<ArtCacheStamp> stamp = ArtCacheStamp::fromText(text);
    if (!stamp) return refuse(QStringLiteral("the stamp is damaged"));
    if (stamp->version != art::kArtVersion) {
        return refuse(QStringLiteral("painted by art version %1").arg(stamp->version));
    }
    if (stamp->height != height) return refuse(QStringLiteral("the stamp names another height"));
    for (const ArtCacheStamp::File& listed : stamp->files) {
        const QFileInfo found(folder + u'/' + listed.path);
        if (!found.isFile() || found.size() != listed.bytes) {
            return refuse(QStringLiteral("%1 is missing or damaged").arg(listed.path));
        }
    }
    return folder;
}

bool ArtCache::startFilling(int height, const QString& generator, SystemLayer& system) const {
    if (!heightIsValid(height)) return false;
    return system.StartProgram(generator,
                               {QStringLiteral("--cache-fill"), QString::number(height), root_});
}

QString ArtCache::cachedPictureName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    const bool hasSuffix = dot > name.lastIndexOf(u'/') + 1;
    return (hasSuffix ? name.left(dot) : name) + QStringLiteral(".png");
}

QString ArtCache::generatorIn(const QString& dataFolder) {
    return dataFolder + u'/' + QLatin1String(kGeneratorName);
}

}  // namespace bw
