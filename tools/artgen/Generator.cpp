#include "Generator.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "BmpWriter.h"
#include "Catalogue.h"
#include "Paint.h"
#include "Scene.h"
#include "Sound.h"

namespace bw::art {

namespace {

struct Job {
    const Asset* asset;
    int image;
    QString path;
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

QHash<QString, QImage> paintEverything(int threads, double scale) {
    std::vector<Job> jobs;
    for (const Asset& asset : catalogue()) {
        if (asset.source != Source::Painted) {
            continue;
        }
        for (int i = 1; i <= asset.images; ++i) {
            jobs.push_back({&asset, i, imagePath(asset, i)});
        }
    }
    // Large pictures first, so no worker is left with one big job at the end.
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) {
        const QSize sa = a.asset->size, sb = b.asset->size;
        return sa.width() * sa.height() > sb.width() * sb.height();
    });
    std::vector<QImage> results(jobs.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            results[i] = jobs[i].asset->paint(*jobs[i].asset, jobs[i].image, scale);
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
    QHash<QString, QImage> painted;
    for (size_t i = 0; i < jobs.size(); ++i) {
        painted.insert(jobs[i].path, results[i]);
    }
    const QString preview = imagePath(*findAsset(QStringLiteral("Misc/preview")), 1);
    painted.insert(preview,
                   paintPreview([&](const QString& path) { return painted.value(path); }, scale));
    return painted;
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

bool writeSet(const QString& folder, double scale, bool withSound, int threads, QString* error) {
    const QDir root(folder);
    if (!root.mkpath(QStringLiteral(".")) || !QFileInfo(folder).isWritable()) {
        if (error) {
            *error = QStringLiteral("cannot write to %1").arg(folder);
        }
        return false;
    }
    const QHash<QString, QImage> painted = paintEverything(threads, scale);
    for (const Asset& asset : catalogue()) {
        if (asset.source == Source::Synthesised && !withSound) {
            continue;
        }
        for (const QString& path : imagePaths(asset)) {
            QByteArray bytes;
            switch (asset.encoding) {
                case Encoding::Sprite:
                    bytes = encodeBmp32(painted.value(path));
                    break;
                case Encoding::Opaque:
                    bytes = encodeBmp24(painted.value(path));
                    break;
                case Encoding::Png: {
                    QBuffer buffer(&bytes);
                    buffer.open(QIODevice::WriteOnly);
                    painted.value(path).save(&buffer, "PNG");
                    break;
                }
                case Encoding::Wave:
                    bytes = encodeWave(synthesiseBubbles(kSoundSeed, kSoundSeconds));
                    break;
            }
            if (!writeFile(root.filePath(path), bytes)) {
                if (error) {
                    *error = QStringLiteral("cannot write %1").arg(root.filePath(path));
                }
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool generateAll(const QString& folder, int threads, QString* error) {
    return writeSet(folder, 1.0, true, threads, error);
}

bool generatePictures(const QString& folder, double scale, int threads, QString* error) {
    return writeSet(folder, scale, false, threads, error);
}

}  // namespace bw::art
