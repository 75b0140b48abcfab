#include "app/Module1.h"
#include "app/SaverPromptWindows.h"
#include "platform/LinuxSystemLayer.h"
#include "platform/SdlMediaPlayer.h"
#include "platform/SdlSoundComponent.h"
#include "platform/SpriteDisplay.h"
#include "settings/IniSettingsStore.h"
#include "settings/InstallFolder.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brinewave3"));
    QApplication::setQuitOnLastWindowClosed(false);

    bw::LinuxSystemLayer system;
    bw::IniSettingsStore store(bw::IniSettingsStore::defaultPath());
    const bw::InstallFolder folder;
    const auto makeSaverDevices = [&](const bw::DisplayPlace& place) {
        auto display = std::make_unique<bw::SpriteDisplay>();
        if (place.hostWindow) display->setHostWindow(*place.hostWindow);
        if (place.previewOwner) display->setPreviewOwner(place.previewOwner);
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
