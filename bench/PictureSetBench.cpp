// brinewave3-picture-set-bench FOLDER [--as-png OUT]
//
// Times the saver's picture loader over a whole set of pictures (every file below FOLDER), as
// the saver reads a set at start, and prints "name: value" lines. With --as-png it first writes
// the set again as PNG at zlib level 1 (Qt's quality 85) into OUT and measures that copy, so
// the cache's file format can be chosen by measurement.

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "platform/PictureLoader.h"

namespace {

QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, {"*.bmp", "*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files += it.next();
    files.sort();
    return files;
}

struct Measure {
    double milliseconds = 0;
    double megabytes = 0;
    double megapixels = 0;
    int files = 0;
    int refused = 0;
};

// The best of three passes: the set is read from the page cache, as on a saver's second start.
Measure loadAll(const QStringList& files) {
    Measure best;
    for (int pass = 0; pass < 3; ++pass) {
        Measure m;
        QElapsedTimer clock;
        clock.start();
        for (const QString& file : files) {
            const QImage image = bw::PictureLoader::load(file);
            m.megabytes += QFileInfo(file).size() / 1e6;
            m.megapixels += image.width() * double(image.height()) / 1e6;
            m.refused += image.isNull() ? 1 : 0;
            ++m.files;
        }
        m.milliseconds = clock.nsecsElapsed() / 1e6;
        if (pass == 0 || m.milliseconds < best.milliseconds) best = m;
    }
    return best;
}

void print(const char* format, const Measure& m) {
    std::printf("picture_set_files_%s: %d\n", format, m.files);
    std::printf("picture_set_refused_%s: %d\n", format, m.refused);
    std::printf("picture_set_megabytes_%s: %.1f\n", format, m.megabytes);
    std::printf("picture_set_megapixels_%s: %.1f\n", format, m.megapixels);
    std::printf("picture_set_load_ms_%s: %.0f\n", format, m.milliseconds);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--as-png")) {
        std::fprintf(stderr, "usage: brinewave3-picture-set-bench FOLDER [--as-png OUT]\n");
        return 2;
    }
    const QStringList files = filesBelow(args[1]);
    print("bmp", loadAll(files));
    if (args.size() == 4) {
        const QDir source(args[1]);
        const QDir target(args[3]);
        double encodeSeconds = 0;
        for (const QString& file : files) {
            const QImage image = bw::PictureLoader::load(file);
            const QString relative = source.relativeFilePath(file);
            const QString out = target.filePath(relative.chopped(4) + ".png");
            QDir().mkpath(QFileInfo(out).path());
            QElapsedTimer clock;
            clock.start();
            QImageWriter writer(out, "png");
            writer.setQuality(85);  // zlib level (100 - 85) * 9 / 91 = 1: the fast one
            if (!writer.write(image)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
                return 1;
            }
            encodeSeconds += clock.nsecsElapsed() / 1e9;
        }
        std::printf("picture_set_png_encode_seconds: %.1f\n", encodeSeconds);
        print("png", loadAll(filesBelow(args[3])));
    }
    return 0;
}
