#pragma once

#include <QApplication>

namespace bw {

// The one QApplication of a test program, made on first use and left alive to the end of the
// process (Qt objects may outlive any static order). Headless unless told otherwise.
inline QApplication& ensureQtApp() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "brinewave3-test";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);
}

}  // namespace bw
