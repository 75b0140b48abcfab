#include <QApplication>

#include "help/HelpWindow.h"
#include "platform/startup/DisplayCheck.h"

int main(int argc, char* argv[]) {
    if (bw::reportMissingDisplay("Brinewave3 Help")) return 1;
    QApplication app(argc, argv);
    bw::HelpWindow window(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
