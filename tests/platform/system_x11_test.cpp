// The X11 queries of the system layer, against a private Xvfb server.
#include "platform/LinuxSystemLayer.h"
#include "platform/LinuxSystemX11.h"
#include "x11_PrivateServer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace bw {
namespace {

// An Xvfb of our own for the tests of this file; they skip where there is none.
class X11 : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_.start("640x480x24"); }
    static void TearDownTestSuite() { server_.stop(); }
    void SetUp() override {
        if (server_.name().empty() || !(display_ = XOpenDisplay(server_.name().c_str())))
            GTEST_SKIP() << "no Xvfb";
    }
    void TearDown() override {
        if (display_)
            XCloseDisplay(display_);
    }
    Window TopLevel(const char* wmName, const char* netWmName) {
        const Window window = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 50,
                                                  50, 0, 0, 0);
        if (wmName)
            XStoreName(display_, window, wmName);
        if (netWmName) {
            XChangeProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False),
                            XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(netWmName),
                            static_cast<int>(strlen(netWmName)));
        }
        XMapWindow(display_, window);
        XSync(display_, False);
        return window;
    }

    static inline test::PrivateXServer server_;
    ::Display* display_ = nullptr;
};

TEST_F(X11, FindsTopLevelWindowsByTheirExactTitle) {
    const Window legacy = TopLevel("Display Properties", nullptr);
    const Window modern = TopLevel("old name", "Einstellungen – Anzeige");
    // A window-manager frame holding the client.
    const Window frame = TopLevel(nullptr, nullptr);
    const Window client = XCreateSimpleWindow(display_, frame, 0, 0, 10, 10, 0, 0, 0);
    XStoreName(display_, client, "Framed");
    XSync(display_, False);

    const struct {
        QString title;
        uint64_t window;
    } cases[] = {
        {"Display Properties", legacy},
        {QString::fromUtf8("Einstellungen – Anzeige"), modern},
        {"Framed", client},
        {"display properties", 0},
        {"Display", 0},
        {"old name", 0},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindX11WindowByTitle(display_, c.title), c.window) << c.title.toStdString();

    XDestroyWindow(display_, legacy);
    XSync(display_, False);
    EXPECT_EQ(FindX11WindowByTitle(display_, "Display Properties"), 0u);
}

TEST_F(X11, TimeoutFallsBackToTheServersScreenSaver) {
    XSetScreenSaver(display_, 0, 0, DefaultBlanking, DefaultExposures);
    XSync(display_, False);
    EXPECT_EQ(X11ScreenSaverTimeout(display_), 0);
    XSetScreenSaver(display_, 420, 0, DefaultBlanking, DefaultExposures);
    XSync(display_, False);
    EXPECT_EQ(X11ScreenSaverTimeout(display_), 420);

    // Through the layer: no ~/.xscreensaver in this home, so the server answers.
    const QByteArray saved = qgetenv("DISPLAY");
    qputenv("DISPLAY", QByteArray::fromStdString(server_.name()));
    QTemporaryDir home;
    LinuxSystemLayer::Options options;
    options.homeDirectory = home.path();
    options.lockDirectory = home.path();
    EXPECT_EQ(LinuxSystemLayer(options).ScreenSaveTimeOutSeconds(), 420);
    if (saved.isEmpty())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", saved);
}

}  // namespace
}  // namespace bw
