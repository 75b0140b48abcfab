// brinewave3-artgen FOLDER
//     paints every picture and the bubble sound of the aquarium into FOLDER.
// brinewave3-artgen [--scale S] [--frame-width PX] [--threads N] FOLDER
//     paints every picture at scale S (1 to 8; 1.8 for a 1080-line screen; 1 when not given)
//     into FOLDER, laid out like the data folder; no sound. With PX (screen pixels, from the
//     4:3 width round(800 * S) to 4 times that; 1920 for a 1920 x 1080 screen at 1.8) the
//     water, the walls and the floors are exactly PX pixels wide, the 4:3 picture in their
//     middle, under the same names; without it the set is the 4:3 one.
// brinewave3-artgen --cache-fill H CACHEFOLDER [--threads N]
// brinewave3-artgen --cache-fill WxH CACHEFOLDER [--threads N]
//     paints the set for a 4:3 frame H screen pixels high, or for a wide frame of W x H pixels
//     (scale H / 600; W from the 4:3 width to 4 times it), into the art cache: CACHEFOLDER/H
//     or CACHEFOLDER/WxH, at idle priority; does nothing when a complete set is there or
//     another fill of that frame runs.
// brinewave3-artgen --version
//     prints the art version: sets painted by another version are stale.
// brinewave3-artgen --contact-sheet FOLDER SHEET.png SCENE.png [FULL-SCENE.png]
//     composes the contact sheet and the factory scene from the files in FOLDER.

#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>

#include "CacheFill.h"
#include "Generator.h"
#include "Scene.h"
#include "settings/ArtCache.h"
#include "settings/FrameShape.h"

namespace {

bool wantsCacheFill(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--cache-fill") == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (wantsCacheFill(argc, argv)) {
        // A fill is background work that outlives the saver that asked for it: the lowest
        // priority from the start, and a session of its own, so the saver's end (its process
        // group signalled) does not end it.
        bw::art::paintAtIdlePriority();
        ::setsid();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);  // fonts for the notices and the calendar
    const QStringList args = app.arguments();
    if (args.size() >= 5 && args[1] == QStringLiteral("--contact-sheet")) {
        const QDir folder(args[2]);
        const auto lookup = [&](const QString& path) { return QImage(folder.filePath(path)); };
        bool ok = bw::art::composeContactSheet(lookup).save(args[3]);
        ok = bw::art::composeScene(lookup, bw::art::SceneChoice::Factory).save(args[4]) && ok;
        if (args.size() >= 6) {
            ok =
                bw::art::composeScene(lookup, bw::art::SceneChoice::Everything).save(args[5]) && ok;
        }
        if (!ok) {
            std::fprintf(stderr, "brinewave3-artgen: cannot write the pictures\n");
        }
        return ok ? 0 : 1;
    }
    if (args.size() == 2 && args[1] == QStringLiteral("--version")) {
        std::printf("%d\n", bw::art::kArtVersion);
        return 0;
    }
    const char* usage =
        "usage: brinewave3-artgen FOLDER\n"
        "       brinewave3-artgen [--scale S] [--frame-width PX] [--threads N] FOLDER\n"
        "       brinewave3-artgen --cache-fill H|WxH CACHEFOLDER [--threads N]\n"
        "       brinewave3-artgen --version\n"
        "       brinewave3-artgen --contact-sheet FOLDER SHEET.png SCENE.png [FULL-SCENE.png]\n";
    std::optional<double> scale;
    std::optional<int> frameWidth;
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    QString folder;
    std::optional<QSize> fillFrame;
    for (int i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QStringLiteral("--scale") && hasValue) {
            scale = bw::art::parseScale(args[++i]);
            if (!scale) {
                std::fprintf(stderr,
                             "brinewave3-artgen: the scale must be a number from %g to %g\n",
                             bw::art::kMinimumScale, bw::art::kMaximumScale);
                return 2;
            }
        } else if (args[i] == QStringLiteral("--frame-width") && hasValue) {
            frameWidth = bw::art::parseFrameWidth(args[++i]);
            if (!frameWidth) {
                std::fprintf(stderr,
                             "brinewave3-artgen: the frame width must be a whole number of "
                             "pixels\n");
                return 2;
            }
        } else if (args[i] == QStringLiteral("--threads") && hasValue) {
            bool ok = false;
            threads = args[++i].toInt(&ok);
            if (!ok || threads < 1) {
                std::fprintf(stderr, "brinewave3-artgen: the thread count must be 1 or more\n");
                return 2;
            }
        } else if (args[i] == QStringLiteral("--cache-fill") && i + 2 < args.size() &&
                   folder.isEmpty()) {
            fillFrame = bw::ArtCache::parseFrame(args[++i]);
            if (!fillFrame) {
                std::fprintf(stderr,
                             "brinewave3-artgen: the frame must be H or WxH in whole pixels: a "
                             "height from %d to %d, a width from the 4:3 width (H * 4 / 3) to "
                             "%d times it\n",
                             bw::ArtCache::kMinimumHeight, bw::ArtCache::kMaximumHeight,
                             bw::FrameShape::kMaxBlocks);
                return 2;
            }
            folder = args[++i];
        } else if (folder.isEmpty() && !args[i].startsWith(u'-')) {
            folder = args[i];
        } else {
            std::fputs(usage, stderr);
            return 2;
        }
    }
    if (folder.isEmpty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (fillFrame && (scale || frameWidth)) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (frameWidth && !bw::art::frameAt(scale.value_or(1.0), *frameWidth)) {
        const int blockWidth = bw::FrameShape::block(scale.value_or(1.0)).size.width();
        std::fprintf(stderr,
                     "brinewave3-artgen: at scale %g the frame width must be from %d to %d "
                     "pixels\n",
                     scale.value_or(1.0), blockWidth, bw::FrameShape::kMaxBlocks * blockWidth);
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    if (fillFrame) {
        const QString frame =
            fillFrame->width() == bw::ArtCache::blockFrame(fillFrame->height()).width()
                ? QStringLiteral("%1 lines").arg(fillFrame->height())
                : QStringLiteral("%1 x %2 pixels").arg(fillFrame->width()).arg(fillFrame->height());
        QString error;
        switch (bw::art::fillCache(folder, *fillFrame, threads, &error)) {
            case bw::art::FillOutcome::Filled:
                std::printf("brinewave3-artgen: the set for %s painted into %s in %.2f s\n",
                            qPrintable(frame), qPrintable(folder), clock.elapsed() / 1000.0);
                return 0;
            case bw::art::FillOutcome::AlreadyComplete:
                std::printf("brinewave3-artgen: the set for %s in %s is complete\n",
                            qPrintable(frame), qPrintable(folder));
                return 0;
            case bw::art::FillOutcome::AnotherFillRunning:
                std::printf("brinewave3-artgen: another fill of the set for %s runs\n",
                            qPrintable(frame));
                return 0;
            case bw::art::FillOutcome::Failed:
                break;
        }
        std::fprintf(stderr, "brinewave3-artgen: %s\n", qPrintable(error));
        return 1;
    }
    QString error;
    const bool picturesOnly = scale || frameWidth;
    const bool ok = picturesOnly
                        ? bw::art::generatePictures(folder, scale.value_or(1.0), threads, &error,
                                                    bw::art::PictureFormat::DataFolder, frameWidth)
                        : bw::art::generateAll(folder, threads, &error);
    if (!ok) {
        std::fprintf(stderr, "brinewave3-artgen: %s\n", qPrintable(error));
        return 1;
    }
    rusage resources{};
    getrusage(RUSAGE_SELF, &resources);  // ru_maxrss in kilobytes
    const int width = frameWidth.value_or(bw::FrameShape::block(scale.value_or(1.0)).size.width());
    const QString what = picturesOnly
                             ? QStringLiteral("pictures at scale %1 for a frame %2 pixels wide")
                                   .arg(scale.value_or(1.0))
                                   .arg(width)
                             : QStringLiteral("art and sound");
    std::printf("brinewave3-artgen: %s written to %s in %.2f s, peak memory %ld MB\n",
                qPrintable(what), qPrintable(folder), clock.elapsed() / 1000.0,
                resources.ru_maxrss / 1024);
    return 0;
}
