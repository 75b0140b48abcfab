#include "Generator.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageWriter>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "BmpWriter.h"
#include "Catalogue.h"
#include "Paint.h"
#include "Scene.h"
#include "Sound.h"
#include "settings/ArtCache.h"

namespace bw::art {

namespace {

struct Job {
    const Asset* asset;
    int image;
    QString path;    // the data folder's name
    QString output;  // the name written
};

constexpr uint64_t kSoundSeed = 0xB0BB1E5;
constexpr double kSoundSeconds = 4.0;

}  // namespace

std::optional<double> parseScale(const QString& text) {
    bool ok = false;
    const double scale = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(scale) || scale < kMinimumScale || scale > kMaximumScale) {
        return std::nullopt;
    }
    return scale;
}

std::optional<int> parseFrameWidth(const QString& text) {
    bool ok = false;
    const int width = text.trimmed().toInt(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return width;
}

std::optional<FrameShape> frameAt(double scale, int frameWidth) {
    FrameShape frame = FrameShape::block(scale);
    const int blockWidth = frame.size.width();
    if (frameWidth < blockWidth || frameWidth > FrameShape::kMaxBlocks * blockWidth) {
        return std::nullopt;
    }
    frame.size.setWidth(frameWidth);
    return frame;
}

QImage paintPreview(const ImageLookup& lookup, double scale) {
    const QImage scene = composeScene(lookup, SceneChoice::Factory, scale);
    QImage preview =
        scene.scaled(scaledSize(findAsset(QStringLiteral("Misc/preview"))->size, scale),
                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    preview.setDevicePixelRatio(scale);
    return preview;
}

namespace {

std::vector<Job> paintingJobs(PictureFormat format) {
    std::vector<Job> jobs;
    for (const Asset& asset : catalogue()) {
        if (asset.source != Source::Painted) {
            continue;
        }
        for (int i = 1; i <= asset.images; ++i) {
            const QString path = imagePath(asset, i);
            jobs.push_back(
                {&asset, i, path,
                 format == PictureFormat::Png ? ArtCache::cachedPictureName(path) : path});
        }
    }
    // Large pictures first, so no worker is left with one big job at the end.
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) {
        const QSize sa = a.asset->size, sb = b.asset->size;
        return sa.width() * sa.height() > sb.width() * sb.height();
    });
    return jobs;
}

QByteArray encodePng(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    writer.setQuality(quality);
    return writer.write(image) ? bytes : QByteArray();
}

QByteArray encodePicture(const Asset& asset, const QImage& image, PictureFormat format) {
    if (format == PictureFormat::Png) {
        // Qt's quality 85 is zlib level (100 - 85) * 9 / 91 = 1, the fastest that compresses.
        return encodePng(asset.encoding == Encoding::Opaque
                             ? image.convertToFormat(QImage::Format_RGB32)
                             : image,
                         85);
    }
    if (asset.encoding == Encoding::Opaque) {
        return encodeBmp24(image);
    }
    if (asset.encoding == Encoding::Png) {
        return encodePng(image, -1);
    }
    return encodeBmp32(image);
}

// The part of a picture that the 4:3 scene shows: of a picture of the glass, its block.
QImage layoutPart(const Asset& asset, const QImage& image, const FrameShape& frame) {
    if (!asset.paintWide || !frame.wide()) {
        return image;
    }
    const QRect block(QPoint(frame.blockColumn(), 0), scaledSize(asset.size, frame.scale));
    return image.copy(block);
}

// Each picture is written as soon as it is painted and then let go, so a set at a large scale
// never sits in memory whole; only the parts of the preview's scene are kept for it.
bool writeSet(const QString& folder, const FrameShape& frame, bool withSound, int threads,
              QString* error, PictureFormat format) {
    const double scale = frame.scale;
    const QDir root(folder);
    const std::vector<Job> jobs = paintingJobs(format);
    bool writable = root.mkpath(QStringLiteral(".")) && QFileInfo(folder).isWritable();
    for (const Job& job : jobs) {
        writable = writable && root.mkpath(QFileInfo(job.output).path());
    }
    if (!writable) {
        if (error) {
            *error = QStringLiteral("cannot write to %1").arg(folder);
        }
        return false;
    }
    const QStringList sceneParts = scenePictures(SceneChoice::Factory);
    QHash<QString, QImage> kept;
    QString failure;
    std::mutex guard;
    std::atomic<bool> failed{false};
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < jobs.size() && !failed; i = next++) {
            const Job& job = jobs[i];
            const QImage image = paintFor(*job.asset, job.image, frame);
            const QString path = root.filePath(job.output);
            const QByteArray bytes = encodePicture(*job.asset, image, format);
            if (bytes.isEmpty() || !writeFile(path, bytes)) {
                const std::lock_guard lock(guard);
                failure = QStringLiteral("cannot write %1").arg(path);
                failed = true;
            } else if (sceneParts.contains(job.path)) {
                const std::lock_guard lock(guard);
                kept.insert(job.path, layoutPart(*job.asset, image, frame));
            }
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < std::max(1, threads); ++t) {
        workers.emplace_back(work);
    }
    work();
    for (std::thread& worker : workers) {
        worker.join();
    }
    if (!failed) {
        const Asset& preview = *findAsset(QStringLiteral("Misc/preview"));
        const QImage picture =
            paintPreview([&](const QString& path) { return kept.value(path); }, scale);
        const QString name = imagePath(preview, 1);
        const QString path =
            root.filePath(format == PictureFormat::Png ? ArtCache::cachedPictureName(name) : name);
        const QByteArray bytes = encodePicture(preview, picture, format);
        if (bytes.isEmpty() || !writeFile(path, bytes)) {
            failure = QStringLiteral("cannot write %1").arg(path);
            failed = true;
        }
    }
    if (!failed && withSound) {
        const QString path =
            root.filePath(imagePath(*findAsset(QStringLiteral("bubbles1.wav")), 1));
        if (!writeFile(path, encodeWave(synthesiseBubbles(kSoundSeed, kSoundSeconds)))) {
            failure = QStringLiteral("cannot write %1").arg(path);
            failed = true;
        }
    }
    if (failed && error) {
        *error = failure;
    }
    return !failed;
}

}  // namespace

bool generateAll(const QString& folder, int threads, QString* error) {
    return writeSet(folder, FrameShape::block(1.0), true, threads, error,
                    PictureFormat::DataFolder);
}

bool generatePictures(const QString& folder, double scale, int threads, QString* error,
                      PictureFormat format, std::optional<int> frameWidth) {
    const FrameShape block = FrameShape::block(scale);
    const std::optional<FrameShape> frame =
        frameWidth ? frameAt(scale, *frameWidth) : std::optional(block);
    if (!frame) {
        if (error) {
            *error = QStringLiteral("the frame width %1 is not from %2 to %3 pixels at scale %4")
                         .arg(*frameWidth)
                         .arg(block.size.width())
                         .arg(FrameShape::kMaxBlocks * block.size.width())
                         .arg(scale);
        }
        return false;
    }
    return writeSet(folder, *frame, false, threads, error, format);
}

}  // namespace bw::art
