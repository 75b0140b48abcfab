// Prints the sharpness (see Sharpness.h) of what the X screen shows now, and saves the
// screen as a PNG when given a file name: brinewave3-screen-sharpness [OUT.png].
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

#include "Sharpness.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 1;
    const QImage shot = screen->grabWindow(0).toImage();
    if (shot.isNull()) return 1;
    if (argc > 1 && !shot.save(QString::fromLocal8Bit(argv[1]))) return 1;
    std::printf("sharpness: %.3f\n", bw::bench::sharpness(shot));
    return 0;
}
