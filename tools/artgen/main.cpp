// brinewave3-artgen FOLDER
//     paints every picture and the bubble sound of the aquarium into FOLDER.
// brinewave3-artgen --contact-sheet FOLDER SHEET.png SCENE.png [FULL-SCENE.png]
//     composes the contact sheet and the factory scene from the files in FOLDER.

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <thread>

#include "Generator.h"
#include "Scene.h"

int main(int argc, char** argv) {
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
    if (args.size() != 2) {
        std::fprintf(stderr,
                     "usage: brinewave3-artgen FOLDER\n"
                     "       brinewave3-artgen --contact-sheet FOLDER SHEET.png SCENE.png "
                     "[FULL-SCENE.png]\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    QString error;
    const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (!bw::art::generateAll(args[1], threads, &error)) {
        std::fprintf(stderr, "brinewave3-artgen: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("brinewave3-artgen: art and sound written to %s in %.2f s\n", qPrintable(args[1]),
                clock.elapsed() / 1000.0);
    return 0;
}
