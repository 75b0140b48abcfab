#include "app/Module1.h"
#include "app/RunMode.h"
#include "app/SaverPromptWindows.h"
#include "app/XScreenSaverList.h"
#include "platform/LinuxSystemLayer.h"
#include "platform/SdlMediaPlayer.h"
#include "platform/SdlSoundComponent.h"
#include "platform/SpriteDisplay.h"
#include "platform/startup/DisplayCheck.h"
#include "platform/wayland/LockSupervisor.h"
#include "platform/wayland/WaylandProbe.h"
#include "settings/ArtCache.h"
#include "settings/IniSettingsStore.h"
#include "settings/InstallFolder.h"
#include "settings/Product.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <optional>
#include <malloc.h>

namespace {

// The program's arguments, before Qt is there to give them.
QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The options for a terminal need no display, so they are answered before Qt connects to one.
// Returns the exit status, or -1 when the arguments ask for a run mode.
int answerTerminalOption(int argc, char* argv[]) {
    const QStringList arguments = argumentsOf(argc, argv);
    switch (bw::programOptionFromArguments(arguments)) {
    case bw::ProgramOption::Help:
        std::fputs(qPrintable(bw::usageText()), stdout);
        return 0;
    case bw::ProgramOption::Version:
        std::printf("%s %s\n", bw::kProductName, bw::kProductVersion);
        return 0;
    case bw::ProgramOption::AddToXScreenSaver: {
        const bw::XScreenSaverListResult result = bw::addToXScreenSaverList(
            QDir::homePath() + QStringLiteral("/.xscreensaver"),
            QStringLiteral("/etc/X11/app-defaults/XScreenSaver"));
        std::fprintf(result.ok ? stdout : stderr, "%s\n", qPrintable(result.message));
        return result.ok ? 0 : 1;
    }
    case bw::ProgramOption::None:
        break;
    }
    // An argument of no mode starts nothing and ends without a word, with a display or not.
    if (bw::parseCommandLine(arguments, qEnvironmentVariable("XSCREENSAVER_WINDOW")).mode ==
        bw::RunMode::None)
        return 0;
    return -1;
}

// The full saver in a Wayland session whose compositor offers a session lock becomes that
// lock: Qt then draws off screen, and the lock's surfaces show the frames.
bool locksWaylandSession(const bw::StartRequest& request) {
    // Whatever platform the user's environment names: the lock draws off screen.
    if (request.mode != bw::RunMode::Saver) return false;
    return bw::probeWaylandCompositor().sessionLock;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const int status = answerTerminalOption(argc, argv); status >= 0) return status;
    const bw::StartRequest request =
        bw::parseCommandLine(argumentsOf(argc, argv), qEnvironmentVariable("XSCREENSAVER_WINDOW"));
    const bool locksSession = locksWaylandSession(request);
    if (locksSession) {
        if (const std::optional<int> status = bw::superviseSessionLock(request.daemonize))
            return *status;
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Every run mode shows a window; without a display Qt would abort.
    if (bw::reportMissingDisplay(bw::kProductName)) return 1;
    // Pictures of over 128 KB get memory of their own, given back as soon as they are let go:
    // by default the threshold grows with the first large block freed, and the 800 x 600
    // pictures replaced by crisp ones would stay behind as heap the saver never uses again.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brinewave3"));
    QApplication::setQuitOnLastWindowClosed(false);

    bw::LinuxSystemLayer::Options systemOptions;
    systemOptions.messagesOnStandardError = locksSession;
    bw::LinuxSystemLayer system(systemOptions);
    bw::IniSettingsStore store(bw::IniSettingsStore::defaultPath());
    const bw::InstallFolder folder;
    const auto makeSaverDevices = [&](const bw::DisplayPlace& place) {
        auto display = std::make_unique<bw::SpriteDisplay>();
        if (place.hostWindow) display->setHostWindow(*place.hostWindow);
        if (place.previewOwner) display->setPreviewOwner(place.previewOwner);
        display->setLocksSession(locksSession && !place.hostWindow && !place.previewOwner);
        display->useArtCache(bw::ArtCache(), folder.dataFolder(), system);
        bw::SpriteDisplay* shown = display.get();
        return bw::SaverDevices{std::move(display), std::make_unique<bw::SdlSoundComponent>(),
                                std::make_unique<bw::SdlMediaPlayer>(),
                                std::make_unique<bw::SaverPromptWindows>(store, system),
                                [shown] { return shown->sceneWindow(); }};
    };
    bw::Module1 module({system, store, folder, makeSaverDevices});
    const bw::Module1::Next next = module.Main(QApplication::arguments().mid(1),
                                               qEnvironmentVariable("XSCREENSAVER_WINDOW"));
    if (next == bw::Module1::Next::Exit) return 0;
    return QApplication::exec();
}
