#include <QApplication>

#include "help/HelpWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    bw::HelpWindow window(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
