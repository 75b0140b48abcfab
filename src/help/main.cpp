#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("HELP TOPICS"));
    window.setWindowTitle(QStringLiteral("Brinewave3  HELP"));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
