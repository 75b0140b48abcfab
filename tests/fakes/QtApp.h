#pragma once

#include <QApplication>

namespace bw {

// The one QApplication of a test program that needs widgets, made on first use.
inline QApplication& ensureQtApp() {
    static int argc = 1;
    static char name[] = "brinewave3-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
            return existing;
        return new QApplication(argc, argv);
    }();
    return *app;
}

}  // namespace bw
