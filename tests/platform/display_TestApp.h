#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "fakes/QtApp.h"

namespace bw::test {

// The tests' one application, made on first use (tests run with QT_QPA_PLATFORM=offscreen).
// Left alive to the end of the process: Qt objects may outlive any static order.
inline QGuiApplication* guiApp() {
    if (!QCoreApplication::instance()) {
        // Two screens, a 1920 x 1080 primary and a 1280 x 1024 one to its right, so the
        // display's scaling and its black second window are exercised.
        if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
            const QString config =
                QDir::temp().filePath(QStringLiteral("bw-display-screens-%1.json")
                                          .arg(QCoreApplication::applicationPid()));
            QFile file(config);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(R"({"screens": [
                    {"name": "primary", "x": 0, "y": 0, "width": 1920, "height": 1080,
                     "logicalDpi": 96, "dpr": 1},
                    {"name": "second", "x": 1920, "y": 0, "width": 1280, "height": 1024,
                     "logicalDpi": 96, "dpr": 1}]})");
                file.close();
                qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
            }
        }
        ensureQtApp();  // a QApplication, so widget tests can share it
    }
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

}  // namespace bw::test
