#include "Generator.h"

#include <QBuffer>
#include <QDir>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "BmpWriter.h"
#include "Catalogue.h"
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

QHash<QString, QImage> paintEverything(int threads) {
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
            results[i] = jobs[i].asset->paint(*jobs[i].asset, jobs[i].image);
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
    const Asset* preview = findAsset(QStringLiteral("Misc/preview"));
    const QImage scene = composeScene([&](const QString& path) { return painted.value(path); },
                                      SceneChoice::Factory);
    painted.insert(imagePath(*preview, 1),
                   scene.scaled(preview->size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return painted;
}

bool generateAll(const QString& folder, int threads, QString* error) {
    const QHash<QString, QImage> painted = paintEverything(threads);
    const QDir root(folder);
    for (const Asset& asset : catalogue()) {
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

}  // namespace bw::art
