#include "settings/ArtCache.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <climits>

#include "settings/ArtVersion.h"
#include "settings/FrameShape.h"
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

bool isWide(QSize frame) { return frame.width() != ArtCache::blockFrame(frame.height()).width(); }

}  // namespace

QByteArray ArtCacheStamp::toText() const {
    QByteArray text = kStampTitle + '\n';
    text += "version " + QByteArray::number(version) + '\n';
    text += "height " + QByteArray::number(height) + '\n';
    if (width != 0) text += "width " + QByteArray::number(width) + '\n';
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
    // The width line is there for a wide frame only.
    const auto width = readField(lines[3], "width", 1);
    const qsizetype first = width ? 5 : 4;
    if (lines.size() < first) return std::nullopt;
    const auto count = readField(lines[first - 1], "files", 1);
    if (!version || !height || !count || *version > INT_MAX || *height > INT_MAX ||
        width.value_or(0) > INT_MAX || *count != lines.size() - first) {
        return std::nullopt;
    }
    ArtCacheStamp stamp;
    stamp.version = static_cast<int>(*version);
    stamp.height = static_cast<int>(*height);
    stamp.width = static_cast<int>(width.value_or(0));
    for (qsizetype i = first; i < lines.size(); ++i) {
        const qsizetype space = lines[i].indexOf(' ');
        if (space <= 0) return std::nullopt;
        const auto bytes = readField("size " + lines[i].left(space), "size", 0);
        const QString path = QString::fromUtf8(lines[i].mid(space + 1));
        if (!bytes || !isSetPath(path)) return std::nullopt;
        stamp.files.append({path, *bytes});
    }
    return stamp;
}

ArtCacheStamp ArtCacheStamp::describe(const QString& folder, QSize frame) {
    ArtCacheStamp stamp;
    stamp.version = art::kArtVersion;
    stamp.height = frame.height();
    stamp.width = isWide(frame) ? frame.width() : 0;
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

QSize ArtCache::blockFrame(int height) { return FrameShape::block(scaleFor(height)).size; }

bool ArtCache::frameIsValid(QSize frame) {
    if (!heightIsValid(frame.height())) return false;
    const int blockWidth = blockFrame(frame.height()).width();
    return frame.width() >= blockWidth && frame.width() <= FrameShape::kMaxBlocks * blockWidth;
}

QString ArtCache::frameName(QSize frame) {
    const QString height = QString::number(frame.height());
    return isWide(frame) ? QString::number(frame.width()) + u'x' + height : height;
}

std::optional<QSize> ArtCache::parseFrame(const QString& name) {
    // Digits only: no sign, no spaces; five of them are more than any valid frame has.
    static const QRegularExpression pattern(QStringLiteral("^(?:([0-9]{1,5})x)?([0-9]{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch()) return std::nullopt;
    const int height = match.captured(2).toInt();
    const QSize frame =
        match.hasCaptured(1) ? QSize(match.captured(1).toInt(), height) : blockFrame(height);
    if (!frameIsValid(frame)) return std::nullopt;
    return frame;
}

QString ArtCache::folderFor(QSize frame) const { return root_ + u'/' + frameName(frame); }

QString ArtCache::lockPathFor(QSize frame) const {
    return root_ + u'/' + frameName(frame) + QStringLiteral(".lock");
}

QString ArtCache::fillingPrefixFor(QSize frame) const {
    return root_ + QStringLiteral("/.") + frameName(frame) + QStringLiteral(".filling-");
}

QString ArtCache::discardedPrefixFor(QSize frame) const {
    return root_ + QStringLiteral("/.") + frameName(frame) + QStringLiteral(".discarded-");
}

QString ArtCache::completeSet(QSize frame, QString* why) const {
    const auto refuse = [why](const QString& reason) {
        if (why) *why = reason;
        return QString();
    };
    if (!frameIsValid(frame)) return refuse(QStringLiteral("no set is made for this frame"));
    const QString folder = folderFor(frame);
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
    if (stamp->height != frame.height() || stamp->width != (isWide(frame) ? frame.width() : 0)) {
        return refuse(QStringLiteral("the stamp names another frame"));
    }
    for (const ArtCacheStamp::File& listed : stamp->files) {
        const QFileInfo found(folder + u'/' + listed.path);
        if (!found.isFile() || found.size() != listed.bytes) {
            return refuse(QStringLiteral("%1 is missing or damaged").arg(listed.path));
        }
    }
    return folder;
}

bool ArtCache::startFilling(QSize frame, const QString& generator, SystemLayer& system) const {
    if (!frameIsValid(frame)) return false;
    return system.StartProgram(generator,
                               {QStringLiteral("--cache-fill"), frameName(frame), root_});
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
